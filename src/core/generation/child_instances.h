#pragma once

#include "analysis/architecture_names.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CKSTObject;

// One child module as its parent's architectures declare and instantiate it.
struct ChildComponent {
    std::string name;
    std::string declaration;      // the component declaration and the child's binding
    bool binding = false;         // the declaration ends in a binding of the child's chosen architecture
    std::string source;           // the child's source text, whose entity the declaration follows
    std::vector<PortShape> ports; // as a new instance connects them (see ChildPortShapes)
};

// The ports of the child's entity as an instance without a generic map connects them: in each
// type, a generic of the child stands replaced by the value the instance gets (the child's
// parameter value, else the default its source declares), in parentheses unless the value is
// one word or literal or the generic is a type; a generic without a value stays a name. None
// when the entity has no port clause or its header does not analyse.
[[nodiscard]] std::optional<std::vector<PortShape>>
ChildPortShapes(const std::string& childName, const CKSTObject& childObject, const std::string& childSource);

// What the component refresh adds to one architecture of a parent for the children it does not
// instantiate yet.
struct NewInstances {
    std::string signals;    // "\tsignal NAME : TYPE;\r\n" for each port no name of the parent fits
    std::string statements; // the instances, or empty
    // Where the statements go: just after "begin", behind a new "-- KESTRA component
    // instantiations" mark; where the statement part has the mark already, below it, after the
    // instances that follow it.
    std::size_t position = 0;
};

// The instances of the children that an architecture of the parent does not name yet, each
// written so that the parent still analyses:
// - a child port fits a port of the parent's entity or a signal of the architecture of its name
//   (in any letter case) with the same type (compared without blanks and case) whose mode the
//   port may be associated with (VHDL-93: an input reads a signal or a port of mode in, inout or
//   buffer; an output drives a signal or a port of mode out or inout; inout and buffer ports
//   need their own mode) and, when the port drives it, that nothing in the architecture drives
//   yet (see DrivenNames), nor an instance added before it;
// - the instance is labelled "U_<child>", or "U_<child>_2", "_3" ... when the label is a word of
//   the parent's text or taken by another new instance;
// - when every port fits, the ports are associated by position with the names of the child's
//   ports, as the tool has always written them; otherwise by name, each port that does not fit with a
//   new signal "<label>_<PORT>" (made free like the label) of the port's type.
class CInstancePlanner {
public:
    CInstancePlanner(std::string_view parentText, std::string parentName,
                     const std::vector<ChildComponent>& children);

    // For the architecture whose declarative part starts at `declarationsStart` and whose
    // statement part runs from `statementsStart` (just after its "begin") to its closing "end"
    // at `end`. The words of the
    // parent's text and its entity's ports are read once, when the first instance is needed.
    [[nodiscard]] NewInstances Plan(std::size_t declarationsStart, std::size_t statementsStart,
                                    std::size_t end);

private:
    std::string_view m_text;
    std::string m_parentName;
    const std::vector<ChildComponent>& m_children;
    std::vector<UnitShape> m_units;
    std::optional<NameSet> m_words;
    std::vector<PortShape> m_ports;
};

} // namespace kestra
