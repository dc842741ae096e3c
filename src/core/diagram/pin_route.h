#pragma once

#include "diagram/block_list.h"
#include "diagram/line_table.h"
#include "model/block_data.h"

#include <optional>
#include <vector>

namespace kestra {

// Which way a line leaves a point on a block's border.
enum class LeaveDirection { Left, Right, Up, Down };

// One end of a pin line: the point on the block's border where the line attaches and the way it
// leaves the block there.
struct PinLineEnd {
    int blockId = -1;
    CPixelPoint point;
    LeaveDirection leave = LeaveDirection::Right;
};

// An axis-parallel path from one end to the other that the diagram's clearance test accepts
// (CClearanceContext with the two blocks and the ignored line): it leaves the first point in its
// direction, enters the last point against the last end's direction, keeps clear of every other
// block and does not run along conflicting lines. Shorter paths with fewer bends come first;
// nothing when no path of up to five segments within the searched lanes is clear. A path runs at
// least a grid step straight out of each end (ends facing each other on one line are joined
// however close they are); between those stubs it runs straight or turns once or twice, its
// middle segment on a lane halfway, anywhere between the stubs, or a grid step or two beyond an
// edge of a block in the way or of either end block (the U shapes around blocks). The points
// are on the grid when the ends are. Lines in `kindred` (the other lines of the same signal) may
// share the path's way.
std::optional<std::vector<LinePoint>> RoutePinLine(const CBlockList& blocks, const CLineTable& lines,
                                                   const PinLineEnd& from, const PinLineEnd& to,
                                                   int ignoreLineId, const std::vector<int>& kindred = {});

} // namespace kestra
