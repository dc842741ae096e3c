#pragma once

#include "generation/components.h"

#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
struct AnalysisContext;

// The component declarations (with configuration specifications) of the item's children, and
// the instantiation text of each. Sets error 11, 7, 12 or 5 and stops on a child that is not
// analysed, cannot be read, has no object, or whose port clause cannot be read.
std::string BuildComponentDeclarations(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context,
                                       ComponentList& list);

// Rewrites a normal module's source so that every architecture of its entity declares each
// child as a component (between the "-- KESTRA component declarations" mark and "begin") and
// instantiates the children it does not instantiate yet. Declarations and configuration
// specifications are rebuilt each time, so the rewrite is idempotent for an unchanged
// hierarchy. Nothing is written when an error is set or when the text does not change; a
// failed write is error 7 and is logged, and leaves the file as it was.
void UpdateComponentsInSource(CKSTDoc& doc, const std::string& sourcePath, const std::string& sourceText,
                              CHierarchyItem* item, AnalysisContext& context);

} // namespace kestra
