#include "library/library_store.h"

#include "library/library_files.h"
#include "system/user_prompts.h"

namespace kestra {

bool CFolderLibraryStore::StoreModule(const std::filesystem::path& moduleFile, LibraryKind,
                                      const std::vector<std::string>& companions) {
    const Result<StoreResult> stored = StoreLibraryModule(moduleFile, m_folder, companions, m_prompts);
    if (!stored) {
        m_prompts.ShowMessage(kDefaultPromptTitle, stored.Reason(), PromptIcon::Error);
        return false;
    }
    if (*stored == StoreResult::Declined)
        return false;
    m_storedFile = m_folder / moduleFile.filename();
    return true;
}

} // namespace kestra
