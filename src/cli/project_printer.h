#pragma once

#include "project/hierarchy_item.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace kestra {

class CKSTDoc;

// "normal", "root", "library", "predefined", "package" for the hierarchy kinds; "unknown" else.
const char* HierarchyKindName(HierarchyKind kind);
// "none", "source missing", "analysed", "needs analysis", "new", "failed"; "unknown" else.
const char* AnalysisStatusName(AnalysisStatus status);

// The text as a JSON string literal. Project text is 8-bit and read as Latin-1, as everywhere
// the system turns it into characters, so every byte becomes the code point of its value; the
// result is plain ASCII and therefore valid UTF-8 whatever the bytes were.
std::string JsonQuote(std::string_view text);

// The hierarchy in pre-order, indented by depth: each item with its kind and status, then its
// entries (kind label, name, value, choices) and its signals.
void PrintHierarchy(const CKSTDoc& doc, std::ostream& out);
// The same as one JSON object {"project": path, "items": [...]}, one item per line.
void PrintHierarchyJson(const CKSTDoc& doc, std::ostream& out);

} // namespace kestra
