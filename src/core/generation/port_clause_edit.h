#pragma once

#include <string>

namespace kestra {

class CVHDLSignal;
struct EntityInterface;

// The text with the entity's port clause declaring the signal list's ports by the smallest
// edits: a declaration whose ports the list holds unchanged stays as written (comments and
// layout included); a changed, added or renamed port gets a declaration in the signal list's
// form; a port the list lacks loses its declaration. Unchanged text when the header does not
// analyse or nothing changed.
std::string EditPortClause(const std::string& text, const std::string& entityName,
                           const CVHDLSignal& signals);
// The same for an entity whose clauses have been read from the text already.
std::string EditPortClause(const std::string& text, const EntityInterface& entity,
                           const CVHDLSignal& signals);

} // namespace kestra
