#pragma once

#include "model/block_data.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kestra {

// How a line is drawn: the polyline (shortened by 6 pixels at each end that carries an
// arrowhead), pen width and colour (red for an `Unrouted` line that is not selected), and
// the filled arrowhead triangles. Arrowheads go only on lines that are not `Unrouted`, and
// only where the end segment is horizontal or vertical.
struct CLineDrawing {
    static constexpr std::uint32_t kUnroutedColour = 0x0000FF; // red 255

    std::vector<LinePoint> polyline;
    int penWidth = 1;
    std::uint32_t colour = 0;
    std::vector<std::array<LinePoint, 3>> arrowheads; // tip first
};

CLineDrawing DrawLine(const LineRecord& line, bool selected);

} // namespace kestra
