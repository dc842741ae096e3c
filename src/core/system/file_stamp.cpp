#include "system/file_stamp.h"

#include "system/file_system.h"

namespace kestra {

std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path, std::string_view bytes) {
    const std::optional<std::uint64_t> modified = GetLastWriteTime(path);
    if (!modified)
        return std::nullopt;
    return FileStamp{*modified, bytes.size(), ContentHash(bytes)};
}

bool SameContent(const FileStamp& then, const FileStamp& now) {
    return then.size == now.size && then.hash == now.hash;
}

} // namespace kestra
