#pragma once

#include "analysis/source_form.h"
#include "generation/child_instances.h"

#include <optional>
#include <string>
#include <vector>

namespace kestra {

class CKSTObject;
struct AnalysisContext;

// The component declaration of one child for its parent's architecture: the generic clause, the
// port clause read from the child's source text, and the child's binding ("for all: ... use
// entity ...") in the library. With `declaredGenerics` the generic clause declares the
// child's generics with the types its source gives them and the values of its parameters (valid
// VHDL for a parent the tool did not write); otherwise it is built from the child's object in
// the tool's own form. The ports are those a new instance connects (ChildPortShapes). Error 5
// when the port clause cannot be read; an error of the entity reader stops it too (none is then
// returned). The context's module name and text start are kept.
[[nodiscard]] std::optional<ChildComponent>
ChildComponentDeclaration(const std::string& childName, const CKSTObject& childObject,
                          const std::string& childSource, const std::string& libraryName,
                          bool declaredGenerics, AnalysisContext& context);

// The parent's source with every architecture of its entity (the context's module name)
// declaring the children as components and, when `instantiate` is set, instantiating the
// children it does not instantiate yet (CInstancePlanner: the signals those instances need are
// declared in the architecture, after its other declarations). A source in the tool's own
// form (`form`) has its declarations and bindings rebuilt each time (between the "-- KESTRA
// component declarations" mark and "begin"), so the result is the same text again for an unchanged
// hierarchy. Any other source is edited in place: a child's component declaration that no
// longer matches the child's entity (generic names and types, port names, modes and types) is
// replaced where it stands, the binding of a child in the source goes when the tool binds
// that child itself, the children not declared yet are declared after the last component
// declaration or binding below the mark where the architecture has the mark, otherwise behind a
// new mark before "begin", and nothing else changes (without children, nothing at all). The
// mark stands at most once in an architecture. None when an error is set in the context.
[[nodiscard]] std::optional<std::string>
RefreshComponentDeclarations(const std::string& sourceText, const std::vector<ChildComponent>& children,
                             bool instantiate, SourceForm form, AnalysisContext& context);

// The same for a source whose form is not known yet: it is read from the text.
[[nodiscard]] std::optional<std::string>
RefreshComponentDeclarations(const std::string& sourceText, const std::vector<ChildComponent>& children,
                             bool instantiate, AnalysisContext& context);

} // namespace kestra
