#include "diagram/diagram_zoom.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(DiagramZoom, StepsOfAboutAQuarterRunFromTenToEightHundredPercent) {
    CDiagramZoom zoom;
    std::vector<int> up;
    while (zoom.ZoomIn())
        up.push_back(zoom.Percent());
    EXPECT_EQ(up, (std::vector<int>{125, 160, 200, 250, 320, 400, 500, 640, 800}));
    int before = zoom.Percent();
    while (zoom.ZoomOut()) {
        EXPECT_NEAR(static_cast<double>(before) / zoom.Percent(), 1.25, 0.08);
        before = zoom.Percent();
    }
    EXPECT_EQ(zoom.Percent(), 10);
    // From a factor between two steps, the next step on either side.
    ASSERT_TRUE(zoom.SetFactor(0.7));
    CDiagramZoom in = zoom;
    ASSERT_TRUE(in.ZoomIn());
    EXPECT_EQ(in.Percent(), 80);
    ASSERT_TRUE(zoom.ZoomOut());
    EXPECT_EQ(zoom.Percent(), 64);
    EXPECT_FALSE(zoom.SetFactor(0.64));
    zoom.SetFactor(100.0);
    EXPECT_EQ(zoom.Percent(), 800);
}

TEST(DiagramZoom, ViewPixelsBecomeWindowPointsOfTheUnitTheyShow) {
    CDiagramZoom zoom;
    zoom.SetFactor(2.0);
    EXPECT_EQ(zoom.ToWindow(301, 199), (CPixelPoint{150, 99}));
    EXPECT_EQ(zoom.ToWindow(-1, -3), (CPixelPoint{-1, -2})); // left of the view: autoscroll
    EXPECT_EQ(zoom.Units(901), 450);
    zoom.SetFactor(0.5);
    EXPECT_EQ(zoom.ToWindow(301, 199), (CPixelPoint{602, 398}));
    EXPECT_EQ(zoom.ScrollKeeping(700, 500, 300, 200), (CPixelPoint{100, 100}));
}

TEST(DiagramZoom, FitShowsTheDrawingWithItsMarginUpToTwiceItsSize) {
    EXPECT_DOUBLE_EQ(CDiagramZoom::FitFactor({0, 0, 20, 20}, 800, 600), CDiagramZoom::kFitMaximum);
    EXPECT_DOUBLE_EQ(CDiagramZoom::FitFactor({100, 100, 1880, 500}, 910, 600), 0.5);
    EXPECT_DOUBLE_EQ(CDiagramZoom::FitFactor({0, 0, 100000, 100}, 800, 600), CDiagramZoom::kMinimum);

    CBlockDiagram diagram;
    EXPECT_FALSE(DrawingBounds(diagram).has_value());
    diagram.AddBlock(300, 200, 50, 40, "a", kCustomBlockColour, -1, BlockKind::CustomBlock);
    diagram.AddBlock(40, 500, 60, 30, "b", kCustomBlockColour, -1, BlockKind::CustomBlock);
    EXPECT_EQ(DrawingBounds(diagram), (CPixelRect{40, 200, 350, 530}));
}

} // namespace
} // namespace kestra
