#pragma once

#include "diagram/diagram_record.h"

#include <vector>

namespace kestra {

// Loads a module's record as LoadDiagramRecord does and completes the drawing of the module's
// structure (the diagram's module port source must be set): stored module blocks smaller than
// their names and pins need are grown with their top-left corners kept, and every port of the
// module without a port block gets one: inputs and linkage ports in a column left of all
// blocks, outputs, buffers and inouts in a column right of them (children not placed yet go
// between the two), each in port order and clear of every block. Nothing the record placed
// moves. Sets the changed flag, and returns true, only when a block was added for a port or a
// stored block grew. Without a record the diagram stays empty.
bool LoadModuleDiagram(CBlockDiagram& diagram, const CBlockData* record,
                       const std::vector<CChildModule>& children, const CVHDLSignal* ports);

// Adds a port block, in the shape and colour of its mode and named after it, for every port on
// the side (inputs and linkage left, the others right) that no port block names yet, as a
// column beside all blocks (left of them, or from the left edge down past every block that
// leaves no room there). Returns the number of blocks added.
int AddMissingPortBlocks(CBlockDiagram& diagram, const CVHDLSignal* ports, PinSide side);

// The size a port block is given for its name.
CPixelSize PortBlockSize(const std::string& name);

} // namespace kestra
