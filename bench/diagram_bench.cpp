#include "diagram/block_diagram.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

namespace {

using kestra::BlockKind;
using kestra::CBlockDiagram;
using kestra::CPixelRect;

int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Places up to count blocks on free grid places of an area x area square, keeping a 10-pixel
// gap between blocks so that lines can pass.
void AddRandomBlocks(CBlockDiagram& diagram, std::mt19937& rng, int count, int area) {
    for (int placed = 0, attempt = 0; placed < count && attempt < 100000; ++attempt) {
        const int w = Uniform(rng, 4, 12) * 10;
        const int h = Uniform(rng, 3, 10) * 10;
        const CPixelRect r = CPixelRect::FromSize(Uniform(rng, 1, (area - w) / 10) * 10,
                                                  Uniform(rng, 1, (area - h) / 10) * 10, w, h);
        if (diagram.Blocks().IntersectsAnyBlock(r.Inflate(10, 10)))
            continue;
        const BlockKind kind = placed % 5 == 0 ? BlockKind::InPort : BlockKind::Module;
        diagram.AddBlock(r.left, r.top, w, h, "b", 0, -1, kind);
        ++placed;
    }
}

// (a) 100 blocks, 300 routed lines: one block is moved onto the busiest part of the diagram
// and every line is re-validated, as after a drag.
struct MoveScene {
    CBlockDiagram diagram;
    int moved = -1;
    CPixelRect target;
};

MoveScene MakeMoveScene() {
    MoveScene scene;
    std::mt19937 rng(20240611u);
    AddRandomBlocks(scene.diagram, rng, 100, 1600);
    std::vector<int> ids;
    for (const auto& entry : scene.diagram.Blocks().Blocks())
        ids.push_back(entry.first);
    // Lines mostly between near neighbours, as drawn diagrams have them.
    while (scene.diagram.Lines().Count() < 300) {
        const int from = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const CPixelRect a = scene.diagram.BlockRect(from);
        int best = -1;
        int bestDistance = 0;
        for (int k = 0; k < 6; ++k) {
            const int to = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
            const CPixelRect b = scene.diagram.BlockRect(to);
            const int distance = std::abs(a.left - b.left) + std::abs(a.top - b.top);
            if (to != from && (best < 0 || distance < bestDistance)) {
                best = to;
                bestDistance = distance;
            }
        }
        if (best >= 0)
            scene.diagram.Route(from, best, 0x13, 0, -1, true);
    }
    // Move a block with lines to a free place near the middle, where lines pass.
    scene.moved = static_cast<int>(scene.diagram.Lines().Lines().begin()->second.fromId);
    const CPixelRect old = scene.diagram.BlockRect(scene.moved);
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const CPixelRect r = CPixelRect::FromSize(Uniform(rng, 60, 100) * 10, Uniform(rng, 60, 100) * 10,
                                                  old.Width(), old.Height());
        if (!scene.diagram.Blocks().IntersectsAnyBlock(r, scene.moved)) {
            scene.target = r;
            break;
        }
    }
    return scene;
}

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
