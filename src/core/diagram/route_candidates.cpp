#include "diagram/route_candidates.h"

#include <algorithm>
#include <array>

namespace kestra {

std::vector<int> CandidateSequence(int lo, int hi) {
    std::vector<int> values;
    const int m = Round10((lo + hi) / 2);
    for (int c = m; values.empty() || (c >= lo && c <= hi);) {
        values.push_back(c);
        c = c < m ? m + (m - c) : m + (m - c) - 10;
    }
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
    return (Round10(extent) / 10 + 1) * 10;
}

namespace {

std::vector<int> Stepped(int first, int step, int bound) {
    std::vector<int> values;
    for (int v = first; step > 0 ? v <= bound : v >= bound; v += step)
        values.push_back(v);
    return values;
}

} // namespace

bool ForEachCandidate(int variant, const CPixelRect& a, const CPixelRect& b, int width, int height,
                      const std::function<bool(std::span<const LinePoint>)>& visit) {
    auto two = [&](LinePoint p0, LinePoint p1) {
        const std::array<LinePoint, 2> path{p0, p1};
        return visit(path);
    };
    auto three = [&](LinePoint p0, LinePoint p1, LinePoint p2) {
        const std::array<LinePoint, 3> path{p0, p1, p2};
        return visit(path);
    };
    auto four = [&](LinePoint p0, LinePoint p1, LinePoint p2, LinePoint p3) {
        const std::array<LinePoint, 4> path{p0, p1, p2, p3};
        return visit(path);
    };
    auto empty = [](int lo, int hi) { return lo > hi; };
    switch (variant) {
    case 0: {
        const int lo = std::max(a.top, b.top) + 10, hi = std::min(a.bottom, b.bottom) - 10;
        if (!(a.right < b.left) || empty(lo, hi))
            return false;
        for (int y : CandidateSequence(lo, hi))
            if (two({a.right, y}, {b.left, y}))
                return true;
        return false;
    }
    case 1: {
        const int lo = std::max(a.left, b.left) + 10, hi = std::min(a.right, b.right) - 10;
        if (!(a.bottom < b.top) || empty(lo, hi))
            return false;
        for (int x : CandidateSequence(lo, hi))
            if (two({x, a.bottom}, {x, b.top}))
                return true;
        return false;
    }
    case 2:
    case 3:
    case 4:
    case 5: {
        const bool toLeftSide = variant == 2 || variant == 4; // the path enters b at b.left
        const bool fromBottom = variant == 2 || variant == 3;
        const bool applies = (toLeftSide ? a.left + 10 < b.left : a.right - 10 > b.right) &&
                             (fromBottom ? a.bottom < b.bottom - 10 : a.top > b.top + 10);
        const int yLo = fromBottom ? std::max(b.top, a.bottom) + 10 : b.top + 10;
        const int yHi = fromBottom ? b.bottom - 10 : std::min(a.top, b.bottom) - 10;
        const int xLo = toLeftSide ? a.left + 10 : std::max(a.left, b.right) + 10;
        const int xHi = toLeftSide ? std::min(a.right, b.left) - 10 : a.right - 10;
        if (!applies || empty(yLo, yHi) || empty(xLo, xHi))
            return false;
        const int aEdge = fromBottom ? a.bottom : a.top;
        const int bEdge = toLeftSide ? b.left : b.right;
        for (int y : CandidateSequence(yLo, yHi))
            for (int x : CandidateSequence(xLo, xHi))
                if (three({x, aEdge}, {x, y}, {bEdge, y}))
                    return true;
        return false;
    }
    case 6: {
        if (!(a.right + 10 < b.left))
            return false;
        for (int xm : CandidateSequence(a.right + 10, b.left - 10))
            for (int y1 : CandidateSequence(a.top + 10, a.bottom - 10))
                for (int y2 : CandidateSequence(b.top + 10, b.bottom - 10))
                    if (y1 != y2 && four({a.right, y1}, {xm, y1}, {xm, y2}, {b.left, y2}))
                        return true;
        return false;
    }
    case 7: {
        if (!(a.bottom + 10 < b.top))
            return false;
        for (int ym : CandidateSequence(a.bottom + 10, b.top - 10))
            for (int x1 : CandidateSequence(a.left + 10, a.right - 10))
                for (int x2 : CandidateSequence(b.left + 10, b.right - 10))
                    if (x1 != x2 && four({x1, a.bottom}, {x1, ym}, {x2, ym}, {x2, b.top}))
                        return true;
        return false;
    }
    case 8:
    case 9: {
        if (empty(a.left + 10, a.right - 10) || empty(b.left + 10, b.right - 10))
            return false;
        const bool below = variant == 8;
        const std::vector<int> yms =
            below ? Stepped(Round10(std::max(a.bottom, b.bottom) + 10), 10, OutwardBound(height))
                  : Stepped(Round10(std::min(a.top, b.top) - 10), -10, 10);
        const int aEdge = below ? a.bottom : a.top;
        const int bEdge = below ? b.bottom : b.top;
        for (int ym : yms)
            for (int x1 : CandidateSequence(a.left + 10, a.right - 10))
                for (int x2 : CandidateSequence(b.left + 10, b.right - 10))
                    if (four({x1, aEdge}, {x1, ym}, {x2, ym}, {x2, bEdge}))
                        return true;
        return false;
    }
    case 10:
    case 11: {
        if (empty(a.top + 10, a.bottom - 10) || empty(b.top + 10, b.bottom - 10))
            return false;
        const bool right = variant == 10;
        const std::vector<int> xms = right ? Stepped(Round10(a.right + 10), 10, OutwardBound(width))
                                           : Stepped(Round10(a.left - 10), -10, 10);
        const int aEdge = right ? a.right : a.left;
        const int bEdge = right ? b.right : b.left;
        for (int xm : xms)
            for (int y1 : CandidateSequence(a.top + 10, a.bottom - 10))
                for (int y2 : CandidateSequence(b.top + 10, b.bottom - 10))
                    if (four({aEdge, y1}, {xm, y1}, {xm, y2}, {bEdge, y2}))
                        return true;
        return false;
    }
    default:
        return false;
    }
}

} // namespace kestra
