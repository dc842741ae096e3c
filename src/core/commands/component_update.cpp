#include "commands/component_update.h"

#include "analysis/analysis_errors.h"
#include "analysis/scanner.h"
#include "generation/component_refresh.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

namespace kestra {

namespace {

bool HasArchitectureChoice(const CKSTObject& object) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == EntryKind::Architecture)
            return true;
    }
    return false;
}

} // namespace

std::string BuildComponentDeclarations(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context,
                                       ComponentList& list) {
    std::string declarations;
    list.clear();
    for (int i = 0; i < item->ChildCount(); ++i) {
        CHierarchyItem* child = item->Child(i);
        if (child->Status() != AnalysisStatus::Analysed) {
            context.SetError(AnalysisErrorCode::ChildModuleIncorrect);
            return {};
        }
        if (child->Kind() == HierarchyKind::Package)
            continue;
        const std::string& name = child->Text();
        const std::optional<std::string> source = ReadWholeFile(doc.GetModuleFolderPath() / (name + ".vhd"));
        if (!source) {
            context.SetError(AnalysisErrorCode::FileIoError);
            return {};
        }
        const CKSTObject* childObject = child->Object();
        if (childObject == nullptr) {
            context.SetError(AnalysisErrorCode::ChildModuleNotFound);
            return {};
        }
        declarations +=
            ChildComponentDeclaration(name, *childObject, *source, doc.GetLibraryName(), context, list);
        if (context.errorCode != 0)
            return {};
    }
    return declarations;
}

void UpdateComponentsInSource(CKSTDoc& doc, const std::string& sourcePath, const std::string& sourceText,
                              CHierarchyItem* item, AnalysisContext& context) {
    ComponentList list;
    const std::string declarations = BuildComponentDeclarations(doc, item, context, list);
    if (context.errorCode != 0)
        return;
    const bool instantiate = item->Object() == nullptr || !HasArchitectureChoice(*item->Object());
    const std::optional<std::string> output =
        RefreshComponentDeclarations(sourceText, declarations, list, instantiate, context);
    if (!output || *output == sourceText)
        return;
    std::string error;
    if (!ReplaceFileSafely(sourcePath, *output, &error)) {
        doc.Log().AppendError(
            WithReason("Cannot write source file (" + sourcePath + "). Failed to modify file.", error));
        context.SetError(AnalysisErrorCode::FileIoError);
    }
}

} // namespace kestra
