#include "operations/module_files.h"

#include "analysis/substitution.h"
#include "generation/module_template.h"
#include "system/file_system.h"

namespace kestra {

bool WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName,
                            std::string* errorText) {
    return ReplaceFileSafely(file, NewModuleTemplateText(moduleName), errorText);
}

bool RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                        const std::string& newName, HierarchyKind kind, std::string* errorText) {
    std::optional<std::string> text = ReadWholeFile(file, errorText);
    if (!text)
        return false;
    RenameUnit(*text, oldName, newName, kind != HierarchyKind::Normal && kind != HierarchyKind::Package);
    return ReplaceFileSafely(file, *text, errorText);
}

} // namespace kestra
