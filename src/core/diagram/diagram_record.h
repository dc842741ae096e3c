#pragma once

#include "diagram/block_diagram.h"
#include "model/block_data.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CVHDLSignal;

// A child of the shown module as the hierarchy lists it: name and hierarchy kind (normal,
// library and predefined modules get a block, packages do not).
struct CChildModule {
    std::string name;
    HierarchyKind hierarchyKind = HierarchyKind::Normal;
};

// The pane caption for a module: its name with every "_" shown as a space.
std::string DiagramCaption(std::string_view moduleName);

// Fills the live diagram from a module's stored record: module blocks for the children found
// in the record (with the colour of their module kind), then the stored unnamed module,
// port, text and custom blocks (a "\T:" block naming one of the signals takes the shape and
// colour of the signal's mode), new 100 x 100 blocks in a row to the right for children not
// yet placed, and the lines whose two ends still name the same blocks (by block id, or by
// position in the stored table for files without ids); point-less lines from older files
// are routed. With no record the diagram is left empty. Clears the changed flag.
void LoadDiagramRecord(CBlockDiagram& diagram, const CBlockData* record,
                       const std::vector<CChildModule>& children, const CVHDLSignal* ports);

// The shape a port or text block takes for its text: the port of the signal of that name in the
// colour of its mode, or a text block in the button-face colour when no signal has that name (or
// its mode is not one of the five).
struct SignalShape {
    BlockKind kind = BlockKind::TextBlock;
    std::uint32_t colour = 0;
};
SignalShape SignalBlockShape(const CBlockDiagram& diagram, const CVHDLSignal* signalList,
                             const std::string& text);

// After the signals changed: every named port and text block takes the shape its text gives,
// keeping its text (a port whose signal went becomes a text block; a text block now naming a
// signal becomes its port). Returns whether any block changed.
bool ReshapeSignalBlocks(CBlockDiagram& diagram, const CVHDLSignal* signalList);

// A new block for a child module not yet placed, to the right of the diagram, in the colour of
// its module kind: 100 x 100, or larger where its name and pins need it; -1 for a child that
// gets no block (a package).
int AddChildModuleBlock(CBlockDiagram& diagram, const CChildModule& child);

// Writes the live diagram into the record when it changed since loading: every block with its
// kind prefix, id, rectangle and colour, and a copy of every line. Returns whether it wrote;
// clears the changed flag when it did.
bool WriteDiagramRecord(CBlockDiagram& diagram, CBlockData* record);

} // namespace kestra
