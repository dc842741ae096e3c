#pragma once

#include <filesystem>
#include <string_view>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
struct AnalysisContext;

// Records that a module source holds `text` now, after the tool read or wrote it.
void RememberSource(CKSTDoc& doc, const std::filesystem::path& path, std::string_view text);
// The same after the tool changed the file where it stands (a rename inside it): read back.
void RememberFile(CKSTDoc& doc, const std::filesystem::path& path);

// Whether the module's source, which holds `text` now, is still what the tool last read or
// wrote: the same bytes when the stamps know the file, else the last-write time the design object
// was analysed at, which the project stores (a module not analysed since its file last
// changed, or never, counts as changed: its design object may not be the file's).
bool IsSourceAsLastSeen(const CKSTDoc& doc, const CHierarchyItem& item, const std::filesystem::path& path,
                        std::string_view text);

// What became of a module whose source may have changed on disk.
enum class SourceRefresh {
    Current,    // unchanged (or not there to read: the write reports that itself)
    Reanalyzed, // changed, and analysed again: the design object and signals are the file's
    Failed,     // changed, and it no longer analyses: nothing may be written into it
};

// Before a write into the module's source from its design object or signals: a source changed
// on disk since the tool last read or wrote it is analysed again first, with a log line naming
// the file, so that what the write keeps is what the file holds now.
[[nodiscard]] SourceRefresh RefreshIfChangedOnDisk(CKSTDoc& doc, CHierarchyItem* item,
                                                   AnalysisContext& context);

} // namespace kestra
