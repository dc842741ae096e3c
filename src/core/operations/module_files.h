#pragma once

#include "model/item_kind.h"
#include "system/outcome.h"

#include <filesystem>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// Writes the new-module source to file (replacing it safely); fails with the system's reason when
// it cannot be written.
// The module's source text, followed by the texts of the files that hold its architectures where
// they are not in it (read only: such a text is never written back). Fails with the reason of
// the first file that cannot be read.
[[nodiscard]] Result<std::string> ReadModuleSource(const CKSTDoc& doc, const CHierarchyItem& item);
// Appends the texts of the module's architecture files that can be read to `text`; fails with
// the first one that cannot be read.
[[nodiscard]] Outcome AppendArchitectureTexts(const CKSTDoc& doc, const CHierarchyItem& item,
                                              std::string& text);

Outcome WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName);

// Renames the module inside its source: the name, name + "_arch" and "U_" + name. Comments are
// renamed too for normal modules and packages and left alone otherwise. A file that cannot
// be read whole is left unchanged; the result says whether the file was rewritten.
Outcome RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                           const std::string& newName, HierarchyKind kind);

} // namespace kestra
