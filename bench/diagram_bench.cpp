#include "diagram_scenes.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

namespace {

using kestra::BlockKind;
using kestra::CBlockDiagram;
using kestra::CPixelRect;
using kestra::bench::AddRandomBlocks;
using kestra::bench::MakeMoveScene;
using kestra::bench::MoveScene;

void MoveAndRevalidate(benchmark::State& state, bool plain) {
    const MoveScene scene = MakeMoveScene();
    std::int64_t rerouted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CBlockDiagram diagram = scene.diagram;
        diagram.SetPlainRouting(plain);
        state.ResumeTiming();
        diagram.MoveBlock(scene.moved, scene.target);
        diagram.RevalidateAllLines();
        benchmark::DoNotOptimize(diagram.Lines().LineRegion().Pieces().size());
        state.PauseTiming();
        for (const auto& [id, line] : diagram.Lines().Lines())
            rerouted +=
                scene.diagram.Lines().Find(id) && scene.diagram.Lines().Find(id)->points != line.points;
        state.ResumeTiming();
    }
    state.counters["lines_rerouted"] =
        benchmark::Counter(static_cast<double>(rerouted), benchmark::Counter::kAvgIterations);
}

void BM_MoveBlockRevalidate300Lines(benchmark::State& state) {
    MoveAndRevalidate(state, false);
}
void BM_MoveBlockRevalidate300LinesPlain(benchmark::State& state) {
    MoveAndRevalidate(state, true);
}
BENCHMARK(BM_MoveBlockRevalidate300Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_MoveBlockRevalidate300LinesPlain)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// (b) A new automatic link in a 3000 x 3000 diagram with 100 blocks, to a block walled in
// on all four sides: every variant is exhausted and the line ends up `Unrouted`.
struct WalledScene {
    CBlockDiagram diagram;
    int from = -1;
    int to = -1;
};

WalledScene MakeWalledScene() {
    WalledScene scene;
    CBlockDiagram& d = scene.diagram;
    // Large end blocks give every variant many border positions to try.
    scene.to = d.AddBlock(1500, 1500, 200, 200, "to", 0, -1, BlockKind::Module);
    d.AddBlock(1440, 1440, 320, 20, "wall", 0, -1, BlockKind::Module);
    d.AddBlock(1440, 1740, 320, 20, "wall", 0, -1, BlockKind::Module);
    d.AddBlock(1440, 1460, 20, 280, "wall", 0, -1, BlockKind::Module);
    d.AddBlock(1740, 1460, 20, 280, "wall", 0, -1, BlockKind::Module);
    scene.from = d.AddBlock(300, 400, 200, 200, "from", 0, -1, BlockKind::Module);
    std::mt19937 rng(7u);
    AddRandomBlocks(d, rng, 94, 3000);
    d.Blocks().GrowExtents(3000, 3000);
    return scene;
}

void RouteWalledIn(benchmark::State& state, bool plain) {
    WalledScene scene = MakeWalledScene();
    scene.diagram.SetPlainRouting(plain);
    for (auto _ : state) {
        const int id = scene.diagram.Route(scene.from, scene.to, 0x13, 0, -1, true);
        if ((scene.diagram.Lines().Find(id)->attributes & kestra::LineRecord::Unrouted) == 0)
            state.SkipWithError("a route was found");
        scene.diagram.RemoveLine(id);
    }
}

void BM_NewLinkNoPath3000(benchmark::State& state) {
    RouteWalledIn(state, false);
}
void BM_NewLinkNoPath3000Plain(benchmark::State& state) {
    RouteWalledIn(state, true);
}
BENCHMARK(BM_NewLinkNoPath3000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_NewLinkNoPath3000Plain)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
