#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// File access for the whole core. Every failure comes back as false or an empty result,
// with the system's own error text in *errorText when the caller asks for it.

// The whole file; fails when fewer bytes arrive than the file holds.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* errorText = nullptr);

// Writes the content to a new temporary file in the same folder and renames it over the
// target, so that the target is either the old file or the whole new one. An existing
// target's permissions are kept.
bool ReplaceFileSafely(const std::filesystem::path& path, std::string_view content,
                       std::string* errorText = nullptr);

bool CopyFileTo(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite,
                std::string* errorText = nullptr);
// Renames, or copies and deletes across file systems. Fails when the target exists, unless
// overwrite is set.
bool MoveFileTo(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite = false,
                std::string* errorText = nullptr);
bool DeleteFileAt(const std::filesystem::path& path, std::string* errorText = nullptr);

bool FileExists(const std::filesystem::path& path);
bool FolderExists(const std::filesystem::path& path);
std::optional<std::uint64_t> FileSize(const std::filesystem::path& path);

// Creates one folder; fails when it already exists (alreadyExists then tells so).
bool CreateFolder(const std::filesystem::path& path, bool* alreadyExists = nullptr,
                  std::string* errorText = nullptr);
// Creates the folder and its missing parents; an existing folder is fine.
bool CreateFolders(const std::filesystem::path& path, std::string* errorText = nullptr);

// Removes a folder that holds nothing; a file or a folder with content is left alone and
// reported as an error.
bool RemoveEmptyFolder(const std::filesystem::path& path, std::string* errorText = nullptr);

// Names of the regular files directly inside the folder, sorted.
std::vector<std::string> ListFiles(const std::filesystem::path& folder);
// Names of the folders directly inside the folder, sorted.
std::vector<std::string> ListFolders(const std::filesystem::path& folder);

// File times count 100 ns units since 1601-01-01 00:00 UTC.
std::optional<std::uint64_t> GetLastWriteTime(const std::filesystem::path& path);
bool SetLastWriteTime(const std::filesystem::path& path, std::uint64_t fileTime);
std::uint64_t FileTimeFromClock(std::filesystem::file_time_type time);
std::filesystem::file_time_type ClockFromFileTime(std::uint64_t fileTime);

} // namespace kestra
