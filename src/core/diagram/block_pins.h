#pragma once

#include "diagram/geometry.h"
#include "model/block_colours.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestra {

class CVHDLSignal;
struct CDiagramBlock;

// Where the ports of the child module a module block names come from. The pane answers with
// the child's signal list as it is at the moment of asking, so pins are never kept anywhere.
class IModulePorts {
public:
    virtual ~IModulePorts() = default;
    // The child module's ports; null when no child of that name has a signal list.
    virtual const CVHDLSignal* PortsOf(const std::string& childName) const = 0;
    // The child's generics with the values it has (name, value); empty when not known.
    virtual std::vector<std::pair<std::string, std::string>> GenericsOf(const std::string& childName) const {
        (void)childName;
        return {};
    }
};

// Inputs and linkage ports stand on a module block's left edge, outputs, buffers and inouts on
// its right edge.
enum class PinSide { Left, Right };

struct CPixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const CPixelSize&) const = default;
};

// One pin of a module block, in diagram coordinates: a port of the child, drawn as a stub from
// the block's edge inwards with its name beside the stub.
struct PinPlace {
    std::string name;
    BlockKind kind = BlockKind::InPort; // the port kind of its mode
    PinSide side = PinSide::Left;
    CPixelPoint anchor;  // on the block's edge: where a line attaches
    CPixelPoint stubEnd; // the stub's inner end
    CPixelRect label;    // where the name is written
};

// Pins are kPinSpacing apart, the first kPinTop below the block's top, so that a block on the
// grid has its pins on the grid; the module's name is written in the band above them.
inline constexpr int kPinSpacing = 2 * kGridStep;
inline constexpr int kPinTop = 3 * kGridStep;
inline constexpr int kPinStub = kGridStep;
inline constexpr int kPinLabelGap = 3;
inline constexpr int kLabelHeight = 14;
inline constexpr int kNameBandHeight = 2 * kGridStep;

// The width a name is given in a block, in pixels. The diagram's sizes must not depend on the
// fonts of the computer that shows them (a record would grow differently on each), so the core
// reckons with fixed widths per character, wide enough for the usual 12-pixel sans-serif face;
// a painter whose font is wider fits the text into the width.
int LabelWidth(std::string_view text);

PinSide PinSideOf(BlockKind portKind);

// The pins of a module block at the rectangle for the child's ports, in port order on each
// side; rows without a name or without one of the five modes give no pin.
std::vector<PinPlace> PinsOf(const CPixelRect& rect, const CVHDLSignal& childPorts);
std::vector<PinPlace> PinsOf(const CDiagramBlock& block, const CVHDLSignal& childPorts);

// The smallest size at which a module block shows its name on one line in the band at its top
// and every pin with its whole name, rounded up to the grid. An unnamed block needs nothing.
CPixelSize MinimumModuleBlockSize(std::string_view name, const CVHDLSignal* childPorts);

// The rectangle grown to at least the size, its top-left corner kept.
CPixelRect GrownTo(const CPixelRect& rect, CPixelSize size);

// The band at the top of a module block where its name is written.
CPixelRect ModuleNameBand(const CPixelRect& rect);

} // namespace kestra
