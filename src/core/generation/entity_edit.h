#pragma once

#include <string>

namespace kestra {

class CKSTObject;
class CVHDLSignal;

// The text with the entity's generic clause and its ENUM_ types and Style constants brought in
// line with the object by the smallest edits, for sources the tool did not write: a changed
// value replaces only that generic's default expression; a parameter the source lacks gets one
// declaration in the tool's form; a generic the object lacks loses its declaration; a new order
// moves whole declarations with their comments. Types, constraints, comments, layout, the port
// clause and every other declaration stay as written, and inserted text takes the file's line
// ends. The text is returned unchanged when the entity's header does not analyse.
std::string EditEntityHeader(const std::string& text, const std::string& entityName,
                             const CKSTObject& object);

// The text with the default of each generic of the component declarations of componentName
// replaced by the object's value of the parameter of that name, for a parent source the tool did
// not write: generation takes a child's values from there, so a value chosen for the child must
// reach them. Nothing else changes; declarations naming several generics and generics without a
// default stay as written.
std::string EditComponentDefaults(const std::string& text, const std::string& componentName,
                                  const CKSTObject& object);

// The text with the entity's port clause declaring the signal list's ports by the smallest
// edits: a declaration whose ports the list holds unchanged stays as written (comments and
// layout included); a changed, added or renamed port gets a declaration in the signal list's
// form; a port the list lacks loses its declaration. Unchanged text when the header does not
// analyse or nothing changed.
std::string EditPortClause(const std::string& text, const std::string& entityName,
                           const CVHDLSignal& signals);

} // namespace kestra
