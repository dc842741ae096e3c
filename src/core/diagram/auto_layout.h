#pragma once

#include "diagram/geometry.h"

#include <vector>

namespace kestra {

// Where a node must stand: the first column (the module's inputs), the last column (its
// outputs), or wherever the signal flow puts it (instances).
enum class LayoutColumn { First, Flow, Last };

struct LayoutNode {
    int id = -1;   // the caller's id, handed back in the result
    int width = 0; // pixels
    int height = 0;
    LayoutColumn column = LayoutColumn::Flow;
};

// A signal flowing from one node to another (driver to reader); edges between the same two
// nodes may repeat, and count as a stronger pull.
struct LayoutEdge {
    int from = -1;
    int to = -1;
};

struct LayoutPlace {
    int id = -1;
    CPixelPoint topLeft;
    bool operator==(const LayoutPlace&) const = default;
};

// Lays the nodes out left to right in layers following the edges (cycles broken), first-column
// nodes left of all others and last-column nodes right of all others, with few crossings. Every
// top-left corner is on the grid, at least (2 grid steps, 2 grid steps); no two nodes come
// closer than 4 grid steps horizontally or 2 vertically, with room between the layers for the
// lines. Nodes without edges are placed too. Returns one place per node, in the nodes' order.
// The layers and their order come from Graphviz's dot layout, which keeps process-wide state of
// its own: call from one thread at a time. When it fails, or when the graph is so tangled that
// it would take long (lines passing thousands of layers), the result is LayOutInColumns's.
std::vector<LayoutPlace> LayOutLayered(const std::vector<LayoutNode>& nodes,
                                       const std::vector<LayoutEdge>& edges);

// The same guarantees without crossing reduction: the first column, then the flow nodes by the
// longest path of edges leading to them (an edge that would close a cycle turned round), then
// the last column; each column stacked downwards in the nodes' order.
std::vector<LayoutPlace> LayOutInColumns(const std::vector<LayoutNode>& nodes,
                                         const std::vector<LayoutEdge>& edges);

} // namespace kestra
