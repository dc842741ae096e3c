#pragma once

#include "analysis/architecture_names.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// What an association's actual is.
enum class ActualKind {
    Name,  // a simple name (a port of the architecture's entity, a signal, or a name declared nowhere)
    Open,  // the word open
    Other, // anything the diagram cannot follow: an expression, an aggregate, a slice, an indexed
           // or selected name, a conversion, a literal
};

// One association of a port map or generic map, where it is written.
struct MapAssociation {
    std::string formal; // as written for a named association; empty for a positional one
    std::string actual; // as written, blanks at both ends and comments left out
    ActualKind kind = ActualKind::Other;
    std::size_t start = 0; // the association's first character (its formal, or its actual)
    std::size_t end = 0;   // just after its actual
};

// The kind of the innermost generate statement an instance stands in.
enum class GenerateKind { None, For, If, Case };

// One component or entity instantiation of an architecture's statement part.
struct InstanceStructure {
    std::string label;        // as written
    std::string unit;         // the component's name, or the entity's name without library and architecture
    bool entity = false;      // "entity lib.name[(arch)]"
    std::string library;      // the library an entity instantiation names, as written
    std::string architecture; // the architecture an entity instantiation names, as written; empty without
    GenerateKind generate = GenerateKind::None;
    std::string generateLabel; // the label of the innermost generate statement around it, if any
    std::vector<MapAssociation> generics;
    std::vector<MapAssociation> ports;
    bool positional = false;   // at least one port association has no formal
    std::size_t start = 0;     // the label's first character
    std::size_t semicolon = 0; // the ';' that ends the instantiation
    // The '(' after "port map" and its partner ')'; both npos when the instance has no port map.
    std::size_t portMapOpen = std::string_view::npos;
    std::size_t portMapClose = std::string_view::npos;
};

// The structure of one architecture: its signals and its instances (also those inside generate
// statements, at any depth), in text order.
struct ArchitectureStructure {
    std::string name;                               // the architecture's name as written
    std::string entity;                             // the entity's name as written in the architecture header
    std::size_t declarations = 0;                   // just after "is" of the header
    std::size_t begin = 0;                          // the word "begin" that starts the statement part
    std::size_t end = 0;                            // the word "end" that closes the architecture
    std::vector<SignalDeclaration> declaredSignals; // declared in analysis/architecture_names.h
    std::size_t firstComponent =
        std::string_view::npos; // the word "component" of the first component declaration
    std::vector<InstanceStructure> instances;
    const InstanceStructure* FindInstance(std::string_view label) const; // label compared without case
};

// The first architecture of the entity in the text from `from` on (any architecture when
// entityName is empty); `from` stands at a statement start. Nothing when there is none or its
// header, "begin" or closing "end" cannot be found.
[[nodiscard]] std::optional<ArchitectureStructure>
ReadArchitectureStructure(std::string_view text, std::string_view entityName, std::size_t from = 0);

} // namespace kestra
