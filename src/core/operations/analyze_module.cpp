#include "operations/analyze_module.h"

#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "generation/packages.h"
#include "operations/component_update.h"
#include "operations/module_files.h"
#include "operations/source_stamp.h"
#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

namespace kestra {

void AnalyzeModuleText(CKSTDoc* doc, CHierarchyItem* item, HierarchyKind itemKind, const std::string& text,
                       const std::string& sourcePath, CKSTObject& object, CVHDLSignal* signals,
                       AnalysisContext& context) {
    context.textStart = 0;
    if (itemKind == HierarchyKind::Package) {
        ExtractPackages(text, context);
        return;
    }
    const CScanner scanner(text, &context);
    std::size_t cursor = 0;
    EntityLayout entity;
    AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &object, signals, &entity);
    if (context.HasError())
        return;
    context.textStart = 0;
    ArchitectureOptions options;
    if (itemKind == HierarchyKind::Normal && doc != nullptr && item != nullptr && !sourcePath.empty()) {
        options.refreshComponents = [&](const CScanner&) {
            const SourceForm form = IsToolFormSource(text, entity) ? SourceForm::Tool : SourceForm::Other;
            UpdateComponentsInSource(*doc, sourcePath, text, form, item, context);
        };
    }
    AnalyzeArchitectures(scanner, &object, options);
}

int AnalyzeModule(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context) {
    CKSTObject* object = item->Object();
    const HierarchyKind kind = item->Kind();
    const EntryKind entryKind = EntryKindOfItem(kind);
    if (object == nullptr || entryKind == EntryKind::None || kind == HierarchyKind::Root)
        return -1;
    const std::filesystem::path path = doc.GetModuleFilePath(*item);
    std::optional<std::string> text;
    if (!path.empty() && FileExists(path)) {
        Result<std::string> read = ReadWholeFile(path);
        if (read) {
            text = std::move(*read);
        } else {
            // A source that is there but cannot be read (too large, no permission) is not a
            // missing one: the user is told why.
            doc.Log().AppendError(
                WithReason("Cannot read source file (" + path.string() + ").", read.Reason()));
            context.ClearError();
            context.SetError(AnalysisErrorCode::FileIoError);
        }
    }
    if (!text) {
        UpdateAnalysisStatus(doc, item);
        return -1;
    }
    RememberSource(doc, path, *text);

    const CKSTObject previous = *object;
    const std::string name = item->Text();
    object->SetEntryCount(1);
    CVHDLSignal* signals = item->Signals();
    if (signals != nullptr && kind != HierarchyKind::Package)
        signals->SetSignalCount(0);
    // A module brought in with its design keeps the name of its file.
    const std::string file = previous.GetEntryValue(0);
    object->SetEntry(0, entryKind, name, file.empty() ? name + ".vhd" : file);
    if (previous.GetEntryCount() > 0)
        object->SetChoiceList(0, &previous.GetChoiceList(0));

    context.ClearError();
    context.moduleName = name;
    context.previousObject = &previous;
    // Architectures kept in files of their own are read with the source; the refresh of the
    // component declarations, which rewrites the source, is left out for such a module.
    const bool apart = !doc.ModuleArchitectureFiles(*item).empty();
    std::string whole = std::move(*text);
    if (const Outcome appended = AppendArchitectureTexts(doc, *item, whole); !appended)
        doc.Log().AppendError(appended.Reason());
    if (!whole.empty()) {
        AnalyzeModuleText(&doc, item, kind, whole, apart ? std::string() : path.string(), *object, signals,
                          context);
        if (context.HasError())
            object->SetEntryText(0, EntryField::Name, "* " + name);
    }
    context.previousObject = nullptr;

    // The component refresh may have rewritten the file: the time is the one now on disk.
    const std::optional<std::uint64_t> time = GetLastWriteTime(path);
    const std::uint64_t fileTime = time.value_or(0);
    object->SetAnalysedTime(static_cast<std::uint32_t>(fileTime & 0xFFFFFFFFu),
                            static_cast<std::uint32_t>(fileTime >> 32));
    UpdateAnalysisStatus(doc, item);
    doc.Log().AppendLog("\r\n" + name + " analyzed. ");
    ReportAnalysisResult(doc.Log(), context);
    doc.SetModifiedFlag();
    return static_cast<int>(context.errorCode);
}

void ReportAnalysisResult(CMessageLog& log, const AnalysisContext& context) {
    if (!context.HasError()) {
        log.AppendLog(AnalysisErrorMessage(AnalysisErrorCode::NoError));
        return;
    }
    if (context.errorLine != 0)
        log.AppendLog("Error encountered at line " + std::to_string(context.errorLine) + ". ");
    log.AppendLog(AnalysisErrorMessage(context.errorCode));
}

void MarkParentNeedsAnalysis(CKSTDoc& doc, CHierarchyItem* item) {
    if (item != nullptr && item->Parent() != nullptr)
        MarkNeedsAnalysis(doc, item->Parent());
}

std::optional<std::string> ImportModuleFile(CKSTDoc& doc, ImportMode mode, const std::string& sourcePath,
                                            const std::string& name) {
    const std::filesystem::path folder = doc.GetModuleFolderPath();
    if (mode == ImportMode::Overwrite) {
        if (const Outcome copied = CopyFileTo(sourcePath, folder / (name + ".vhd"), true); !copied) {
            doc.Log().AppendError("Cannot copy module file " + sourcePath + " (" + copied.Reason() + ").");
            return std::nullopt;
        }
        return name;
    }
    if (!FileExists(sourcePath)) {
        doc.Log().AppendError("Cannot copy module file " + sourcePath + " (No such file or directory).");
        return std::nullopt;
    }
    std::string newName = name;
    for (int suffix = 2;; ++suffix) {
        const std::filesystem::path target = folder / (newName + ".vhd");
        if (!FileExists(target)) {
            const Outcome copied = CopyFileTo(sourcePath, target, false);
            if (copied)
                break;
            if (!FileExists(target)) {
                doc.Log().AppendError("Cannot copy module file " + sourcePath + " (" + copied.Reason() +
                                      ").");
                return std::nullopt;
            }
        }
        newName = name + "_" + std::to_string(suffix);
    }
    if (newName != name) {
        if (RenameModuleInFile(folder / (newName + ".vhd"), name, newName, HierarchyKind::Normal)) {
            doc.Log().AppendLog("\r\nOriginal module name " + name + " is in use, new module is renamed to " +
                                newName + ".");
        } else {
            doc.Log().AppendError("Cannot modify module name to " + newName + ".");
            doc.Prompts().ShowMessage("ERROR", "Cannot modify module name to " + newName + ".",
                                      PromptIcon::Error);
        }
    }
    return newName;
}

} // namespace kestra
