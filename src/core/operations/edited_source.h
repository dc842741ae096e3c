#pragma once

#include "system/outcome.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// The line ends a file writes: an edit keeps them, a file is never converted.
enum class LineEnds { Lf, CrLf };

// The line ends of the text's first line; LF for a text of one line.
[[nodiscard]] LineEnds LineEndsOf(std::string_view text);

// A source as the VHDL editor opens it: every byte as read, so that a save writes back what
// was read plus the edits.
struct EditableSource {
    std::string text;
    LineEnds lineEnds = LineEnds::Lf;
    // A file with NUL bytes is no VHDL text: it is shown, never written.
    bool readOnly = false;
};

// Reads the source whole; fails with the reason (missing, unreadable, over the size limit of
// ReadWholeFile).
[[nodiscard]] Result<EditableSource> ReadSourceForEditing(const std::filesystem::path& path);

// Writes the editor's text over the source safely and, when the source belongs to the project
// (doc not null), records it as the tool's own write, so the project's watch does not take it
// for another program's.
[[nodiscard]] Outcome WriteEditedSource(CKSTDoc* doc, const std::filesystem::path& path,
                                        std::string_view text);

// The module items whose source or architecture file is the path, in pre-order.
[[nodiscard]] std::vector<CHierarchyItem*> ModulesOfSource(const CKSTDoc& doc,
                                                           const std::filesystem::path& path);

} // namespace kestra
