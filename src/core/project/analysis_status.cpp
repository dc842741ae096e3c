#include "project/analysis_status.h"

#include "project/kst_doc.h"
#include "system/file_system.h"

namespace kestra {

void UpdateAnalysisStatus(CKSTDoc& doc, CHierarchyItem* item) {
    CHierarchyTree& tree = doc.Tree();
    const HierarchyKind kind = item->Kind();
    if (kind != HierarchyKind::Normal && kind != HierarchyKind::Library &&
        kind != HierarchyKind::Predefined && kind != HierarchyKind::Package) {
        tree.SetStatus(item, AnalysisStatus::None);
        return;
    }
    if (item->Text() == kNewObjectText) {
        tree.SetStatus(item, AnalysisStatus::New);
        return;
    }
    const std::filesystem::path path = doc.GetModuleFilePath(*item);
    if (!CanReadFile(path)) {
        tree.SetStatus(item, AnalysisStatus::SourceMissing);
        return;
    }
    const CKSTObject* object = item->Object();
    const std::optional<std::uint64_t> fileTime = GetLastWriteTime(path);
    if (fileTime && object != nullptr && *fileTime == object->GetAnalysedTime()) {
        const bool failed = object->GetEntryName(0).rfind('*', 0) == 0;
        tree.SetStatus(item, failed ? AnalysisStatus::Failed : AnalysisStatus::Analyzed);
        return;
    }
    MarkNeedsAnalysis(doc, item);
}

void MarkNeedsAnalysis(CKSTDoc& doc, CHierarchyItem* item) {
    for (CHierarchyItem* it = item; it != nullptr && it->Parent() != nullptr; it = it->Parent()) {
        doc.Tree().SetStatus(it, AnalysisStatus::NeedsAnalysis);
        if (CKSTObject* object = it->Object())
            object->SetAnalysedTime(0, 0);
    }
}

const char* HierarchyKindText(HierarchyKind kind) {
    switch (kind) {
    case HierarchyKind::Normal:
        return "normal module";
    case HierarchyKind::Root:
        return "project";
    case HierarchyKind::Library:
        return "library module";
    case HierarchyKind::Predefined:
        return "predefined module";
    case HierarchyKind::Package:
        return "package";
    }
    return "item";
}

const char* AnalysisStatusText(AnalysisStatus status) {
    switch (status) {
    case AnalysisStatus::None:
        return "not analysed";
    case AnalysisStatus::SourceMissing:
        return "source missing: the module's VHDL file cannot be read";
    case AnalysisStatus::Analyzed:
        return "analysed";
    case AnalysisStatus::NeedsAnalysis:
        return "needs analysis: the source, a parameter or a child module changed since the last analysis";
    case AnalysisStatus::New:
        return "new: name the module to create its VHDL file";
    case AnalysisStatus::Failed:
        return "analysis failed: the message log gives the error and its line";
    }
    return "";
}

} // namespace kestra
