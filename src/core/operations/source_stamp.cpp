#include "operations/source_stamp.h"

#include "analysis/scanner.h"
#include "operations/analyze_module.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

namespace kestra {

void RememberSource(CKSTDoc& doc, const std::filesystem::path& path, std::string_view text) {
    doc.SourceStamps().Set(path, StampOf(path, text));
}

void RememberFile(CKSTDoc& doc, const std::filesystem::path& path) {
    const Result<std::string> text = ReadWholeFile(path);
    doc.SourceStamps().Set(path, text ? StampOf(path, *text) : std::nullopt);
}

bool IsSourceAsLastSeen(const CKSTDoc& doc, const CHierarchyItem& item, const std::filesystem::path& path,
                        std::string_view text) {
    const std::optional<FileStamp> now = StampOf(path, text);
    if (!now)
        return true;
    if (const FileStamp* then = doc.SourceStamps().Find(path))
        return SameContent(*then, *now);
    const CKSTObject* object = item.Object();
    const std::uint64_t analysed = object != nullptr ? object->GetAnalysedTime() : 0;
    return analysed != 0 && analysed == now->modified;
}

SourceRefresh RefreshIfChangedOnDisk(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context) {
    const std::filesystem::path path = doc.GetModuleFilePath(*item);
    if (path.empty() || !FileExists(path))
        return SourceRefresh::Current;
    const Result<std::string> text = ReadWholeFile(path);
    if (!text || IsSourceAsLastSeen(doc, *item, path, *text))
        return SourceRefresh::Current;
    const bool known = doc.SourceStamps().Find(path) != nullptr ||
                       (item->Object() != nullptr && item->Object()->GetAnalysedTime() != 0);
    doc.Log().AppendLog("\r\n" + path.string() +
                        (known ? " changed on disk since " + item->Text() + " was last analyzed"
                               : " may have changed since " + item->Text() + " was last analyzed") +
                        ": it is analyzed again before the edit is written.");
    AnalyzeModule(doc, item, context);
    return context.HasError() ? SourceRefresh::Failed : SourceRefresh::Reanalyzed;
}

} // namespace kestra
