#pragma once

#include <string>

namespace kestra {

class CKSTObject;
struct EntityInterface;

// The text with the entity's generic clause and its ENUM_ types and Style constants brought in
// line with the object by the smallest edits, for sources the tool did not write: a changed
// value replaces only that generic's default expression; a parameter the source lacks gets one
// declaration in the tool's form; a generic the object lacks loses its declaration; a new order
// moves whole declarations with their comments. Types, constraints, comments, layout, the port
// clause and every other declaration stay as written, and inserted text takes the file's line
// ends. The text is returned unchanged when the entity's header does not analyse.
std::string EditEntityHeader(const std::string& text, const std::string& entityName,
                             const CKSTObject& object);
// The same for an entity whose clauses have been read from the text already.
std::string EditEntityHeader(const std::string& text, const EntityInterface& entity,
                             const CKSTObject& object);

} // namespace kestra
