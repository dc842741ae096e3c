// The end of editing a cell of the parameter list: the text is normalised and checked by the
// row's kind, and a change is written into the design object and the module's source.
#include "commands/analyze_module.h"
#include "commands/parameter_commands.h"
#include "commands/source_update.h"
#include "project/kst_doc.h"
#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

namespace {

// Kinds whose name and value the list edits as text or through a choice box.
bool IsEditableKind(EntryKind kind) {
    switch (kind) {
    case EntryKind::Numeric:
    case EntryKind::DataType:
    case EntryKind::Architecture:
    case EntryKind::Library:
    case EntryKind::Link:
    case EntryKind::Logic:
    case EntryKind::Note:
    case EntryKind::Style:
    case EntryKind::String:
    case EntryKind::Generic:
        return true;
    default:
        return false;
    }
}

std::string IdentifierFromTyped(std::string text) {
    std::replace_if(text.begin(), text.end(), IsBlank, '_');
    const CScanner scanner(text);
    std::size_t cursor = 0;
    return scanner.ReadIdentifier(cursor);
}

// A value goes into the source as it stands: these would end it early. A Generic parameter's
// value is a VHDL expression, which may hold string and bit string literals (in pairs of
// double quotes); the other kinds' values never hold a double quote.
bool HoldsValueBreaker(const std::string& text, EntryKind kind) {
    if (text.find(';') != std::string::npos || text.find("--") != std::string::npos)
        return true;
    if (kind == EntryKind::Generic)
        return std::count(text.begin(), text.end(), '"') % 2 != 0;
    return text.find('"') != std::string::npos;
}

std::string NormalisedValue(const std::string& text) {
    for (const char* word : {"UNSIGNED", "SIGNED", "STD_LOGIC_VECTOR"}) {
        if (SameTextNoCase(text, word))
            return word;
    }
    return text;
}

} // namespace

bool CParameterCommands::EndParameterEdit(CHierarchyItem* item, int entry, int column,
                                          const std::string& text) {
    CKSTObject* object = item != nullptr ? item->Object() : nullptr;
    if (object == nullptr || entry < 0 || entry >= object->GetEntryCount() || (column != 0 && column != 1))
        return false;
    const EntryKind kind = object->GetEntryKind(entry);
    if (!IsEditableKind(kind) || (kind == EntryKind::Architecture && column == 0))
        return false;
    std::string newText;
    if (column == 0 || kind == EntryKind::Style) {
        newText = IdentifierFromTyped(text);
        // A module's parameter name (or a style, which becomes a constant) must be one VHDL
        // can use; the project's own rows are settings, not VHDL.
        if (newText.empty() || (item->Kind() != HierarchyKind::Root && IsVhdlReservedWord(newText))) {
            const std::string what = column == 0 ? "Invalid parameter name: " : "Invalid style value: ";
            m_session.ReportRefusal(what + VhdlNameProblem(newText.empty() ? text : newText));
            return false;
        }
    } else {
        if (HoldsValueBreaker(text, kind)) {
            m_session.ReportRefusal(
                kind == EntryKind::Generic
                    ? "Invalid parameter value: a value cannot hold ';', '--' or an unpaired '\"'."
                    : "Invalid parameter value: a value cannot hold ';', '--' or '\"'.");
            return false;
        }
        newText = NormalisedValue(text);
        // An architecture is chosen from its choices only.
        const std::vector<std::string>& choices = object->GetChoiceList(entry);
        if (kind == EntryKind::Architecture &&
            std::find(choices.begin(), choices.end(), newText) == choices.end())
            newText.clear();
    }
    const std::string oldText = column == 0 ? object->GetEntryName(entry) : object->GetEntryValue(entry);
    if (newText.empty() || newText == oldText)
        return false;

    CKSTDoc& doc = m_session.Doc();
    m_session.Observer().CommitPanes(item);
    MarkParentNeedsAnalysis(doc, item);
    object->SetEntryText(entry, column, newText);
    // The project row's value is the VHDL library name that configurations are written with.
    if (entry == 0 && kind == EntryKind::Library && column == 1)
        doc.SetLibraryName(newText);
    doc.SetModifiedFlag();
    m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    RewriteSourceFromParameters(doc, item);
    return true;
}

} // namespace kestra
