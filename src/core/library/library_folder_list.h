#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

enum class FolderEntryKind { Up, Folder, Module };

struct FolderEntry {
    FolderEntryKind kind = FolderEntryKind::Module;
    std::string name; // empty for the entry going up
    bool operator==(const FolderEntry&) const = default;
};

// One folder of a library at a time, as the library bar lists it: an entry going up when below
// the root, the sub-folders whose names do not begin with '.', then the modules ("*.vhd" files,
// named without the extension), each group by name. The current folder always lies within the
// root.
class CLibraryFolderList {
public:
    explicit CLibraryFolderList(std::filesystem::path rootFolder);

    // Lists the current folder again; a current folder that has gone is left for the nearest
    // one above that still exists.
    void Rescan();

    const std::filesystem::path& RootFolder() const { return m_rootFolder; }
    const std::vector<std::string>& CurrentPath() const { return m_path; }
    std::filesystem::path CurrentFolder() const;
    const std::vector<FolderEntry>& Entries() const { return m_entries; }

    // A click on an entry: up and folders change the current folder and give an empty path; a
    // module gives its file, to be inserted into the project.
    std::filesystem::path Activate(int index);

private:
    std::filesystem::path m_rootFolder;
    std::vector<std::string> m_path;
    std::vector<FolderEntry> m_entries;
};

} // namespace kestra
