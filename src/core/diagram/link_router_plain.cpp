#include "diagram/link_router.h"
#include "diagram/path_clearance.h"
#include "diagram/route_candidates.h"

#include <algorithm>

namespace kestra {

std::optional<CRoutedPath> FindRoutePlain(const CBlockList& blocks, const CLineTable& lines, int fromId,
                                          int toId, int startVariant, bool search, int ignoreLineId) {
    const CDiagramBlock* from = blocks.Find(fromId);
    const CDiagramBlock* to = blocks.Find(toId);
    if (!from || !to || fromId == toId)
        return std::nullopt;
    CRoutedPath result;
    for (int variant : RouteVariantOrder(startVariant, search)) {
        const int orientations = variant < kTwoWayVariantCount ? 2 : 1;
        for (int orientation = 0; orientation < orientations; ++orientation) {
            const bool exchanged = orientation == 1;
            const CPixelRect& a = exchanged ? to->rect : from->rect;
            const CPixelRect& b = exchanged ? from->rect : to->rect;
            const bool found =
                ForEachCandidate(static_cast<RouteShape>(variant), a, b, blocks.Width(), blocks.Height(),
                                 [&](std::span<const LinePoint> candidate) {
                                     std::vector<LinePoint> path(candidate.begin(), candidate.end());
                                     if (exchanged)
                                         std::reverse(path.begin(), path.end());
                                     if (!IsPathClearPlain(blocks, lines, path, fromId, toId, ignoreLineId))
                                         return false;
                                     result.points = std::move(path);
                                     return true;
                                 });
            if (found) {
                result.variant = variant;
                return result;
            }
        }
    }
    return std::nullopt;
}

} // namespace kestra
