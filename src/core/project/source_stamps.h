#pragma once

#include "system/file_stamp.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kestra {

// What each module source held when the tool last read or wrote it, by the source's path.
// Kept beside the project in "<project file>.stamps", a text file of its own, so that it
// survives a restart while the project file's format stays as other programs read it. The
// stamps file names the project file's content it belongs to and is read only with that very
// content: after the project file was written without it (an older version, a crash between
// the two writes) every module counts as not seen yet.
class CSourceStamps {
public:
    const FileStamp* Find(const std::filesystem::path& source) const;
    // Forgets the source when the stamp is empty.
    void Set(const std::filesystem::path& source, std::optional<FileStamp> stamp);
    void Clear() { m_stamps.clear(); }
    bool Empty() const { return m_stamps.empty(); }

    // The file's text for the project whose file's bytes hash to `projectHash` (ContentHash);
    // paths below the project folder are written relative to it.
    std::string Store(const std::filesystem::path& projectFolder, std::uint64_t projectHash) const;
    // Replaces the stamps by those of the text when it belongs to the project file whose bytes
    // hash to `projectHash`; false (and none kept) when it does not or cannot be read.
    bool Load(std::string_view text, const std::filesystem::path& projectFolder, std::uint64_t projectHash);

private:
    std::map<std::string, FileStamp> m_stamps;
};

// "<project file>.stamps" beside the project file.
std::filesystem::path StampsFilePath(const std::filesystem::path& project);

} // namespace kestra
