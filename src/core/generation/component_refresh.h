#pragma once

#include "generation/components.h"

#include <optional>
#include <string>

namespace kestra {

class CKSTObject;
struct AnalysisContext;

// The component declaration of one child for its parent's architecture: the generic clause from
// the child's object, the port clause read from the child's source text, and the child's binding
// (configuration specification) in the library. The child's instantiation is added to `list`.
// Error 5 when the port clause cannot be read; an error of the entity reader stops it too. The
// context's module name and text start are kept.
std::string ChildComponentDeclaration(const std::string& childName, const CKSTObject& childObject,
                                      const std::string& childSource, const std::string& libraryName,
                                      AnalysisContext& context, ComponentList& list);

// The parent's source with every architecture of its entity declaring the components (between
// the "-- KESTRA component declarations" mark and "begin") and, when `instantiate` is set,
// instantiating the listed children it does not instantiate yet. Declarations and configuration
// specifications are rebuilt each time, so the result is the same text again for an unchanged
// hierarchy. None when an error is set in the context.
std::optional<std::string> RefreshComponentDeclarations(const std::string& sourceText,
                                                        const std::string& declarations,
                                                        const ComponentList& list, bool instantiate,
                                                        AnalysisContext& context);

} // namespace kestra
