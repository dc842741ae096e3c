#pragma once

#include "text/text_edits.h"

#include <string>
#include <vector>

namespace kestra {

class CKSTObject;
struct EntityInterface;

// The edits that bring the entity's ENUM_ types and Style constants in line with the object, for
// a source the tool did not write: a Style constant the object lacks goes with its ENUM_ type, a
// changed value or choice list replaces only that part, an ENUM_ type of a parameter without
// choices goes, and the types and constants the object needs and the source lacks are added
// before the entity's "begin" or closing "end", in the file's line ends. Every other declaration
// stays as written.
std::vector<TextEdit> EditEntityDeclarations(const std::string& text, const EntityInterface& entity,
                                             const CKSTObject& object, const std::string& lineEnd);

} // namespace kestra
