#pragma once

#include "analysis/architecture_structure.h"
#include "model/vhdl_signal.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestra {

// The ports of a component that the architecture's declarative part declares, read as the
// ports of an entity are: for the pins of an instance whose unit is no module of the project (a
// device primitive, a unit of a file left out). None when the part declares no such component or
// its port clause does not read.
std::optional<CVHDLSignal> ComponentPorts(std::string_view text, const ArchitectureStructure& structure,
                                          const std::string& component);

} // namespace kestra
