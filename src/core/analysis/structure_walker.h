#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestra {

// How far a walk over VHDL text goes.
enum class StructureScope {
    // One declaration or statement: up to its ';' (parentheses and nested constructs included).
    Item,
    // A declarative part: up to the "begin" that ends it, or the "end" that closes its unit.
    Declarations,
    // A statement part: up to the "end" that closes its unit.
    Statements,
};

// Where a walk stopped.
struct StructureStop {
    enum class What { Semicolon, Begin, End, TextEnd };
    What what = What::TextEnd;
    std::size_t position = 0; // the ';', "begin" or "end"; the text's end for TextEnd
    // For End: just after the last word that follows "end" (after "end" itself when none does),
    // whether a word followed it, and the ';' that closes the end statement, if there is one.
    std::size_t afterWords = 0;
    bool named = false;
    std::optional<std::size_t> semicolon;
};

// The unit whose declarative or statement part is walked: the keyword that may follow its
// closing "end" ("architecture", "entity", ...) and its name (empty when any name closes it).
struct StructureUnit {
    std::string_view keyword;
    std::string_view name;
};

// Walks from `from` following the nesting of VHDL constructs: processes, blocks, generate
// statements with their alternatives, if, case and loop statements, subprogram bodies,
// component declarations, records, physical types, protected types and local packages. Words
// inside comments, strings and character literals are not read. A construct is closed by
// "end" with its keyword; subprogram bodies and local packages also by "end [name];". The walk
// stops at the first place the scope asks for that lies outside every nested construct; at the
// text's end it gives TextEnd. The unit's own closing is "end;", "end <keyword> [name];" or
// "end <name>;", the name compared without case; "end <keyword>" and "end <name>" close it even
// where the walk got out of step with the nesting.
StructureStop WalkStructure(std::string_view text, std::size_t from, StructureScope scope,
                            const StructureUnit& unit = {});

// From just after the word "function" or "procedure": the position after the subprogram's
// closing ';' (its body's end statement, or the ';' of a declaration or instantiation), or the
// text's end.
std::size_t SkipSubprogram(std::string_view text, std::size_t afterKeyword);

// The last "end" statement that lies between from and the next design unit after it (an
// entity, architecture, package, configuration or context, or a library clause, at a statement
// start), when it closes the unit ("end [keyword] [name];" with the unit's keyword and name) and
// only blanks and comments follow its ';'. Used where the nesting could not be followed to the
// closing of a unit.
[[nodiscard]] std::optional<StructureStop> LastClosingBeforeNextUnit(std::string_view text, std::size_t from,
                                                                     const StructureUnit& unit);

} // namespace kestra
