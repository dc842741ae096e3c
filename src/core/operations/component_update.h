#pragma once

#include "analysis/source_form.h"
#include "generation/component_refresh.h"

#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
struct AnalysisContext;

// The component declarations (with the bindings) of the item's children, read
// from their sources in the module folder, and the ports a new instance of each connects; with
// `declaredGenerics`, generics as the children's sources declare them (see
// ChildComponentDeclaration). Sets error 11, 7, 12 or 5 and stops on a child that is not
// analysed, cannot be read, has no object, or whose port clause cannot be read.
std::vector<ChildComponent> BuildComponentDeclarations(CKSTDoc& doc, CHierarchyItem* item,
                                                       bool declaredGenerics, AnalysisContext& context);

// Rewrites a normal module's source so that every architecture of its entity declares each
// child as a component and instantiates the children it does not instantiate yet (see
// RefreshComponentDeclarations), given the form of the source as its analysis found it. Nothing
// is written when an error is set or when the text does not change; a failed write is error 7
// and is logged with the system's reason, and leaves the file as it was.
void UpdateComponentsInSource(CKSTDoc& doc, const std::string& sourcePath, const std::string& sourceText,
                              SourceForm form, CHierarchyItem* item, AnalysisContext& context);

} // namespace kestra
