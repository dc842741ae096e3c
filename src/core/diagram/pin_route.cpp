// TEMPORARY: replaced by the layout branch.
#include "diagram/pin_route.h"

#include "diagram/path_clearance.h"
namespace kestra {
std::optional<std::vector<LinePoint>> RoutePinLine(const CBlockList& blocks, const CLineTable& lines,
                                                   const PinLineEnd& from, const PinLineEnd& to,
                                                   int ignoreLineId) {
    CClearanceContext clearance(blocks, lines, from.blockId, to.blockId, ignoreLineId);
    const int dx1 = from.leave == LeaveDirection::Left ? -10 : 10;
    const int dx2 = to.leave == LeaveDirection::Left ? -10 : 10;
    const LinePoint a{from.point.x, from.point.y}, b{to.point.x, to.point.y};
    const LinePoint a1{a.x + dx1, a.y}, b1{b.x + dx2, b.y};
    for (int mid = std::min(a1.x, b1.x); mid <= std::max(a1.x, b1.x); mid += 10) {
        std::vector<LinePoint> path{a, {mid, a.y}, {mid, b.y}, b};
        if (clearance.PathClear(path))
            return path;
    }
    return std::nullopt;
}
} // namespace kestra
