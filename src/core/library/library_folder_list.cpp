#include "library/library_folder_list.h"

#include "library/library_files.h"
#include "library/library_tree.h"
#include "system/file_system.h"

#include <algorithm>

namespace kestra {

namespace fs = std::filesystem;

CLibraryFolderList::CLibraryFolderList(fs::path rootFolder) : m_rootFolder(std::move(rootFolder)) {
    Rescan();
}

fs::path CLibraryFolderList::CurrentFolder() const {
    fs::path folder = m_rootFolder;
    for (const std::string& name : m_path)
        folder /= name;
    return folder;
}

void CLibraryFolderList::Rescan() {
    while (!m_path.empty() && !FolderExists(CurrentFolder()))
        m_path.pop_back();
    const fs::path folder = CurrentFolder();
    m_entries.clear();
    if (!m_path.empty())
        m_entries.push_back({FolderEntryKind::Up, {}});
    std::vector<std::string> folders;
    for (std::string& name : ListFolders(folder))
        if (!name.empty() && name.front() != '.')
            folders.push_back(std::move(name));
    std::vector<std::string> modules;
    for (const std::string& name : ListFiles(folder))
        if (IsModuleFileName(name))
            modules.push_back(ModuleNameOfFile(name));
    std::sort(folders.begin(), folders.end(), LibraryNameLess);
    std::sort(modules.begin(), modules.end(), LibraryNameLess);
    for (std::string& name : folders)
        m_entries.push_back({FolderEntryKind::Folder, std::move(name)});
    for (std::string& name : modules)
        m_entries.push_back({FolderEntryKind::Module, std::move(name)});
}

fs::path CLibraryFolderList::Activate(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return {};
    const FolderEntry entry = m_entries[static_cast<std::size_t>(index)];
    switch (entry.kind) {
    case FolderEntryKind::Up:
        if (!m_path.empty())
            m_path.pop_back();
        break;
    case FolderEntryKind::Folder:
        m_path.push_back(entry.name);
        break;
    case FolderEntryKind::Module:
        return ModuleFilePath(CurrentFolder(), entry.name);
    }
    Rescan();
    return {};
}

} // namespace kestra
