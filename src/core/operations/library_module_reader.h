#pragma once

#include "library/library_browser.h"
#include "library/library_roots.h"
#include "system/outcome.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CKSTObject;

// Analyses a library module file into a design object of its own, as insertion would analyse
// it, without touching any project: the module row (a library or predefined module entry) and
// the parameters of its entity. Fails with the reason when the file cannot be read; a source with
// errors gives what was read up to the error.
Outcome ReadLibraryModule(const std::filesystem::path& file, LibraryKind kind, CKSTObject& object);

// The companion files of a library module file: the values of its Link parameters. Nothing for
// a file that cannot be read.
std::vector<std::string> LibraryModuleCompanions(const std::filesystem::path& file, LibraryKind kind);

// A browser's companion reader for the library of the given kind.
CLibraryBrowser::CompanionReader LibraryCompanionReader(LibraryKind kind);

} // namespace kestra
