// TEMPORARY: replaced by the layout branch.
#include "diagram/auto_layout.h"
namespace kestra {
std::vector<LayoutPlace> LayOutLayered(const std::vector<LayoutNode>& nodes, const std::vector<LayoutEdge>&) {
    std::vector<LayoutPlace> places;
    int y[3] = {20, 20, 20};
    for (const LayoutNode& n : nodes) {
        const int c = static_cast<int>(n.column);
        places.push_back({n.id, {20 + c * 300, y[c]}});
        y[c] += (n.height + 29) / 10 * 10;
    }
    return places;
}
} // namespace kestra
