#pragma once

#include "model/design_object.h"

#include <string>

namespace kestra {

enum GenericLineFlags : int {
    kGenericTopModule = 1, // write the parameter values
    kGenericAllKinds = 2,  // DataType, Link, Logic and Note parameters too
};

// Generic declaration lines ("\t\tNAME: type [:= value];\r\n"), one per parameter that has a
// generic form under the flags. The caller turns the last ';' into a blank.
std::string BuildGenericLines(int flags, const CKSTObject& object);
// The type word a parameter's generic is written with (a Generic parameter has none: its source
// gives its type); null when it has no generic form under the flags.
const char* GenericTypeWord(EntryKind kind, int flags);
// The line of one entry, or the empty text when it has no generic form under the flags.
std::string GenericLine(int flags, const CKSTObject& object, int index);

// A parameter's value as a generic's default writes it: in double quotes for Link, Note and
// LPM string parameters, as it is for the others.
std::string GenericValueText(EntryKind kind, const std::string& value);

// The generic lines wrapped in a generic clause with the last ';' made a blank; empty text
// when there are no lines. `open` is what precedes the lines ("\r\n\tgeneric (\r\n" or
// "\tgeneric (\r\n"), `close` what follows them.
std::string WrapGenericLines(const std::string& lines, const char* open, const char* close);

// The enumerated type and constant of every Style parameter. A value that is not one of the
// parameter's choices names a style handed down from the instantiating module ("\P:" entries);
// it is resolved through them and stored back into the parameter.
std::string BuildStyleDeclarations(CKSTObject& object);

} // namespace kestra
