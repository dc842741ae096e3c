#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;

// A file Generate wrote, with the top entity it holds.
struct GeneratedFile {
    std::filesystem::path path;
    std::string top;
};

// What Analyze Module or Generate did, for the check that follows them: the subtree that was
// analysed (none when nothing was) and the files that were written.
struct CompletedWork {
    const CHierarchyItem* analyzedSubtree = nullptr;
    std::vector<GeneratedFile> generated;
};

} // namespace kestra
