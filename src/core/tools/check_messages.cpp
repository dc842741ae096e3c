#include "tools/check_messages.h"

#include <algorithm>

namespace kestra {

std::vector<std::filesystem::path> CCheckMessageStore::Record(const CheckJob& job,
                                                              const CheckOutcome& outcome) {
    std::vector<std::filesystem::path> replaced;
    if (outcome.cancelled || outcome.analyzerFailed)
        return replaced;
    // The last file of the job each message names, as the check counts its errors.
    std::vector<std::pair<const CheckFile*, const CheckMessage*>> named;
    for (const CheckMessage& message : outcome.messages) {
        if (message.file.empty() || message.line <= 0)
            continue;
        const CheckFile* file = nullptr;
        for (const CheckFile& candidate : job.files) {
            if (MessageNamesFile(message.file, candidate.path))
                file = &candidate;
        }
        if (file != nullptr)
            named.emplace_back(file, &message);
    }
    // A file the run took from a kept work folder without analysing it keeps its messages,
    // unless the run names it (elaboration).
    auto replace = [&](const std::filesystem::path& path) {
        if (std::find(replaced.begin(), replaced.end(), path) != replaced.end())
            return;
        replaced.push_back(path);
        m_byFile[path.lexically_normal()].clear();
    };
    for (const std::filesystem::path& path : outcome.analyzedFiles)
        replace(path);
    for (const auto& [file, message] : named)
        replace(file->path);
    for (const auto& [file, message] : named)
        m_byFile[file->path.lexically_normal()].push_back(*message);
    return replaced;
}

std::vector<CheckMessage> CCheckMessageStore::MessagesOf(const std::filesystem::path& path) const {
    const auto found = m_byFile.find(path.lexically_normal());
    return found != m_byFile.end() ? found->second : std::vector<CheckMessage>{};
}

} // namespace kestra
