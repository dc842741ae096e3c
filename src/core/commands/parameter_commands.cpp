// The parameter list's commands without a window: add, remove, move, copy and paste entries
// of the selected item's design object, the folder and file choices of its rows, and the end of
// a cell edit (the text normalised and checked by the row's kind, a change written into the
// design object and the module's source).
#include "commands/parameter_commands.h"

#include "analysis/numeric_expression.h"
#include "operations/analyze_module.h"
#include "operations/generic_names.h"
#include "operations/source_stamp.h"
#include "operations/source_update.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "project/project_observer.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "system/user_prompts.h"
#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

namespace {

std::string IdentifierFromTyped(std::string text) {
    std::replace_if(text.begin(), text.end(), IsBlank, '_');
    const CScanner scanner(text);
    std::size_t cursor = 0;
    return scanner.ReadIdentifier(cursor);
}

// A value goes into the source as it stands: these would end it early. A Generic parameter's
// value is a VHDL expression, which may hold string and bit string literals (in pairs of
// double quotes); the other kinds' values never hold a double quote.
bool HoldsValueBreaker(const std::string& text, ValueRule rule) {
    if (text.find(';') != std::string::npos || text.find("--") != std::string::npos)
        return true;
    if (rule == ValueRule::Expression)
        return std::count(text.begin(), text.end(), '"') % 2 != 0;
    return text.find('"') != std::string::npos;
}

std::string ValueBreakerReason(ValueRule rule) {
    return rule == ValueRule::Expression
               ? "Invalid parameter value: a value cannot hold ';', '--' or an unpaired '\"'."
               : "Invalid parameter value: a value cannot hold ';', '--' or '\"'.";
}

std::string NormalisedValue(const std::string& text) {
    for (const char* word : {"UNSIGNED", "SIGNED", "STD_LOGIC_VECTOR"}) {
        if (SameTextNoCase(text, word))
            return word;
    }
    return text;
}

CKSTObject::Entry ReadEntry(const CKSTObject& object, int index) {
    return CKSTObject::Entry{object.GetEntryKind(index), object.GetEntryName(index),
                             object.GetEntryValue(index), object.GetChoiceList(index)};
}

void WriteEntry(CKSTObject& object, int index, const CKSTObject::Entry& entry) {
    object.SetEntry(index, entry.kind, entry.name, entry.value);
    object.SetChoiceList(index, &entry.choices);
}

// What Add puts into a new entry of the kind; none for kinds that are not added.
std::optional<CKSTObject::Entry> DefaultEntry(EntryKind kind) {
    const EntryKindFacts& facts = FactsOf(kind);
    if (facts.addedName == nullptr)
        return std::nullopt;
    CKSTObject::Entry entry{kind, facts.addedName, facts.addedValue, {}};
    for (const char* choice : facts.addedChoices) {
        if (choice != nullptr)
            entry.choices.emplace_back(choice);
    }
    return entry;
}

// Where an entry inserted after the focused row goes: after it, or at the end.
int InsertionIndex(const CKSTObject& object, int focusedRow) {
    const int count = object.GetEntryCount();
    return focusedRow >= 0 && focusedRow < count ? focusedRow + 1 : count;
}

// A file name that would break the string literal it is written into in the entity header.
bool BreaksStringLiteral(const std::string& name) {
    return name.find_first_of("\"\r\n") != std::string::npos;
}

} // namespace

ParameterAction InvokeAction(const CKSTObject& object, int row, int column, bool force) {
    if (row < 0 || row >= object.GetEntryCount() || column < 0 || column > 1)
        return ParameterAction::None;
    const bool valueColumn = column == 1 && !force;
    const EntryKindFacts& facts = FactsOf(object.GetEntryKind(row));
    const ParameterAction action = valueColumn ? facts.valueAction : facts.nameAction;
    // Without a file name the editor would be given the module folder.
    if (action == ParameterAction::HdlEditor && object.GetEntryValue(row).empty())
        return ParameterAction::None;
    if (valueColumn && facts.choicesOnValue && !object.GetChoiceList(row).empty())
        return ParameterAction::ChoiceBox;
    return action;
}

bool CanCopyParameterKind(EntryKind kind) {
    return FactsOf(kind).copyable;
}

bool CanRemoveParameter(int row, EntryKind kind) {
    return row >= 1 && FactsOf(kind).removable;
}

CHierarchyItem* CParameterCommands::Item() const {
    return m_session.Selected();
}

CKSTObject* CParameterCommands::Object() const {
    CHierarchyItem* item = Item();
    return item != nullptr ? item->Object() : nullptr;
}

std::filesystem::path CParameterCommands::LinkFolder() const {
    CKSTDoc& doc = m_session.Doc();
    if (Item() == doc.Tree().GetRootItem())
        return doc.GetProjectFolder();
    return doc.GetModuleFolderPath();
}

int CParameterCommands::Insert(const CKSTObject::Entry& entry, int focusedRow) {
    CKSTObject* object = Object();
    // Entry 0 is the item's own entry: a parameter never takes its place.
    if (object == nullptr || object->GetEntryCount() == 0)
        return -1;
    const int count = object->GetEntryCount();
    const int index = InsertionIndex(*object, focusedRow);
    object->AddEntry();
    for (int i = count; i > index; --i)
        WriteEntry(*object, i, ReadEntry(*object, i - 1));
    WriteEntry(*object, index, entry);
    Changed();
    return index;
}

void CParameterCommands::Changed() {
    CHierarchyItem* item = Item();
    m_session.Doc().SetModifiedFlag();
    m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    RewriteSourceFromParameters(m_session.Doc(), item);
}

int CParameterCommands::OnAdd(EntryKind kind, int focusedRow) {
    const std::optional<CKSTObject::Entry> entry = DefaultEntry(kind);
    return entry ? Insert(*entry, focusedRow) : -1;
}

int CParameterCommands::OnRemove(int row) {
    CKSTObject* object = Object();
    if (object == nullptr || row >= object->GetEntryCount() ||
        !CanRemoveParameter(row, object->GetEntryKind(row)))
        return -1;
    if (!m_session.Doc().Prompts().AskYesNo("ENQUIRY", "Confirm remove " + object->GetEntryName(row) + " ?",
                                            PromptIcon::Question, false))
        return -1;
    const int count = object->RemoveEntry(row);
    Changed();
    return row < count ? row : count - 1;
}

int CParameterCommands::OnMove(int row, MoveCommand command) {
    CKSTObject* object = Object();
    if (object == nullptr || row < 1 || row >= object->GetEntryCount())
        return -1;
    const int last = object->GetEntryCount() - 1;
    int target = MoveTarget(command, row, 1, last);
    if (object->GetEntryKind(target) == EntryKind::Architecture)
        --target;
    if (target == row || target < 1 || target > last || object->GetEntryKind(row) == EntryKind::Architecture)
        return -1;

    const CKSTObject::Entry moving = ReadEntry(*object, row);
    const int step = target < row ? -1 : 1;
    for (int i = row; i != target; i += step)
        WriteEntry(*object, i, ReadEntry(*object, i + step));
    WriteEntry(*object, target, moving);
    Changed();
    return target;
}

std::string CParameterCommands::CopyText(int row) const {
    const CKSTObject* object = Object();
    if (object == nullptr || !CanCopyParameterKind(object->GetEntryKind(row)))
        return {};
    return object->FormatEntry(row);
}

std::string CParameterCommands::OnCut(int row) {
    std::string text = CopyText(row);
    if (text.empty() || OnRemove(row) < 0)
        return {};
    return text;
}

bool CParameterCommands::CanPaste(const std::string& text) {
    EntryKind kind = EntryKind::None;
    std::string name;
    std::string value;
    return CKSTObject::ParseEntry(text, kind, name, value);
}

int CParameterCommands::OnPaste(const std::string& text, int focusedRow) {
    CKSTObject::Entry entry;
    CKSTObject* object = Object();
    if (!CKSTObject::ParseEntry(text, entry.kind, entry.name, entry.value, &entry.choices) ||
        object == nullptr)
        return -1;
    if (const Outcome checked = CheckPastedEntry(entry, InsertionIndex(*object, focusedRow)); !checked) {
        m_session.ReportRefusal(checked.Reason());
        return -1;
    }
    return Insert(entry, focusedRow);
}

std::string CParameterCommands::ListText() const {
    std::string text = "KESTRA Parameter List\n";
    if (const CKSTObject* object = Object()) {
        for (int i = 0; i < object->GetEntryCount(); ++i)
            text += object->FormatEntry(i) + "\r\n";
    }
    return text;
}

bool CParameterCommands::OnChooseDestinationFolder(int row) {
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* item = Item();
    CKSTObject* object = Object();
    // The document's destination follows the project item's folder row only.
    if (object == nullptr || item != doc.Tree().GetRootItem() ||
        object->GetEntryKind(row) != EntryKind::Directory)
        return false;
    const std::optional<std::string> chosen = doc.Prompts().ChooseFolder(
        {"Select Destination Folder", "Choose folder to save generated VHDL files:",
         doc.ResolvePath(doc.GetDestinationFolder()).string()});
    if (!chosen || chosen->empty())
        return false;
    // Generated files are named after their modules: in the module folder they would replace
    // the sources they were generated from.
    const std::filesystem::path folder = doc.ResolvePath(*chosen);
    if (SameFolder(folder, doc.GetProjectFolder()) || SameFolder(folder, doc.GetModuleFolderPath())) {
        doc.Log().AppendWarning("Setting destination folder to source folder is prohibited.");
        return false;
    }
    if (*chosen == object->GetEntryValue(row) && *chosen == doc.GetDestinationFolder())
        return false;
    object->SetEntryText(row, EntryField::Value, *chosen);
    doc.SetDestinationFolder(*chosen);
    doc.SetModifiedFlag();
    m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    return true;
}

bool CParameterCommands::OnChooseLinkFile(int row) {
    CKSTDoc& doc = m_session.Doc();
    CKSTObject* object = Object();
    if (object == nullptr || object->GetEntryKind(row) != EntryKind::Link)
        return false;
    const std::filesystem::path linkFolder = LinkFolder();
    FileChoice choice;
    choice.title = "Select Link File";
    choice.filters = {{"All Files", "*"}};
    // The linked file when it is there, else the folder relative values are read in.
    const std::filesystem::path current = ResolvePath(linkFolder, object->GetEntryValue(row));
    choice.initialPath = (FileExists(current) ? current : linkFolder).string();
    const std::optional<std::string> chosen = doc.Prompts().ChooseFile(choice);
    if (!chosen || chosen->empty())
        return false;

    // A file in the link folder is named from it; the project item names any other in full, a
    // module keeps its linked files in its folder and gets a copy of one from elsewhere.
    const std::filesystem::path source = ResolvePath(linkFolder, *chosen);
    std::string value = PathTextFrom(linkFolder, source);
    const bool module = Item() != doc.Tree().GetRootItem();
    if (module && std::filesystem::path(value).is_absolute()) {
        value = FileNameOfPath(*chosen);
        if (value.empty() || BreaksStringLiteral(value))
            return false;
        const std::filesystem::path target = linkFolder / value;
        if (!SameFile(source, target)) {
            if (const Outcome copied = CopyFileTo(source, target, true); !copied) {
                doc.Log().AppendError("Cannot copy " + *chosen + " (" + copied.Reason() + ").");
                return false;
            }
        }
    }
    if (module && BreaksStringLiteral(value))
        return false;
    if (value == object->GetEntryValue(row))
        return false;
    object->SetEntryText(row, EntryField::Value, value);
    Changed();
    return true;
}

Result<std::string> CParameterCommands::CheckedName(const CHierarchyItem& item, const std::string& text,
                                                    const std::string& what) {
    std::string name = IdentifierFromTyped(text);
    // A module's parameter name (or a style, which becomes a constant) must be one VHDL can use;
    // the project's own rows are settings, not VHDL.
    if (name.empty() || (item.Kind() != HierarchyKind::Root && IsVhdlReservedWord(name)))
        return Result<std::string>::Failed(what + VhdlNameProblem(name.empty() ? text : name));
    return name;
}

Result<std::string> CParameterCommands::CheckedValue(const CHierarchyItem& item,
                                                     const CKSTObject::Entry& entry, int index,
                                                     const std::string& text) const {
    const ValueRule rule = FactsOf(entry.kind).valueRule;
    if (rule == ValueRule::Name)
        return CheckedName(item, text, "Invalid style value: ");
    if (HoldsValueBreaker(text, rule))
        return Result<std::string>::Failed(ValueBreakerReason(rule));
    std::string value = NormalisedValue(text);
    const bool chosen = std::find(entry.choices.begin(), entry.choices.end(), value) != entry.choices.end();
    // An architecture is chosen from its choices only.
    if (rule == ValueRule::Choice && !chosen)
        value.clear();
    // The names are gathered (reading the package sources) only for a value that uses some.
    if (rule == ValueRule::Numeric && !chosen && !CheckNumericExpression(value, {})) {
        const Outcome numeric =
            CheckNumericExpression(value, NamesVisibleToGeneric(m_session.Doc(), item, index));
        if (!numeric)
            return Result<std::string>::Failed("Invalid parameter value: " + numeric.Reason());
    }
    return value;
}

Outcome CParameterCommands::CheckPastedEntry(CKSTObject::Entry& entry, int index) const {
    const CHierarchyItem* item = Item();
    if (item == nullptr)
        return Outcome::Failed({});
    const Result<std::string> name = CheckedName(*item, entry.name, "Invalid parameter name: ");
    if (!name)
        return Outcome::Failed(name.Reason());
    const Result<std::string> value = CheckedValue(*item, entry, index, entry.value);
    if (!value)
        return Outcome::Failed(value.Reason());
    const ValueRule rule = FactsOf(entry.kind).valueRule;
    for (const std::string& choice : entry.choices) {
        // A Style's choices become the literals of its enumeration type.
        if (rule == ValueRule::Name && !IsUsableVhdlName(choice))
            return Outcome::Failed("Invalid style value: " + VhdlNameProblem(choice));
        if (rule != ValueRule::Name && HoldsValueBreaker(choice, rule))
            return Outcome::Failed(ValueBreakerReason(rule));
    }
    entry.name = *name;
    entry.value = *value;
    return Outcome::Ok();
}

int CParameterCommands::EntryInCurrentSource(CHierarchyItem* item, int entry) {
    const CKSTObject& before = *item->Object();
    const std::string name = before.GetEntryName(entry);
    const EntryKind kind = before.GetEntryKind(entry);
    switch (RefreshIfChangedOnDisk(m_session.Doc(), item, m_session.Context())) {
    case SourceRefresh::Current:
        return entry;
    case SourceRefresh::Failed:
        m_session.ReportRefusal(item->Text() +
                                "'s source changed on disk and no longer analyzes: nothing was " +
                                "written into it.");
        m_session.Observer().ReloadPanes(item);
        return -1;
    case SourceRefresh::Reanalyzed:
        break;
    }
    m_session.Observer().ReloadPanes(item);
    const CKSTObject& now = *item->Object();
    for (int i = 0; i < now.GetEntryCount(); ++i) {
        if (now.GetEntryKind(i) == kind && SameTextNoCase(now.GetEntryName(i), name))
            return i;
    }
    m_session.ReportRefusal(name + " is no longer in " + item->Text() +
                            "'s source, which changed on disk: " + "nothing was written.");
    return -1;
}

bool CParameterCommands::EndParameterEdit(CHierarchyItem* item, int entry, int column,
                                          const std::string& text) {
    CKSTObject* object = item != nullptr ? item->Object() : nullptr;
    if (object == nullptr || entry < 0 || entry >= object->GetEntryCount() || (column != 0 && column != 1))
        return false;
    entry = EntryInCurrentSource(item, entry);
    if (entry < 0)
        return false;
    const EntryKind kind = object->GetEntryKind(entry);
    if (!(column == 0 ? FactsOf(kind).editsName : FactsOf(kind).editsValue))
        return false;
    // An emptied value cell changes nothing (a style's value is a name, refused as such).
    if (column == 1 && text.empty() && FactsOf(kind).valueRule != ValueRule::Name)
        return false;
    const Result<std::string> checked = column == 0
                                            ? CheckedName(*item, text, "Invalid parameter name: ")
                                            : CheckedValue(*item, ReadEntry(*object, entry), entry, text);
    if (!checked) {
        m_session.ReportRefusal(checked.Reason());
        return false;
    }
    if (column == 1 && FactsOf(kind).generic && *checked != object->GetEntryValue(entry)) {
        if (const auto fixed = GenericFixedByParent(m_session.Doc(), *item, object->GetEntryName(entry))) {
            m_session.ReportRefusal(*fixed);
            return false;
        }
    }
    const std::string& newText = *checked;
    const std::string oldText = column == 0 ? object->GetEntryName(entry) : object->GetEntryValue(entry);
    if (newText.empty() || newText == oldText)
        return false;

    CKSTDoc& doc = m_session.Doc();
    m_session.Observer().CommitPanes(item);
    MarkParentNeedsAnalysis(doc, item);
    object->SetEntryText(entry, column == 0 ? EntryField::Name : EntryField::Value, newText);
    // The project row's value is the VHDL library name that configurations are written with.
    if (entry == 0 && kind == EntryKind::Library && column == 1)
        doc.SetLibraryName(newText);
    doc.SetModifiedFlag();
    m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    RewriteSourceFromParameters(doc, item);
    return true;
}

} // namespace kestra
