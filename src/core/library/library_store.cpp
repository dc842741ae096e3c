#include "library/library_store.h"

#include "library/library_files.h"
#include "system/user_prompts.h"

namespace kestra {

bool CFolderLibraryStore::StoreModule(const std::filesystem::path& moduleFile, LibraryKind,
                                      const std::vector<std::string>& companions) {
    std::string errorText;
    switch (StoreLibraryModule(moduleFile, m_folder, companions, m_prompts, &errorText)) {
    case StoreResult::Stored:
        m_storedFile = m_folder / moduleFile.filename();
        return true;
    case StoreResult::Declined:
        return false;
    case StoreResult::Failed:
        break;
    }
    m_prompts.ShowMessage(kDefaultPromptTitle, errorText, PromptIcon::Error);
    return false;
}

} // namespace kestra
