#include "diagram/line_drawing.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using Path = std::vector<LinePoint>;

LineRecord Line(std::uint16_t attributes, Path points) {
    LineRecord line;
    line.attributes = attributes;
    line.colour = 0x123456;
    line.points = std::move(points);
    return line;
}

TEST(LineDrawing, ArrowsShortenThePolylineAndPointAtTheEnds) {
    const CLineDrawing end = DrawLine(Line(0x13, {{100, 50}, {200, 50}, {200, 150}}), false);
    EXPECT_EQ(end.penWidth, 3);
    EXPECT_EQ(end.colour, 0x123456u);
    EXPECT_EQ(end.polyline, (Path{{100, 50}, {200, 50}, {200, 144}}));
    ASSERT_EQ(end.arrowheads.size(), 1u);
    // Coming down into (200, 150): tip one pixel above it, base 6 above, 4 to either side.
    EXPECT_EQ(end.arrowheads[0], (std::array<LinePoint, 3>{{{200, 149}, {204, 144}, {196, 144}}}));

    const CLineDrawing both = DrawLine(Line(0x35, {{100, 50}, {200, 50}}), false);
    EXPECT_EQ(both.penWidth, 5);
    EXPECT_EQ(both.polyline, (Path{{106, 50}, {194, 50}}));
    ASSERT_EQ(both.arrowheads.size(), 2u);
    EXPECT_EQ(both.arrowheads[1], (std::array<LinePoint, 3>{{{101, 50}, {106, 54}, {106, 46}}}));
}

TEST(LineDrawing, UnroutedAndSlantedEndsGetNoArrows) {
    const CLineDrawing unrouted = DrawLine(Line(0x1033, {{0, 0}, {100, 50}}), false);
    EXPECT_EQ(unrouted.colour, CLineDrawing::kUnroutedColour);
    EXPECT_EQ(unrouted.polyline, (Path{{0, 0}, {100, 50}}));
    EXPECT_TRUE(unrouted.arrowheads.empty());
    EXPECT_EQ(DrawLine(Line(0x1033, {{0, 0}, {100, 50}}), true).colour, 0x123456u);
    const CLineDrawing slanted = DrawLine(Line(0x33, {{0, 0}, {50, 0}, {100, 50}}), false);
    EXPECT_EQ(slanted.polyline, (Path{{6, 0}, {50, 0}, {100, 50}}));
    EXPECT_EQ(slanted.arrowheads.size(), 1u);
}

} // namespace
} // namespace kestra
