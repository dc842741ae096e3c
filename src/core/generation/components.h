#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kestra {

class CKSTObject;
class CScanner;
struct AnalysisContext;

// A child's name and the instantiation text that the component refresh adds for it when the
// parent's architecture does not instantiate it yet.
using ComponentList = std::vector<std::pair<std::string, std::string>>;

// "\tfor all: <child>\r\n\t\tuse entity <library>.<child>(<architecture>);\r\n\r\n" when the
// child object chooses an architecture for itself; empty text otherwise. "all" binds every
// instance whatever its label, which keeps the binding valid VHDL for any instance labels.
std::string BuildComponentBinding(const CKSTObject& childObject, const std::string& childName,
                                  const std::string& libraryName);

// The instantiations of the listed children that the architecture's statement part (from
// `position` to its closing "end <architectureName>;") does not name yet, behind the
// "-- KESTRA component instantiations" mark; empty text when there are none. Errors 8 and 4
// (with the line) when the closing end is missing or not followed by ';'.
std::string BuildInstantiations(const CScanner& scanner, AnalysisContext& context, std::size_t position,
                                const std::string& architectureName, const ComponentList& list);

// The instantiations of the listed children that the statement part from `position` to `end`
// does not name yet, behind the "-- KESTRA component instantiations" mark; empty text when
// there are none.
std::string InstantiationsNotYetIn(const CScanner& scanner, std::size_t position, std::size_t end,
                                   const ComponentList& list);

// Reads the generic clause of a component declaration at `cursor` (when there is one) into
// parameters of the copy, taking the parent's DataType and Logic values for generics of the
// same name, and gives the generic clause of the specialised component (Numeric and LPM
// string generics only). Without a generic clause the cursor stays and the text is empty.
std::string BuildComponentGenerics(const CScanner& scanner, std::size_t& cursor,
                                   const CKSTObject& parentObject, CKSTObject& copyObject);

// Gives the copy a "\P:<name>" Style parameter for each Style parameter of the parent.
void HandDownStyles(const CKSTObject& parentObject, CKSTObject& copyObject);

} // namespace kestra
