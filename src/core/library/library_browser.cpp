#include "library/library_browser.h"

#include "library/library_files.h"
#include "library/library_org.h"
#include "system/user_prompts.h"

namespace kestra {

namespace fs = std::filesystem;

namespace {

LibraryActionResult Failure(std::string errorText) {
    return {LibraryActionStatus::Failed, std::move(errorText)};
}

LibraryActionResult Success() {
    return {LibraryActionStatus::Done, {}};
}

} // namespace

CLibraryBrowser::CLibraryBrowser(fs::path rootFolder, LibraryKind kind, CUserPrompts& prompts)
    : m_tree(std::move(rootFolder), kind), m_prompts(prompts) {}

void CLibraryBrowser::SetStoreFile(fs::path file, std::vector<std::string> companions) {
    m_storeFile = std::move(file);
    m_storeCompanions = std::move(companions);
    m_mode = BrowseMode::Store;
    m_stored = false;
}

void CLibraryBrowser::Open() {
    m_tree.Rescan();
    // Without a readable "LibraryOrg.dat" the tree stays collapsed, which is all it records.
    static_cast<void>(ReadLibraryOrgFile(m_tree));
}

std::string CLibraryBrowser::InitialEditText() const {
    return m_mode == BrowseMode::Store ? m_storeFile.filename().string() : std::string();
}

std::vector<std::string> CLibraryBrowser::CompanionsOf(const fs::path& moduleFile) const {
    return m_companionReader ? m_companionReader(moduleFile) : std::vector<std::string>();
}

LibraryActionResult CLibraryBrowser::Create(const std::string& editText) {
    return m_mode == BrowseMode::Store ? StoreModule() : CreateFolder(editText);
}

LibraryActionResult CLibraryBrowser::CreateFolder(const std::string& name) {
    if (name.empty())
        return {};
    CLibraryItem* target = m_tree.TargetFolder(m_tree.Selected());
    if (const Outcome created = CreateLibraryFolder(m_tree.FullPath(target), name); !created)
        return Failure(created.Reason());
    m_tree.Select(m_tree.InsertItem(target, name, LibraryItemKind::Folder));
    return Success();
}

LibraryActionResult CLibraryBrowser::StoreModule() {
    CLibraryItem* target = m_tree.TargetFolder(m_tree.Selected());
    const Result<StoreResult> stored =
        StoreLibraryModule(m_storeFile, m_tree.FullPath(target), m_storeCompanions, m_prompts);
    if (!stored)
        return Failure(stored.Reason());
    if (*stored == StoreResult::Declined)
        return {};
    m_tree.Select(m_tree.InsertItem(target, ModuleNameOfFile(m_storeFile.filename().string()),
                                    LibraryItemKind::Module));
    m_mode = BrowseMode::Choose;
    m_stored = true;
    return Success();
}

LibraryActionResult CLibraryBrowser::Remove() {
    CLibraryItem* item = m_tree.Selected();
    if (item == nullptr || item->Kind() == LibraryItemKind::Root)
        return {};
    const fs::path path = m_tree.FullPath(item);
    if (item->IsFolder()) {
        if (!m_prompts.AskYesNo(kConfirmationTitle, kRemoveFolderQuestion))
            return {};
        if (const Outcome removed = RemoveLibraryFolder(path); !removed)
            return Failure(removed.Reason());
    } else {
        if (!m_prompts.AskYesNo(kConfirmationTitle, kRemoveModuleQuestion))
            return {};
        if (const Outcome removed = RemoveLibraryModule(path, CompanionsOf(path)); !removed)
            return Failure(removed.Reason());
    }
    m_tree.DeleteItem(item);
    return Success();
}

LibraryActionResult CLibraryBrowser::Drop(CLibraryItem* module, CLibraryItem* target) {
    if (!CanDrag(module) || target == nullptr)
        return {};
    CLibraryItem* folder = m_tree.TargetFolder(target);
    if (folder == module->Parent())
        return {};
    const fs::path moduleFile = m_tree.FullPath(module);
    if (const Outcome moved =
            MoveLibraryModule(moduleFile, m_tree.FullPath(folder), CompanionsOf(moduleFile));
        !moved)
        return Failure(moved.Reason());
    const std::string name = module->Name();
    m_tree.DeleteItem(module);
    m_tree.Select(m_tree.InsertItem(folder, name, LibraryItemKind::Module));
    return Success();
}

CLibraryBrowser::Closing CLibraryBrowser::Close(bool ok) {
    Outcome written = WriteLibraryOrgFile(m_tree);
    const CLibraryItem* selected = m_tree.Selected();
    if (!ok || selected == nullptr || !selected->IsModule())
        return {{}, std::move(written)};
    return {m_tree.FullPath(selected), std::move(written)};
}

} // namespace kestra
