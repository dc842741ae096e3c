#pragma once

#include <cstddef>
#include <string>

namespace kestra {

class CKSTObject;
class CScanner;

// "\tfor all: <child>\r\n\t\tuse entity <library>.<child>(<architecture>);\r\n\r\n" when the
// child object chooses an architecture for itself; empty text otherwise. "all" binds every
// instance whatever its label, which keeps the binding valid VHDL for any instance labels.
std::string BuildComponentBinding(const CKSTObject& childObject, const std::string& childName,
                                  const std::string& libraryName);

// Reads the generic clause of a component declaration at `cursor` (when there is one) into
// parameters of the copy, taking the parent's DataType and Logic values for generics of the
// same name, and gives the generic clause of the specialised component (Numeric and LPM
// string generics only). Without a generic clause the cursor stays and the text is empty.
std::string BuildComponentGenerics(const CScanner& scanner, std::size_t& cursor,
                                   const CKSTObject& parentObject, CKSTObject& copyObject);

// Gives the copy a "\P:<name>" Style parameter for each Style parameter of the parent.
void HandDownStyles(const CKSTObject& parentObject, CKSTObject& copyObject);

} // namespace kestra
