#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CKSTObject;

// The export file of Create Library Module and Create Predefined Module, written into `folder`
// under the module's name: the top module's source with its current parameter values and choice
// lists, then (for a library module) every module below it but predefined ones; the top's
// linked files are copied beside it. The path of the file, or empty when it could not be made
// (the reason is in the project's log).
std::filesystem::path WriteLibraryExport(CKSTDoc& doc, CHierarchyItem* top, bool predefined,
                                         const std::filesystem::path& folder);

// The names of the module's companion files that can be filed beside it in a library.
std::vector<std::string> PlainCompanionNames(const CKSTObject& object);

} // namespace kestra
