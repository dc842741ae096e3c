#include "diagram/path_clearance.h"

#include <algorithm>

namespace kestra {

namespace {

int AsId(std::uint32_t stored) {
    return static_cast<int>(static_cast<std::int32_t>(stored));
}

// Lines that join the same two blocks, or none of this path's blocks, may not run along it;
// lines that share exactly one block with it may.
bool LineConflicts(const LineRecord& line, int fromId, int toId) {
    const int a = AsId(line.fromId);
    const int b = AsId(line.toId);
    const bool sameTwo = (a == fromId && b == toId) || (a == toId && b == fromId);
    const bool sharesNone = a != fromId && a != toId && b != fromId && b != toId;
    return sameTwo || sharesNone;
}

// The pixels strictly between the segment's ends, widened by one pixel to either side.
CPixelRect SegmentInterior(const LinePoint& p, const LinePoint& q) {
    if (p.x == q.x)
        return {p.x - 1, std::min(p.y, q.y) + 1, p.x + 2, std::max(p.y, q.y)};
    return {std::min(p.x, q.x) + 1, p.y - 1, std::max(p.x, q.x), p.y + 2};
}

bool RangesMeet(int a0, int a1, int b0, int b1) {
    return a0 <= b1 && b0 <= a1;
}

using Runs = std::vector<std::pair<int, int>>;

// Sorts half-open runs and joins those that overlap or abut.
void Merge(Runs& runs) {
    if (runs.size() < 2)
        return;
    std::sort(runs.begin(), runs.end());
    std::size_t out = 0;
    for (std::size_t i = 1; i < runs.size(); ++i) {
        if (runs[i].first <= runs[out].second)
            runs[out].second = std::max(runs[out].second, runs[i].second);
        else
            runs[++out] = runs[i];
    }
    runs.resize(out + 1);
}

} // namespace

bool IsOnBorderOffCorner(const CPixelRect& r, const LinePoint& p) {
    const bool onVertical = (p.x == r.left || p.x == r.right) && p.y >= r.top && p.y <= r.bottom;
    const bool onHorizontal = (p.y == r.top || p.y == r.bottom) && p.x >= r.left && p.x <= r.right;
    if (!onVertical && !onHorizontal)
        return false;
    return !(onVertical && onHorizontal);
}

bool IsPathClearPlain(const CBlockList& blocks, const CLineTable& lines, std::span<const LinePoint> path,
                      int fromId, int toId, int ignoreLineId) {
    const CDiagramBlock* from = blocks.Find(fromId);
    const CDiagramBlock* to = blocks.Find(toId);
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const LinePoint& p = path[i];
        const LinePoint& q = path[i + 1];
        if (AxisOf(p, q) == SegmentAxis::Slanted)
            return false;
        const CPixelRect interior = SegmentInterior(p, q);
        if (blocks.ObstacleRegion().Intersects(interior) || (from && from->outline.Intersects(interior)) ||
            (to && to->outline.Intersects(interior)))
            return false;
    }
    if (!path.empty()) {
        if (from && !IsOnBorderOffCorner(from->rect, path.front()))
            return false;
        if (to && !IsOnBorderOffCorner(to->rect, path.back()))
            return false;
    }
    for (const auto& [id, line] : lines.Lines()) {
        if (id == ignoreLineId || IsUnrouted(line) || !LineConflicts(line, fromId, toId))
            continue;
        for (std::size_t j = 0; j + 1 < line.points.size(); ++j) {
            const LinePoint& a = line.points[j];
            const LinePoint& b = line.points[j + 1];
            const SegmentAxis axis = AxisOf(a, b);
            for (std::size_t i = 0; i + 1 < path.size(); ++i) {
                const LinePoint& p = path[i];
                const LinePoint& q = path[i + 1];
                if (AxisOf(p, q) != axis)
                    continue;
                if (axis == SegmentAxis::Vertical && p.x == a.x &&
                    RangesMeet(std::min(p.y, q.y), std::max(p.y, q.y), std::min(a.y, b.y),
                               std::max(a.y, b.y)))
                    return false;
                if (axis == SegmentAxis::Horizontal && p.y == a.y &&
                    RangesMeet(std::min(p.x, q.x), std::max(p.x, q.x), std::min(a.x, b.x),
                               std::max(a.x, b.x)))
                    return false;
            }
        }
    }
    return true;
}

CClearanceContext::CClearanceContext(const CBlockList& blocks, const CLineTable& lines, int fromId, int toId,
                                     int ignoreLineId)
    : m_lines(lines), m_from(blocks.Find(fromId)), m_to(blocks.Find(toId)), m_fromId(fromId), m_toId(toId),
      m_ignoreLineId(ignoreLineId) {
    for (const CRegion::Piece& piece : blocks.ObstacleRegion().Pieces())
        m_outlines.push_back(&piece.outline);
    if (m_from)
        m_outlines.push_back(&m_from->outline);
    if (m_to)
        m_outlines.push_back(&m_to->outline);
}

bool CClearanceContext::Conflicts(int lineId) const {
    if (lineId == m_ignoreLineId || std::find(m_kindred.begin(), m_kindred.end(), lineId) != m_kindred.end())
        return false;
    const LineRecord* line = m_lines.Find(lineId);
    return line && LineConflicts(*line, m_fromId, m_toId);
}

const CClearanceContext::Lane& CClearanceContext::LaneAt(bool vertical, int coordinate) {
    auto& lanes = vertical ? m_vertical : m_horizontal;
    auto found = lanes.find(coordinate);
    if (found != lanes.end())
        return found->second;
    Lane lane;
    const int lo = coordinate - 1;
    const int hi = coordinate + 2;
    for (const COutline* outline : m_outlines) {
        const CPixelRect& b = outline->Bounds();
        if (vertical) {
            if (b.left >= hi || b.right <= lo)
                continue;
            if (outline->IsRectangle()) {
                lane.blocked.emplace_back(b.top, b.bottom);
                continue;
            }
            // Rows in which the outline covers any of the lane's three columns.
            for (int y = b.top; y < b.bottom; ++y) {
                bool hit = false;
                outline->ForEachSpan(y, [&](int left, int right) { hit = hit || (left < hi && lo < right); });
                if (hit) {
                    if (!lane.blocked.empty() && lane.blocked.back().second == y)
                        lane.blocked.back().second = y + 1;
                    else
                        lane.blocked.emplace_back(y, y + 1);
                }
            }
        } else {
            if (b.top >= hi || b.bottom <= lo)
                continue;
            for (int y = std::max(lo, b.top); y < std::min(hi, b.bottom); ++y)
                outline->ForEachSpan(y, [&](int left, int right) { lane.blocked.emplace_back(left, right); });
        }
    }
    Merge(lane.blocked);
    if (const auto* entries = vertical ? m_lines.VerticalAt(coordinate) : m_lines.HorizontalAt(coordinate)) {
        for (const CLineTable::SegmentEntry& entry : *entries) {
            if (Conflicts(entry.lineId))
                lane.conflicts.emplace_back(entry.lo, entry.hi + 1);
        }
        Merge(lane.conflicts);
    }
    return lanes.emplace(coordinate, std::move(lane)).first->second;
}

bool CClearanceContext::Hits(const Runs& runs, int from, int to) {
    if (from >= to)
        return false;
    auto it = std::upper_bound(runs.begin(), runs.end(), from,
                               [](int value, const std::pair<int, int>& run) { return value < run.second; });
    return it != runs.end() && it->first < to;
}

bool CClearanceContext::SegmentClear(const LinePoint& p, const LinePoint& q) {
    switch (AxisOf(p, q)) {
    case SegmentAxis::Vertical: {
        const Lane& lane = LaneAt(true, p.x);
        const int y0 = std::min(p.y, q.y);
        const int y1 = std::max(p.y, q.y);
        return !Hits(lane.blocked, y0 + 1, y1) && !Hits(lane.conflicts, y0, y1 + 1);
    }
    case SegmentAxis::Horizontal: {
        const Lane& lane = LaneAt(false, p.y);
        const int x0 = std::min(p.x, q.x);
        const int x1 = std::max(p.x, q.x);
        return !Hits(lane.blocked, x0 + 1, x1) && !Hits(lane.conflicts, x0, x1 + 1);
    }
    case SegmentAxis::Slanted:
        break;
    }
    return false;
}

bool CClearanceContext::PathClear(std::span<const LinePoint> path) {
    if (path.empty())
        return true;
    if (m_from && !IsOnBorderOffCorner(m_from->rect, path.front()))
        return false;
    if (m_to && !IsOnBorderOffCorner(m_to->rect, path.back()))
        return false;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        if (!SegmentClear(path[i], path[i + 1]))
            return false;
    }
    return true;
}

} // namespace kestra
