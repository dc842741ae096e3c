// Add, name, remove, reorder and set the kind of modules in the hierarchy.
#include "commands/module_commands.h"

#include "operations/analyze_module.h"
#include "operations/module_files.h"
#include "operations/source_stamp.h"
#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"
#include "system/user_prompts.h"
#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

namespace {

constexpr const char* kWarning = "WARNING";

// Module names differ in more than letter case, as VHDL identifiers and the files of
// case-blind file systems do: a name is taken when a file of that name exists in any case.
bool ModuleFileExists(const std::filesystem::path& folder, const std::string& name) {
    const std::string fileName = name + ".vhd";
    if (FileExists(folder / fileName))
        return true;
    for (const std::string& existing : ListFiles(folder)) {
        if (SameTextNoCase(existing, fileName))
            return true;
    }
    return false;
}

// A module other than `except` (and outside `outside`'s subtree) named so; the project root
// is not a module.
bool OtherItemNamed(const CHierarchyTree& tree, const CHierarchyItem* except, const std::string& name,
                    const CHierarchyItem* outside = nullptr) {
    for (CHierarchyItem* item = tree.NextItem(nullptr); item != nullptr; item = tree.NextItem(item)) {
        if (item == except || item->Kind() == HierarchyKind::Root ||
            (outside != nullptr && (item == outside || outside->IsAncestorOf(item))))
            continue;
        if (SameTextNoCase(item->Text(), name))
            return true;
    }
    return false;
}

bool OtherItemWithFile(const CKSTDoc& doc, const CHierarchyItem* except, const std::filesystem::path& file,
                       const CHierarchyItem* outside) {
    const CHierarchyTree& tree = doc.Tree();
    for (CHierarchyItem* item = tree.NextItem(nullptr); item != nullptr; item = tree.NextItem(item)) {
        if (item == except || item->Kind() == HierarchyKind::Root ||
            (outside != nullptr && (item == outside || outside->IsAncestorOf(item))))
            continue;
        if (doc.GetModuleFilePath(*item) == file)
            return true;
    }
    return false;
}

void Warn(CKSTDoc& doc, const std::string& message) {
    doc.Log().AppendWarning(message);
    doc.Prompts().ShowMessage(kWarning, message, PromptIcon::Warning);
}

} // namespace

CHierarchyItem* CModuleCommands::OnAddModule() {
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* parent = m_session.Selected();
    if (parent == nullptr ||
        (parent->Kind() != HierarchyKind::Normal && parent->Kind() != HierarchyKind::Root))
        return nullptr;
    m_session.Observer().CommitPanes(parent);
    CHierarchyItem* item = doc.Tree().InsertItem(kNewObjectText, HierarchyKind::Normal, parent);
    m_session.Select(item);
    item->Object()->SetEntryCount(1);
    item->Object()->SetEntry(0, EntryKind::Vhdl, kNewObjectText, "");
    UpdateAnalysisStatus(doc, item);
    m_session.Observer().ReloadPanes(item);
    m_session.Observer().ShowItem(item);
    doc.Log().AppendLog("\r\nNew module added.");
    doc.SetModifiedFlag();
    m_session.Observer().StartNameEditing(item);
    return item;
}

CHierarchyItem* CModuleCommands::AddNamedModule(CHierarchyItem* parent, const std::string& name) {
    CKSTDoc& doc = m_session.Doc();
    if (parent == nullptr ||
        (parent->Kind() != HierarchyKind::Normal && parent->Kind() != HierarchyKind::Root))
        return nullptr;
    if (!IsUsableVhdlName(name)) {
        m_session.ReportRefusal("Invalid module name: " + VhdlNameProblem(name));
        return nullptr;
    }
    CHierarchyItem* item = doc.Tree().InsertItem(kNewObjectText, HierarchyKind::Normal, parent);
    item->Object()->SetEntryCount(1);
    item->Object()->SetEntry(0, EntryKind::Vhdl, kNewObjectText, "");
    UpdateAnalysisStatus(doc, item);
    if (!EndNameEdit(item, name, true)) {
        doc.Tree().DeleteItem(item);
        return nullptr;
    }
    doc.Log().AppendLog("\r\n" + name + " added from block diagram entry.");
    doc.SetModifiedFlag();
    return item;
}

bool CModuleCommands::EndNameEdit(CHierarchyItem* item, const std::string& text, bool fromPaste) {
    if (item == nullptr || item->Kind() == HierarchyKind::Predefined)
        return false;
    const std::string oldText = item->Text();
    if (text == oldText)
        return false;
    if (item->Kind() == HierarchyKind::Root)
        return RenameRoot(item, oldText, text);
    if (!IsUsableVhdlName(text)) {
        // The name is not taken; the user learns why, and editing starts again to mend it.
        m_session.ReportRefusal("Invalid module name: " + VhdlNameProblem(text));
        if (!fromPaste)
            m_session.Observer().StartNameEditing(item);
        return false;
    }
    m_session.Doc().Tree().SetItemText(item, text);
    return RenameModule(item, oldText, text, fromPaste);
}

bool CModuleCommands::OnNameEditingCancelled(CHierarchyItem* item) {
    if (item == nullptr || item->Kind() != HierarchyKind::Normal || item->Text() != kNewObjectText ||
        item->Status() != AnalysisStatus::New || item->ChildCount() != 0)
        return false;
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* parent = item->Parent();
    if (m_session.Selected() == item)
        m_session.Select(parent);
    doc.Tree().DeleteItem(item);
    doc.Log().AppendLog("\r\nThe module was not named and is removed again.");
    doc.SetModifiedFlag();
    if (parent != nullptr && m_session.Selected() == parent) {
        m_session.Observer().ReloadPanes(parent);
        m_session.Observer().ShowItem(parent);
    }
    return true;
}

bool CModuleCommands::RenameRoot(CHierarchyItem* item, const std::string& oldText, const std::string& text) {
    CKSTDoc& doc = m_session.Doc();
    const std::filesystem::path oldFolder = doc.GetProjectFolder() / oldText;
    const std::filesystem::path newFolder = doc.GetProjectFolder() / text;
    const bool plainName =
        !text.empty() && text.find_first_of("/\\") == std::string::npos && text != "." && text != "..";
    // The project's name may become a VHDL name (a generated file, a configuration).
    if (plainName && IsVhdlReservedWord(text)) {
        m_session.ReportRefusal("Invalid project name: " + VhdlNameProblem(text));
        m_session.Observer().StartNameEditing(item);
        return false;
    }
    const Outcome renamed = plainName ? RenameFolder(oldFolder, newFolder) : Outcome::Failed({});
    if (!renamed) {
        // A name that is taken says so; any other failure adds the system's reason.
        const bool taken = !plainName || FileExists(newFolder) || FolderExists(newFolder);
        Warn(doc, WithReason("New project name in use, specify other name.",
                             taken ? std::string() : renamed.Reason()));
        m_session.Observer().StartNameEditing(item);
        return false;
    }
    doc.Tree().SetItemText(item, text);
    doc.Tree().SetModuleFolder(text + "/");
    doc.Log().AppendLog("\r\nRename project to " + text);
    doc.SetModifiedFlag();
    return true;
}

bool CModuleCommands::RenameModule(CHierarchyItem* item, const std::string& oldText, const std::string& text,
                                   bool fromPaste) {
    CKSTDoc& doc = m_session.Doc();
    m_session.Observer().CommitPanes(item);
    CHierarchyTree& tree = doc.Tree();
    auto refuse = [&](const std::string& message) {
        tree.SetItemText(item, oldText);
        Warn(doc, message);
        return false;
    };

    const std::filesystem::path folder = doc.GetModuleFolderPath();
    const std::filesystem::path newPath = folder / (text + ".vhd");
    const std::filesystem::path oldPath = doc.GetModuleFilePath(*item);
    // A module brought in with its design keeps its file's name, which other files may share.
    if (!oldPath.empty() && oldPath != folder / (oldText + ".vhd"))
        return refuse("Module " + oldText + " keeps the name of its file " + oldPath.filename().string() +
                      ": rename the entity in its source.");
    if (ModuleFileExists(folder, text) &&
        (item->Status() != AnalysisStatus::New || OtherItemNamed(tree, item, text))) {
        refuse("New module name in use, specify other name.");
        if (!fromPaste)
            m_session.Observer().StartNameEditing(item);
        return false;
    }
    if (!oldPath.empty() && FileExists(oldPath)) {
        if (const Outcome moved = MoveFileTo(oldPath, newPath, false); !moved)
            return refuse(WithReason("Cannot rename to new module name.", moved.Reason()));
        if (const Outcome renamed = RenameModuleInFile(newPath, oldText, text, item->Kind()); !renamed)
            Warn(doc, WithReason("Cannot modify " + text + ".", renamed.Reason()));
        RememberFile(doc, newPath);
        CHierarchyItem* parent = item->Parent();
        if (parent != nullptr && parent->Kind() != HierarchyKind::Root) {
            const std::filesystem::path parentPath = folder / (parent->Text() + ".vhd");
            const Outcome renamed = FileExists(parentPath)
                                        ? RenameModuleInFile(parentPath, oldText, text, parent->Kind())
                                        : Outcome::Ok();
            if (!renamed)
                doc.Log().AppendWarning(
                    WithReason("Cannot modify " + parent->Text() + ".", renamed.Reason()));
            else if (FileExists(parentPath))
                RememberFile(doc, parentPath);
            MarkNeedsAnalysis(doc, parent);
        }
    } else {
        if (ModuleFileExists(folder, text))
            doc.Log().AppendLog("\r\nImport existing VHDL file.");
        else if (const Outcome written = WriteNewModuleTemplate(newPath, text); !written)
            return refuse(WithReason("Cannot create new module.", written.Reason()));
        // The parent declares its children as components: a new child changes it too.
        CHierarchyItem* parent = item->Parent();
        if (parent != nullptr && parent->Kind() != HierarchyKind::Root)
            MarkNeedsAnalysis(doc, parent);
    }
    RenameModuleObject(*item->Object(), text);

    if (!fromPaste)
        m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    if (CHierarchyItem* parent = item->Parent())
        parent->BlockData()->RenameBlock(oldText, text);
    doc.Log().AppendLog("\r\nSet module name as " + text + ".");
    doc.SetModifiedFlag();
    AnalyzeModule(doc, item, m_session.Context());
    // The analysis read the module's ports: the panes that show them follow.
    if (!fromPaste)
        m_session.Observer().ReloadPanes(item,
                                         CProjectObserver::kSignalList | CProjectObserver::kBlockDiagram);
    if (fromPaste && item->Parent() != nullptr)
        AnalyzeModule(doc, item->Parent(), m_session.Context());
    return true;
}

void RemoveItemRecords(CKSTDoc& doc, CHierarchyItem* item, const CHierarchyItem* removedSubtree) {
    // Predefined modules of one name share one file: it stays while an item outside the
    // removed subtree bears the name.
    if (item->Kind() == HierarchyKind::Predefined &&
        OtherItemNamed(doc.Tree(), item, item->Text(), removedSubtree))
        return;
    const std::filesystem::path source = doc.ModuleSourcePath(*item);
    // A file of a design brought in may hold the units of other modules that stay.
    if (source != doc.GetModuleFolderPath() / (item->Text() + ".vhd") &&
        OtherItemWithFile(doc, item, source, removedSubtree)) {
        doc.Log().AppendLog("\r\n" + item->Text() + " deleted.");
        return;
    }
    std::filesystem::path backup = source;
    backup.replace_extension(".bak");
    // The rename replaces an older backup in one step: the old one stays when it fails.
    const Outcome backedUp = FileExists(source) ? MoveFileTo(source, backup, true) : Outcome::Ok();
    if (!backedUp)
        doc.Log().AppendWarning(WithReason("Cannot rename " + source.filename().string() + " to " +
                                               backup.filename().string() +
                                               ", the file stays in the module folder.",
                                           backedUp.Reason()));
    doc.Log().AppendLog("\r\n" + item->Text() + " deleted.");
}

bool CModuleCommands::OnRemove() {
    return RemoveItem(m_session.Selected());
}

bool CModuleCommands::RemoveItem(CHierarchyItem* item) {
    CKSTDoc& doc = m_session.Doc();
    if (item == nullptr || !IsModuleKind(item->Kind()))
        return false;
    const std::string question = item->ChildCount() == 0
                                     ? "Confirm remove " + item->Text() + " ?"
                                     : "Confirm remove " + item->Text() + " and all its child objects?";
    if (!doc.Prompts().AskYesNo("ENQUIRY", question, PromptIcon::Question, false))
        return false;
    MarkNeedsAnalysis(doc, item);
    CHierarchyTree& tree = doc.Tree();
    for (CHierarchyItem* it = item; it != nullptr; it = tree.NextItem(it, item))
        RemoveItemRecords(doc, it, item);
    CHierarchyItem* parent = item->Parent();
    CHierarchyItem* selected = m_session.Selected();
    const bool selectionGoes = selected == item || (selected != nullptr && item->IsAncestorOf(selected));
    if (selectionGoes)
        m_session.Select(parent);
    tree.DeleteItem(item);
    doc.SetModifiedFlag();
    if (selectionGoes && parent != nullptr)
        m_session.Observer().ReloadPanes(parent);
    return true;
}

bool CModuleCommands::OnMove(MoveCommand command) {
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* item = m_session.Selected();
    if (item == nullptr)
        return false;
    const CHierarchyItem* parent = item->Parent();
    const int count = parent != nullptr ? parent->ChildCount() : doc.Tree().TopLevelCount();
    const int index = item->IndexInParent();
    const int target = std::clamp(MoveTarget(command, index, 0, count - 1), 0, count - 1);
    if (target != index) {
        doc.Tree().MoveItemTo(item, target);
        doc.SetModifiedFlag();
    }
    return true;
}

bool CModuleCommands::OnSetKind(HierarchyKind kind) {
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* item = m_session.Selected();
    if (item == nullptr || item->ChildCount() > 0 || item->Kind() == kind || !IsModuleKind(item->Kind()) ||
        !IsModuleKind(kind))
        return false;
    m_session.Observer().CommitPanes(item);
    doc.Tree().SetItemKind(item, kind);
    item->Object()->SetEntryKind(0, EntryKindOfItem(kind));
    switch (kind) {
    case HierarchyKind::Normal:
        doc.Log().AppendLog("\r\nModule is set as normal module.");
        break;
    case HierarchyKind::Library:
        doc.Log().AppendLog("\r\nModule is set as library module.");
        break;
    case HierarchyKind::Predefined:
        doc.Log().AppendLog("\r\nModule is set as predefined module.");
        break;
    case HierarchyKind::Package:
        doc.Log().AppendLog("\r\nModule is set as package.");
        break;
    case HierarchyKind::Root:
        break;
    }
    doc.SetModifiedFlag();
    m_session.Observer().ReloadPanes(item, CProjectObserver::kParameterList);
    AnalyzeModule(doc, item, m_session.Context());
    m_session.Observer().ReloadPanes(item);
    return true;
}

} // namespace kestra
