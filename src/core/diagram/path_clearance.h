#pragma once

#include "diagram/block_list.h"
#include "diagram/line_table.h"

#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestra {

// Whether p lies on the closed border of r (right and bottom edge lines included) and is not
// one of its four corners: where a line may leave or enter a block.
bool IsOnBorderOffCorner(const CPixelRect& r, const LinePoint& p);

// The path clearance test, done the straightforward way: every segment against every
// obstacle outline and every other line. fromId and toId may be -1 (no such block, as while a
// manual link is being entered); ignoreLineId is the line being replaced, or -1. A path is
// clear when each segment is horizontal or vertical; no segment, without its end pixels and
// widened by a pixel to either side, meets an obstacle or either end block; the first and
// last points leave and enter their blocks on the border, off the corners; and no segment
// runs along (overlapping or touching) a segment of another routed line that joins the same
// two blocks or shares no block with this path.
bool IsPathClearPlain(const CBlockList& blocks, const CLineTable& lines, std::span<const LinePoint> path,
                      int fromId, int toId, int ignoreLineId);

// The same test, answered from per-coordinate lanes: for each horizontal line y (vertical
// line x) that a tested segment lies on, the pixel runs blocked by outlines near it and the
// ranges taken by conflicting lines, built on first use and reused by every later segment on
// that coordinate. One context serves one set of end blocks and ignored line; it must not
// outlive a change of the blocks or lines it reads.
class CClearanceContext {
public:
    CClearanceContext(const CBlockList& blocks, const CLineTable& lines, int fromId, int toId,
                      int ignoreLineId);
    // Lines that never conflict with the path: the other lines of the signal it stands for, which
    // may share its way. Set before the first test.
    void SetKindredLines(std::vector<int> lineIds) { m_kindred = std::move(lineIds); }

    // Segment rules: axis-parallel, clear of outlines, not along a conflicting line.
    bool SegmentClear(const LinePoint& p, const LinePoint& q);
    bool PathClear(std::span<const LinePoint> path);
    const CPixelRect* FromRect() const { return m_from ? &m_from->rect : nullptr; }
    const CPixelRect* ToRect() const { return m_to ? &m_to->rect : nullptr; }

private:
    // Sorted, disjoint half-open runs.
    using Runs = std::vector<std::pair<int, int>>;
    struct Lane {
        Runs blocked;   // pixels along the lane covered within one pixel to either side
        Runs conflicts; // ranges of conflicting segments on the lane
    };
    const Lane& LaneAt(bool vertical, int coordinate);
    bool Conflicts(int lineId) const;
    static bool Hits(const Runs& runs, int from, int to);

    const CLineTable& m_lines;
    const CDiagramBlock* m_from;
    const CDiagramBlock* m_to;
    int m_fromId;
    int m_toId;
    int m_ignoreLineId;
    std::vector<int> m_kindred;
    std::vector<const COutline*> m_outlines;
    std::unordered_map<int, Lane> m_horizontal;
    std::unordered_map<int, Lane> m_vertical;
};

} // namespace kestra
