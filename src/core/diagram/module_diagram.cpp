#include "diagram/module_diagram.h"

#include "model/vhdl_signal.h"

#include <algorithm>
#include <set>

namespace kestra {

namespace {

struct MissingPort {
    std::string name;
    BlockKind kind = BlockKind::InPort;
};

int RoundDownToGrid(int value) {
    const int floor = value / kGridStep * kGridStep;
    return floor > value ? floor - kGridStep : floor;
}

int RoundUpToGrid(int value) {
    return -RoundDownToGrid(-value);
}

// The ports on the side that no port block names, in port order. A name that two rows bear
// counts once (the first row), as loading shapes a block by the first.
std::vector<MissingPort> MissingPorts(const CBlockDiagram& diagram, const CVHDLSignal& ports, PinSide side) {
    std::set<int> shown;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (IsPortKind(block.kind) && !block.text.empty())
            shown.insert(ports.FindSignal(block.text));
    }
    std::vector<MissingPort> missing;
    for (int row = 0; row < ports.GetSignalCount(); ++row) {
        std::string name = ports.GetSignalText(row, CVHDLSignal::kName);
        const BlockKind kind = BlockKindFromMode(ports.GetSignalText(row, CVHDLSignal::kMode));
        if (name.empty() || !IsPortKind(kind) || PinSideOf(kind) != side || shown.count(row) != 0 ||
            ports.FindSignal(name) != row)
            continue;
        missing.push_back({std::move(name), kind});
    }
    return missing;
}

// The box around every block; empty when there is none.
CPixelRect BlocksBounds(const CBlockList& blocks) {
    CPixelRect bounds;
    bool first = true;
    for (const auto& [id, block] : blocks.Blocks()) {
        const CPixelRect& r = block.rect;
        bounds = first ? r
                       : CPixelRect{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                                    std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
        first = false;
    }
    return bounds;
}

// The rectangle moved down until it keeps a grid step away from every block.
CPixelRect FirstFreePlace(const CBlockList& blocks, CPixelRect rect) {
    for (;;) {
        int below = rect.top;
        for (const auto& [id, block] : blocks.Blocks()) {
            if (block.rect.Intersects(rect.Inflate(kGridStep, kGridStep)))
                below = std::max(below, RoundUpToGrid(block.rect.bottom + kGridStep));
        }
        if (below == rect.top)
            return rect;
        rect = rect.Offset(0, below - rect.top);
    }
}

} // namespace

CPixelSize PortBlockSize(const std::string& name) {
    return {std::max(RoundUpToGrid(LabelWidth(name) + 3 * kGridStep), 6 * kGridStep), 2 * kGridStep};
}

int AddMissingPortBlocks(CBlockDiagram& diagram, const CVHDLSignal* ports, PinSide side) {
    if (ports == nullptr)
        return 0;
    const std::vector<MissingPort> missing = MissingPorts(diagram, *ports, side);
    if (missing.empty())
        return 0;
    int width = 0;
    for (const MissingPort& port : missing)
        width = std::max(width, PortBlockSize(port.name).width);
    const CPixelRect bounds = BlocksBounds(diagram.Blocks());
    const bool empty = diagram.BlockCount() == 0;
    int x = 2 * kGridStep;
    if (!empty && side == PinSide::Left)
        x = std::max(RoundDownToGrid(bounds.left - 2 * kGridStep - width), kGridStep);
    else if (!empty)
        x = RoundUpToGrid(bounds.right + 2 * kGridStep);
    // In an empty diagram the column starts at the height of the row new children take.
    int y = empty ? 7 * kGridStep : std::max(RoundDownToGrid(bounds.top), kGridStep);
    int added = 0;
    for (const MissingPort& port : missing) {
        const CPixelSize size = PortBlockSize(port.name);
        const CPixelRect place =
            FirstFreePlace(diagram.Blocks(), CPixelRect::FromSize(x, y, width, size.height));
        if (diagram.AddBlock(place.left, place.top, place.Width(), place.Height(), port.name,
                             PortColour(port.kind), -1, port.kind) < 0)
            break;
        ++added;
        y = place.bottom + 2 * kGridStep;
    }
    return added;
}

bool LoadModuleDiagram(CBlockDiagram& diagram, const CBlockData* record,
                       const std::vector<CChildModule>& children, const CVHDLSignal* ports) {
    // Children the record places load with it; the others are placed after the input column,
    // so that they do not take its room.
    std::vector<CChildModule> stored;
    std::vector<CChildModule> unplaced;
    for (const CChildModule& child : children)
        (record != nullptr && record->FindBlockByName(child.name) >= 0 ? stored : unplaced).push_back(child);
    LoadDiagramRecord(diagram, record, stored, ports);
    if (record == nullptr)
        return false;
    bool changed = diagram.FitModuleBlocks();
    changed = AddMissingPortBlocks(diagram, ports, PinSide::Left) > 0 || changed;
    for (const CChildModule& child : unplaced)
        AddChildModuleBlock(diagram, child);
    changed = AddMissingPortBlocks(diagram, ports, PinSide::Right) > 0 || changed;
    if (changed)
        diagram.RevalidateAllLines();
    diagram.SetDiagramChanged(changed);
    return changed;
}

} // namespace kestra
