#include "diagram/auto_layout.h"

#include <gtest/gtest.h>
#include <random>

namespace kestra {
namespace {

using LayOut = std::vector<LayoutPlace> (*)(const std::vector<LayoutNode>&, const std::vector<LayoutEdge>&);

// Nodes by index; their ids differ from the indices.
struct Graph {
    std::vector<LayoutNode> nodes;
    std::vector<LayoutEdge> edges;
    std::size_t Add(LayoutColumn column, int width = 80, int height = 60) {
        nodes.push_back({100 + static_cast<int>(nodes.size()) * 3, width, height, column});
        return nodes.size() - 1;
    }
    void Link(std::size_t from, std::size_t to, int times = 1) {
        for (int i = 0; i < times; ++i)
            edges.push_back({nodes[from].id, nodes[to].id});
    }
    CPixelRect At(const std::vector<LayoutPlace>& places, std::size_t i) const {
        return CPixelRect::FromSize(places[i].topLeft.x, places[i].topLeft.y, nodes[i].width,
                                    nodes[i].height);
    }
};

// What every layout promises: one place per node in order, grid corners from (20, 20), the
// gaps between any two nodes, the first column left of and the last column right of all others.
void ExpectValidLayout(const Graph& graph, const std::vector<LayoutPlace>& places) {
    ASSERT_EQ(places.size(), graph.nodes.size());
    CPixelPoint least = places.front().topLeft;
    for (std::size_t i = 0; i < places.size(); ++i) {
        ASSERT_EQ(places[i].id, graph.nodes[i].id);
        const CPixelRect a = graph.At(places, i);
        EXPECT_TRUE(a.left % kGridStep == 0 && a.top % kGridStep == 0) << i;
        least = {std::min(least.x, a.left), std::min(least.y, a.top)};
        for (std::size_t j = 0; j < i; ++j) {
            const CPixelRect b = graph.At(places, j);
            const bool apartX = a.right + 40 <= b.left || b.right + 40 <= a.left;
            EXPECT_TRUE(apartX || a.bottom + 20 <= b.top || b.bottom + 20 <= a.top) << i << " and " << j;
            // First, Flow and Last are in the order of their columns.
            const LayoutColumn ca = graph.nodes[i].column;
            const LayoutColumn cb = graph.nodes[j].column;
            if (ca != cb) {
                EXPECT_LE((ca < cb ? a : b).right + 40, (ca < cb ? b : a).left) << i << " and " << j;
            }
        }
    }
    EXPECT_EQ(least, (CPixelPoint{20, 20}));
}

// Inputs feeding instances, instances feeding each other (cycles, buses of repeated edges) and
// the outputs; odd sizes, nodes without edges, and edges into an input and out of an output that
// the columns overrule.
Graph RandomGraph(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Graph graph;
    for (int i = 0; i < 40; ++i)
        graph.Add(LayoutColumn::Flow, pick(60, 140), pick(40, 200));
    for (int i = 0; i < 22; ++i)
        graph.Add(i < 12 ? LayoutColumn::First : LayoutColumn::Last, pick(50, 80), pick(20, 23));
    auto instance = [&] { return static_cast<std::size_t>(pick(0, 39)); };
    for (std::size_t port = 40; port < 50; ++port)
        graph.Link(port, instance());
    for (std::size_t port = 52; port < 60; ++port)
        graph.Link(instance(), port);
    for (int i = 0; i < 80; ++i)
        graph.Link(instance(), instance(), pick(1, 4));
    graph.Link(instance(), 40);
    graph.Link(52, instance());
    graph.Link(41, 53);
    return graph;
}

class AutoLayoutTest : public testing::TestWithParam<LayOut> {};

TEST_P(AutoLayoutTest, FlowRunsLeftToRightThroughChainsAndCycles) {
    Graph graph;
    const std::size_t in = graph.Add(LayoutColumn::First, 50, 20);
    const std::size_t a = graph.Add(LayoutColumn::Flow);
    const std::size_t b = graph.Add(LayoutColumn::Flow);
    const std::size_t c = graph.Add(LayoutColumn::Flow);
    const std::size_t out = graph.Add(LayoutColumn::Last, 50, 20);
    graph.Link(in, a);
    graph.Link(a, b, 3);
    graph.Link(b, c);
    graph.Link(c, a); // closes a cycle
    graph.Link(c, c); // a loop is no edge for the layout
    graph.Link(c, out);
    const auto places = GetParam()(graph.nodes, graph.edges);
    ExpectValidLayout(graph, places);
    for (std::size_t i = in; i < out; ++i)
        EXPECT_LT(graph.At(places, i).right, graph.At(places, i + 1).left) << i;
}

TEST_P(AutoLayoutTest, LargeAndLooseGraphsKeepColumnsAndGaps) {
    Graph loose; // nodes without edges, one of no size
    for (int i = 0; i < 7; ++i)
        loose.Add(static_cast<LayoutColumn>(i % 3), i == 6 ? 0 : 47, i == 6 ? 0 : 33);
    for (const Graph& graph : {RandomGraph(1), RandomGraph(2), RandomGraph(3), loose})
        ExpectValidLayout(graph, GetParam()(graph.nodes, graph.edges));
    EXPECT_TRUE(GetParam()({}, {}).empty());
}

TEST_P(AutoLayoutTest, ColumnGapsWidenWithTheLinesCrossingThem) {
    auto gap = [](int lines) {
        Graph graph;
        const std::size_t in = graph.Add(LayoutColumn::First);
        graph.Link(in, graph.Add(LayoutColumn::Last), lines);
        const auto places = GetParam()(graph.nodes, graph.edges);
        return graph.At(places, 1).left - graph.At(places, 0).right;
    };
    EXPECT_GE(gap(1), 40);
    EXPECT_GT(gap(8), gap(1) + 50);
    EXPECT_LT(gap(1000), 400); // bounded
}

INSTANTIATE_TEST_SUITE_P(AutoLayout, AutoLayoutTest, testing::Values(&LayOutLayered, &LayOutInColumns),
                         [](const testing::TestParamInfo<LayOut>& param) {
                             return param.param == &LayOutLayered ? "Layered" : "InColumns";
                         });

TEST(AutoLayout, LayersReduceCrossingsThatColumnsKeep) {
    // Inputs listed in the opposite order of the readers they feed: stacked in list order the
    // lines cross.
    Graph graph;
    const std::size_t in1 = graph.Add(LayoutColumn::First, 50, 20);
    const std::size_t in2 = graph.Add(LayoutColumn::First, 50, 20);
    const std::size_t a = graph.Add(LayoutColumn::Flow);
    const std::size_t b = graph.Add(LayoutColumn::Flow);
    graph.Link(in1, b);
    graph.Link(in2, a);
    auto crosses = [&](const std::vector<LayoutPlace>& places) {
        return (graph.At(places, in1).top < graph.At(places, in2).top) !=
               (graph.At(places, b).top < graph.At(places, a).top);
    };
    EXPECT_TRUE(crosses(LayOutInColumns(graph.nodes, graph.edges)));
    EXPECT_FALSE(crosses(LayOutLayered(graph.nodes, graph.edges)));
}

TEST(AutoLayout, TangledGraphsGetColumnsWithoutTheLongWait) {
    // Lines from the head of a long chain to every later link pass some eleven thousand layers.
    Graph graph;
    graph.Add(LayoutColumn::Flow);
    for (std::size_t i = 1; i < 150; ++i) {
        graph.Link(i - 1, graph.Add(LayoutColumn::Flow));
        graph.Link(0, i);
    }
    EXPECT_EQ(LayOutLayered(graph.nodes, graph.edges), LayOutInColumns(graph.nodes, graph.edges));
}

} // namespace
} // namespace kestra
