#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace kestra {

class CEntryIndex;
class CKSTObject;
class CScanner;

// "architecture NAME of ENTITY is" as read by AnalyzeArchitectureHeader.
struct ArchitectureHeader {
    std::string name;                  // as written
    std::string entityName;            // as written
    std::size_t keyword = 0;           // where its "architecture" stands
    std::size_t declarationsStart = 0; // just after "is"
};

// Where the parts of an architecture body lie, as found by FindArchitectureBody.
struct ArchitectureBody {
    std::size_t statementsStart = 0; // just after "begin"
    std::size_t endKeyword = 0;      // the "end" that closes the architecture
    std::size_t afterName = 0;       // just after the closing architecture name
    std::size_t afterSemicolon = 0;  // just after the ';' that follows that name
};

// What the architecture loop hands on when a module's architectures have been read.
struct ArchitectureOptions {
    // Runs once after every architecture was read without error, with the scanner over the
    // text that was analysed; it may set an error in the scanner's context. The analysis of a
    // normal module puts the component declaration refresh here; empty for other modules.
    std::function<void(const CScanner&)> refreshComponents;
};

// The architecture readers work on a scanner that carries the analysis context (module name,
// previous object, first error), as the entity readers do.

// What the word "architecture" at a position starts: a header of an architecture of the
// module's entity (the context's module name, compared ignoring case); no header, or one of
// another entity; or a malformed header, with error 3 or 8 set.
enum class HeaderFit { Module, Other, Malformed };

// Reads the header at an "architecture" keyword; the header is filled in for Module only.
[[nodiscard]] HeaderFit AnalyzeArchitectureHeader(const CScanner& scanner, std::size_t keyword,
                                                  ArchitectureHeader& header);

// What NextArchitectureHeader found.
enum class HeaderSearch { Found, NoMore, Malformed };

// The architectures of the module's entity (the context's module name) one after the other:
// the next header of one from `from` on, passing over "architecture" words that start no header
// and the headers of other entities. Found: `header` holds it and `from` stands just past its
// keyword, where the next search starts unless the caller moves it on. Malformed: a header is
// malformed and error 3 or 8 is set. NoMore: no such header follows.
HeaderSearch NextArchitectureHeader(const CScanner& scanner, std::size_t& from, ArchitectureHeader& header);

// Finds the "begin" of the declarative part and the "end" that closes the architecture by
// following the nesting of the constructs in between (subprogram bodies, processes, generate
// statements, ...). The architecture closes with "end;", "end architecture [name];" or
// "end <name>;", the name in any case. Where the nesting cannot be followed, the last closing
// before the next design unit is taken. False with error 16 (no line) when no closing is found,
// or error 4 when a closing that names the architecture is not followed by ';'.
[[nodiscard]] bool FindArchitectureBody(const CScanner& scanner, std::size_t declarationsStart,
                                        const std::string& name, ArchitectureBody& body);

// From just after "function" or "procedure", moves the cursor past the subprogram: past the ';'
// of its body's end statement ("end;", "end <name>;", "end function [name];"), or of a
// declaration without a body (or to the end of the text).
void SkipFunctionBody(const CScanner& scanner, std::size_t& cursor);

// The architecture loop over the whole text: reads every architecture of the module's entity,
// adds data type parameters for its signal types, then one architecture choice entry per
// entity with two or more architectures (value carried from the previous object), and finally
// runs the options' hook. A text without such an architecture is error 13 (no line). Headers
// that stand inside other architectures make the walks overlap; when they would cover the text
// many times over, the loop stops with error 16 (no line) instead.
void AnalyzeArchitectures(const CScanner& scanner, CKSTObject* object,
                          const ArchitectureOptions& options = {});
void AnalyzeArchitectures(const CScanner& scanner, CEntryIndex& entries,
                          const ArchitectureOptions& options = {});

} // namespace kestra
