#include "system/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>

namespace kestra {

namespace fs = std::filesystem;

namespace {

void SetError(std::string* errorText, const std::error_code& error) {
    if (errorText != nullptr)
        *errorText = error.message();
}

void SetErrno(std::string* errorText, int number) {
    SetError(errorText, std::error_code(number != 0 ? number : EIO, std::generic_category()));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDifferenceTicks = 11644473600LL * 10000000LL;

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

// A name for the temporary file next to the target that no other writer is using.
FilePtr CreateTemporaryBeside(const fs::path& target, fs::path& temporary, std::string* errorText) {
    static std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(generator()));
        temporary = target.parent_path() / ("." + target.filename().string() + suffix + ".tmp");
        errno = 0;
        // "x": fail rather than reuse a file that exists.
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx"))
            return FilePtr(file);
        if (errno != EEXIST) {
            SetErrno(errorText, errno);
            return nullptr;
        }
    }
    SetErrno(errorText, EEXIST);
    return nullptr;
}

} // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string* errorText) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        SetErrno(errorText, errno);
        return std::nullopt;
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        SetError(errorText, error);
        return std::nullopt;
    }
    std::string content;
    content.resize(static_cast<std::size_t>(size));
    const std::size_t got = std::fread(content.data(), 1, content.size(), file.get());
    if (got != content.size()) {
        SetErrno(errorText, std::ferror(file.get()) ? errno : EIO);
        return std::nullopt;
    }
    return content;
}

bool ReplaceFileSafely(const fs::path& linkOrFile, std::string_view content, std::string* errorText) {
    std::error_code error;
    // A symbolic link stays a link: the file it names is replaced.
    fs::path path = linkOrFile;
    if (fs::is_symlink(linkOrFile, error)) {
        const fs::path resolved = fs::canonical(linkOrFile, error);
        if (!error)
            path = resolved;
    }
    // A file that nobody may write is kept as it is, also for a user whom the system would
    // let replace it.
    const fs::file_status existing = fs::status(path, error);
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!error && fs::is_regular_file(existing) && (existing.permissions() & anyWrite) == fs::perms::none) {
        SetErrno(errorText, EACCES);
        return false;
    }
    fs::path temporary;
    FilePtr file = CreateTemporaryBeside(path, temporary, errorText);
    if (!file)
        return false;
    errno = 0;
    const bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size() &&
                         std::fflush(file.get()) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(file.release()) == 0;
    const int closeErrno = errno;
    if (!written || !closed) {
        SetErrno(errorText, !written ? writeErrno : closeErrno);
        fs::remove(temporary, error);
        return false;
    }
    const fs::file_status status = fs::status(path, error);
    if (!error && fs::exists(status))
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
    fs::rename(temporary, path, error);
    if (error) {
        SetError(errorText, error);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool CopyFileTo(const fs::path& from, const fs::path& to, bool overwrite, std::string* errorText) {
    std::error_code error;
    const fs::copy_options options =
        overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    if (!fs::copy_file(from, to, options, error)) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::file_exists));
        return false;
    }
    return true;
}

bool MoveFileTo(const fs::path& from, const fs::path& to, bool overwrite, std::string* errorText) {
    std::error_code error;
    if (!fs::exists(from, error)) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::no_such_file_or_directory));
        return false;
    }
    if (!overwrite && fs::exists(to, error)) {
        SetError(errorText, std::make_error_code(std::errc::file_exists));
        return false;
    }
    fs::rename(from, to, error);
    if (error == std::errc::cross_device_link) {
        if (!CopyFileTo(from, to, true, errorText))
            return false;
        return DeleteFileAt(from, errorText);
    }
    if (error) {
        SetError(errorText, error);
        return false;
    }
    return true;
}

bool DeleteFileAt(const fs::path& path, std::string* errorText) {
    std::error_code error;
    if (!fs::remove(path, error)) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::no_such_file_or_directory));
        return false;
    }
    return true;
}

bool FileExists(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool FolderExists(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::optional<std::uint64_t> FileSize(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        return std::nullopt;
    return size;
}

bool CreateFolder(const fs::path& path, bool* alreadyExists, std::string* errorText) {
    std::error_code error;
    const bool created = fs::create_directory(path, error);
    if (alreadyExists != nullptr)
        *alreadyExists = !created && !error;
    if (!created) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::file_exists));
        return false;
    }
    return true;
}

bool CreateFolders(const fs::path& path, std::string* errorText) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error) {
        SetError(errorText, error);
        return false;
    }
    return true;
}

bool RemoveEmptyFolder(const fs::path& path, std::string* errorText) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::not_a_directory));
        return false;
    }
    const bool empty = fs::is_empty(path, error);
    if (error || !empty) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::directory_not_empty));
        return false;
    }
    if (!fs::remove(path, error)) {
        SetError(errorText, error ? error : std::make_error_code(std::errc::no_such_file_or_directory));
        return false;
    }
    return true;
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
