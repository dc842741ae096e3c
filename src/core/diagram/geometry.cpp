#include "diagram/geometry.h"

#include <algorithm>
#include <limits>

namespace kestra {

namespace {

// Floor of a / d for d > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t d) {
    std::int64_t q = a / d;
    if ((a % d) != 0 && a < 0)
        --q;
    return q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t d) {
    return -FloorDiv(-a, d);
}

// The first pixel column whose centre lies at or right of where the edge crosses the centre
// line of row y (the edge must cross it).
int CrossingColumn(const CPixelPoint& a, const CPixelPoint& b, int y) {
    std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
    std::int64_t num = (static_cast<std::int64_t>(b.x) - a.x) *
                       (2 * static_cast<std::int64_t>(y) + 1 - 2 * static_cast<std::int64_t>(a.y));
    // Crossing at x = a.x + num / (2 dy); the centre x + 0.5 must be at or beyond it.
    std::int64_t top = num - dy;
    std::int64_t den = 2 * dy;
    if (den < 0) {
        top = -top;
        den = -den;
    }
    return static_cast<int>(a.x + CeilDiv(top, den));
}

} // namespace

int Round10(int v) {
    if (v >= 0)
        return ((v + 5) / 10) * 10;
    return -(((-v + 5) / 10) * 10);
}

COutline::COutline(const CPixelRect& rect) : m_bounds(rect) {
    if (rect.IsEmpty())
        m_bounds = {};
}

COutline::COutline(const std::vector<CPixelPoint>& polygon) : m_isRect(false), m_polygon(polygon) {
    if (polygon.size() < 3) {
        m_isRect = true;
        m_polygon.clear();
        return;
    }
    int minX = std::numeric_limits<int>::max();
    int maxX = std::numeric_limits<int>::min();
    int minY = std::numeric_limits<int>::max();
    int maxY = std::numeric_limits<int>::min();
    for (const CPixelPoint& p : polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    m_bounds = {minX, minY, maxX, maxY};
    if (m_bounds.IsEmpty()) {
        m_isRect = true;
        m_bounds = {};
        m_polygon.clear();
    }
}

const std::vector<int>& COutline::RowCrossings(int y) const {
    thread_local std::vector<int> crossings;
    crossings.clear();
    for (std::size_t i = 0; i < m_polygon.size(); ++i) {
        const CPixelPoint& a = m_polygon[i];
        const CPixelPoint& b = m_polygon[(i + 1) % m_polygon.size()];
        // The centre line y + 0.5 lies strictly between the ends of a crossing edge.
        if (std::min(a.y, b.y) <= y && y < std::max(a.y, b.y))
            crossings.push_back(CrossingColumn(a, b, y));
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

bool COutline::ContainsPixel(CPixelPoint p) const {
    if (!m_bounds.ContainsPixel(p))
        return false;
    if (m_isRect)
        return true;
    bool inside = false;
    ForEachSpan(p.y, [&](int left, int right) { inside = inside || (p.x >= left && p.x < right); });
    return inside;
}

bool COutline::Intersects(const CPixelRect& rect) const {
    if (!m_bounds.Intersects(rect))
        return false;
    if (m_isRect)
        return true;
    const int top = std::max(rect.top, m_bounds.top);
    const int bottom = std::min(rect.bottom, m_bounds.bottom);
    for (int y = top; y < bottom; ++y) {
        bool hit = false;
        ForEachSpan(y, [&](int left, int right) { hit = hit || (left < rect.right && rect.left < right); });
        if (hit)
            return true;
    }
    return false;
}

COutline COutline::Offset(int dx, int dy) const {
    COutline moved = *this;
    moved.m_bounds = m_bounds.IsEmpty() ? m_bounds : m_bounds.Offset(dx, dy);
    for (CPixelPoint& p : moved.m_polygon) {
        p.x += dx;
        p.y += dy;
    }
    return moved;
}

void CRegion::Add(int key, COutline outline) {
    if (!outline.IsEmpty())
        m_pieces.push_back({key, std::move(outline)});
}

void CRegion::Remove(int key) {
    std::erase_if(m_pieces, [key](const Piece& piece) { return piece.key == key; });
}

bool CRegion::ContainsPixel(CPixelPoint p) const {
    return std::any_of(m_pieces.begin(), m_pieces.end(),
                       [&](const Piece& piece) { return piece.outline.ContainsPixel(p); });
}

bool CRegion::Intersects(const CPixelRect& rect) const {
    return std::any_of(m_pieces.begin(), m_pieces.end(),
                       [&](const Piece& piece) { return piece.outline.Intersects(rect); });
}

} // namespace kestra
