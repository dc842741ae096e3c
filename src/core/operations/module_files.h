#pragma once

#include "model/item_kind.h"
#include "system/outcome.h"

#include <filesystem>
#include <string>

namespace kestra {

// Writes the new-module source to file (replacing it safely); fails with the system's reason when
// it cannot be written.
Outcome WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName);

// Renames the module inside its source: the name, name + "_arch" and "U_" + name. Comments are
// renamed too for normal modules and packages and left alone otherwise. A file that cannot
// be read whole is left unchanged; the result says whether the file was rewritten.
Outcome RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                           const std::string& newName, HierarchyKind kind);

} // namespace kestra
