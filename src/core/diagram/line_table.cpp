#include "diagram/line_table.h"

#include <algorithm>
#include <cstdlib>

namespace kestra {

namespace {

// Over the arrowhead at end point p whose neighbour on the line is q. d points from p
// towards q along the axis, the side on which the arrowhead is drawn.
COutline ArrowHitOutline(const LinePoint& p, const LinePoint& q) {
    if (AxisOf(p, q) == SegmentAxis::Vertical) {
        const int d = q.y < p.y ? -1 : 1;
        return COutline(std::vector<CPixelPoint>{
            {p.x - 1, p.y}, {p.x + 1, p.y}, {p.x + 6, p.y + 8 * d}, {p.x - 6, p.y + 8 * d}});
    }
    const int d = q.x < p.x ? -1 : 1;
    return COutline(std::vector<CPixelPoint>{
        {p.x, p.y - 1}, {p.x, p.y + 1}, {p.x + 8 * d, p.y + 6}, {p.x + 8 * d, p.y - 6}});
}

} // namespace

std::vector<COutline> LineHitOutlines(const LineRecord& line) {
    std::vector<COutline> outlines;
    const int m = (line.PenWidth() + 1) / 2 + 1;
    const auto& pts = line.points;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const LinePoint& a = pts[i];
        const LinePoint& b = pts[i + 1];
        if (AxisOf(a, b) != SegmentAxis::Slanted) {
            const CPixelRect bounds{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                    std::max(a.y, b.y)};
            outlines.emplace_back(bounds.Inflate(m, m));
            continue;
        }
        const int dx = std::abs(b.x - a.x);
        const int dy = std::abs(b.y - a.y);
        // A steep segment (height / width rounds to 1 or more) is widened sideways.
        if (2 * dy >= dx) {
            outlines.emplace_back(
                std::vector<CPixelPoint>{{a.x - m, a.y}, {a.x + m, a.y}, {b.x + m, b.y}, {b.x - m, b.y}});
        } else {
            outlines.emplace_back(
                std::vector<CPixelPoint>{{a.x, a.y - m}, {a.x, a.y + m}, {b.x, b.y + m}, {b.x, b.y - m}});
        }
    }
    if (pts.size() >= 2 && !IsUnrouted(line)) {
        const std::size_t n = pts.size();
        if ((line.attributes & LineRecord::ArrowEnd) != 0 &&
            AxisOf(pts[n - 2], pts[n - 1]) != SegmentAxis::Slanted)
            outlines.push_back(ArrowHitOutline(pts[n - 1], pts[n - 2]));
        if ((line.attributes & LineRecord::ArrowHead) != 0 && AxisOf(pts[0], pts[1]) != SegmentAxis::Slanted)
            outlines.push_back(ArrowHitOutline(pts[0], pts[1]));
    }
    return outlines;
}

void CLineTable::Reset() {
    m_lines.clear();
    m_nextId = 0;
    m_horizontal.clear();
    m_vertical.clear();
    m_region.Clear();
    m_regionStale = false;
}

int CLineTable::Add(const LineRecord& line, int id) {
    if (id < 0)
        id = m_nextId;
    // Walks stop at the counter, so it must stay beyond every stored id.
    m_nextId = std::max(m_nextId, id + 1);
    auto it = m_lines.find(id);
    if (it != m_lines.end()) {
        UnindexLine(id, it->second);
        it->second = line;
    } else {
        it = m_lines.emplace(id, line).first;
    }
    IndexLine(id, it->second);
    m_regionStale = true;
    return id;
}

bool CLineTable::Remove(int id) {
    auto it = m_lines.find(id);
    if (it == m_lines.end())
        return false;
    UnindexLine(id, it->second);
    m_lines.erase(it);
    m_regionStale = true;
    return true;
}

const LineRecord* CLineTable::Find(int id) const {
    auto it = m_lines.find(id);
    return it == m_lines.end() ? nullptr : &it->second;
}

const std::vector<CLineTable::SegmentEntry>* CLineTable::Lookup(const Index& index, int key) {
    auto it = index.find(key);
    return it == index.end() || it->second.empty() ? nullptr : &it->second;
}

void CLineTable::IndexLine(int id, const LineRecord& line) {
    if (IsUnrouted(line))
        return;
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
        const LinePoint& a = line.points[i];
        const LinePoint& b = line.points[i + 1];
        switch (AxisOf(a, b)) {
        case SegmentAxis::Vertical:
            m_vertical[a.x].push_back({std::min(a.y, b.y), std::max(a.y, b.y), id});
            break;
        case SegmentAxis::Horizontal:
            m_horizontal[a.y].push_back({std::min(a.x, b.x), std::max(a.x, b.x), id});
            break;
        case SegmentAxis::Slanted:
            break;
        }
    }
}

void CLineTable::UnindexLine(int id, const LineRecord& line) {
    if (IsUnrouted(line))
        return;
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
        const LinePoint& a = line.points[i];
        const LinePoint& b = line.points[i + 1];
        const SegmentAxis axis = AxisOf(a, b);
        if (axis == SegmentAxis::Slanted)
            continue;
        Index& index = axis == SegmentAxis::Vertical ? m_vertical : m_horizontal;
        auto it = index.find(axis == SegmentAxis::Vertical ? a.x : a.y);
        if (it == index.end())
            continue;
        std::erase_if(it->second, [id](const SegmentEntry& entry) { return entry.lineId == id; });
        if (it->second.empty())
            index.erase(it);
    }
}

const CRegion& CLineTable::LineRegion() const {
    if (m_regionStale) {
        m_region.Clear();
        for (const auto& [id, line] : m_lines) {
            for (COutline& outline : LineHitOutlines(line))
                m_region.Add(id, std::move(outline));
        }
        m_regionStale = false;
    }
    return m_region;
}

} // namespace kestra
