#pragma once

#include "system/outcome.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// File access for the whole core: the one way user files are read, written, copied, moved
// and deleted. Every failure comes back as a failed Outcome or Result carrying the system's own
// error text.
//
// Writing is safe: a file that is written, copied over or moved over is either the old file
// or the whole new one, never a part, also after a crash. The new content goes to a temporary
// file beside the target, which is flushed to the disk and then renamed into place. A replaced
// file keeps its permissions; a file that nobody may write is never replaced, also for a user
// whom the system would let do so. A symbolic link stays a link: the file it names is replaced.

// The largest file read whole: a VHDL source or project file larger than this is refused
// instead of filling the memory.
inline constexpr std::uint64_t kMaxReadFileSize = std::uint64_t{256} << 20;

// The whole file; fails when it is larger than kMaxReadFileSize or when fewer bytes arrive
// than the file holds.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);
// The file exists and can be opened for reading.
bool CanReadFile(const std::filesystem::path& path);

// A fixed message followed by the system's reason for a failure, as the user reads it:
// "Cannot write X. Permission denied." The message alone when there is no reason.
std::string WithReason(std::string message, const std::string& reason);

// Writes the content to the file, replacing it safely.
Outcome ReplaceFileSafely(const std::filesystem::path& path, std::string_view content);
// Writes the content to a new file as safely; fails when the name is taken, also by a writer
// that comes at the same moment, and leaves that file alone.
Outcome WriteNewFile(const std::filesystem::path& path, std::string_view content);

// Copies the file safely. Without overwrite the copy fails when the target exists, and leaves
// it alone. A new target takes the source's permissions, writable by its owner.
Outcome CopyFileTo(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite);
// Renames the file, or copies it safely and deletes the source across file systems. Without
// overwrite the move fails when the target exists, and leaves it alone.
Outcome MoveFileTo(const std::filesystem::path& from, const std::filesystem::path& to,
                   bool overwrite = false);
Outcome DeleteFileAt(const std::filesystem::path& path);

// Renames a folder; fails when the new name is taken.
Outcome RenameFolder(const std::filesystem::path& from, const std::filesystem::path& to);
// Both paths name one existing file (through links).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);
// The path made absolute against the current folder and normalised; the path as it is when
// the current folder cannot be read.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

bool FileExists(const std::filesystem::path& path);
bool FolderExists(const std::filesystem::path& path);
// The file or folder exists and this process may write it (a folder: create and replace files in
// it); a file that nobody may write counts as read-only, as the writes above refuse it.
bool MayWrite(const std::filesystem::path& path);
[[nodiscard]] std::optional<std::uint64_t> FileSize(const std::filesystem::path& path);

// Creates one folder; fails when it already exists (alreadyExists then tells so).
Outcome CreateFolder(const std::filesystem::path& path, bool* alreadyExists = nullptr);
// Creates the folder and its missing parents; an existing folder is fine.
Outcome CreateFolders(const std::filesystem::path& path);

// Removes a folder that holds nothing; a file or a folder with content is left alone and
// reported as an error.
Outcome RemoveEmptyFolder(const std::filesystem::path& path);

// Removes everything inside the folder, files and folders with their content; the folder stays.
// For the program's own work folders, never for a user's.
Outcome ClearFolder(const std::filesystem::path& folder);

// Names of the regular files directly inside the folder, sorted.
std::vector<std::string> ListFiles(const std::filesystem::path& folder);
// Names of the folders directly inside the folder, sorted.
std::vector<std::string> ListFolders(const std::filesystem::path& folder);

// A fresh folder of the program's own inside the system's temporary folder, that only this
// user may enter, removed with what is left in it when the object goes. Work files of one
// operation go there rather than into the shared temporary folder, where a name may already be
// taken, or be a link that someone else planted.
class CPrivateTempFolder {
public:
    explicit CPrivateTempFolder(std::string_view prefix);
    ~CPrivateTempFolder();
    CPrivateTempFolder(const CPrivateTempFolder&) = delete;
    CPrivateTempFolder& operator=(const CPrivateTempFolder&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// File times count 100 ns units since 1601-01-01 00:00 UTC.
[[nodiscard]] std::optional<std::uint64_t> GetLastWriteTime(const std::filesystem::path& path);
// A regular file's last-write time (as GetLastWriteTime gives it) and size, from one look at
// the file system; none when there is no such file.
struct FileAttributes {
    std::uint64_t modified = 0;
    std::uint64_t size = 0;
};
[[nodiscard]] std::optional<FileAttributes> ReadFileAttributes(const std::filesystem::path& path);
[[nodiscard]] bool SetLastWriteTime(const std::filesystem::path& path, std::uint64_t fileTime);
std::uint64_t FileTimeFromClock(std::filesystem::file_time_type time);
std::filesystem::file_time_type ClockFromFileTime(std::uint64_t fileTime);

} // namespace kestra
