#pragma once

#include "library/library_roots.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CUserPrompts;

// Where an exported module goes: the store step of Create Library Module and Create
// Predefined Module. The window layer asks the user for a library folder; other callers store
// into a folder they know. The exported file and its companion files stand in a folder of
// their own, and whatever is not stored there is discarded afterwards.
class CLibraryStore {
public:
    virtual ~CLibraryStore() = default;
    // Files the module file into the library of the given kind, its companion files (the values
    // of its Link parameters, plain names only) moving along. True when it was stored.
    [[nodiscard]] virtual bool StoreModule(const std::filesystem::path& moduleFile, LibraryKind kind,
                                           const std::vector<std::string>& companions) = 0;
};

// Stores into one given folder of a library, asking the "Overwrite" question before a module
// of the same name is replaced; a failure is shown with the system's error text.
class CFolderLibraryStore : public CLibraryStore {
public:
    CFolderLibraryStore(std::filesystem::path folder, CUserPrompts& prompts)
        : m_folder(std::move(folder)), m_prompts(prompts) {}

    [[nodiscard]] bool StoreModule(const std::filesystem::path& moduleFile, LibraryKind kind,
                                   const std::vector<std::string>& companions) override;

    const std::filesystem::path& Folder() const { return m_folder; }
    // Where the last stored module went.
    const std::filesystem::path& StoredFile() const { return m_storedFile; }

private:
    std::filesystem::path m_folder;
    CUserPrompts& m_prompts;
    std::filesystem::path m_storedFile;
};

} // namespace kestra
