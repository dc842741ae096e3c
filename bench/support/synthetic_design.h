#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra::bench {

// The shape of a synthetic design of the size of a small processor: two packages of records and
// functions that every module uses, leaf modules (some with their architecture in a file of its
// own), middle modules that chain leaves, upper modules that chain middle ones, and one top. The
// statement parts are pipelines of clocked stages over the packages' records, so that the text
// is analysed as real code is.
struct SyntheticDesignOptions {
    int leaves = 24;
    int leavesWithSeparateArchitecture = 18;
    int middles = 10;
    int uppers = 5;
    int stagesPerLeaf = 130;
    int stagesPerParent = 60;
    int packageFunctions = 100;
};

struct SyntheticDesign {
    std::vector<std::filesystem::path> files; // in the order they are analysed
    std::string top;
    // The file of one leaf module's architecture, for a change that touches one module.
    std::filesystem::path leafFile;
};

// Writes the design's files into the folder (which must exist), all into library work.
SyntheticDesign WriteSyntheticDesign(const std::filesystem::path& folder,
                                     const SyntheticDesignOptions& options = {});

} // namespace kestra::bench
