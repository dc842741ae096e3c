#include "operations/library_export.h"

#include "generation/entity_header.h"
#include "library/library_files.h"
#include "operations/linked_files.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

#include <optional>

namespace kestra {

namespace fs = std::filesystem;

std::vector<std::string> PlainCompanionNames(const CKSTObject& object) {
    std::vector<std::string> names;
    for (std::string& name : CompanionNames(object))
        if (IsPlainFileName(name))
            names.push_back(std::move(name));
    return names;
}

fs::path WriteLibraryExport(CKSTDoc& doc, CHierarchyItem* top, bool predefined,
                            const fs::path& exportFolder) {
    CMessageLog& log = doc.Log();
    const std::string name = top->Text();
    const std::string what = predefined ? "Predefined module" : "Library module";
    const std::string failed =
        predefined ? "). Failed to create predefined module." : "). Failed to create library module.";
    std::string text = "-- " + name + ": " + what + " created by KESTRA\r\n--\r\n";
    const fs::path folder = doc.GetModuleFolderPath();
    for (CHierarchyItem* item = top; item != nullptr; item = doc.Tree().NextItem(item, top)) {
        if (item != top && item->Kind() == HierarchyKind::Predefined)
            continue;
        const fs::path source = doc.ModuleSourcePath(*item);
        if (!FileExists(source)) {
            log.AppendError("Cannot open source file (" + source.string() + failed);
            return {};
        }
        const Result<std::string> sourceText = ReadWholeFile(source);
        if (!sourceText) {
            log.AppendError("Cannot read source file (" + source.string() + failed);
            return {};
        }
        text += item == top ? RewriteEntityHeader(*sourceText, name, *top->Object()) : *sourceText;
        if (predefined)
            break;
    }
    text += "-- " + name + ": " + what + " ended here\r\n\r\n";

    // The file is named after the module: a name that would leave the folder is not written.
    const std::string fileName = name + kModuleExtension;
    fs::path exportFile = exportFolder / fileName;
    const Outcome written = exportFolder.empty() || !IsPlainFileName(fileName)
                                ? Outcome::Failed({})
                                : ReplaceFileSafely(exportFile, text);
    if (!written) {
        log.AppendError(WithReason("Failed to create library module.", written.Reason()));
        return {};
    }
    CopyLinkedFiles(*top->Object(), folder, exportFolder);
    return exportFile;
}

} // namespace kestra
