#pragma once

#include "analysis/interface_list.h"
#include "model/design_object.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kestra {

class CEntryIndex;
class CKSTObject;
class CScanner;
class CVHDLSignal;

enum class EntityMode : int {
    // Generics, ports, data type and Style parameters go to the design object and signal list;
    // a text without the module's entity is error 10.
    Analyze = 0,
    // Nothing is added; the result is the port clause as written.
    PortText = 1,
    // As PortText, with the DataType and Logic parameters of the object put in place of their
    // names in the port declarations.
    ConvertedPortText = 2,
};

enum class EntityDeclarationsMode : int {
    // Style constants become entries; a Style constant whose name exists is error 19.
    Analyze = 0,
    // Only the closing "end" is looked for; no entry is added.
    FindEnd = 1,
    // Style constants that the object lacks are added.
    Merge = 2,
};

// Where the parts of an entity lie, as one reading of it finds them: its generic clause with
// the declarations as written, the end of its last clause and the "end" that closes it. Enough
// to tell the form of the source (IsToolFormSource) without reading the entity again.
struct EntityLayout {
    std::size_t afterIs = 0; // just after the "is" of the entity header
    std::optional<InterfaceList> generics;
    std::size_t declarationsStart = 0; // where the entity declarative part begins
    std::size_t declarationsEnd = 0;   // the "end" that closes the entity
};

// The entity readers. Each works on a scanner that carries the analysis context: the module
// name there selects the entity, the previous object there gives the values carried across a
// re-analysis, and the first error stops the reader at once (what was added stays). Errors
// carry the line where they were found, except 10, 18 and 19.

// Finds the first entity named like the module (ignoring case) at a statement start at or
// after cursor and reads its header, generic clause and port clause, and in Analyze mode its
// declarative part. Sets the context's text start to the start of the text. Returns the port
// clause text in the text modes and the empty text in Analyze mode or on error. The cursor is
// left after what was read (at the entity's closing "end" in Analyze mode).
std::string AnalyzeEntity(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CKSTObject* object,
                          CVHDLSignal* signals, EntityLayout* layout = nullptr);

// Reads "port ( declarations ) ;" when the next word is "port"; otherwise leaves the cursor and
// returns empty (no ports is not an error). In the text modes the result is "\tport (", the
// declarations as written up to their last non-blank character, and "\r\n\t);\r\n".
std::string AnalyzePortClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor,
                              CKSTObject* object, CVHDLSignal* signals);

// Reads the entity declarative part from cursor up to its closing "end" and returns the
// position of that "end" (the cursor is left after it), or none on error. ENUM_ types give
// their literals as choices to existing Numeric, DataType and string parameters in every mode
// when an object is given.
[[nodiscard]] std::optional<std::size_t> AnalyzeEntityDeclarations(const CScanner& scanner,
                                                                   EntityDeclarationsMode mode,
                                                                   std::size_t& cursor, CKSTObject* object);

// The same readers adding entries through an index that the caller keeps across readers. In
// Analyze mode the entity reader also gives the entity's layout when asked for it.
std::string AnalyzeEntity(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CEntryIndex& entries,
                          CVHDLSignal* signals, EntityLayout* layout = nullptr);
std::string AnalyzePortClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor,
                              CEntryIndex& entries, CVHDLSignal* signals);
[[nodiscard]] std::optional<std::size_t> AnalyzeEntityDeclarations(const CScanner& scanner,
                                                                   EntityDeclarationsMode mode,
                                                                   std::size_t& cursor, CEntryIndex& entries);

// Where the declarative part of an entity whose clauses have been read lies: from the end of its
// last clause (or its "is") to the "end" that closes the entity; none when that is not found.
struct EntityDeclarativePart {
    std::size_t start = 0;
    std::size_t end = 0;
};
[[nodiscard]] std::optional<EntityDeclarativePart> FindEntityDeclarativePart(std::string_view text,
                                                                             const EntityInterface& entity);

// The layout of the entity named like the module, read without adding anything (its port
// declarations are checked and passed over); none when it is missing or does not analyse.
[[nodiscard]] std::optional<EntityLayout> ReadEntityLayout(std::string_view text,
                                                           const std::string& entityName);

// The entry kind that a generic of this type word makes, or -1 when it makes none. "string"
// is the LPM string parameter (13) in entities whose name begins with "LPM_", else a Note.
EntryKind GenericKind(const std::string& typeWord, const std::string& entityName);

} // namespace kestra
