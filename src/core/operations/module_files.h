#pragma once

#include "model/item_kind.h"

#include <filesystem>
#include <string>

namespace kestra {

// Writes the new-module source to file (replacing it safely); false when it cannot be written,
// with the system's reason in *errorText.
bool WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName,
                            std::string* errorText = nullptr);

// Renames the module inside its source: the name, name + "_arch" and "U_" + name. Comments are
// renamed too for normal modules and packages and left alone otherwise. A file that cannot
// be read whole is left unchanged; the result says whether the file was rewritten.
bool RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                        const std::string& newName, HierarchyKind kind, std::string* errorText = nullptr);

} // namespace kestra
