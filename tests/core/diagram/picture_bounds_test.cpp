#include "diagram/block_pins.h"
#include "diagram/picture_bounds.h"
#include "model/block_colours.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(PictureBounds, TheDrawingWithItsLabelsGetsAMarginAllRound) {
    CBlockDiagram diagram;
    diagram.Blocks().GrowExtents(900, 700);
    // Nothing drawn: the whole extent.
    EXPECT_EQ(PictureBounds(diagram), (CPixelRect{0, 0, 900, 700}));

    diagram.AddBlock(300, 200, 50, 40, "a", kCustomBlockColour, -1, BlockKind::CustomBlock);
    diagram.AddBlock(40, 500, 60, 30, "b", kCustomBlockColour, -1, BlockKind::CustomBlock);
    // The frames along the right and bottom edges are one pixel past the blocks.
    EXPECT_EQ(PictureBounds(diagram), (CPixelRect{40 - kPictureMargin, 200 - kPictureMargin,
                                                  351 + kPictureMargin, 531 + kPictureMargin}));

    // An instance label stands above its module block; a long one reaches past its right edge.
    const int module = diagram.AddBlock(500, 100, 80, 60, "CHILD", kCustomBlockColour, -1, BlockKind::Module);
    const std::string label = "U_A_RATHER_LONG_INSTANCE_LABEL";
    ASSERT_TRUE(diagram.Blocks().SetInstance(module, label, ""));
    ASSERT_GT(LabelWidth(label), 80);
    const CPixelRect labelled = PictureBounds(diagram);
    EXPECT_EQ(labelled.top, 100 - 4 - kLabelHeight - kPictureMargin);
    EXPECT_EQ(labelled.right, 501 + LabelWidth(label) + kPictureMargin);

    // The frame of a generate statement stands around its block, past a short label.
    const int wide = diagram.AddBlock(700, 300, 400, 60, "WIDE", kCustomBlockColour, -1, BlockKind::Module);
    ASSERT_TRUE(diagram.Blocks().SetInstance(wide, "U", "GEN_A"));
    EXPECT_EQ(InstanceLabelText(*diagram.Blocks().Find(wide)), "U  (GEN_A generate)");
    ASSERT_LT(LabelWidth("U  (GEN_A generate)"), 400);
    EXPECT_EQ(PictureBounds(diagram).right, 1100 + 3 + 1 + kPictureMargin);
}

} // namespace
} // namespace kestra
