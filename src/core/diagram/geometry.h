#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace kestra {

// Pixel geometry of the diagram. Coordinates are signed diagram pixels, x to the right and
// y downwards. A coordinate names the boundary before a pixel: pixel (x, y) is the unit
// square from (x, y) to (x + 1, y + 1), with its centre at (x + 0.5, y + 0.5).

// The diagram's grid: blocks snap to it and lines are routed along it.
inline constexpr int kGridStep = 10;

// The multiple of 10 (the grid step) nearest to v, halves rounded away from zero.
int Round10(int v);

struct CPixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CPixelPoint&) const = default;
};

// A rectangle covers the pixels left .. right - 1 and top .. bottom - 1; it is empty when
// right <= left or bottom <= top.
struct CPixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static CPixelRect FromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    CPixelPoint Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    // Pixel coverage: the pixel at p is one of the rectangle's.
    bool ContainsPixel(CPixelPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // The closed rectangle, its right and bottom edge lines included.
    bool ContainsClosed(CPixelPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    // The two rectangles share at least one pixel.
    bool Intersects(const CPixelRect& other) const {
        return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right &&
               top < other.bottom && other.top < bottom;
    }
    CPixelRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    CPixelRect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    bool operator==(const CPixelRect&) const = default;
};

// A set of pixels given by a rectangle or by a polygon. A polygon covers the pixels whose
// centres lie inside it by the even-odd rule; a centre exactly on a vertical or slanted edge
// belongs to the pixel span on the edge's right (spans are half-open), so the polygon of a
// rectangle covers exactly the pixels that the rectangle covers. A polygon's spans are worked
// out for a row when the row is asked for, so an outline takes memory by its corners, never by
// its height.
class COutline {
public:
    COutline() = default;
    explicit COutline(const CPixelRect& rect);
    explicit COutline(const std::vector<CPixelPoint>& polygon);

    // A rectangle holding every covered pixel: the rectangle itself, or the box of a polygon's
    // corners (empty for an empty outline).
    const CPixelRect& Bounds() const { return m_bounds; }
    bool IsEmpty() const { return m_bounds.IsEmpty(); }
    bool IsRectangle() const { return m_isRect; }
    bool ContainsPixel(CPixelPoint p) const;
    bool Intersects(const CPixelRect& rect) const;
    // Calls visit(left, right) for every run of covered pixels in row y (right exclusive).
    template <typename Visit>
    void ForEachSpan(int y, Visit&& visit) const {
        if (y < m_bounds.top || y >= m_bounds.bottom)
            return;
        if (m_isRect) {
            visit(m_bounds.left, m_bounds.right);
            return;
        }
        const std::vector<int>& crossings = RowCrossings(y);
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            if (crossings[i] < crossings[i + 1])
                visit(crossings[i], crossings[i + 1]);
        }
    }
    COutline Offset(int dx, int dy) const;

private:
    // Where the polygon's edges cross the centre line of row y, sorted; reused per thread.
    const std::vector<int>& RowCrossings(int y) const;

    CPixelRect m_bounds;
    bool m_isRect = true;
    std::vector<CPixelPoint> m_polygon;
};

// A union of outlines, each under a key (a block id or a line id) so that one member can be
// taken out again without disturbing the others where they overlap.
class CRegion {
public:
    struct Piece {
        int key;
        COutline outline;
    };

    void Clear() { m_pieces.clear(); }
    void Add(int key, COutline outline);
    void Remove(int key);
    bool IsEmpty() const { return m_pieces.empty(); }
    bool ContainsPixel(CPixelPoint p) const;
    bool Intersects(const CPixelRect& rect) const;
    const std::vector<Piece>& Pieces() const { return m_pieces; }

private:
    std::vector<Piece> m_pieces;
};

} // namespace kestra
