// Add, name, remove, reorder and set the kind of modules in the hierarchy.
#include "analysis/analyze_module.h"
#include "analysis/source_rewrite.h"
#include "generation/module_template.h"
#include "hierarchy/analysis_status.h"
#include "hierarchy/hierarchy_commands.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "hierarchy/project_observer.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

#include <algorithm>

namespace kestra {

namespace {

constexpr const char* kWarning = "WARNING";

bool IsModuleKind(int kind) {
    return kind == kItemNormal || kind == kItemLibrary || kind == kItemPredefined || kind == kItemPackage;
}

// The whole text is one VHDL identifier.
bool IsIdentifier(const std::string& text) {
    const CScanner scanner(text);
    std::size_t cursor = 0;
    return scanner.ReadIdentifier(cursor) == text && !text.empty();
}

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
        if (item == except || item->Kind() == kItemRoot ||
            (outside != nullptr && (item == outside || outside->IsAncestorOf(item))))
            continue;
        if (SameTextNoCase(item->Text(), name))
            return true;
    }
    return false;
}

} // namespace

CHierarchyItem* CHierarchyCommands::OnAddModule() {
    CHierarchyItem* parent = m_selected;
    if (parent == nullptr || (parent->Kind() != kItemNormal && parent->Kind() != kItemRoot))
        return nullptr;
    m_observer->CommitPanes(parent);
    CHierarchyItem* item = m_doc.Tree().InsertItem(kNewObjectText, kItemNormal, parent);
    m_selected = item;
    item->Object()->SetEntryCount(1);
    item->Object()->SetEntry(0, kKindVhdl, kNewObjectText, "");
    UpdateAnalysisStatus(m_doc, item);
    m_observer->ReloadPanes(item);
    m_observer->ShowItem(item);
    m_doc.Log().AppendLog("\r\nNew module added.");
    m_doc.SetModifiedFlag();
    m_observer->StartNameEditing(item);
    return item;
}

void CHierarchyCommands::RestoreText(CHierarchyItem* item, const std::string& oldText) {
    m_doc.Tree().SetItemText(item, oldText);
}

bool CHierarchyCommands::EndNameEdit(CHierarchyItem* item, const std::string& text, bool fromPaste) {
    if (item == nullptr || item->Kind() == kItemPredefined)
        return false;
    const std::string oldText = item->Text();
    if (text == oldText)
        return false;
    if (item->Kind() == kItemRoot)
        return RenameRoot(item, oldText, text);
    if (!IsIdentifier(text)) {
        // The name is not taken; editing starts again for the user to mend it.
        m_observer->StartNameEditing(item);
        return false;
    }
    m_doc.Tree().SetItemText(item, text);
    return RenameModule(item, oldText, text, fromPaste);
}

bool CHierarchyCommands::RenameRoot(CHierarchyItem* item, const std::string& oldText,
                                    const std::string& text) {
    const std::filesystem::path oldFolder = m_doc.GetProjectFolder() / oldText;
    const std::filesystem::path newFolder = m_doc.GetProjectFolder() / text;
    std::error_code error;
    bool renamed = false;
    if (!text.empty() && text.find_first_of("/\\") == std::string::npos && text != "." && text != ".." &&
        !std::filesystem::exists(newFolder, error)) {
        std::filesystem::rename(oldFolder, newFolder, error);
        renamed = !error;
    }
    if (!renamed) {
        m_doc.Log().AppendWarning("New project name in use, specify other name.");
        m_doc.Prompts().ShowMessage(kWarning, "New project name in use, specify other name.",
                                    PromptIcon::Warning);
        m_observer->StartNameEditing(item);
        return false;
    }
    m_doc.Tree().SetItemText(item, text);
    m_doc.Tree().SetModuleFolder(text + "/");
    m_doc.Log().AppendLog("\r\nRename project to " + text);
    m_doc.SetModifiedFlag();
    return true;
}

bool CHierarchyCommands::RenameModule(CHierarchyItem* item, const std::string& oldText,
                                      const std::string& text, bool fromPaste) {
    m_observer->CommitPanes(item);
    CHierarchyTree& tree = m_doc.Tree();
    auto refuse = [&](const std::string& message) {
        RestoreText(item, oldText);
        m_doc.Log().AppendWarning(message);
        m_doc.Prompts().ShowMessage(kWarning, message, PromptIcon::Warning);
        return false;
    };

    const std::filesystem::path folder = m_doc.GetModuleFolderPath();
    const std::filesystem::path newPath = folder / (text + ".vhd");
    if (ModuleFileExists(folder, text) &&
        (item->Status() != kStatusNew || OtherItemNamed(tree, item, text))) {
        refuse("New module name in use, specify other name.");
        if (!fromPaste)
            m_observer->StartNameEditing(item);
        return false;
    }
    const std::filesystem::path oldPath = m_doc.GetModuleFilePath(*item);
    if (!oldPath.empty() && FileExists(oldPath)) {
        if (!MoveFileTo(oldPath, newPath))
            return refuse("Cannot rename to new module name.");
        if (!RenameModuleInFile(newPath, oldText, text, item->Kind())) {
            m_doc.Log().AppendWarning("Cannot modify " + text + ".");
            m_doc.Prompts().ShowMessage(kWarning, "Cannot modify " + text + ".", PromptIcon::Warning);
        }
        CHierarchyItem* parent = item->Parent();
        if (parent != nullptr && parent->Kind() != kItemRoot) {
            RenameModuleInFile(folder / (parent->Text() + ".vhd"), oldText, text, parent->Kind());
            MarkNeedsAnalysis(m_doc, parent);
        }
    } else {
        if (ModuleFileExists(folder, text))
            m_doc.Log().AppendLog("\r\nImport existing VHDL file.");
        else if (!WriteNewModuleTemplate(newPath, text))
            return refuse("Cannot create new module.");
        // The parent declares its children as components: a new child changes it too.
        CHierarchyItem* parent = item->Parent();
        if (parent != nullptr && parent->Kind() != kItemRoot)
            MarkNeedsAnalysis(m_doc, parent);
    }
    RenameModuleObject(*item->Object(), text);

    if (!fromPaste)
        m_observer->ReloadPanes(item, CProjectObserver::kParameterList);
    if (CHierarchyItem* parent = item->Parent())
        parent->BlockData()->RenameBlock(oldText, text);
    m_doc.Log().AppendLog("\r\nSet module name as " + text + ".");
    m_doc.SetModifiedFlag();
    AnalyzeModule(m_doc, item, m_context);
    if (fromPaste && item->Parent() != nullptr)
        AnalyzeModule(m_doc, item->Parent(), m_context);
    return true;
}

void CHierarchyCommands::RemoveItemRecords(CHierarchyItem* item, const CHierarchyItem* removedSubtree) {
    // Predefined modules of one name share one file: it stays while an item outside the
    // removed subtree bears the name.
    if (item->Kind() == kItemPredefined && OtherItemNamed(m_doc.Tree(), item, item->Text(), removedSubtree))
        return;
    const std::filesystem::path folder = m_doc.GetModuleFolderPath();
    const std::filesystem::path backup = folder / (item->Text() + ".bak");
    if (FileExists(backup))
        DeleteFileAt(backup);
    MoveFileTo(folder / (item->Text() + ".vhd"), backup);
    m_doc.Log().AppendLog("\r\n" + item->Text() + " deleted.");
}

bool CHierarchyCommands::OnRemove() {
    CHierarchyItem* item = m_selected;
    if (item == nullptr || !IsModuleKind(item->Kind()))
        return false;
    const std::string question = item->ChildCount() == 0
                                     ? "Confirm remove " + item->Text() + " ?"
                                     : "Confirm remove " + item->Text() + " and all its child objects?";
    if (!m_doc.Prompts().AskYesNo("ENQUIRY", question, PromptIcon::Question, false))
        return false;
    MarkNeedsAnalysis(m_doc, item);
    CHierarchyTree& tree = m_doc.Tree();
    for (CHierarchyItem* it = item; it != nullptr; it = tree.NextItem(it, item))
        RemoveItemRecords(it, item);
    CHierarchyItem* parent = item->Parent();
    m_selected = parent;
    tree.DeleteItem(item);
    m_doc.SetModifiedFlag();
    if (parent != nullptr)
        m_observer->ReloadPanes(parent);
    return true;
}

bool CHierarchyCommands::OnMove(MoveCommand command) {
    CHierarchyItem* item = m_selected;
    if (item == nullptr)
        return false;
    const CHierarchyItem* parent = item->Parent();
    const int count = parent != nullptr ? parent->ChildCount() : m_doc.Tree().TopLevelCount();
    const int index = item->IndexInParent();
    int target = index;
    switch (command) {
    case MoveCommand::Top:
        target = 0;
        break;
    case MoveCommand::Up:
        target = std::max(index - 1, 0);
        break;
    case MoveCommand::Down:
        target = std::min(index + 1, count - 1);
        break;
    case MoveCommand::Bottom:
        target = count - 1;
        break;
    }
    if (target != index) {
        m_doc.Tree().MoveItemTo(item, target);
        m_doc.SetModifiedFlag();
    }
    return true;
}

bool CHierarchyCommands::OnSetKind(int kind) {
    CHierarchyItem* item = m_selected;
    if (item == nullptr || item->ChildCount() > 0 || item->Kind() == kind || !IsModuleKind(item->Kind()) ||
        !IsModuleKind(kind))
        return false;
    m_observer->CommitPanes(item);
    m_doc.Tree().SetItemKind(item, kind);
    item->Object()->SetEntryKind(0, EntryKindOfItem(kind));
    const char* const messages[] = {"\r\nModule is set as normal module.",
                                    "",
                                    "",
                                    "",
                                    "\r\nModule is set as library module.",
                                    "",
                                    "\r\nModule is set as predefined module.",
                                    "",
                                    "\r\nModule is set as package."};
    m_doc.Log().AppendLog(messages[kind]);
    m_doc.SetModifiedFlag();
    m_observer->ReloadPanes(item, CProjectObserver::kParameterList);
    AnalyzeModule(m_doc, item, m_context);
    m_observer->ReloadPanes(item);
    return true;
}

} // namespace kestra
