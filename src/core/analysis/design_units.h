#pragma once

#include "analysis/architecture_structure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

enum class DesignUnitKind { Entity, Architecture, Package, PackageBody, Configuration };

// "use lib.pkg.item;" as written: the library (empty when the first name is not a library the
// clause can see: "work", "std" or one of its library clauses), the package and the item ("all",
// one name, or empty for "use lib.pkg;").
struct UseClause {
    std::string library;
    std::string package;
    std::string item;
    int line = 0;
};

// The library and use clauses written just before a unit.
struct ContextItems {
    std::vector<std::string> libraries;
    std::vector<UseClause> uses;
};

// An instance of an architecture and what it stands for, configuration specifications of the
// architecture applied.
struct InstanceBinding {
    std::string label;
    std::string unit;    // the component's or entity's name as written
    bool entity = false; // a direct entity instantiation
    // The entity it stands for: the instantiated entity, the one a configuration specification
    // names, or the component's own name; empty when bound to a configuration or left open.
    std::string boundEntity;
    std::string boundLibrary;       // the library an entity instantiation names; empty otherwise
    std::string boundArchitecture;  // the architecture the code names; empty when it names none
    std::string boundConfiguration; // "use configuration lib.cfg"
    bool open = false;              // "use open": the instance stands for nothing
    GenerateKind generate = GenerateKind::None;
    std::string generateLabel;
    int line = 0;
};

// One design unit of a file. For an architecture `entity` is the entity it belongs to, for a
// configuration the entity it configures, and for a configuration with the entity named the
// instances are empty.
struct DesignUnit {
    DesignUnitKind kind = DesignUnitKind::Entity;
    std::string name;
    std::string entity;
    int line = 0;          // the line of its keyword
    std::size_t start = 0; // its keyword
    std::size_t end = 0;   // just past its closing ';'
    ContextItems context;
    std::vector<InstanceBinding> instances; // of an architecture, in text order
};

// The units of one file in text order. Where a unit's closing was not found the reading goes
// on after its header; `unclosedLines` names the lines of such units.
struct FileDesignUnits {
    std::vector<DesignUnit> units;
    std::vector<int> unclosedLines;
};

// Reads the design units of a VHDL text with the token reader, so that words in comments,
// strings and character literals are never taken for code.
FileDesignUnits ReadDesignUnits(std::string_view text);

// The 1-based line of a position, over a text whose line starts are found once.
class CLineIndex {
public:
    explicit CLineIndex(std::string_view text);
    int LineOf(std::size_t position) const;

private:
    std::vector<std::size_t> m_starts;
};

} // namespace kestra
