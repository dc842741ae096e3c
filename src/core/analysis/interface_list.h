#pragma once

#include "model/design_object.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CScanner;

// Where an expression lies: from its first to just after its last code character.
struct ExpressionSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};

// The expression that starts at cursor (after blanks and comments) and runs up to a ';', an
// unbalanced ')' or, with stopAtAssignment, a ":=" outside parentheses; strings, character
// literals and comments are passed over. None when it is empty or holds a string that its line does not
// close.
[[nodiscard]] std::optional<ExpressionSpan> ReadExpression(std::string_view text, std::size_t cursor,
                                                           bool stopAtAssignment = false);

// The expression as a parameter or initial value shows it: the text as written, or, when
// comments stand inside it, its tokens with one blank wherever blanks or comments were.
std::string ExpressionText(std::string_view text, const ExpressionSpan& span);

// The content of the expression when it is one string literal and nothing else.
[[nodiscard]] std::optional<std::string> SingleStringLiteral(std::string_view text,
                                                             const ExpressionSpan& span);

// One declaration of a generic or port clause, as written: its names, mode, subtype indication
// and default, with the places where they stand, so that a rewrite can change one part and keep
// the rest.
struct InterfaceDeclaration {
    std::vector<std::string> names;
    std::vector<std::size_t> nameStarts;
    std::size_t start = 0; // the first code character (a "constant" or "signal" word included)
    std::size_t end = 0;   // just after the last code character before the ';' or ')' after it
    std::string mode;      // lower case; empty when none is written
    std::size_t typeStart = 0;
    std::size_t typeEnd = 0;               // the subtype indication: type mark and constraint
    std::string typeMark;                  // as written, with the prefix of a selected name
    std::string range;                     // the constraint as the signal list keeps it
    std::optional<std::size_t> assignment; // the ':' of ":="
    std::optional<ExpressionSpan> defaultValue;
    // For a generic: the kind and value of the parameters analysis makes of it.
    EntryKind kind = EntryKind::None;
    std::string value;

    std::string TypeText(std::string_view text) const {
        return std::string(text.substr(typeStart, typeEnd - typeStart));
    }
};

// A generic or port clause: "generic ( declarations ) ;".
struct InterfaceList {
    std::size_t keyword = 0;  // "generic" or "port"
    std::size_t open = 0;     // its '('
    std::size_t close = 0;    // the ')' that closes it
    std::size_t afterEnd = 0; // just after the ';' that follows that ')'
    std::vector<InterfaceDeclaration> declarations;
    std::vector<std::size_t> separators; // the ';' after every declaration but the last
};

// The entity's generic and port clauses as written, read the way analysis reads them. The
// clauses are absent when the entity has none; the result is none when the entity is missing or
// its header does not analyse. Comments never belong to a default.
struct EntityInterface {
    std::size_t afterIs = 0; // just after the "is" of the entity header
    std::optional<InterfaceList> generics;
    std::optional<InterfaceList> ports;
};
[[nodiscard]] std::optional<EntityInterface> ReadEntityInterface(std::string_view text,
                                                                 const std::string& entityName);

// The generic and port clauses of a component declaration, from just after its name.
[[nodiscard]] std::optional<EntityInterface>
ReadComponentInterface(std::string_view text, std::size_t afterName, const std::string& componentName);

} // namespace kestra
