#pragma once

#include "system/outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CLibraryTree;

inline constexpr const char* kLibraryOrgFileName = "LibraryOrg.dat";
// The state bits stored with each expanded folder.
inline constexpr std::int32_t kExpandedState = 32;

// How the user left a library's tree, as kept in "LibraryOrg.dat" in the library's root: the
// expanded folders in pre-order, the selected item and the first visible item, each as an item
// path (names from the root's child down; the root's path is empty). It records appearance
// only; the content always comes from the folders.
struct LibraryOrg {
    std::vector<std::vector<std::string>> expanded;
    std::vector<std::string> selection;
    std::vector<std::string> topItem;
    bool operator==(const LibraryOrg&) const = default;
};

// In the project file's string encoding: each path as its names followed by an empty string;
// each expanded folder's path followed by the 32-bit value 32; the empty path ending that list;
// then the selection path and the top-item path.
std::string StoreLibraryOrg(const LibraryOrg& org);
// None for a file that is truncated or otherwise damaged; bytes after the top-item path are
// ignored.
[[nodiscard]] std::optional<LibraryOrg> LoadLibraryOrg(std::string_view bytes);

// Every expanded folder below the root, in pre-order, and the selected and top items (the root
// standing in for none).
LibraryOrg CaptureLibraryOrg(const CLibraryTree& tree);
// Expands, selects and scrolls to what the record names; paths that lead nowhere are skipped.
void ApplyLibraryOrg(CLibraryTree& tree, const LibraryOrg& org);

// Restores the tree's appearance from its root's "LibraryOrg.dat". A missing, empty or damaged
// file changes nothing (all collapsed, nothing selected) and gives false.
[[nodiscard]] bool ReadLibraryOrgFile(CLibraryTree& tree);
// Creates or replaces the root's "LibraryOrg.dat" safely (a new file renamed over the old).
Outcome WriteLibraryOrgFile(const CLibraryTree& tree);

} // namespace kestra
