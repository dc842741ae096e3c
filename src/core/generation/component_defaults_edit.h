#pragma once

#include <string>

namespace kestra {

class CKSTObject;

// The text with the default of each generic of the component declarations of componentName
// replaced by the object's value of the parameter of that name, for a parent source the tool did
// not write: generation takes a child's values from there, so a value chosen for the child must
// reach them. Nothing else changes; declarations naming several generics and generics without a
// default stay as written.
std::string EditComponentDefaults(const std::string& text, const std::string& componentName,
                                  const CKSTObject& object);

} // namespace kestra
