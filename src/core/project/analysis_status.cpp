#include "project/analysis_status.h"

#include "project/kst_doc.h"
#include "system/file_system.h"

namespace kestra {

void UpdateAnalysisStatus(CKSTDoc& doc, CHierarchyItem* item) {
    CHierarchyTree& tree = doc.Tree();
    const int kind = item->Kind();
    if (kind != kItemNormal && kind != kItemLibrary && kind != kItemPredefined && kind != kItemPackage) {
        tree.SetStatus(item, kStatusNone);
        return;
    }
    if (item->Text() == kNewObjectText) {
        tree.SetStatus(item, kStatusNew);
        return;
    }
    const std::filesystem::path path = doc.GetModuleFilePath(*item);
    if (!CanReadFile(path)) {
        tree.SetStatus(item, kStatusSourceMissing);
        return;
    }
    const CKSTObject* object = item->Object();
    const std::optional<std::uint64_t> fileTime = GetLastWriteTime(path);
    if (fileTime && object != nullptr && *fileTime == object->GetAnalysedTime()) {
        const bool failed = object->GetEntryName(0).rfind('*', 0) == 0;
        tree.SetStatus(item, failed ? kStatusFailed : kStatusAnalysed);
        return;
    }
    MarkNeedsAnalysis(doc, item);
}

void MarkNeedsAnalysis(CKSTDoc& doc, CHierarchyItem* item) {
    for (CHierarchyItem* it = item; it != nullptr && it->Parent() != nullptr; it = it->Parent()) {
        doc.Tree().SetStatus(it, kStatusNeedsAnalysis);
        if (CKSTObject* object = it->Object())
            object->SetAnalysedTime(0, 0);
    }
}

} // namespace kestra
