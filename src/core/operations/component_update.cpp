#include "operations/component_update.h"

#include "analysis/analysis_errors.h"
#include "analysis/scanner.h"
#include "generation/component_refresh.h"
#include "operations/source_stamp.h"
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

std::vector<ChildComponent> BuildComponentDeclarations(CKSTDoc& doc, CHierarchyItem* item,
                                                       bool declaredGenerics, AnalysisContext& context) {
    std::vector<ChildComponent> children;
    for (int i = 0; i < item->ChildCount(); ++i) {
        CHierarchyItem* child = item->Child(i);
        if (child->Status() != AnalysisStatus::Analyzed) {
            context.SetError(AnalysisErrorCode::ChildModuleIncorrect);
            return {};
        }
        if (child->Kind() == HierarchyKind::Package)
            continue;
        const std::string& name = child->Text();
        const Result<std::string> source = ReadWholeFile(doc.ModuleSourcePath(*child));
        if (!source) {
            context.SetError(AnalysisErrorCode::FileIoError);
            return {};
        }
        const CKSTObject* childObject = child->Object();
        if (childObject == nullptr) {
            context.SetError(AnalysisErrorCode::ChildModuleNotFound);
            return {};
        }
        std::optional<ChildComponent> component = ChildComponentDeclaration(
            name, *childObject, *source, doc.GetLibraryName(), declaredGenerics, context);
        if (!component)
            return {};
        children.push_back(std::move(*component));
    }
    return children;
}

void UpdateComponentsInSource(CKSTDoc& doc, const std::string& sourcePath, const std::string& sourceText,
                              SourceForm form, CHierarchyItem* item, AnalysisContext& context) {
    // A parent the tool did not write keeps valid VHDL: its children's generics as they declare them.
    const bool declaredGenerics = form != SourceForm::Tool;
    const std::vector<ChildComponent> children =
        BuildComponentDeclarations(doc, item, declaredGenerics, context);
    if (context.HasError())
        return;
    const bool instantiate = item->Object() == nullptr || !HasArchitectureChoice(*item->Object());
    const std::optional<std::string> output =
        RefreshComponentDeclarations(sourceText, children, instantiate, form, context);
    if (!output || *output == sourceText)
        return;
    if (const Outcome written = ReplaceFileSafely(sourcePath, *output); !written) {
        doc.Log().AppendError(WithReason(
            "Cannot write source file (" + sourcePath + "). Failed to modify file.", written.Reason()));
        context.SetError(AnalysisErrorCode::FileIoError);
        return;
    }
    RememberSource(doc, sourcePath, *output);
}

} // namespace kestra
