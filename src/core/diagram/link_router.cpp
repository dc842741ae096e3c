#include "diagram/link_router.h"

#include "diagram/path_clearance.h"
#include "diagram/route_candidates.h"

#include <algorithm>

namespace kestra {

namespace {

// Stored diagrams come from files anyone may have written: blocks far apart with long edges
// make the candidate space vast. A search gives up after this many segment tests, some sixty
// times what the largest diagrams users draw need, and the line stays unrouted.
constexpr long kSegmentTestBudget = 1'000'000;

// One routing request. A clear path needs every one of its segments clear and its two ends
// on the borders, so a segment found blocked rules out every candidate that shares it: each
// shape tests the segments that depend on fewer coordinates in the outer loops and skips
// the inner loops when they are blocked.
class CRouteSearch {
public:
    CRouteSearch(const CBlockList& blocks, const CLineTable& lines, int fromId, int toId, int ignoreLineId)
        : m_clearance(blocks, lines, fromId, toId, ignoreLineId), m_width(blocks.Width()),
          m_height(blocks.Height()) {}

    // The first clear candidate of the shape from a to b, in search order.
    bool Try(RouteShape shape, const CPixelRect& a, const CPixelRect& b, std::vector<LinePoint>& path);
    // The search has spent its budget: every further segment counts as blocked.
    bool Exhausted() const { return m_budget <= 0; }

private:
    bool Seg(const LinePoint& p, const LinePoint& q) {
        if (Exhausted())
            return false;
        --m_budget;
        return m_clearance.SegmentClear(p, q);
    }
    bool Straight(const std::vector<int>& values, bool horizontal, int aEdge, int bEdge, const CPixelRect& a,
                  const CPixelRect& b, std::vector<LinePoint>& path);
    bool Elbow(const std::vector<int>& ys, const std::vector<int>& xs, int aEdge, int bEdge,
               const CPixelRect& a, const CPixelRect& b, std::vector<LinePoint>& path);
    bool Bend(const std::vector<int>& outer, const std::vector<int>& nearA, const std::vector<int>& nearB,
              bool skipEqual, bool horizontalEnds, int aEdge, int bEdge, const CPixelRect& a,
              const CPixelRect& b, std::vector<LinePoint>& path);

    CClearanceContext m_clearance;
    int m_width;
    int m_height;
    long m_budget = kSegmentTestBudget;
};

// (aEdge, v) (bEdge, v) for a horizontal straight line, transposed for a vertical one.
bool CRouteSearch::Straight(const std::vector<int>& values, bool horizontal, int aEdge, int bEdge,
                            const CPixelRect& a, const CPixelRect& b, std::vector<LinePoint>& path) {
    for (int v : values) {
        if (Exhausted())
            return false;
        const LinePoint p0 = horizontal ? LinePoint{aEdge, v} : LinePoint{v, aEdge};
        const LinePoint p1 = horizontal ? LinePoint{bEdge, v} : LinePoint{v, bEdge};
        if (IsOnBorderOffCorner(a, p0) && IsOnBorderOffCorner(b, p1) && Seg(p0, p1)) {
            path = {p0, p1};
            return true;
        }
    }
    return false;
}

// (x, aEdge) (x, y) (bEdge, y), y outermost.
bool CRouteSearch::Elbow(const std::vector<int>& ys, const std::vector<int>& xs, int aEdge, int bEdge,
                         const CPixelRect& a, const CPixelRect& b, std::vector<LinePoint>& path) {
    std::vector<char> leavesA(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        leavesA[i] = IsOnBorderOffCorner(a, {xs[i], aEdge});
    for (int y : ys) {
        if (Exhausted())
            return false;
        const LinePoint p2{bEdge, y};
        if (!IsOnBorderOffCorner(b, p2))
            continue;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const LinePoint p0{xs[i], aEdge};
            const LinePoint p1{xs[i], y};
            if (leavesA[i] && Seg(p1, p2) && Seg(p0, p1)) {
                path = {p0, p1, p2};
                return true;
            }
        }
    }
    return false;
}

// Four points around an outer coordinate o: (aEdge, u) (o, u) (o, w) (bEdge, w) with u from
// nearA and w from nearB, or the transposed points when the ends are vertical.
bool CRouteSearch::Bend(const std::vector<int>& outer, const std::vector<int>& nearA,
                        const std::vector<int>& nearB, bool skipEqual, bool horizontalEnds, int aEdge,
                        int bEdge, const CPixelRect& a, const CPixelRect& b, std::vector<LinePoint>& path) {
    auto at = [horizontalEnds](int along, int across) {
        return horizontalEnds ? LinePoint{along, across} : LinePoint{across, along};
    };
    std::vector<char> leavesA(nearA.size());
    for (std::size_t i = 0; i < nearA.size(); ++i)
        leavesA[i] = IsOnBorderOffCorner(a, at(aEdge, nearA[i]));
    std::vector<char> entersB(nearB.size());
    for (std::size_t j = 0; j < nearB.size(); ++j)
        entersB[j] = IsOnBorderOffCorner(b, at(bEdge, nearB[j]));
    std::vector<char> lastClear(nearB.size());
    for (int o : outer) {
        if (Exhausted())
            return false;
        bool any = false;
        for (std::size_t j = 0; j < nearB.size(); ++j) {
            lastClear[j] = entersB[j] && Seg(at(o, nearB[j]), at(bEdge, nearB[j]));
            any = any || lastClear[j];
        }
        if (!any)
            continue;
        for (std::size_t i = 0; i < nearA.size(); ++i) {
            const LinePoint p0 = at(aEdge, nearA[i]);
            const LinePoint p1 = at(o, nearA[i]);
            if (!leavesA[i] || !Seg(p0, p1))
                continue;
            for (std::size_t j = 0; j < nearB.size(); ++j) {
                if ((skipEqual && nearA[i] == nearB[j]) || !lastClear[j])
                    continue;
                const LinePoint p2 = at(o, nearB[j]);
                if (Seg(p1, p2)) {
                    path = {p0, p1, p2, at(bEdge, nearB[j])};
                    return true;
                }
            }
        }
    }
    return false;
}

bool CRouteSearch::Try(RouteShape shape, const CPixelRect& a, const CPixelRect& b,
                       std::vector<LinePoint>& path) {
    auto sequence = [](int lo, int hi) { return lo > hi ? std::vector<int>{} : CandidateSequence(lo, hi); };
    switch (shape) {
    case RouteShape::StraightAcross:
        return a.right < b.left && Straight(sequence(std::max(a.top, b.top) + kGridStep,
                                                     std::min(a.bottom, b.bottom) - kGridStep),
                                            true, a.right, b.left, a, b, path);
    case RouteShape::StraightDown:
        return a.bottom < b.top && Straight(sequence(std::max(a.left, b.left) + kGridStep,
                                                     std::min(a.right, b.right) - kGridStep),
                                            false, a.bottom, b.top, a, b, path);
    case RouteShape::ElbowDownToLeft:
        return a.left + kGridStep < b.left && a.bottom < b.bottom - kGridStep &&
               Elbow(sequence(std::max(b.top, a.bottom) + kGridStep, b.bottom - kGridStep),
                     sequence(a.left + kGridStep, std::min(a.right, b.left) - kGridStep), a.bottom, b.left, a,
                     b, path);
    case RouteShape::ElbowDownToRight:
        return a.right - kGridStep > b.right && a.bottom < b.bottom - kGridStep &&
               Elbow(sequence(std::max(b.top, a.bottom) + kGridStep, b.bottom - kGridStep),
                     sequence(std::max(a.left, b.right) + kGridStep, a.right - kGridStep), a.bottom, b.right,
                     a, b, path);
    case RouteShape::ElbowUpToLeft:
        return a.left + kGridStep < b.left && a.top > b.top + kGridStep &&
               Elbow(sequence(b.top + kGridStep, std::min(a.top, b.bottom) - kGridStep),
                     sequence(a.left + kGridStep, std::min(a.right, b.left) - kGridStep), a.top, b.left, a, b,
                     path);
    case RouteShape::ElbowUpToRight:
        return a.right - kGridStep > b.right && a.top > b.top + kGridStep &&
               Elbow(sequence(b.top + kGridStep, std::min(a.top, b.bottom) - kGridStep),
                     sequence(std::max(a.left, b.right) + kGridStep, a.right - kGridStep), a.top, b.right, a,
                     b, path);
    case RouteShape::StepAcross:
        // Only the condition counts here: an empty range still gives its middle value.
        return a.right + kGridStep < b.left &&
               Bend(CandidateSequence(a.right + kGridStep, b.left - kGridStep),
                    CandidateSequence(a.top + kGridStep, a.bottom - kGridStep),
                    CandidateSequence(b.top + kGridStep, b.bottom - kGridStep), true, true, a.right, b.left,
                    a, b, path);
    case RouteShape::StepDown:
        return a.bottom + kGridStep < b.top &&
               Bend(CandidateSequence(a.bottom + kGridStep, b.top - kGridStep),
                    CandidateSequence(a.left + kGridStep, a.right - kGridStep),
                    CandidateSequence(b.left + kGridStep, b.right - kGridStep), true, false, a.bottom, b.top,
                    a, b, path);
    case RouteShape::LoopBelow:
    case RouteShape::LoopAbove: {
        const std::vector<int> x1 = sequence(a.left + kGridStep, a.right - kGridStep);
        const std::vector<int> x2 = sequence(b.left + kGridStep, b.right - kGridStep);
        if (x1.empty() || x2.empty())
            return false;
        if (shape == RouteShape::LoopBelow)
            return Bend(
                Stepped(Round10(std::max(a.bottom, b.bottom) + kGridStep), kGridStep, OutwardBound(m_height)),
                x1, x2, false, false, a.bottom, b.bottom, a, b, path);
        return Bend(Stepped(Round10(std::min(a.top, b.top) - kGridStep), -kGridStep, kGridStep), x1, x2,
                    false, false, a.top, b.top, a, b, path);
    }
    case RouteShape::LoopRight:
    case RouteShape::LoopLeft: {
        const std::vector<int> y1 = sequence(a.top + kGridStep, a.bottom - kGridStep);
        const std::vector<int> y2 = sequence(b.top + kGridStep, b.bottom - kGridStep);
        if (y1.empty() || y2.empty())
            return false;
        if (shape == RouteShape::LoopRight)
            return Bend(Stepped(Round10(a.right + kGridStep), kGridStep, OutwardBound(m_width)), y1, y2,
                        false, true, a.right, b.right, a, b, path);
        return Bend(Stepped(Round10(a.left - kGridStep), -kGridStep, kGridStep), y1, y2, false, true, a.left,
                    b.left, a, b, path);
    }
    default:
        return false;
    }
}

} // namespace

std::optional<CRoutedPath> FindRoute(const CBlockList& blocks, const CLineTable& lines, int fromId, int toId,
                                     int startVariant, bool search, int ignoreLineId) {
    const CDiagramBlock* from = blocks.Find(fromId);
    const CDiagramBlock* to = blocks.Find(toId);
    if (!from || !to || fromId == toId)
        return std::nullopt;
    CRouteSearch routeSearch(blocks, lines, fromId, toId, ignoreLineId);
    std::vector<bool> tried(kRouteVariantCount, false);
    CRoutedPath result;
    for (int variant : RouteVariantOrder(startVariant, search)) {
        // Nothing changes between two tries of one variant, so a second try cannot succeed.
        if (variant < 0 || variant >= kRouteVariantCount || tried[static_cast<std::size_t>(variant)])
            continue;
        tried[static_cast<std::size_t>(variant)] = true;
        const RouteShape shape = static_cast<RouteShape>(variant);
        if (routeSearch.Try(shape, from->rect, to->rect, result.points)) {
            result.variant = variant;
            return result;
        }
        if (variant < kTwoWayVariantCount && routeSearch.Try(shape, to->rect, from->rect, result.points)) {
            std::reverse(result.points.begin(), result.points.end());
            result.variant = variant;
            return result;
        }
        if (routeSearch.Exhausted())
            break;
    }
    return std::nullopt;
}

} // namespace kestra
