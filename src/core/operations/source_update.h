#pragma once

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
struct AnalysisContext;

// Writes the item's parameters into the entity header of its source and keeps the module
// analysed (the new file time is stored); marks the item's parent and its ancestors as needing
// analysis. File errors are logged and change nothing. Returns whether the file was updated.
bool RewriteSourceFromParameters(CKSTDoc& doc, CHierarchyItem* item);

// Puts the signal list's port clause into the item's source, re-analyses the module and gives
// the signal list back exactly as the user entered it. Returns whether the file was updated.
bool UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context);

} // namespace kestra
