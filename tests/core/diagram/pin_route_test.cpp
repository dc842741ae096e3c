#include "diagram/path_clearance.h"
#include "diagram/pin_route.h"

#include <gtest/gtest.h>
#include <random>

namespace kestra {
namespace {

using Path = std::vector<LinePoint>;
using enum LeaveDirection;

struct Scene {
    CBlockList blocks;
    CLineTable lines;

    int Block(const CPixelRect& rect) { return blocks.Add(rect, "b", 0, -1, BlockKind::Module); }
    int Line(int from, int to, const Path& points) {
        return lines.Add({0, 0, static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to), points},
                         -1);
    }
    std::optional<Path> Route(const PinLineEnd& from, const PinLineEnd& to, int ignoreLineId = -1) const {
        return RoutePinLine(blocks, lines, from, to, ignoreLineId);
    }
};

// The unit step of each way of leaving, in the order of LeaveDirection.
constexpr LinePoint kToward[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

LinePoint Heading(const LinePoint& p, const LinePoint& q) {
    return {(q.x > p.x) - (q.x < p.x), (q.y > p.y) - (q.y < p.y)};
}

TEST(PinRoute, FacingEndsOnOneLineGetAStraightLineOthersTurnHalfway) {
    Scene scene;
    const int a = scene.Block({0, 0, 100, 100});
    const int b = scene.Block({200, 0, 300, 100});
    const int c = scene.Block({110, 200, 210, 300});
    const int d = scene.Block({0, 400, 100, 500});
    EXPECT_EQ(scene.Route({a, {100, 50}, Right}, {b, {200, 50}, Left}), (Path{{100, 50}, {200, 50}}));
    EXPECT_EQ(scene.Route({d, {50, 400}, Up}, {a, {50, 100}, Down}), (Path{{50, 400}, {50, 100}}));
    EXPECT_EQ(scene.Route({a, {50, 100}, Down}, {c, {150, 200}, Up}),
              (Path{{50, 100}, {50, 150}, {150, 150}, {150, 200}}));
    // Closer than two stubs.
    const int e = scene.Block({110, 20, 150, 80});
    EXPECT_EQ(scene.Route({a, {100, 50}, Right}, {e, {110, 50}, Left}), (Path{{100, 50}, {110, 50}}));
}

TEST(PinRoute, ALaneHeldByAnotherLineGivesWayToTheNextOne) {
    Scene scene;
    const int a = scene.Block({0, 0, 100, 100});
    const int b = scene.Block({200, 0, 300, 100});
    const PinLineEnd from{a, {100, 30}, Right};
    const PinLineEnd to{b, {200, 70}, Left};
    const int held = scene.Line(scene.Block({120, -200, 180, -150}), scene.Block({120, 250, 180, 300}),
                                {{150, -150}, {150, 250}});
    EXPECT_EQ(scene.Route(from, to), (Path{{100, 30}, {140, 30}, {140, 70}, {200, 70}}));
    // The line being replaced is no obstacle.
    EXPECT_EQ(scene.Route(from, to, held), (Path{{100, 30}, {150, 30}, {150, 70}, {200, 70}}));
}

TEST(PinRoute, BlocksInTheWayAndTheEndBlocksAreGoneRound) {
    Scene scene;
    const int a = scene.Block({0, 100, 100, 200});
    const int b = scene.Block({300, 100, 400, 200});
    scene.Block({170, 120, 230, 180});
    EXPECT_EQ(scene.Route({a, {100, 150}, Right}, {b, {300, 150}, Left}),
              (Path{{100, 150}, {110, 150}, {110, 110}, {290, 110}, {290, 150}, {300, 150}}));
    // Ends facing away from each other: over both blocks.
    EXPECT_EQ(scene.Route({b, {400, 130}, Right}, {a, {0, 170}, Left}),
              (Path{{400, 130}, {410, 130}, {410, 90}, {-10, 90}, {-10, 170}, {0, 170}}));
    // Both ends on the right sides of blocks in one column: a bracket.
    const int c = scene.Block({0, 300, 100, 400});
    EXPECT_EQ(scene.Route({a, {100, 150}, Right}, {c, {100, 350}, Right}),
              (Path{{100, 150}, {110, 150}, {110, 350}, {100, 350}}));
}

TEST(PinRoute, NoRouteWhenTheWayOutOrInIsShut) {
    Scene scene;
    const int a = scene.Block({0, 0, 100, 100});
    const int walled = scene.Block({300, 300, 400, 400});
    for (const CPixelRect& wall : {CPixelRect{280, 280, 420, 290}, CPixelRect{280, 410, 420, 420},
                                   CPixelRect{280, 290, 290, 410}, CPixelRect{410, 290, 420, 410}})
        scene.Block(wall);
    EXPECT_EQ(scene.Route({a, {100, 50}, Right}, {walled, {300, 350}, Left}), std::nullopt);
    // The stub would run into a neighbour, or back into the block itself.
    const int b = scene.Block({600, 0, 700, 100});
    scene.Block({105, 40, 150, 60});
    EXPECT_EQ(scene.Route({a, {100, 50}, Right}, {b, {600, 50}, Left}), std::nullopt);
    EXPECT_EQ(scene.Route({a, {100, 80}, Left}, {b, {600, 80}, Left}), std::nullopt);
    EXPECT_TRUE(scene.Route({a, {100, 80}, Right}, {b, {600, 80}, Left}));
}

// Pins on the sides of scattered blocks, routed one after the other with every line kept: each
// route joins its ends, leaves and enters their way, has at most five axis-parallel segments on
// the grid, no two in a row on one line, and passes the plain clearance test.
TEST(PinRoute, RandomPinsGetSoundRoutes) {
    std::mt19937 rng(11u);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Scene scene;
    std::vector<int> ids;
    for (int attempt = 0; attempt < 400 && ids.size() < 30; ++attempt) {
        const CPixelRect r =
            CPixelRect::FromSize(pick(0, 100) * 10, pick(0, 100) * 10, pick(4, 12) * 10, pick(4, 12) * 10);
        if (!scene.blocks.IntersectsAnyBlock(r.Inflate(30, 30)))
            ids.push_back(scene.Block(r));
    }
    ASSERT_EQ(ids.size(), 30u);
    auto end = [&](int id) {
        const CPixelRect& r = scene.blocks.Find(id)->rect;
        const auto leave = static_cast<LeaveDirection>(pick(0, 3));
        const LinePoint d = kToward[static_cast<int>(leave)];
        const int x = d.x < 0 ? r.left : d.x > 0 ? r.right : r.left + 10 * pick(1, r.Width() / 10 - 1);
        const int y = d.y < 0 ? r.top : d.y > 0 ? r.bottom : r.top + 10 * pick(1, r.Height() / 10 - 1);
        return PinLineEnd{id, {x, y}, leave};
    };
    int routed = 0;
    for (int i = 0; i < 150; ++i) {
        const PinLineEnd from = end(ids[static_cast<std::size_t>(pick(0, 29))]);
        const PinLineEnd to = end(ids[static_cast<std::size_t>(pick(0, 29))]);
        const auto path = scene.Route(from, to);
        if (!path)
            continue;
        ++routed;
        ASSERT_TRUE(path->size() >= 2 && path->size() <= 6);
        EXPECT_EQ(path->front(), (LinePoint{from.point.x, from.point.y}));
        EXPECT_EQ(path->back(), (LinePoint{to.point.x, to.point.y}));
        EXPECT_EQ(Heading((*path)[0], (*path)[1]), kToward[static_cast<int>(from.leave)]);
        EXPECT_EQ(Heading(path->back(), (*path)[path->size() - 2]), kToward[static_cast<int>(to.leave)]);
        for (std::size_t k = 0; k + 1 < path->size(); ++k) {
            const LinePoint& p = (*path)[k];
            EXPECT_TRUE(p.x % kGridStep == 0 && p.y % kGridStep == 0 && p != (*path)[k + 1]);
            EXPECT_TRUE(k + 2 == path->size() ||
                        AxisOf(p, (*path)[k + 1]) != AxisOf((*path)[k + 1], (*path)[k + 2]));
        }
        EXPECT_TRUE(IsPathClearPlain(scene.blocks, scene.lines, *path, from.blockId, to.blockId, -1));
        scene.Line(from.blockId, to.blockId, *path);
    }
    // Long lines across a crowded area may need more than five segments; most do not.
    EXPECT_GT(routed, 75);
}

} // namespace
} // namespace kestra
