#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kestra {

// What a file held when the tool last read or wrote it: its last-write time (the tool's file
// time), its size and a hash of its bytes. A file whose time and size are the same is taken as
// unchanged; one whose time moved but whose bytes hash the same (a "touch") is unchanged too.
struct FileStamp {
    std::uint64_t modified = 0;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

// A 64-bit hash of the bytes, eight at a time: cheap, and enough to tell two versions of a file
// apart. Stored hashes name the files they were made with (their first lines carry a version).
std::uint64_t ContentHash(std::string_view bytes);

// The stamp of the file at `path` as it holds `bytes` now; none when it cannot be examined.
[[nodiscard]] std::optional<FileStamp> StampOf(const std::filesystem::path& path, std::string_view bytes);

// Whether a file that holds `bytes` now (with `now` its stamp) is what `then` recorded.
bool SameContent(const FileStamp& then, const FileStamp& now);

} // namespace kestra
