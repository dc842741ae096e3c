#pragma once

#include "analysis/design_units.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// The largest source file an import reads.
inline constexpr std::size_t kLargestImportedFile = std::size_t{16} * 1024 * 1024;

// One file of a design to import: its path (for messages only) and its whole text.
struct DesignSourceFile {
    std::string path;
    std::string text;
};

struct DesignImportOptions {
    std::string top; // the top entity's name; empty: every entity no other one instantiates
    // The libraries the files are compiled into besides "work" (compared without case); a
    // library whose packages the files declare counts as one of them as well.
    std::vector<std::string> libraries;
    std::size_t largestFile = kLargestImportedFile;
};

enum class ImportProblemKind {
    FileTooLarge,   // skipped
    NotText,        // NUL bytes; skipped
    NoDesignUnit,   // the file declares nothing
    UnitNotClosed,  // a unit whose closing was not found
    DuplicateUnit,  // the later declaration; the first is kept
    NoArchitecture, // an entity without architecture
    UnknownUnit,    // an instance of a unit no file declares
    UnknownConfiguration,
    MissingPackage, // a package of the design's libraries that no file declares
    Cycle,          // an instance that closes a cycle; it is left out
    TopNotFound,
};

enum class ImportSeverity { Warning, Error };

struct ImportProblem {
    ImportProblemKind kind = ImportProblemKind::NoDesignUnit;
    ImportSeverity severity = ImportSeverity::Warning;
    std::string file;
    int line = 0; // 0 when the problem concerns the whole file
    std::string message;
};

// One instance of an entity of the files, in the order its architecture writes them.
struct PlannedChild {
    std::string label;
    std::string entity;       // the child's name as its declaration writes it
    std::string architecture; // the architecture the instance binds; empty when it binds none
    GenerateKind generate = GenerateKind::None;
    std::string generateLabel;
    int line = 0;
};

struct PlannedEntity {
    std::string name;
    std::size_t file = 0; // index in the files given
    int line = 0;
    std::vector<std::string> architectures; // as read, in file and text order
    // The architecture the children come from: the one an instance binds, else the last read.
    std::string architecture;
    bool architectureBound = false; // the code names it
    std::vector<PlannedChild> children;
    std::vector<std::string> packages; // the packages of the files it and its architecture use
};

struct PlannedPackage {
    std::string name;
    std::size_t file = 0;
    int line = 0;
    std::vector<std::size_t> bodyFiles; // the files of its bodies (a duplicate body is one more)
    std::vector<std::string> uses;      // the packages of the files its declaration and body use
    bool HasBody() const { return !bodyFiles.empty(); }
};

struct DesignImportPlan {
    std::vector<std::string> tops;
    std::vector<PlannedEntity> entities;  // in file and text order
    std::vector<PlannedPackage> packages; // a package after the packages it uses
    std::vector<FileDesignUnits> files;   // the units of each file given; empty for skipped ones
    std::vector<ImportProblem> problems;
    // The VHDL library each file is compiled into, in lower case: a library the files name a unit
    // of (`use olo.pkg.all;`, `entity olo.fifo`) for that unit's file, and then for every file
    // whose units such a file names through "work" or binds by name; "work" for the others.
    std::vector<std::string> fileLibraries;

    const PlannedEntity* FindEntity(std::string_view name) const; // without case
};

// Plans the import of a design held in several files: which entity is the top, which entities
// each one instantiates, which packages each one uses, and what stands in the way. Nothing in
// the files stops the planning; what is wrong becomes a problem.
DesignImportPlan PlanDesignImport(std::span<const DesignSourceFile> files,
                                  const DesignImportOptions& options = {});

} // namespace kestra
