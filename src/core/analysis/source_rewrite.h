#pragma once

#include "generation/declarations.h"

#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CKSTObject;
class CVHDLSignal;
struct AnalysisContext;

// Generic declaration lines of a design object (bit 0: with values; bit 1: every kind).
inline std::string GenericDeclarationsText(const CKSTObject& object, int flags) {
    return BuildGenericLines(flags, object);
}

// The ENUM_ types of the object's choice lists and the constants of its Style parameters, as
// the entity reader reads them back.
std::string TypeDeclarationsText(const CKSTObject& object);

// The text with the entity's header rebuilt from the object: generic clause, the port clause
// as written, and the type and Style declarations in place of the declarative part. The text
// is returned unchanged when the entity, a closing parenthesis or its "end" is missing.
std::string RewriteEntityHeader(const std::string& text, const std::string& entityName,
                                const CKSTObject& object);

// Writes the item's parameters into the entity header of its source and keeps the module
// analysed (the new file time is stored); marks the item's parent and its ancestors as needing
// analysis. File errors are logged and change nothing. Returns whether the file was updated.
bool RewriteSourceFromParameters(CKSTDoc& doc, CHierarchyItem* item);

// Puts the signal list's port clause into the item's source, re-analyses the module and gives
// the signal list back exactly as the user entered it. Returns whether the file was updated.
bool UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context);

// Entry 0 and the architecture entries follow a new module name; a "* " mark stays.
void RenameModuleObject(CKSTObject& object, const std::string& newName);

} // namespace kestra
