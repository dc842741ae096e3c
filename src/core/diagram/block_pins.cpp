#include "diagram/block_pins.h"

#include "diagram/block_list.h"
#include "model/vhdl_signal.h"

#include <algorithm>

namespace kestra {

namespace {

int CharacterWidth(char c) {
    switch (c) {
    case 'M':
    case 'W':
    case 'm':
    case 'w':
        return 12;
    case 'I':
    case 'i':
    case 'j':
    case 'l':
        return 4;
    default:
        break;
    }
    if (c >= 'A' && c <= 'Z')
        return 9;
    return 8;
}

int RoundUpToGrid(int value) {
    return (value + kGridStep - 1) / kGridStep * kGridStep;
}

struct SideExtent {
    int count = 0;
    int widestLabel = 0;
};

// The space one side's pins take across the block: stub, gap and the widest name.
int SideWidth(const SideExtent& side) {
    return side.count == 0 ? 0 : kPinStub + kPinLabelGap + side.widestLabel;
}

} // namespace

int LabelWidth(std::string_view text) {
    int width = 0;
    for (const char c : text)
        width += CharacterWidth(c);
    return width;
}

PinSide PinSideOf(BlockKind portKind) {
    return portKind == BlockKind::InPort || portKind == BlockKind::LinkagePort ? PinSide::Left
                                                                               : PinSide::Right;
}

std::vector<PinPlace> PinsOf(const CPixelRect& rect, const CVHDLSignal& childPorts) {
    std::vector<PinPlace> pins;
    int onLeft = 0;
    int onRight = 0;
    for (int row = 0; row < childPorts.GetSignalCount(); ++row) {
        std::string name = childPorts.GetSignalText(row, CVHDLSignal::kName);
        const BlockKind kind = BlockKindFromMode(childPorts.GetSignalText(row, CVHDLSignal::kMode));
        if (name.empty() || !IsPortKind(kind))
            continue;
        PinPlace pin;
        pin.kind = kind;
        pin.side = PinSideOf(kind);
        const bool left = pin.side == PinSide::Left;
        const int y = rect.top + kPinTop + (left ? onLeft++ : onRight++) * kPinSpacing;
        const int width = LabelWidth(name);
        const int top = y - kLabelHeight / 2;
        if (left) {
            pin.anchor = {rect.left, y};
            pin.stubEnd = {rect.left + kPinStub, y};
            const int x = pin.stubEnd.x + kPinLabelGap;
            pin.label = {x, top, x + width, top + kLabelHeight};
        } else {
            pin.anchor = {rect.right, y};
            pin.stubEnd = {rect.right - kPinStub, y};
            const int x = pin.stubEnd.x - kPinLabelGap;
            pin.label = {x - width, top, x, top + kLabelHeight};
        }
        pin.name = std::move(name);
        pins.push_back(std::move(pin));
    }
    return pins;
}

std::vector<PinPlace> PinsOf(const CDiagramBlock& block, const CVHDLSignal& childPorts) {
    return PinsOf(block.rect, childPorts);
}

CPixelSize MinimumModuleBlockSize(std::string_view name, const CVHDLSignal* childPorts) {
    if (name.empty())
        return {};
    SideExtent left;
    SideExtent right;
    if (childPorts != nullptr) {
        for (const PinPlace& pin : PinsOf(CPixelRect{}, *childPorts)) {
            SideExtent& side = pin.side == PinSide::Left ? left : right;
            ++side.count;
            side.widestLabel = std::max(side.widestLabel, pin.label.Width());
        }
    }
    // The names of the two sides keep two grid steps apart.
    const int pinsWidth = SideWidth(left) + SideWidth(right) + 2 * kGridStep;
    const int nameWidth = LabelWidth(name) + 2 * kGridStep;
    const int rows = std::max(left.count, right.count);
    const int height = rows == 0 ? 4 * kGridStep : kPinTop + rows * kPinSpacing;
    return {RoundUpToGrid(std::max({pinsWidth, nameWidth, 4 * kGridStep})), height};
}

CPixelRect GrownTo(const CPixelRect& rect, CPixelSize size) {
    return {rect.left, rect.top, std::max(rect.right, rect.left + size.width),
            std::max(rect.bottom, rect.top + size.height)};
}

CPixelRect ModuleNameBand(const CPixelRect& rect) {
    return {rect.left + 2, rect.top + 2, rect.right - 2, rect.top + kNameBandHeight};
}

} // namespace kestra
