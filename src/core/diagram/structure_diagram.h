#pragma once

#include "analysis/architecture_structure.h"
#include "diagram/diagram_record.h"

#include <vector>

namespace kestra {

// How the blocks are placed when a module's structure is drawn.
enum class StructurePlacement {
    KeepPlaced, // blocks the diagram holds stay where they are; new ones go to free room
    LayOutAll,  // every port and module block is laid out again (no stored diagram, or a redraw)
};

// Draws the architecture into a diagram that holds the module's stored record (LoadModuleDiagram):
// every instance gets a module block (the child's stored blocks are taken in the order the
// architecture instantiates the child; blocks beyond the instances of a child that has some are
// removed), named after the instance and the generate statement around it; every association
// with a name that another pin or a port of the module shares becomes a line from the end that
// drives it to each end that reads it (a stored line between the same two ends keeps its path);
// other associations become labelled stubs; stored lines between pins that no association
// stands for stay as drawings. With LayOutAll the blocks are laid out in layers from the inputs
// through the instances, in signal-flow order, to the outputs. Sets the changed flag when a
// block was added, removed or moved, or a line was added.
void DrawStructure(CBlockDiagram& diagram, const ArchitectureStructure& architecture,
                   const std::vector<CChildModule>& children, StructurePlacement placement);

// The text shown for the generate statement an instance stands in: "for G_BITS", "if G_DEBUG".
std::string GenerateCaption(const InstanceStructure& instance);

} // namespace kestra
