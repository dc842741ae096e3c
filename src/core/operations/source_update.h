#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CMessageLog;
struct AnalysisContext;

// The whole source before the tool rewrites it; a file that is missing or cannot be read is
// logged ("Failed to modify file.") and gives nothing.
[[nodiscard]] std::optional<std::string> ReadSourceForRewrite(CMessageLog& log,
                                                              const std::filesystem::path& path);
// Replaces the source safely; a failure is logged and gives false.
bool WriteRewrittenSource(CMessageLog& log, const std::filesystem::path& path, const std::string& text);

// Writes the item's parameters into the entity header of its source and keeps the module
// analysed (the new file time is stored); marks the item's parent and its ancestors as needing
// analysis. File errors are logged and change nothing. Returns whether the file was updated.
bool RewriteSourceFromParameters(CKSTDoc& doc, CHierarchyItem* item);

// What a port list update did: whether the file was written, and why rows of the signal list
// are not in it (each also logged as a warning).
struct PortListUpdate {
    bool updated = false;
    std::vector<std::string> refusals;
};

// Puts the signal list's port clause into the item's source, re-analyses the module and gives
// the signal list back exactly as the user entered it. A row the clause cannot declare keeps the
// source's port it stands for as it was, or is left out when it stands for none
// (PortRowsToWrite); each such row is named in the log with its problem. A source whose clause
// would come out unchanged is not written, and a clause that would lose a port is never
// written.
PortListUpdate UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context);

} // namespace kestra
