// The automatic layout of a module's structure and the routing of its pin lines: a module of
// many instances and ports laid out in layers, and every signal drawn as a line from a driver's
// pin to a reader's pin among the placed blocks.

#include "diagram/auto_layout.h"
#include "diagram/block_list.h"
#include "diagram/line_table.h"
#include "diagram/pin_route.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <random>
#include <vector>

namespace {

using namespace kestra;

int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Instances (ids 0 ..), then inputs, then outputs. Every input feeds an instance and every output
// reads one; the instances drive each other forwards (by id) and one time in backwardsOneIn
// backwards; the edges beyond the distinct pairs repeat instance-to-instance pairs, as buses do.
struct Module {
    std::vector<LayoutNode> nodes;
    std::vector<LayoutEdge> edges;
};

Module MakeModule(int instances, int inputs, int outputs, int pairs, int edges, int backwardsOneIn = 8) {
    std::mt19937 rng(20240901u);
    Module module;
    const int firstInput = instances;
    const int firstOutput = instances + inputs;
    for (int i = 0; i < firstOutput + outputs; ++i) {
        const LayoutColumn column = i < firstInput    ? LayoutColumn::Flow
                                    : i < firstOutput ? LayoutColumn::First
                                                      : LayoutColumn::Last;
        module.nodes.push_back({i, column == LayoutColumn::Flow ? 120 : 60, 20, column});
    }
    std::vector<std::pair<int, int>> distinct;
    distinct.reserve(static_cast<std::size_t>(pairs));
    for (int i = 0; i < inputs; ++i)
        distinct.emplace_back(firstInput + i, Uniform(rng, 0, instances / 2));
    for (int i = 0; i < outputs; ++i)
        distinct.emplace_back(Uniform(rng, instances / 2, instances - 1), firstOutput + i);
    const std::size_t ports = distinct.size();
    while (static_cast<int>(distinct.size()) < pairs) {
        const int a = Uniform(rng, 0, instances - 1);
        const int b = Uniform(rng, 0, instances - 1);
        if (a == b || std::find(distinct.begin(), distinct.end(), std::make_pair(a, b)) != distinct.end())
            continue;
        const bool forwards = Uniform(rng, 1, backwardsOneIn) != 1;
        distinct.emplace_back(forwards ? std::min(a, b) : std::max(a, b),
                              forwards ? std::max(a, b) : std::min(a, b));
    }
    for (const auto& [from, to] : distinct)
        module.edges.push_back({from, to});
    while (static_cast<int>(module.edges.size()) < edges) {
        const auto& pair =
            distinct[static_cast<std::size_t>(Uniform(rng, static_cast<int>(ports), pairs - 1))];
        module.edges.push_back({pair.first, pair.second});
    }
    return module;
}

void BM_LayOutLayered110Nodes400Edges(benchmark::State& state) {
    const Module module = MakeModule(40, 35, 35, 120, 400);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutLayered(module.nodes, module.edges));
}
BENCHMARK(BM_LayOutLayered110Nodes400Edges)->Unit(benchmark::kMillisecond);

// As many backward as forward edges between the instances: long feedback lines, many layers.
void BM_LayOutLayeredTangled110Nodes400Edges(benchmark::State& state) {
    const Module module = MakeModule(40, 35, 35, 120, 400, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutLayered(module.nodes, module.edges));
}
BENCHMARK(BM_LayOutLayeredTangled110Nodes400Edges)->Unit(benchmark::kMillisecond);

// Twice the distinct pairs, half of them backwards: past the full effort of the layout library.
void BM_LayOutLayeredDense110Nodes400Edges(benchmark::State& state) {
    const Module module = MakeModule(40, 35, 35, 240, 400, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutLayered(module.nodes, module.edges));
}
BENCHMARK(BM_LayOutLayeredDense110Nodes400Edges)->Unit(benchmark::kMillisecond);

void BM_LayOutInColumns110Nodes400Edges(benchmark::State& state) {
    const Module module = MakeModule(40, 35, 35, 120, 400);
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutInColumns(module.nodes, module.edges));
}
BENCHMARK(BM_LayOutInColumns110Nodes400Edges)->Unit(benchmark::kMillisecond);

// The module's blocks, laid out, with one pin for every line on a port and one pin per line
// and side on an instance (outputs on the right, inputs on the left, each side ordered by the
// height of the other end so that the lines cross less).
struct PinScene {
    CBlockList blocks;
    std::vector<std::pair<PinLineEnd, PinLineEnd>> lines;
};

PinScene MakePinScene() {
    Module module = MakeModule(30, 25, 25, 100, 400);
    std::vector<int> outputs(module.nodes.size(), 0);
    std::vector<int> inputs(module.nodes.size(), 0);
    for (const LayoutEdge& edge : module.edges) {
        ++outputs[static_cast<std::size_t>(edge.from)];
        ++inputs[static_cast<std::size_t>(edge.to)];
    }
    for (LayoutNode& node : module.nodes) {
        const auto i = static_cast<std::size_t>(node.id);
        if (node.column == LayoutColumn::Flow)
            node.height = 10 * (std::max(outputs[i], inputs[i]) + 1);
    }
    PinScene scene;
    for (const LayoutPlace& place : LayOutLayered(module.nodes, module.edges)) {
        const LayoutNode& node = module.nodes[static_cast<std::size_t>(place.id)];
        scene.blocks.Add(CPixelRect::FromSize(place.topLeft.x, place.topLeft.y, node.width, node.height), "b",
                         0, node.id, BlockKind::Module);
    }
    auto centre = [&](int id) { return scene.blocks.Find(id)->rect.Centre().y; };
    std::stable_sort(module.edges.begin(), module.edges.end(), [&](const LayoutEdge& a, const LayoutEdge& b) {
        return centre(a.to) < centre(b.to) ||
               (centre(a.to) == centre(b.to) && centre(a.from) < centre(b.from));
    });
    std::map<int, int> outUsed;
    std::map<int, int> inUsed;
    auto pinY = [&](int id, std::map<int, int>& used) {
        const CPixelRect& r = scene.blocks.Find(id)->rect;
        if (module.nodes[static_cast<std::size_t>(id)].column != LayoutColumn::Flow)
            return r.top + 10;
        return r.top + 10 * (1 + used[id]++);
    };
    for (const LayoutEdge& edge : module.edges) {
        const CPixelRect& a = scene.blocks.Find(edge.from)->rect;
        const CPixelRect& b = scene.blocks.Find(edge.to)->rect;
        scene.lines.push_back({{edge.from, {a.right, pinY(edge.from, outUsed)}, LeaveDirection::Right},
                               {edge.to, {b.left, pinY(edge.to, inUsed)}, LeaveDirection::Left}});
    }
    return scene;
}

void BM_Route400PinLinesAmong80Blocks(benchmark::State& state) {
    const PinScene scene = MakePinScene();
    std::int64_t routed = 0;
    for (auto _ : state) {
        CLineTable lines;
        for (const auto& [from, to] : scene.lines) {
            const auto path = RoutePinLine(scene.blocks, lines, from, to, -1);
            if (!path)
                continue;
            LineRecord line;
            line.fromId = static_cast<std::uint32_t>(from.blockId);
            line.toId = static_cast<std::uint32_t>(to.blockId);
            line.points = *path;
            lines.Add(line, -1);
            ++routed;
        }
        benchmark::DoNotOptimize(lines.Count());
    }
    state.counters["lines_routed"] =
        benchmark::Counter(static_cast<double>(routed), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Route400PinLinesAmong80Blocks)->Unit(benchmark::kMillisecond);

} // namespace
