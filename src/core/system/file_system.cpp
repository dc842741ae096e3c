#include "system/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>
#include <system_error>
#include <unistd.h>

namespace kestra {

namespace fs = std::filesystem;

namespace {

Outcome Failure(const std::error_code& error) {
    return Outcome::Failed(error.message());
}

Outcome Failure(std::errc code) {
    return Failure(std::make_error_code(code));
}

// The reason errno names; an unset errno stands for an input/output error.
std::string ErrnoReason(int number) {
    return std::error_code(number != 0 ? number : EIO, std::generic_category()).message();
}

Outcome ErrnoFailure(int number) {
    return Outcome::Failed(ErrnoReason(number));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDifferenceTicks = 11644473600LL * 10000000LL;

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

// A number for a name no other writer is using. Drawn afresh each time: the check writes its
// work files from a worker thread, so no generator state is shared.
std::uint64_t RandomNameNumber() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

// A name for the temporary file next to the target that no other writer is using.
Result<FilePtr> CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(RandomNameNumber()));
        temporary = target.parent_path() / ("." + target.filename().string() + suffix + ".tmp");
        errno = 0;
        // "x": fail rather than reuse a file that exists.
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx"))
            return FilePtr(file);
        if (errno != EEXIST)
            return Result<FilePtr>::Failed(ErrnoReason(errno));
    }
    return Result<FilePtr>::Failed(ErrnoReason(EEXIST));
}

// The file a write to `path` replaces: the file a symbolic link names, else the path itself.
fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        fs::path resolved = fs::canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// A regular file that nobody may write is kept as it is: writing it fails.
Outcome CheckNotReadOnly(const fs::path& target) {
    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    if (!error && fs::is_regular_file(existing) && (existing.permissions() & kAnyWrite) == fs::perms::none)
        return ErrnoFailure(EACCES);
    return Outcome::Ok();
}

bool TargetExists(const fs::path& target) {
    std::error_code error;
    return fs::exists(fs::symlink_status(target, error));
}

// Writes the content with `write`, then flushes it down to the disk and closes the file; the
// errno of the step that failed, or 0.
template <typename Writer>
int WriteFlushAndClose(FilePtr file, Writer& write) {
    errno = 0;
    int writeErrno = 0;
    bool written = write(file.get(), writeErrno) && std::fflush(file.get()) == 0;
    if (writeErrno == 0)
        writeErrno = errno;
    // On the disk before its name replaces the old file: after a crash the name holds the
    // old content or the whole new one, never an empty or partial file.
    if (written && ::fsync(::fileno(file.get())) != 0) {
        written = false;
        writeErrno = errno;
    }
    errno = 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written)
        return writeErrno != 0 ? writeErrno : EIO;
    return closed ? 0 : (errno != 0 ? errno : EIO);
}

// Makes a rename inside the folder durable. A folder that cannot be flushed is no failure of
// the write: its content is on the disk, and the new name will be there after the next flush.
void FlushFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    static_cast<void>(::fsync(descriptor)); // see above: only the file's own flush counts
    ::close(descriptor);
}

// Writes a temporary file beside the target with `write` and puts it in the target's place:
// renamed over it (overwrite) or linked in only while the name is free. An existing target's
// permissions are kept; a new one gets `newPermissions` when given.
template <typename Writer>
Outcome WriteThroughTemporary(const fs::path& target, bool overwrite, std::optional<fs::perms> newPermissions,
                              Writer write) {
    if (Outcome writable = CheckNotReadOnly(target); !writable)
        return writable;
    if (!overwrite && TargetExists(target))
        return Failure(std::errc::file_exists);
    fs::path temporary;
    Result<FilePtr> created = CreateTemporaryBeside(target, temporary);
    if (!created)
        return Outcome::Failed(created.Reason());
    std::error_code error;
    auto discard = [&temporary] {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    };
    if (const int failure = WriteFlushAndClose(std::move(*created), write); failure != 0) {
        discard();
        return ErrnoFailure(failure);
    }
    const fs::file_status status = fs::status(target, error);
    if (!error && fs::exists(status))
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
    else if (newPermissions)
        fs::permissions(temporary, *newPermissions, fs::perm_options::replace, error);
    error.clear();
    if (overwrite) {
        fs::rename(temporary, target, error);
    } else {
        // Linking fails when the name was taken meanwhile; where the file system has no hard
        // links, the name was checked above.
        fs::create_hard_link(temporary, target, error);
        if (error && error != std::errc::file_exists) {
            error.clear();
            fs::rename(temporary, target, error);
        }
    }
    discard();
    if (error)
        return Failure(error);
    FlushFolder(target.parent_path());
    return Outcome::Ok();
}

} // namespace

Result<std::string> ReadWholeFile(const fs::path& path) {
    using Text = Result<std::string>;
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return Text::Failed(ErrnoReason(errno));
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        return Text::Failed(error.message());
    if (size > kMaxReadFileSize)
        return Text::Failed("File too large (more than " + std::to_string(kMaxReadFileSize >> 20) + " MB)");
    std::string content;
    content.resize(static_cast<std::size_t>(size));
    const std::size_t got = std::fread(content.data(), 1, content.size(), file.get());
    if (got != content.size())
        return Text::Failed(ErrnoReason(std::ferror(file.get()) ? errno : EIO));
    return content;
}

bool CanReadFile(const fs::path& path) {
    if (path.empty() || !FileExists(path))
        return false;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    return file != nullptr;
}

std::string WithReason(std::string message, const std::string& reason) {
    if (reason.empty())
        return message;
    message += ' ';
    message += reason;
    if (message.back() != '.')
        message += '.';
    return message;
}

Outcome ReplaceFileSafely(const fs::path& path, std::string_view content) {
    return WriteThroughTemporary(WriteTarget(path), true, std::nullopt, [content](std::FILE* file, int&) {
        return std::fwrite(content.data(), 1, content.size(), file) == content.size();
    });
}

Outcome WriteNewFile(const fs::path& path, std::string_view content) {
    return WriteThroughTemporary(path, false, std::nullopt, [content](std::FILE* file, int&) {
        return std::fwrite(content.data(), 1, content.size(), file) == content.size();
    });
}

Outcome CopyFileTo(const fs::path& from, const fs::path& to, bool overwrite) {
    errno = 0;
    FilePtr source(std::fopen(from.c_str(), "rb"));
    std::error_code error;
    const fs::file_status sourceStatus = fs::status(from, error);
    if (!source || !fs::is_regular_file(sourceStatus))
        return ErrnoFailure(!source ? errno : EISDIR);
    const fs::perms permissions = sourceStatus.permissions() | fs::perms::owner_read | fs::perms::owner_write;
    return WriteThroughTemporary(
        WriteTarget(to), overwrite, permissions, [&source](std::FILE* file, int& failure) {
            char buffer[65536];
            for (;;) {
                const std::size_t got = std::fread(buffer, 1, sizeof buffer, source.get());
                if (got > 0 && std::fwrite(buffer, 1, got, file) != got)
                    return false;
                if (got < sizeof buffer) {
                    if (std::ferror(source.get())) {
                        failure = errno != 0 ? errno : EIO;
                        return false;
                    }
                    return true;
                }
            }
        });
}

Outcome MoveFileTo(const fs::path& from, const fs::path& to, bool overwrite) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(from, error)))
        return Failure(std::errc::no_such_file_or_directory);
    if (Outcome writable = CheckNotReadOnly(to); !writable)
        return writable;
    if (overwrite) {
        fs::rename(from, to, error);
    } else {
        // A hard link fails when the name is taken; the source name is unlinked after it. Where
        // the file system has no hard links, the name is checked before the rename.
        fs::create_hard_link(from, to, error);
        if (!error) {
            fs::remove(from, error);
            if (error) {
                std::error_code ignored;
                fs::remove(to, ignored);
            }
        } else if (error != std::errc::file_exists && error != std::errc::cross_device_link) {
            error = TargetExists(to) ? std::make_error_code(std::errc::file_exists) : std::error_code();
            if (!error)
                fs::rename(from, to, error);
        }
    }
    if (error == std::errc::cross_device_link) {
        if (Outcome copied = CopyFileTo(from, to, overwrite); !copied)
            return copied;
        return DeleteFileAt(from);
    }
    if (error)
        return Failure(error);
    return Outcome::Ok();
}

Outcome DeleteFileAt(const fs::path& path) {
    std::error_code error;
    if (!fs::remove(path, error))
        return error ? Failure(error) : Failure(std::errc::no_such_file_or_directory);
    return Outcome::Ok();
}

bool FileExists(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool FolderExists(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool MayWrite(const fs::path& path) {
    return !path.empty() && ::access(path.c_str(), W_OK) == 0 && CheckNotReadOnly(WriteTarget(path));
}

std::optional<std::uint64_t> FileSize(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        return std::nullopt;
    return size;
}

Outcome CreateFolder(const fs::path& path, bool* alreadyExists) {
    std::error_code error;
    const bool created = fs::create_directory(path, error);
    if (alreadyExists != nullptr)
        *alreadyExists = !created && !error;
    if (!created)
        return error ? Failure(error) : Failure(std::errc::file_exists);
    return Outcome::Ok();
}

Outcome CreateFolders(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error)
        return Failure(error);
    return Outcome::Ok();
}

Outcome RemoveEmptyFolder(const fs::path& path) {
    std::error_code error;
    if (!fs::is_directory(path, error))
        return error ? Failure(error) : Failure(std::errc::not_a_directory);
    const bool empty = fs::is_empty(path, error);
    if (error || !empty)
        return error ? Failure(error) : Failure(std::errc::directory_not_empty);
    if (!fs::remove(path, error))
        return error ? Failure(error) : Failure(std::errc::no_such_file_or_directory);
    return Outcome::Ok();
}

Outcome ClearFolder(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error)
        return Failure(error);
    std::vector<fs::path> paths;
    for (; entries != fs::directory_iterator(); entries.increment(error))
        paths.push_back(entries->path());
    if (error)
        return Failure(error);
    for (const fs::path& path : paths) {
        fs::remove_all(path, error);
        if (error)
            return Failure(error);
    }
    return Outcome::Ok();
}

Outcome RenameFolder(const fs::path& from, const fs::path& to) {
    std::error_code error;
    if (!fs::is_directory(from, error))
        return error ? Failure(error) : Failure(std::errc::no_such_file_or_directory);
    if (TargetExists(to))
        return Failure(std::errc::file_exists);
    fs::rename(from, to, error);
    if (error)
        return Failure(error);
    return Outcome::Ok();
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

fs::path AbsolutePath(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

CPrivateTempFolder::CPrivateTempFolder(std::string_view prefix) {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = temp / (std::string(prefix) + std::to_string(RandomNameNumber()));
        if (fs::create_directory(folder, error)) {
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
            m_path = folder;
            return;
        }
    }
}

CPrivateTempFolder::~CPrivateTempFolder() {
    std::error_code error;
    if (!m_path.empty())
        fs::remove_all(m_path, error);
}

namespace {

template <typename Wanted>
std::vector<std::string> ListEntries(const fs::path& folder, Wanted wanted) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (wanted(*it, typeError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> ListFiles(const fs::path& folder) {
    return ListEntries(folder, [](const fs::directory_entry& entry, std::error_code& error) {
        return entry.is_regular_file(error);
    });
}

std::vector<std::string> ListFolders(const fs::path& folder) {
    return ListEntries(folder, [](const fs::directory_entry& entry, std::error_code& error) {
        return entry.is_directory(error);
    });
}

std::uint64_t FileTimeFromClock(fs::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    const std::int64_t ticks =
        std::chrono::floor<Ticks>(system.time_since_epoch()).count() + kEpochDifferenceTicks;
    return ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks);
}

fs::file_time_type ClockFromFileTime(std::uint64_t fileTime) {
    // The file clock counts nanoseconds in 64 bits, a span of a few centuries: times outside
    // 1900 to 2200 are brought to those ends instead of overflowing.
    constexpr std::uint64_t kYear1900 = 94354848000000000ull;
    constexpr std::uint64_t kYear2200 = 189025920000000000ull;
    fileTime = std::clamp(fileTime, kYear1900, kYear2200);
    const Ticks sinceEpoch(static_cast<std::int64_t>(fileTime) - kEpochDifferenceTicks);
    const std::chrono::sys_time<Ticks> system(sinceEpoch);
    return std::chrono::file_clock::from_sys(system);
}

std::optional<FileAttributes> ReadFileAttributes(const fs::path& path) {
    std::error_code error;
    const fs::directory_entry entry(path, error);
    if (error || !entry.is_regular_file(error) || error)
        return std::nullopt;
    const fs::file_time_type time = entry.last_write_time(error);
    const std::uintmax_t size = error ? 0 : entry.file_size(error);
    if (error)
        return std::nullopt;
    return FileAttributes{FileTimeFromClock(time), static_cast<std::uint64_t>(size)};
}

std::optional<std::uint64_t> GetLastWriteTime(const fs::path& path) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return FileTimeFromClock(time);
}

bool SetLastWriteTime(const fs::path& path, std::uint64_t fileTime) {
    std::error_code error;
    fs::last_write_time(path, ClockFromFileTime(fileTime), error);
    return !error;
}

} // namespace kestra
