#pragma once

#include "analysis/architecture_structure.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// One change of a port map: the formal (a port of the instantiated unit) gets this actual.
struct PortMapChange {
    std::string formal;
    std::string actual; // a name, or "open"
};

// The text with the instance's port map changed. A port map in named form keeps every other
// association and its layout: an association of the formal has its actual replaced, a formal
// without one is appended after the last association. A port map with a positional association
// is written anew in named form, one association per line, the positional actuals given to the
// unit's ports (unitPorts, in declaration order) by position and every association kept. An
// instance without a port map gets one before its ';'. Empty when the instance's text does not
// lie where the structure says, or a positional association has no port of that position.
[[nodiscard]] std::string EditPortMap(std::string_view text, const InstanceStructure& instance,
                                      const std::vector<std::string>& unitPorts,
                                      const std::vector<PortMapChange>& changes);

// The text with "signal <name> : <type>;" declared in the architecture's declarative part, on a
// line of its own: after the last signal declaration, or without one before the first
// component declaration (its comment line included), or without one before "begin"; indented
// as the declaration it follows or precedes (one tab when there is none). Empty when the
// architecture's "begin", last signal declaration or first component declaration does not lie
// where the structure says.
[[nodiscard]] std::string AddSignalDeclaration(std::string_view text,
                                               const ArchitectureStructure& architecture,
                                               std::string_view name, std::string_view type);

} // namespace kestra
