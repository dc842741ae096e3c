#include "tools/check_messages.h"

namespace kestra {

std::vector<std::filesystem::path> CCheckMessageStore::Record(const CheckJob& job,
                                                              const CheckOutcome& outcome) {
    std::vector<std::filesystem::path> replaced;
    if (outcome.cancelled || outcome.analyzerFailed)
        return replaced;
    for (const CheckFile& file : job.files) {
        replaced.push_back(file.path);
        m_byFile[file.path.lexically_normal()].clear();
    }
    for (const CheckMessage& message : outcome.messages) {
        if (message.file.empty() || message.line <= 0)
            continue;
        // The last file it names, as the check counts its errors.
        const CheckFile* named = nullptr;
        for (const CheckFile& file : job.files) {
            if (MessageNamesFile(message.file, file.path))
                named = &file;
        }
        if (named != nullptr)
            m_byFile[named->path.lexically_normal()].push_back(message);
    }
    return replaced;
}

std::vector<CheckMessage> CCheckMessageStore::MessagesOf(const std::filesystem::path& path) const {
    const auto found = m_byFile.find(path.lexically_normal());
    return found != m_byFile.end() ? found->second : std::vector<CheckMessage>{};
}

} // namespace kestra
