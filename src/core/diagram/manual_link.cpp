#include "diagram/manual_link.h"

#include "diagram/block_diagram.h"

#include <algorithm>
#include <cstdlib>

namespace kestra {

namespace {

bool Between(int value, int a, int b) {
    return value >= std::min(a, b) && value <= std::max(a, b);
}

} // namespace

void CManualLinkEntry::Clear() {
    m_points.clear();
    m_fromId = -1;
}

void CManualLinkEntry::Start(int fromId, const CPixelRect& r, LinePoint click) {
    Clear();
    m_fromId = fromId;
    const int distances[4] = {std::abs(click.x - r.left), std::abs(click.x - r.right),
                              std::abs(click.y - r.top), std::abs(click.y - r.bottom)};
    const int side =
        static_cast<int>(std::min_element(std::begin(distances), std::end(distances)) - distances);
    auto inside = [](int v, int lo, int hi) {
        if (v <= lo)
            return lo + 10;
        if (v >= hi)
            return hi - 10;
        return v;
    };
    switch (side) {
    case 0:
        m_points.push_back({r.left, inside(click.y, r.top, r.bottom)});
        break;
    case 1:
        m_points.push_back({r.right, inside(click.y, r.top, r.bottom)});
        break;
    case 2:
        m_points.push_back({inside(click.x, r.left, r.right), r.top});
        break;
    default:
        m_points.push_back({inside(click.x, r.left, r.right), r.bottom});
        break;
    }
}

LinePoint CManualLinkEntry::NextCandidate(const LinePoint& last, const LinePoint& click) {
    if (std::abs(last.x - click.x) < std::abs(last.y - click.y))
        return {last.x, click.y};
    return {click.x, last.y};
}

CManualLinkEntry::Outcome CManualLinkEntry::Click(CBlockDiagram& diagram, LinePoint click, int& lineId) {
    lineId = -1;
    const CDiagramBlock* from = diagram.FindBlock(m_fromId);
    if (!from || m_points.empty())
        return Outcome::Refused;
    const LinePoint last = m_points.back();
    LinePoint candidate = NextCandidate(last, click);
    const bool vertical = candidate.x == last.x && candidate.y != last.y;
    if (from->rect.ContainsClosed({candidate.x, candidate.y}))
        return Outcome::Refused;
    std::vector<LinePoint> path = m_points;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (id == m_fromId || !block.rect.ContainsClosed({candidate.x, candidate.y}))
            continue;
        // Ends on the near side of the block it reaches.
        if (vertical)
            candidate.y = last.y < candidate.y ? block.rect.top : block.rect.bottom;
        else
            candidate.x = last.x < candidate.x ? block.rect.left : block.rect.right;
        path.push_back(candidate);
        if (!diagram.IsPathClear(path, m_fromId, id, -1))
            return Outcome::Refused;
        const auto attributes = static_cast<std::uint16_t>(
            (diagram.Attributes() & 0xFF) | (LineRecord::kManualVariant << LineRecord::kVariantShift));
        lineId = diagram.AddLine(path, attributes, diagram.Colour(), m_fromId, id, -1);
        Clear();
        return Outcome::Committed;
    }
    path.push_back(candidate);
    if (!diagram.IsPathClear(path, m_fromId, -1, -1))
        return Outcome::Refused;
    if (m_points.size() >= 2) {
        const LinePoint& before = m_points[m_points.size() - 2];
        if (!Between(last.x, before.x, candidate.x) || !Between(last.y, before.y, candidate.y))
            return Outcome::Refused;
    }
    m_points.push_back(candidate);
    return Outcome::Appended;
}

} // namespace kestra
