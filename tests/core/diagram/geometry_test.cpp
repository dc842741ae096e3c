#include "diagram/geometry.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

int CountPixels(const COutline& outline, const CPixelRect& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += outline.ContainsPixel({x, y}) ? 1 : 0;
    return count;
}

TEST(Geometry, Round10RoundsHalvesAwayFromZero) {
    EXPECT_EQ(Round10(0), 0);
    EXPECT_EQ(Round10(4), 0);
    EXPECT_EQ(Round10(5), 10);
    EXPECT_EQ(Round10(14), 10);
    EXPECT_EQ(Round10(15), 20);
    EXPECT_EQ(Round10(-4), 0);
    EXPECT_EQ(Round10(-5), -10);
    EXPECT_EQ(Round10(-15), -20);
    EXPECT_EQ(Round10(-16), -20);
}

TEST(Geometry, RectangleCoversLeftToRightMinusOne) {
    const CPixelRect rect{10, 20, 40, 30};
    EXPECT_TRUE(rect.ContainsPixel({10, 20}));
    EXPECT_TRUE(rect.ContainsPixel({39, 29}));
    EXPECT_FALSE(rect.ContainsPixel({40, 25}));
    EXPECT_FALSE(rect.ContainsPixel({20, 30}));
    EXPECT_TRUE(rect.ContainsClosed({40, 30}));
    // Rectangles that only touch share no pixel.
    EXPECT_FALSE(rect.Intersects({40, 20, 50, 30}));
    EXPECT_TRUE(rect.Intersects({39, 29, 50, 40}));
    EXPECT_FALSE(rect.Intersects({15, 25, 15, 28})); // empty
}

TEST(Geometry, PolygonOfARectangleCoversTheSamePixels) {
    const CPixelRect rect{-3, 2, 17, 9};
    const COutline polygon(std::vector<CPixelPoint>{{-3, 2}, {17, 2}, {17, 9}, {-3, 9}});
    EXPECT_FALSE(polygon.IsRectangle());
    EXPECT_EQ(polygon.Bounds(), rect);
    const CPixelRect area = rect.Inflate(3, 3);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            EXPECT_EQ(polygon.ContainsPixel({x, y}), rect.ContainsPixel({x, y})) << x << "," << y;
}

TEST(Geometry, PolygonCoversPixelsWhoseCentresLieInside) {
    // A pentagon pointing right, 50 x 20: its tip edges cross each row's centre line at
    // 45 + 5 * (y + 0.5) / 10 above the middle.
    const COutline pentagon(std::vector<CPixelPoint>{{0, 0}, {45, 0}, {50, 10}, {45, 20}, {0, 20}});
    EXPECT_TRUE(pentagon.ContainsPixel({44, 0}));
    EXPECT_FALSE(pentagon.ContainsPixel({45, 0})); // centre 45.5 lies right of 45.25
    EXPECT_TRUE(pentagon.ContainsPixel({49, 9}));  // centre 49.5 left of 49.75
    EXPECT_TRUE(pentagon.ContainsPixel({49, 10}));
    EXPECT_FALSE(pentagon.ContainsPixel({50, 10}));
    EXPECT_FALSE(pentagon.ContainsPixel({45, 19}));
    EXPECT_TRUE(pentagon.ContainsPixel({0, 19}));
    EXPECT_FALSE(pentagon.ContainsPixel({0, 20}));
    EXPECT_EQ(pentagon.Bounds(), (CPixelRect{0, 0, 50, 20}));
}

TEST(Geometry, CentreOnAnEdgeBelongsToTheSpanRightOfIt) {
    // Triangle below the diagonal: pixel (1, 1) has its centre on the diagonal edge.
    const COutline lower(std::vector<CPixelPoint>{{0, 0}, {4, 4}, {0, 4}});
    EXPECT_TRUE(lower.ContainsPixel({0, 1}));
    EXPECT_FALSE(lower.ContainsPixel({1, 1}));
    // The mirror triangle above the diagonal takes it, so the two tile the square.
    const COutline upper(std::vector<CPixelPoint>{{0, 0}, {4, 0}, {4, 4}});
    EXPECT_TRUE(upper.ContainsPixel({1, 1}));
    EXPECT_EQ(CountPixels(lower, {0, 0, 4, 4}) + CountPixels(upper, {0, 0, 4, 4}), 16);
}

TEST(Geometry, OutlineIntersectionFollowsCoveredPixels) {
    const COutline pentagon(std::vector<CPixelPoint>{{0, 0}, {45, 0}, {50, 10}, {45, 20}, {0, 20}});
    EXPECT_FALSE(pentagon.Intersects({45, 0, 60, 1})); // row 0 ends at 44
    EXPECT_TRUE(pentagon.Intersects({44, 0, 60, 1}));
    EXPECT_TRUE(pentagon.Intersects({49, 5, 49 + 1, 15}));
    EXPECT_FALSE(pentagon.Intersects({47, 0, 60, 3}));
    EXPECT_FALSE(pentagon.Intersects({-10, -10, 100, 0}));

    const COutline moved = pentagon.Offset(100, -5);
    EXPECT_TRUE(moved.ContainsPixel({144, -5}));
    EXPECT_FALSE(moved.ContainsPixel({145, -5}));
    EXPECT_EQ(moved.Bounds(), (CPixelRect{100, -5, 150, 15}));
}

TEST(Geometry, RegionPiecesComeAndGoByKey) {
    CRegion region;
    region.Add(1, COutline(CPixelRect{0, 0, 10, 10}));
    region.Add(2, COutline(CPixelRect{5, 5, 20, 20}));
    region.Add(3, COutline(CPixelRect{})); // empty outlines are not kept
    EXPECT_EQ(region.Pieces().size(), 2u);
    EXPECT_TRUE(region.ContainsPixel({7, 7}));
    region.Remove(1);
    // The overlap still belongs to piece 2.
    EXPECT_TRUE(region.ContainsPixel({7, 7}));
    EXPECT_FALSE(region.ContainsPixel({2, 2}));
    EXPECT_TRUE(region.Intersects({19, 19, 30, 30}));
    EXPECT_FALSE(region.Intersects({20, 0, 30, 30}));
}

} // namespace
} // namespace kestra
