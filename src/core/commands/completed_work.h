#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;

// Where the units of one module begin in a generated file (its first line, from 1).
struct GeneratedUnits {
    int firstLine = 1;
    const CHierarchyItem* module = nullptr;
};

// A file Generate wrote, with the top entity it holds and where each module's units are.
struct GeneratedFile {
    std::filesystem::path path;
    std::string top;
    std::vector<GeneratedUnits> units;
};

// What Analyze Module or Generate did, for the check that follows them: the subtree that was
// analysed (none when nothing was), the files that were written, and whether the command
// failed (a Generate that could not write every file).
struct CompletedWork {
    const CHierarchyItem* analyzedSubtree = nullptr;
    std::vector<GeneratedFile> generated;
    bool failed = false;
};

} // namespace kestra
