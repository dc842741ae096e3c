#pragma once

#include <string>

namespace kestra {

class CKSTObject;
class CVHDLSignal;

// The ENUM_ types of the object's choice lists and the constants of its Style parameters, as
// the entity reader reads them back.
std::string TypeDeclarationsText(const CKSTObject& object);

// The text with the entity's header rebuilt from the object: generic clause, the port clause
// as written, and the type and Style declarations in place of the declarative part. The text
// is returned unchanged when the entity, a closing parenthesis or its "end" is missing. Only a
// source in the tool's own form (IsToolFormSource) is rebuilt so; any other is edited in place
// (EditEntityHeader), so that nothing the user wrote is lost.
std::string RewriteEntityHeader(const std::string& text, const std::string& entityName,
                                const CKSTObject& object);

// The text with the entity's port clause replaced by `portClause` (a generic clause stays as
// it is). The text is returned unchanged when the entity is missing or a clause in front of the
// ports is not closed.
std::string ReplacePortClause(const std::string& text, const std::string& entityName,
                              const std::string& portClause);

// The text with the entity's port clause made to declare the signal list's ports: a source in
// the tool's own form gets the list's whole port clause (ReplacePortClause), any other is edited
// in place (EditPortClause).
std::string UpdatePortClause(const std::string& text, const std::string& entityName,
                             const CVHDLSignal& signals);

} // namespace kestra
