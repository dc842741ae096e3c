#include "diagram/route_candidates.h"

#include <algorithm>
#include <initializer_list>

namespace kestra {

std::vector<int> CandidateSequence(int lo, int hi) {
    std::vector<int> values;
    const int m = Round10((lo + hi) / 2);
    for (int c = m; values.empty() || (c >= lo && c <= hi);) {
        values.push_back(c);
        c = c < m ? m + (m - c) : m + (m - c) - kGridStep;
    }
    return values;
}

std::vector<int> Stepped(int first, int step, int bound) {
    std::vector<int> values;
    for (int v = first; step > 0 ? v <= bound : v >= bound; v += step)
        values.push_back(v);
    return values;
}

std::vector<int> RouteVariantOrder(int start, bool search) {
    std::vector<int> order;
    if (search) {
        if (start != 0)
            order.push_back(start);
        for (int v = 0; v < kRouteVariantCount; ++v)
            order.push_back(v);
        return order;
    }
    for (int v = start; v < kRouteVariantCount; ++v)
        order.push_back(v);
    for (int v = 0; v < start; ++v)
        order.push_back(v);
    if (order.empty())
        order.push_back(start);
    return order;
}

int OutwardBound(int extent) {
    return (Round10(extent) / kGridStep + 1) * kGridStep;
}

namespace {

using CandidateVisit = std::function<bool(std::span<const LinePoint>)>;

bool Visit(const CandidateVisit& visit, std::initializer_list<LinePoint> path) {
    return visit(std::span<const LinePoint>(path.begin(), path.size()));
}

bool IsEmpty(int lo, int hi) {
    return lo > hi;
}

// The grid values of [lo, hi] kept a grid step inside both ends, from the middle outwards.
std::vector<int> Inside(int lo, int hi) {
    return CandidateSequence(lo + kGridStep, hi - kGridStep);
}

// One segment across the overlap of the blocks' facing sides.
bool Straight(RouteShape shape, const CPixelRect& a, const CPixelRect& b, const CandidateVisit& visit) {
    if (shape == RouteShape::StraightAcross) {
        const int lo = std::max(a.top, b.top) + kGridStep;
        const int hi = std::min(a.bottom, b.bottom) - kGridStep;
        if (!(a.right < b.left) || IsEmpty(lo, hi))
            return false;
        for (int y : CandidateSequence(lo, hi)) {
            if (Visit(visit, {{a.right, y}, {b.left, y}}))
                return true;
        }
        return false;
    }
    const int lo = std::max(a.left, b.left) + kGridStep;
    const int hi = std::min(a.right, b.right) - kGridStep;
    if (!(a.bottom < b.top) || IsEmpty(lo, hi))
        return false;
    for (int x : CandidateSequence(lo, hi)) {
        if (Visit(visit, {{x, a.bottom}, {x, b.top}}))
            return true;
    }
    return false;
}

// Up or down from a, then across into b's side: (x, a's edge) (x, y) (b's edge, y), y outermost.
bool Elbow(RouteShape shape, const CPixelRect& a, const CPixelRect& b, const CandidateVisit& visit) {
    const bool toLeftSide = shape == RouteShape::ElbowDownToLeft || shape == RouteShape::ElbowUpToLeft;
    const bool fromBottom = shape == RouteShape::ElbowDownToLeft || shape == RouteShape::ElbowDownToRight;
    const bool applies = (toLeftSide ? a.left + kGridStep < b.left : a.right - kGridStep > b.right) &&
                         (fromBottom ? a.bottom < b.bottom - kGridStep : a.top > b.top + kGridStep);
    const int yLo = fromBottom ? std::max(b.top, a.bottom) + kGridStep : b.top + kGridStep;
    const int yHi = fromBottom ? b.bottom - kGridStep : std::min(a.top, b.bottom) - kGridStep;
    const int xLo = toLeftSide ? a.left + kGridStep : std::max(a.left, b.right) + kGridStep;
    const int xHi = toLeftSide ? std::min(a.right, b.left) - kGridStep : a.right - kGridStep;
    if (!applies || IsEmpty(yLo, yHi) || IsEmpty(xLo, xHi))
        return false;
    const int aEdge = fromBottom ? a.bottom : a.top;
    const int bEdge = toLeftSide ? b.left : b.right;
    for (int y : CandidateSequence(yLo, yHi)) {
        for (int x : CandidateSequence(xLo, xHi)) {
            if (Visit(visit, {{x, aEdge}, {x, y}, {bEdge, y}}))
                return true;
        }
    }
    return false;
}

// Across (or down), a turn in the gap between the blocks, and across (or down) again; the two
// ends at different heights (or columns).
bool Step(RouteShape shape, const CPixelRect& a, const CPixelRect& b, const CandidateVisit& visit) {
    if (shape == RouteShape::StepAcross) {
        if (!(a.right + kGridStep < b.left))
            return false;
        for (int xm : Inside(a.right, b.left)) {
            for (int y1 : Inside(a.top, a.bottom)) {
                for (int y2 : Inside(b.top, b.bottom)) {
                    if (y1 != y2 && Visit(visit, {{a.right, y1}, {xm, y1}, {xm, y2}, {b.left, y2}}))
                        return true;
                }
            }
        }
        return false;
    }
    if (!(a.bottom + kGridStep < b.top))
        return false;
    for (int ym : Inside(a.bottom, b.top)) {
        for (int x1 : Inside(a.left, a.right)) {
            for (int x2 : Inside(b.left, b.right)) {
                if (x1 != x2 && Visit(visit, {{x1, a.bottom}, {x1, ym}, {x2, ym}, {x2, b.top}}))
                    return true;
            }
        }
    }
    return false;
}

// From both bottoms (or tops) to a horizontal line beyond both blocks, walked outwards to the
// diagram's height (or its top).
bool LoopBelowOrAbove(RouteShape shape, const CPixelRect& a, const CPixelRect& b, int height,
                      const CandidateVisit& visit) {
    if (IsEmpty(a.left + kGridStep, a.right - kGridStep) || IsEmpty(b.left + kGridStep, b.right - kGridStep))
        return false;
    const bool below = shape == RouteShape::LoopBelow;
    const std::vector<int> yms =
        below ? Stepped(Round10(std::max(a.bottom, b.bottom) + kGridStep), kGridStep, OutwardBound(height))
              : Stepped(Round10(std::min(a.top, b.top) - kGridStep), -kGridStep, kGridStep);
    const int aEdge = below ? a.bottom : a.top;
    const int bEdge = below ? b.bottom : b.top;
    for (int ym : yms) {
        for (int x1 : Inside(a.left, a.right)) {
            for (int x2 : Inside(b.left, b.right)) {
                if (Visit(visit, {{x1, aEdge}, {x1, ym}, {x2, ym}, {x2, bEdge}}))
                    return true;
            }
        }
    }
    return false;
}

// From both right (or left) sides to a vertical line beyond a, walked outwards to the diagram's
// width (or its left edge).
bool LoopRightOrLeft(RouteShape shape, const CPixelRect& a, const CPixelRect& b, int width,
                     const CandidateVisit& visit) {
    if (IsEmpty(a.top + kGridStep, a.bottom - kGridStep) || IsEmpty(b.top + kGridStep, b.bottom - kGridStep))
        return false;
    const bool right = shape == RouteShape::LoopRight;
    const std::vector<int> xms = right ? Stepped(Round10(a.right + kGridStep), kGridStep, OutwardBound(width))
                                       : Stepped(Round10(a.left - kGridStep), -kGridStep, kGridStep);
    const int aEdge = right ? a.right : a.left;
    const int bEdge = right ? b.right : b.left;
    for (int xm : xms) {
        for (int y1 : Inside(a.top, a.bottom)) {
            for (int y2 : Inside(b.top, b.bottom)) {
                if (Visit(visit, {{aEdge, y1}, {xm, y1}, {xm, y2}, {bEdge, y2}}))
                    return true;
            }
        }
    }
    return false;
}

} // namespace

bool ForEachCandidate(RouteShape shape, const CPixelRect& a, const CPixelRect& b, int width, int height,
                      const CandidateVisit& visit) {
    switch (shape) {
    case RouteShape::StraightAcross:
    case RouteShape::StraightDown:
        return Straight(shape, a, b, visit);
    case RouteShape::ElbowDownToLeft:
    case RouteShape::ElbowDownToRight:
    case RouteShape::ElbowUpToLeft:
    case RouteShape::ElbowUpToRight:
        return Elbow(shape, a, b, visit);
    case RouteShape::StepAcross:
    case RouteShape::StepDown:
        return Step(shape, a, b, visit);
    case RouteShape::LoopBelow:
    case RouteShape::LoopAbove:
        return LoopBelowOrAbove(shape, a, b, height, visit);
    case RouteShape::LoopRight:
    case RouteShape::LoopLeft:
        return LoopRightOrLeft(shape, a, b, width, visit);
    }
    return false;
}

} // namespace kestra
