#include "operations/module_files.h"

#include "analysis/substitution.h"
#include "generation/module_template.h"
#include "project/kst_doc.h"
#include "system/file_system.h"

namespace kestra {

Outcome AppendArchitectureTexts(const CKSTDoc& doc, const CHierarchyItem& item, std::string& text) {
    Outcome appended = Outcome::Ok();
    for (const std::filesystem::path& file : doc.ModuleArchitectureFiles(item)) {
        const Result<std::string> more = ReadWholeFile(file);
        if (more)
            text += "\n" + *more;
        else if (appended)
            appended = Outcome::Failed(
                WithReason("Cannot read source file (" + file.string() + ").", more.Reason()));
    }
    return appended;
}

Result<std::string> ReadModuleSource(const CKSTDoc& doc, const CHierarchyItem& item) {
    Result<std::string> text = ReadWholeFile(doc.ModuleSourcePath(item));
    if (!text)
        return text;
    if (const Outcome appended = AppendArchitectureTexts(doc, item, *text); !appended)
        return Result<std::string>::Failed(appended.Reason());
    return text;
}

Outcome WriteNewModuleTemplate(const std::filesystem::path& file, const std::string& moduleName) {
    return ReplaceFileSafely(file, NewModuleTemplateText(moduleName));
}

Outcome RenameModuleInFile(const std::filesystem::path& file, const std::string& oldName,
                           const std::string& newName, HierarchyKind kind) {
    Result<std::string> text = ReadWholeFile(file);
    if (!text)
        return Outcome::Failed(text.Reason());
    RenameUnit(*text, oldName, newName, kind != HierarchyKind::Normal && kind != HierarchyKind::Package);
    return ReplaceFileSafely(file, *text);
}

} // namespace kestra
