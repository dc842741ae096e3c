#include "diagram/line_drawing.h"

#include "diagram/line_table.h"

namespace kestra {

namespace {

// d is -1 when the neighbour q lies before the end p along the segment's axis, else +1: the
// arrowhead and the shortening lie on q's side.
int Direction(const LinePoint& p, const LinePoint& q, bool vertical) {
    return (vertical ? q.y < p.y : q.x < p.x) ? -1 : 1;
}

LinePoint Along(const LinePoint& p, bool vertical, int distance) {
    return vertical ? LinePoint{p.x, p.y + distance} : LinePoint{p.x + distance, p.y};
}

LinePoint Across(const LinePoint& p, bool vertical, int distance) {
    return vertical ? LinePoint{p.x + distance, p.y} : LinePoint{p.x, p.y + distance};
}

} // namespace

CLineDrawing DrawLine(const LineRecord& line, bool selected) {
    CLineDrawing drawing;
    drawing.penWidth = line.PenWidth();
    drawing.colour = IsUnrouted(line) && !selected ? CLineDrawing::kUnroutedColour : line.colour;
    drawing.polyline = line.points;
    const std::size_t n = line.points.size();
    if (n < 2 || IsUnrouted(line))
        return drawing;
    auto arrow = [&](std::size_t end, std::size_t neighbour) {
        const LinePoint& p = line.points[end];
        const LinePoint& q = line.points[neighbour];
        const SegmentAxis axis = AxisOf(p, q);
        if (axis == SegmentAxis::Slanted)
            return;
        const bool vertical = axis == SegmentAxis::Vertical;
        const int d = Direction(p, q, vertical);
        drawing.polyline[end] = Along(p, vertical, 6 * d);
        const LinePoint base = Along(p, vertical, 6 * d);
        drawing.arrowheads.push_back(
            {Along(p, vertical, d), Across(base, vertical, 4), Across(base, vertical, -4)});
    };
    if ((line.attributes & LineRecord::ArrowEnd) != 0)
        arrow(n - 1, n - 2);
    if ((line.attributes & LineRecord::ArrowHead) != 0)
        arrow(0, 1);
    return drawing;
}

} // namespace kestra
