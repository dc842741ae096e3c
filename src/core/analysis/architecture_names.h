#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kestra {

// A port or a signal as an instance connects it: the name as declared, the mode in lower case
// ("in" for a port declared without one; empty for a signal) and the subtype indication.
struct PortShape {
    std::string name;
    std::string mode;
    std::string type;
};

// A unit an architecture may instantiate, with its ports in declaration order.
struct UnitShape {
    std::string name;
    std::vector<PortShape> ports;
};

// Names in lower case.
using NameSet = std::unordered_set<std::string>;

// The ports of the entity as its port clause declares them; empty when the entity has none or
// its header does not analyse.
std::vector<PortShape> EntityPortShapes(std::string_view text, const std::string& entityName);

// A signal declared in a declarative part; "signal a, b : t;" gives one for each name.
struct SignalDeclaration {
    PortShape shape;           // name, empty mode, subtype indication as written
    std::size_t start = 0;     // the word "signal"
    std::size_t semicolon = 0; // the ';' that ends the declaration
};

// What the structure of a declarative part needs of it.
struct DeclarativePart {
    std::vector<SignalDeclaration> declaredSignals;
    std::size_t firstComponent = std::string_view::npos; // the word "component" of the first declaration
};

// The signal declarations of a declarative part at its own level, from `start` to `begin`, and
// where its first component declaration stands.
DeclarativePart ReadDeclarativePart(std::string_view text, std::size_t start, std::size_t begin);

// The signals a declarative part declares at its own level, from `start` to `begin`.
std::vector<PortShape> DeclaredSignals(std::string_view text, std::size_t start, std::size_t begin);

// The names a statement part (from `start` to `end`) may drive: the targets of "<=" (with the
// names in their index or aggregate), the names passed to a procedure call statement, and the
// actuals of port map associations unless their formal is a port of mode in of one of the
// known units. Where the text leaves it open (a "<=" that compares, a unit not known) a name
// counts as driven, so that a name not in the set has no driver the text shows.
NameSet DrivenNames(std::string_view text, std::size_t start, std::size_t end,
                    const std::vector<UnitShape>& units);

// The identifiers from `start` to `end` outside comments and literals.
NameSet WordsIn(std::string_view text, std::size_t start, std::size_t end);

} // namespace kestra
