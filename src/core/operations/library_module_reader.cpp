#include "operations/library_module_reader.h"

#include "analysis/scanner.h"
#include "library/library_files.h"
#include "model/design_object.h"
#include "operations/analyze_module.h"
#include "system/file_system.h"

namespace kestra {

Outcome ReadLibraryModule(const std::filesystem::path& file, LibraryKind kind, CKSTObject& object) {
    object.SetEntryCount(0);
    const Result<std::string> text = ReadWholeFile(file);
    if (!text)
        return Outcome::Failed(text.Reason());
    const bool predefined = kind == LibraryKind::Predefined;
    const std::string name = ModuleNameOfFile(file.filename().string());
    object.SetEntryCount(1);
    object.SetEntry(0, predefined ? EntryKind::Predefined : EntryKind::Component, name,
                    name + kModuleExtension);
    AnalysisContext context;
    context.moduleName = name;
    AnalyzeModuleText(nullptr, nullptr, predefined ? HierarchyKind::Predefined : HierarchyKind::Library,
                      *text, {}, object, nullptr, context);
    return Outcome::Ok();
}

std::vector<std::string> LibraryModuleCompanions(const std::filesystem::path& file, LibraryKind kind) {
    CKSTObject object;
    if (!ReadLibraryModule(file, kind, object))
        return {};
    return CompanionNames(object);
}

CLibraryBrowser::CompanionReader LibraryCompanionReader(LibraryKind kind) {
    return [kind](const std::filesystem::path& file) { return LibraryModuleCompanions(file, kind); };
}

} // namespace kestra
