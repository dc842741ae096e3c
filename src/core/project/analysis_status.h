#pragma once

#include "model/item_kind.h"
#include "project/hierarchy_item.h"

#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// What an item is and how it stands, in words for the tree's tool tip: "library module",
// "needs analysis: the source changed since the last analysis", ...
const char* HierarchyKindText(HierarchyKind kind);
const char* AnalysisStatusText(AnalysisStatus status);

// Sets the item's status from its kind, its text and its source file: 0 for kinds that are
// not analysed, 4 for a new item, 1 when the file cannot be read, 2 or 5 (a name starting
// with '*') when the file's time equals the analysed time, and otherwise marks the item as
// needing analysis.
void UpdateAnalysisStatus(CKSTDoc& doc, CHierarchyItem* item);

// Status 3 for the item and every ancestor below the top level, with their analysed times
// cleared so that the next check cannot match.
void MarkNeedsAnalysis(CKSTDoc& doc, CHierarchyItem* item);

} // namespace kestra
