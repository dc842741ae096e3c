#pragma once

#include "diagram/geometry.h"
#include "model/block_data.h"

#include <map>
#include <unordered_map>
#include <vector>

namespace kestra {

inline bool IsUnrouted(const LineRecord& line) {
    return (line.attributes & LineRecord::Unrouted) != 0;
}

// A segment whose ends share x counts as vertical (so does a zero-length one); otherwise one
// whose ends share y is horizontal; anything else is slanted.
enum class SegmentAxis { Vertical, Horizontal, Slanted };
inline SegmentAxis AxisOf(const LinePoint& p, const LinePoint& q) {
    if (p.x == q.x)
        return SegmentAxis::Vertical;
    return p.y == q.y ? SegmentAxis::Horizontal : SegmentAxis::Slanted;
}

// The pixels around a line that pick it: every segment widened by the margin
// (pen width + 1) / 2 + 1, plus a quadrilateral over each arrowhead.
std::vector<COutline> LineHitOutlines(const LineRecord& line);

// The live diagram's connection lines by line id. Ids come from a counter that only grows
// while the diagram is shown, so walks over the table run in id order up to NextId(). Besides
// the lines it keeps an index of their axis-parallel segments by coordinate (lines that are
// not `Unrouted` only, the ones a new path may not run along) and the line region, the union
// of all hit outlines, rebuilt on demand after a change.
class CLineTable {
public:
    struct SegmentEntry {
        int lo; // range along the segment, ends included
        int hi;
        int lineId;
    };

    void Reset();
    // Stores a copy under id, or under the next id when id is -1; replaces any line there.
    int Add(const LineRecord& line, int id);
    bool Remove(int id);
    const LineRecord* Find(int id) const;
    const std::map<int, LineRecord>& Lines() const { return m_lines; }
    int NextId() const { return m_nextId; }
    int Count() const { return static_cast<int>(m_lines.size()); }

    // Segments of indexed lines lying on the horizontal line y (vertical line x); null for none.
    const std::vector<SegmentEntry>* HorizontalAt(int y) const { return Lookup(m_horizontal, y); }
    const std::vector<SegmentEntry>* VerticalAt(int x) const { return Lookup(m_vertical, x); }

    const CRegion& LineRegion() const;

private:
    using Index = std::unordered_map<int, std::vector<SegmentEntry>>;
    static const std::vector<SegmentEntry>* Lookup(const Index& index, int key);
    void IndexLine(int id, const LineRecord& line);
    void UnindexLine(int id, const LineRecord& line);

    std::map<int, LineRecord> m_lines;
    int m_nextId = 0;
    Index m_horizontal;
    Index m_vertical;
    mutable CRegion m_region;
    mutable bool m_regionStale = false;
};

} // namespace kestra
