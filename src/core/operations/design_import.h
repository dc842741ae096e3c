#pragma once

#include "analysis/design_plan.h"
#include "system/outcome.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// What to bring in: files and folders (searched below for ".vhd" and ".vhdl"), and the top
// entity (empty: every entity that no other one instantiates).
struct DesignImportRequest {
    std::vector<std::filesystem::path> paths;
    std::string top;
    std::size_t largestFile = kLargestImportedFile; // a larger file is reported and left out
};

// What an import would bring in, read before anything is written: the files found, their plan,
// what the reading could not resolve, and the number of modules the hierarchy would gain.
struct DesignImportPreview {
    std::vector<std::filesystem::path> files; // in the order they were found, each once
    DesignImportPlan plan;                    // over `files`
    std::vector<ImportProblem> problems;      // files that could not be read, then the plan's
    std::string refusal;                      // why nothing can be imported; empty when it can
    int moduleCount = 0;                      // hierarchy items, packages included
    bool CanImport() const { return refusal.empty(); }
};

// Finds and reads the files and plans their import. Never writes anything.
DesignImportPreview PreviewDesignImport(const DesignImportRequest& request);

// The architecture an imported module's instance binds: set as its architecture choice once the
// module is analysed.
struct BoundArchitecture {
    CHierarchyItem* item = nullptr;
    std::string architecture;
};

struct DesignImportResult {
    std::vector<CHierarchyItem*> tops;
    int modules = 0;
    std::vector<BoundArchitecture> architectures;
    // What the log should read: each file copied (and the name a clash gave it), each file that
    // was there with the same content already.
    std::vector<std::string> notes;
};

// Copies the files of the planned trees into the module folder byte for byte (a file of a
// VHDL library other than work into the folder of the library's name; a name in use by other
// content gets "_2", "_3" ...) and adds the trees under `parent`: each top with its packages
// first, then one item per instance, depth first. Nothing is added and every copied file is
// removed again when a copy fails. The modules are not analysed yet.
Result<DesignImportResult> ImportDesign(CKSTDoc& doc, CHierarchyItem* parent,
                                        const DesignImportPreview& preview);

} // namespace kestra
