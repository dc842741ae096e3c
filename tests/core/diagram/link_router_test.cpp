#include "diagram/block_diagram.h"
#include "diagram/link_router.h"
#include "diagram/path_clearance.h"
#include "diagram/route_candidates.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using Path = std::vector<LinePoint>;

int AddRect(CBlockDiagram& diagram, const CPixelRect& r, BlockKind kind = BlockKind::Module) {
    return diagram.AddBlock(r.left, r.top, r.Width(), r.Height(), "B", 0xFFFFFF, -1, kind);
}

const LineRecord& LineOf(const CBlockDiagram& diagram, int id) {
    const LineRecord* line = diagram.Lines().Find(id);
    EXPECT_NE(line, nullptr);
    static const LineRecord none;
    return line ? *line : none;
}

TEST(RouteCandidates, SequenceRunsFromTheMiddleOutwards) {
    EXPECT_EQ(CandidateSequence(10, 90), (std::vector<int>{50, 40, 60, 30, 70, 20, 80, 10, 90}));
    // Ends at the first value outside, even though the other side still has room.
    EXPECT_EQ(CandidateSequence(50, 95), (std::vector<int>{70, 60, 80, 50, 90}));
    // The rounded middle is tried even when it lies outside the range.
    EXPECT_EQ(CandidateSequence(15, 16), (std::vector<int>{20}));
    EXPECT_EQ(CandidateSequence(110, 90), (std::vector<int>{100}));
}

TEST(RouteCandidates, VariantOrderWithAndWithoutSearch) {
    EXPECT_EQ(RouteVariantOrder(0, true), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(RouteVariantOrder(3, true), (std::vector<int>{3, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(RouteVariantOrder(9, false), (std::vector<int>{9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(OutwardBound(204), 210);
    EXPECT_EQ(OutwardBound(205), 220);
}

TEST(RouteCandidates, StraightVariantTriesTheOverlapFromItsMiddle) {
    std::vector<int> ys;
    ForEachCandidate(RouteShape::StraightAcross, {0, 0, 100, 100}, {200, 0, 300, 100}, 400, 200,
                     [&](std::span<const LinePoint> path) {
                         EXPECT_EQ(path.size(), 2u);
                         EXPECT_EQ(path[0].x, 100);
                         EXPECT_EQ(path[1].x, 200);
                         ys.push_back(path[0].y);
                         return false;
                     });
    EXPECT_EQ(ys, (std::vector<int>{50, 40, 60, 30, 70, 20, 80, 10, 90}));
}

TEST(LinkRouting, SideBySideBlocksGetAStraightLineNearTheMiddleOfTheOverlap) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {200, 40, 300, 140});
    const int id = diagram.Route(a, b, 0x13, 0x004080, -1, true);
    ASSERT_EQ(id, 0);
    const LineRecord& line = LineOf(diagram, id);
    EXPECT_EQ(line.points, (Path{{100, 70}, {200, 70}}));
    EXPECT_EQ(line.attributes, 0x13);
    EXPECT_EQ(line.colour, 0x004080u);
    EXPECT_EQ(line.fromId, static_cast<std::uint32_t>(a));
    EXPECT_EQ(line.toId, static_cast<std::uint32_t>(b));
    // A second line between the two may not run along the first: the next candidate is y = 60.
    const int back = diagram.Route(b, a, 0x13, 0, -1, true);
    EXPECT_EQ(LineOf(diagram, back).points, (Path{{200, 60}, {100, 60}}));
}

TEST(LinkRouting, BlockedCandidatesGiveWayToTheNextOnes) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {200, 0, 300, 100});
    AddRect(diagram, {140, 35, 160, 65}); // covers y = 40, 50 and 60 with their widening
    const int id = diagram.Route(a, b, 0x13, 0, -1, true);
    EXPECT_EQ(LineOf(diagram, id).points, (Path{{100, 30}, {200, 30}}));
    // A text block is no obstacle.
    CBlockDiagram open;
    const int c = AddRect(open, {0, 0, 100, 100});
    const int d = AddRect(open, {200, 0, 300, 100});
    AddRect(open, {140, 35, 160, 65}, BlockKind::TextBlock);
    EXPECT_EQ(LineOf(open, open.Route(c, d, 0x13, 0, -1, true)).points, (Path{{100, 50}, {200, 50}}));
}

TEST(LinkRouting, DiagonalBlocksGetAnLShape) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {300, 150, 400, 250});
    const LineRecord& line = LineOf(diagram, diagram.Route(a, b, 0x13, 0, -1, true));
    EXPECT_EQ(line.points, (Path{{50, 100}, {50, 200}, {300, 200}}));
    EXPECT_EQ(line.RouteVariant(), 2);
}

TEST(LinkRouting, ABlockedLGivesWayToAZShape) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {300, 200, 400, 300});
    AddRect(diagram, {150, 150, 250, 350}); // blocks the L below and left of b
    AddRect(diagram, {280, 120, 420, 180}); // blocks the L above and right of b
    const LineRecord& line = LineOf(diagram, diagram.Route(a, b, 0x13, 0, -1, true));
    EXPECT_EQ(line.RouteVariant(), 6);
    EXPECT_EQ(line.points, (Path{{100, 50}, {260, 50}, {260, 250}, {300, 250}}));
}

TEST(LinkRouting, ACoveredCorridorGivesAUShape) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 100, 100, 200});
    const int b = AddRect(diagram, {300, 100, 400, 200});
    AddRect(diagram, {150, 50, 250, 250});
    ASSERT_EQ(diagram.Height(), 254);
    const LineRecord& line = LineOf(diagram, diagram.Route(a, b, 0x13, 0, -1, true));
    EXPECT_EQ(line.RouteVariant(), 8);
    EXPECT_EQ(line.points, (Path{{50, 200}, {50, 260}, {350, 260}, {350, 200}}));
}

TEST(LinkRouting, NothingFitsGivesAnUnroutedLineBetweenTheCentres) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {400, 400, 500, 460});
    // A closed box around b.
    AddRect(diagram, {350, 350, 550, 370});
    AddRect(diagram, {350, 490, 550, 510});
    AddRect(diagram, {350, 370, 370, 490});
    AddRect(diagram, {530, 370, 550, 490});
    const int id = diagram.Route(a, b, 0x0F33, 0x123456, -1, true);
    const LineRecord& line = LineOf(diagram, id);
    EXPECT_EQ(line.points, (Path{{50, 50}, {450, 430}}));
    EXPECT_EQ(line.attributes, LineRecord::Unrouted | 0x33);
    EXPECT_EQ(line.colour, 0x123456u);
}

TEST(LinkRouting, RefusesEqualOrMissingBlocks) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    EXPECT_EQ(diagram.Route(a, a, 0x13, 0, -1, true), -1);
    EXPECT_EQ(diagram.Route(a, 7, 0x13, 0, -1, true), -1);
    EXPECT_EQ(diagram.Lines().Count(), 0);
}

TEST(PathClearance, OnlyLinesSharingExactlyOneBlockMayRunAlong) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {200, 0, 300, 100});
    const int e = AddRect(diagram, {200, 150, 300, 250});
    const int f = AddRect(diagram, {0, 150, 100, 250});
    const int first = diagram.AddLine(Path{{100, 50}, {200, 50}}, 0x13, 0, a, b, -1);
    auto clear = [&](const Path& path, int from, int to, int ignore) {
        const bool plain = IsPathClearPlain(diagram.Blocks(), diagram.Lines(), path, from, to, ignore);
        EXPECT_EQ(plain, diagram.IsPathClear(path, from, to, ignore));
        return plain;
    };
    // The same two blocks, either way round: not even touching.
    EXPECT_FALSE(clear({{200, 50}, {100, 50}}, b, a, -1));
    EXPECT_TRUE(clear({{200, 50}, {100, 50}}, b, a, first));
    EXPECT_TRUE(clear({{200, 40}, {100, 40}}, b, a, -1));
    // Sharing block a only: may run along.
    EXPECT_TRUE(clear({{100, 50}, {150, 50}, {150, 200}, {200, 200}}, a, e, -1));
    // Sharing no block: may not overlap it, nor touch it end to end; crossing is fine.
    EXPECT_FALSE(clear({{100, 200}, {150, 200}, {150, 50}, {170, 50}}, f, -1, -1));
    EXPECT_TRUE(clear({{100, 200}, {150, 200}, {150, 50}}, f, -1, -1));
    diagram.AddLine(Path{{150, 120}, {150, 140}}, 0x13, 0, e, f, -1);
    EXPECT_FALSE(clear({{150, 110}, {150, 120}}, -1, -1, -1));
    EXPECT_TRUE(clear({{150, 110}, {150, 119}}, -1, -1, -1));
    // Unrouted lines are no obstacle.
    diagram.AddLine(Path{{140, 110}, {160, 110}}, 0x1013, 0, a, b, -1);
    EXPECT_TRUE(clear({{140, 110}, {150, 110}, {150, 119}}, -1, -1, -1));
}

TEST(PathClearance, EndsMustLeaveOnTheBorderOffTheCorners) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {200, 0, 300, 100});
    auto clear = [&](const Path& path) {
        const bool plain = IsPathClearPlain(diagram.Blocks(), diagram.Lines(), path, a, b, -1);
        EXPECT_EQ(plain, diagram.IsPathClear(path, a, b, -1));
        return plain;
    };
    EXPECT_TRUE(clear({{100, 50}, {200, 50}}));
    EXPECT_FALSE(clear({{100, 0}, {200, 0}}));                             // corners
    EXPECT_FALSE(clear({{110, 50}, {200, 50}}));                           // not on a's border
    EXPECT_FALSE(clear({{100, 50}, {200, 60}}));                           // slanted
    EXPECT_FALSE(clear({{50, 50}, {200, 50}}));                            // through a itself
    EXPECT_FALSE(clear({{100, 100}, {100, 150}, {200, 150}, {200, 100}})); // starts at a corner
    EXPECT_TRUE(clear({{50, 100}, {50, 150}, {250, 150}, {250, 100}}));
}

TEST(PathClearance, SegmentsAreWidenedByOnePixelButLoseTheirEndPixels) {
    CBlockDiagram diagram;
    AddRect(diagram, {40, 12, 60, 20}); // rows 12..19
    auto clear = [&](const Path& path) {
        const bool plain = IsPathClearPlain(diagram.Blocks(), diagram.Lines(), path, -1, -1, -1);
        EXPECT_EQ(plain, diagram.IsPathClear(path, -1, -1, -1));
        return plain;
    };
    EXPECT_TRUE(clear({{0, 10}, {100, 10}}));  // rows 9..11
    EXPECT_FALSE(clear({{0, 11}, {100, 11}})); // row 12 by widening
    EXPECT_TRUE(clear({{0, 21}, {100, 21}}));  // rows 20..22
    EXPECT_FALSE(clear({{0, 20}, {100, 20}})); // row 19
    // End pixels do not count: a segment may end right on the block.
    EXPECT_TRUE(clear({{50, 0}, {50, 12}}));   // rows 1..11 only
    EXPECT_FALSE(clear({{50, 0}, {50, 13}}));  // row 12
    EXPECT_FALSE(clear({{39, 30}, {39, 15}})); // columns 38..40
    EXPECT_TRUE(clear({{38, 30}, {38, 15}}));  // columns 37..39
    EXPECT_TRUE(clear({{61, 30}, {61, 15}}));  // columns 60..62
    EXPECT_FALSE(clear({{60, 30}, {60, 15}})); // column 59
}

TEST(LinkRouting, LineStyleCyclesThroughEveryShapeThatFitsAndBack) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 100, 100, 200});
    const int b = AddRect(diagram, {300, 100, 400, 200});
    const int id = diagram.Route(a, b, 0x13, 0, -1, true);
    diagram.SelectLine(id);
    std::vector<int> variants{LineOf(diagram, id).RouteVariant()};
    for (int step = 0; step < 4; ++step) {
        diagram.CycleLineStyle();
        ASSERT_EQ(diagram.SelectedLine(), id);
        const LineRecord& line = LineOf(diagram, id);
        EXPECT_FALSE(IsUnrouted(line));
        EXPECT_TRUE(IsPathClearPlain(diagram.Blocks(), diagram.Lines(), line.points, a, b, id));
        variants.push_back(line.RouteVariant());
    }
    EXPECT_EQ(variants, (std::vector<int>{0, 6, 8, 9, 0}));
    EXPECT_TRUE(diagram.DiagramChanged());
    EXPECT_EQ(diagram.Lines().Count(), 1);
}

TEST(LinkRouting, ManualLinkStaysWhileClearAndIsReroutedWhenBlocked) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {300, 0, 400, 100});
    const Path manual{{100, 30}, {200, 30}, {200, 70}, {300, 70}};
    const int id = diagram.AddLine(manual, 0xF13, 0, a, b, -1);
    EXPECT_EQ(diagram.Route(a, b, 0xF13, 0, id, true), id);
    EXPECT_EQ(LineOf(diagram, id).points, manual);
    // Moving a block away keeps it.
    const int c = AddRect(diagram, {150, 200, 250, 250});
    diagram.RevalidateAllLines();
    EXPECT_EQ(LineOf(diagram, id).points, manual);
    // Moving a block onto it makes it an automatic line from variant 0 on.
    diagram.MoveBlock(c, {180, 40, 220, 60});
    diagram.RevalidateAllLines();
    const LineRecord& line = LineOf(diagram, id);
    EXPECT_NE(line.points, manual);
    EXPECT_EQ(line.RouteVariant(), 0);
    EXPECT_EQ(line.attributes & 0xFF, 0x13);
    EXPECT_TRUE(IsPathClearPlain(diagram.Blocks(), diagram.Lines(), line.points, a, b, id));
}

TEST(LinkRouting, RevalidationDropsLinesOfRemovedBlocksAndRetriesUnroutedOnes) {
    CBlockDiagram diagram;
    const int a = AddRect(diagram, {0, 0, 100, 100});
    const int b = AddRect(diagram, {400, 400, 500, 460});
    const int c = AddRect(diagram, {0, 200, 100, 300});
    AddRect(diagram, {350, 350, 550, 370});
    AddRect(diagram, {350, 490, 550, 510});
    const int left = AddRect(diagram, {350, 370, 370, 490});
    AddRect(diagram, {530, 370, 550, 490});
    const int ab = diagram.Route(a, b, 0x13, 0, -1, true);
    const int ac = diagram.Route(a, c, 0x13, 0, -1, true);
    ASSERT_TRUE(IsUnrouted(LineOf(diagram, ab)));
    ASSERT_FALSE(IsUnrouted(LineOf(diagram, ac)));
    diagram.SelectLine(ac);
    diagram.RemoveBlock(c);
    diagram.RemoveBlock(left);
    diagram.RevalidateAllLines();
    EXPECT_EQ(diagram.Lines().Find(ac), nullptr);
    EXPECT_EQ(diagram.SelectedLine(), -1);
    const LineRecord& line = LineOf(diagram, ab);
    EXPECT_FALSE(IsUnrouted(line));
    EXPECT_TRUE(IsPathClearPlain(diagram.Blocks(), diagram.Lines(), line.points, a, b, ab));
}

} // namespace
} // namespace kestra
