#include "system/file_stamp.h"

#include "system/file_system.h"

#include <bit>
#include <cstring>

namespace kestra {

std::uint64_t ContentHash(std::string_view bytes) {
    // Eight bytes a step (read as a little-endian word), each step an xor, a multiplication by
    // an odd constant and a rotation, then a final mix: every byte moves every bit of the result.
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    const auto word = [&bytes](std::size_t at, std::size_t count) {
        std::uint64_t value = 0;
        for (std::size_t k = 0; k < count; ++k)
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
        return value;
    };
    std::uint64_t hash = 0xCBF29CE484222325ULL ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t value = 0;
        std::memcpy(&value, bytes.data() + at, 8);
        if constexpr (std::endian::native == std::endian::big)
            value = __builtin_bswap64(value);
        hash = std::rotl((hash ^ value) * kMultiplier, 29);
    }
    hash = std::rotl((hash ^ word(at, bytes.size() - at)) * kMultiplier, 29);
    hash ^= hash >> 32;
    hash *= kMultiplier;
    return hash ^ (hash >> 29);
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
