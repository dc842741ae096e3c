#include "diagram/block_diagram.h"
#include "diagram/link_router.h"
#include "diagram/path_clearance.h"

#include <gtest/gtest.h>
#include <random>

namespace kestra {
namespace {

constexpr BlockKind kKinds[] = {BlockKind::Module,    BlockKind::InPort,      BlockKind::OutPort,
                                BlockKind::InoutPort, BlockKind::BufferPort,  BlockKind::LinkagePort,
                                BlockKind::TextBlock, BlockKind::CustomBlock, BlockKind::Module};

int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// A free rectangle on the grid (or near it: some sizes are not multiples of 10).
std::optional<CPixelRect> FreeRect(const CBlockDiagram& diagram, std::mt19937& rng, int area) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int w = Uniform(rng, 2, 12) * 10 + (Uniform(rng, 0, 3) == 0 ? Uniform(rng, 1, 9) : 0);
        const int h = Uniform(rng, 2, 8) * 10 + (Uniform(rng, 0, 3) == 0 ? Uniform(rng, 1, 9) : 0);
        const CPixelRect r =
            CPixelRect::FromSize(Uniform(rng, 0, area / 10) * 10, Uniform(rng, 0, area / 10) * 10, w, h);
        if (!diagram.Blocks().IntersectsAnyBlock(r.Inflate(Uniform(rng, 0, 1) * 10, 0)))
            return r;
    }
    return std::nullopt;
}

void Populate(CBlockDiagram& diagram, std::mt19937& rng, int blocks, int area) {
    for (int i = 0; i < blocks; ++i) {
        if (const auto r = FreeRect(diagram, rng, area)) {
            const BlockKind kind = kKinds[Uniform(rng, 0, static_cast<int>(std::size(kKinds)) - 1)];
            diagram.AddBlock(r->left, r->top, r->Width(), r->Height(), "b", 0, -1, kind);
        }
    }
}

void ExpectEveryLineClear(const CBlockDiagram& diagram) {
    for (const auto& [id, line] : diagram.Lines().Lines()) {
        const int from = static_cast<int>(line.fromId);
        const int to = static_cast<int>(line.toId);
        ASSERT_TRUE(diagram.Blocks().Contains(from) && diagram.Blocks().Contains(to)) << "line " << id;
        if (IsUnrouted(line)) {
            EXPECT_EQ(line.points.size(), 2u);
            EXPECT_EQ(line.RouteVariant(), 0);
            continue;
        }
        for (std::size_t i = 0; i + 1 < line.points.size(); ++i)
            EXPECT_NE(AxisOf(line.points[i], line.points[i + 1]), SegmentAxis::Slanted) << "line " << id;
        EXPECT_TRUE(IsPathClearPlain(diagram.Blocks(), diagram.Lines(), line.points, from, to, id))
            << "line " << id;
    }
}

std::vector<int> BlockIds(const CBlockDiagram& diagram) {
    std::vector<int> ids;
    for (const auto& entry : diagram.Blocks().Blocks())
        ids.push_back(entry.first);
    return ids;
}

class RoutingProperty : public testing::TestWithParam<unsigned> {};

TEST_P(RoutingProperty, OptimisedRouterAnswersLikeThePlainOneAndKeepsLinesClear) {
    std::mt19937 rng(GetParam());
    CBlockDiagram fast;
    Populate(fast, rng, Uniform(rng, 6, 22), Uniform(rng, 30, 90) * 10);
    CBlockDiagram plain = fast;
    plain.SetPlainRouting(true);
    const std::vector<int> ids = BlockIds(fast);
    ASSERT_GE(ids.size(), 2u);
    for (int i = 0; i < 30; ++i) {
        const int from = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const int to = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const int start = Uniform(rng, 0, 11);
        const bool search = Uniform(rng, 0, 2) != 0;
        const auto expected = FindRoutePlain(fast.Blocks(), fast.Lines(), from, to, start, search, -1);
        const auto found = FindRoute(fast.Blocks(), fast.Lines(), from, to, start, search, -1);
        ASSERT_EQ(found, expected) << "seed " << GetParam() << " request " << i;
        const auto attributes = static_cast<std::uint16_t>(0x13 | (start << 8));
        EXPECT_EQ(fast.Route(from, to, attributes, 0, -1, search),
                  plain.Route(from, to, attributes, 0, -1, search));
    }
    ASSERT_EQ(fast.Lines().Lines(), plain.Lines().Lines());
    ExpectEveryLineClear(fast);

    // Moving blocks about and re-validating keeps both diagrams equal and every line clear.
    for (int move = 0; move < 6; ++move) {
        const int id = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const CPixelRect old = fast.BlockRect(id);
        fast.Blocks().Lift(id);
        const int x = Uniform(rng, 0, 80) * 10;
        const int y = Uniform(rng, 0, 80) * 10;
        const CPixelRect moved = CPixelRect::FromSize(x, y, old.Width(), old.Height());
        fast.Blocks().Drop(id);
        if (fast.Blocks().IntersectsAnyBlock(moved, id))
            continue;
        fast.MoveBlock(id, moved);
        plain.MoveBlock(id, moved);
        fast.RevalidateAllLines();
        plain.RevalidateAllLines();
        ASSERT_EQ(fast.Lines().Lines(), plain.Lines().Lines()) << "seed " << GetParam() << " move " << move;
        ExpectEveryLineClear(fast);
    }

    // Line style steps agree too.
    std::vector<int> lineIds;
    for (const auto& entry : fast.Lines().Lines())
        lineIds.push_back(entry.first);
    for (int lineId : lineIds) {
        fast.SelectLine(lineId);
        plain.SelectLine(lineId);
        fast.CycleLineStyle();
        plain.CycleLineStyle();
        ASSERT_EQ(fast.Lines().Lines(), plain.Lines().Lines()) << "seed " << GetParam();
    }
    ExpectEveryLineClear(fast);
}

TEST_P(RoutingProperty, LaneClearanceAnswersLikeThePlainTest) {
    std::mt19937 rng(GetParam() * 7919u + 1u);
    CBlockDiagram diagram;
    Populate(diagram, rng, 15, 400);
    const std::vector<int> ids = BlockIds(diagram);
    for (int i = 0; i < 20; ++i)
        diagram.Route(ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))],
                      ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))], 0x13,
                      0, -1, true);
    for (int i = 0; i < 400; ++i) {
        std::vector<LinePoint> path{{Uniform(rng, 0, 50) * 10, Uniform(rng, 0, 50) * 10}};
        const int points = Uniform(rng, 1, 4);
        for (int k = 0; k < points; ++k) {
            LinePoint next = path.back();
            const int step = Uniform(rng, -20, 20) * (Uniform(rng, 0, 1) ? 10 : 1);
            if (Uniform(rng, 0, 9) == 0)
                next = {next.x + step, next.y + 10};
            else if (k % 2 == 0)
                next.x += step;
            else
                next.y += step;
            path.push_back(next);
        }
        const int from =
            Uniform(rng, 0, 3) == 0
                ? -1
                : ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const int to = Uniform(rng, 0, 3) == 0
                           ? -1
                           : ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const int ignore = Uniform(rng, -1, 5);
        EXPECT_EQ(diagram.IsPathClear(path, from, to, ignore),
                  IsPathClearPlain(diagram.Blocks(), diagram.Lines(), path, from, to, ignore))
            << "seed " << GetParam() << " path " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoutingProperty, testing::Range(1u, 41u));

} // namespace
} // namespace kestra
