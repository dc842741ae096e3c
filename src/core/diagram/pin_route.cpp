#include "diagram/pin_route.h"

#include "diagram/path_clearance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace kestra {

namespace {

// A stub, three connecting segments and the other stub.
constexpr std::size_t kMaxPoints = 6;

LinePoint Step(LeaveDirection direction) {
    switch (direction) {
    case LeaveDirection::Left:
        return {-kGridStep, 0};
    case LeaveDirection::Right:
        return {kGridStep, 0};
    case LeaveDirection::Up:
        return {0, -kGridStep};
    case LeaveDirection::Down:
        return {0, kGridStep};
    }
    return {};
}

LinePoint AsLinePoint(const CPixelPoint& p) {
    return {p.x, p.y};
}

LinePoint Plus(const LinePoint& p, const LinePoint& d) {
    return {p.x + d.x, p.y + d.y};
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

int FloorToGrid(int v) {
    return static_cast<int>(std::floor(static_cast<double>(v) / kGridStep)) * kGridStep;
}

int CeilToGrid(int v) {
    return -FloorToGrid(-v);
}

// A path without zero-length segments or two segments in a row on one line, with the figures
// it is ordered by.
struct Candidate {
    std::array<LinePoint, kMaxPoints> points{};
    std::size_t count = 0;
    int length = 0;
    int offMiddle = 0; // how far the middle lane lies from halfway between the stubs (doubled)

    int Bends() const { return static_cast<int>(count) - 2; }
    std::span<const LinePoint> Path() const { return {points.data(), count}; }

    // Adds p after the last point; false when the path would turn back on itself.
    bool Append(const LinePoint& p) {
        if (count > 0 && points[count - 1] == p)
            return true;
        if (count >= 2) {
            const LinePoint& a = points[count - 2];
            const LinePoint& b = points[count - 1];
            if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y)) {
                if (Sign(b.x - a.x) != Sign(p.x - b.x) || Sign(b.y - a.y) != Sign(p.y - b.y))
                    return false;
                points[count - 1] = p;
                return true;
            }
        }
        points[count++] = p;
        return true;
    }
};

int PathLength(const Candidate& c) {
    int length = 0;
    for (std::size_t i = 0; i + 1 < c.count; ++i)
        length += std::abs(c.points[i + 1].x - c.points[i].x) + std::abs(c.points[i + 1].y - c.points[i].y);
    return length;
}

void AddCandidate(std::vector<Candidate>& candidates, std::initializer_list<LinePoint> points,
                  int offMiddle) {
    Candidate c;
    for (const LinePoint& p : points) {
        if (!c.Append(p))
            return;
    }
    if (c.count < 2)
        return;
    c.length = PathLength(c);
    c.offMiddle = offMiddle;
    candidates.push_back(c);
}

// Values for the middle lane of a connection between stub ends at a and b (along the lane's
// cross axis): halfway, every grid value between, the ends themselves, and the values a grid
// step or two outside the near and far edges of every block whose extent along the lane meets
// [spanLo, spanHi] (and of the two end blocks), so that the lane can pass them.
std::vector<int> LaneValues(const CBlockList& blocks, const PinLineEnd& from, const PinLineEnd& to, int a,
                            int b, int spanLo, int spanHi, bool horizontalLane) {
    std::vector<int> values{Round10((a + b) / 2), a, b};
    for (int v = CeilToGrid(std::min(a, b)); v <= std::max(a, b); v += kGridStep)
        values.push_back(v);
    for (const auto& [id, block] : blocks.Blocks()) {
        const CPixelRect& r = block.rect;
        const int lo = horizontalLane ? r.left : r.top;
        const int hi = horizontalLane ? r.right : r.bottom;
        if ((hi < spanLo || lo > spanHi) && id != from.blockId && id != to.blockId)
            continue;
        const int nearEdge = FloorToGrid(horizontalLane ? r.top : r.left);
        const int farEdge = CeilToGrid(horizontalLane ? r.bottom : r.right);
        for (int step = 1; step <= 2; ++step) {
            values.push_back(nearEdge - step * kGridStep);
            values.push_back(farEdge + step * kGridStep);
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// Every path from p0 through the stub ends s0 and s1 to p1 whose connection is one to three
// segments with the middle one on a lane value: straight, L and Z shapes, and U shapes around
// blocks when the lane lies outside the stub ends.
std::vector<Candidate> Candidates(const CBlockList& blocks, const PinLineEnd& from, const PinLineEnd& to,
                                  const LinePoint& s0, const LinePoint& s1) {
    const LinePoint p0 = AsLinePoint(from.point);
    const LinePoint p1 = AsLinePoint(to.point);
    std::vector<Candidate> candidates;
    const int xLo = std::min(s0.x, s1.x);
    const int xHi = std::max(s0.x, s1.x);
    const int yLo = std::min(s0.y, s1.y);
    const int yHi = std::max(s0.y, s1.y);
    for (int y : LaneValues(blocks, from, to, s0.y, s1.y, xLo, xHi, true))
        AddCandidate(candidates, {p0, s0, {s0.x, y}, {s1.x, y}, s1, p1}, std::abs(2 * y - s0.y - s1.y));
    for (int x : LaneValues(blocks, from, to, s0.x, s1.x, yLo, yHi, false))
        AddCandidate(candidates, {p0, s0, {x, s0.y}, {x, s1.y}, s1, p1}, std::abs(2 * x - s0.x - s1.x));
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.length != b.length)
            return a.length < b.length;
        if (a.Bends() != b.Bends())
            return a.Bends() < b.Bends();
        return a.offMiddle < b.offMiddle;
    });
    return candidates;
}

std::vector<LinePoint> ToVector(const Candidate& c) {
    return {c.points.begin(), c.points.begin() + static_cast<std::ptrdiff_t>(c.count)};
}

} // namespace

std::optional<std::vector<LinePoint>> RoutePinLine(const CBlockList& blocks, const CLineTable& lines,
                                                   const PinLineEnd& from, const PinLineEnd& to,
                                                   int ignoreLineId, const std::vector<int>& kindred) {
    const LinePoint p0 = AsLinePoint(from.point);
    const LinePoint p1 = AsLinePoint(to.point);
    if (p0 == p1)
        return std::nullopt;
    CClearanceContext clearance(blocks, lines, from.blockId, to.blockId, ignoreLineId);
    clearance.SetKindredLines(kindred);
    const LinePoint d0 = Step(from.leave);
    const LinePoint d1 = Step(to.leave);
    // Facing each other on one line: the straight line, however close the ends are.
    const bool facing = d0.x == -d1.x && d0.y == -d1.y && (d0.x != 0 ? p0.y == p1.y : p0.x == p1.x) &&
                        Sign(p1.x - p0.x) == Sign(d0.x) && Sign(p1.y - p0.y) == Sign(d0.y);
    const std::array<LinePoint, 2> direct{p0, p1};
    if (facing && clearance.PathClear(direct))
        return std::vector<LinePoint>(direct.begin(), direct.end());
    const LinePoint s0 = Plus(p0, d0);
    const LinePoint s1 = Plus(p1, d1);
    // Every other path starts and ends with these stubs.
    if (!clearance.SegmentClear(p0, s0) || !clearance.SegmentClear(s1, p1))
        return std::nullopt;
    for (const Candidate& candidate : Candidates(blocks, from, to, s0, s1)) {
        if (clearance.PathClear(candidate.Path()))
            return ToVector(candidate);
    }
    return std::nullopt;
}

} // namespace kestra
