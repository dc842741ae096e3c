#pragma once

#include "diagram/geometry.h"
#include "model/block_data.h"

#include <vector>

namespace kestra {

class CBlockDiagram;

// The points of a manual link being entered, from its first point on the from block's border
// to the click that ends on another block. Every accepted point keeps the path clear of the
// blocks and lines and keeps it from doubling back.
class CManualLinkEntry {
public:
    enum class Outcome { Appended, Committed, Refused };

    bool IsActive() const { return !m_points.empty(); }
    int FromBlock() const { return m_fromId; }
    const std::vector<LinePoint>& Points() const { return m_points; }
    void Clear();

    // Places the first point on the side of r nearest to the click (left, right, top, bottom
    // in that order on a tie), kept 10 pixels in from the corners when the click lies beyond.
    void Start(int fromId, const CPixelRect& r, LinePoint click);
    // The corner point a click adds after the last point: along whichever axis the click is
    // further away.
    static LinePoint NextCandidate(const LinePoint& last, const LinePoint& click);
    // Adds the click's candidate point, or stores the link when it ends on another block
    // (lineId then names the new line). Refused clicks change nothing.
    Outcome Click(CBlockDiagram& diagram, LinePoint click, int& lineId);

private:
    int m_fromId = -1;
    std::vector<LinePoint> m_points;
};

} // namespace kestra
