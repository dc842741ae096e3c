#pragma once

#include <filesystem>
#include <string>

namespace kestra {

// The source of a new module: a comment with its name, the IEEE clauses, an entity with one
// placeholder port and an empty architecture named name + "_arch"; CR LF line ends.
std::string NewModuleTemplateText(const std::string& moduleName);

// Writes the new-module source to file (replacing it safely); false when it cannot be written.
bool WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName);

// Renames the module inside its source: the name, name + "_arch" and "U_" + name. Comments are
// renamed too for modes 0 and 8 and left alone otherwise. A file that cannot be read whole is
// left unchanged; the result says whether the file was rewritten.
bool RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                        const std::string& newName, int mode);

} // namespace kestra
