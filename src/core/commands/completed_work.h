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

// A file of a generated design that is compiled into a VHDL library of its own, before the
// file that holds the top.
struct GeneratedLibraryFile {
    std::filesystem::path path;
    std::string library; // lower case
};

// A file Generate wrote, with the top entity it holds and where each module's units are. A
// design whose modules are compiled into several libraries has a file per library: the others
// come first, in the order they must be compiled, and the file of the top is compiled into
// `library`.
struct GeneratedFile {
    std::filesystem::path path;
    std::string top;
    std::vector<GeneratedUnits> units;
    std::vector<GeneratedLibraryFile> libraryFiles;
    std::string library = "work";
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
