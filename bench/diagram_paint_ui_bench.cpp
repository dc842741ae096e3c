// Painting the block diagram on Qt's offscreen platform: a diagram of 100 blocks and 300 routed
// lines into a 1600 x 1000 image (target under 16 ms), and one step of dragging a block across
// it: the move, the re-validation of every line and the repaint of the exposed area (target
// under 16 ms a step).
#include "diagram_scenes.h"
#include "offscreen_main.h"
#include "picture/diagram_painter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace kestra;

void BM_PaintDiagram100Blocks300Lines(benchmark::State& state) {
    const bench::MoveScene scene = bench::MakeMoveScene();
    QImage image(1600, 1000, QImage::Format_RGB32);
    const CDiagramPainter painter(scene.diagram, QApplication::font(), CDiagramPainter::Look::Screen);
    for (auto _ : state) {
        QPainter target(&image);
        painter.Paint(target, CPixelRect{0, 0, 1600, 1000});
        target.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintDiagram100Blocks300Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_DragStepMoveRevalidateRepaint(benchmark::State& state) {
    bench::MoveScene scene = bench::MakeMoveScene();
    CBlockDiagram& diagram = scene.diagram;
    QImage image(1600, 1000, QImage::Format_RGB32);
    const CDiagramPainter painter(diagram, QApplication::font(), CDiagramPainter::Look::Screen);
    const CPixelRect start = diagram.BlockRect(scene.moved);
    int step = 0;
    for (auto _ : state) {
        // The block walks right in 10-pixel steps across the diagram and starts again.
        const CPixelRect old = diagram.BlockRect(scene.moved);
        CPixelRect next = start.Offset(10 * (step++ % 60), 0);
        if (diagram.Blocks().IntersectsAnyBlock(next, scene.moved))
            next = old;
        diagram.MoveBlock(scene.moved, next);
        diagram.RevalidateAllLines();
        const CPixelRect exposed{std::min(old.left, next.left) - 10, std::min(old.top, next.top) - 10,
                                 std::max(old.right, next.right) + 10,
                                 std::max(old.bottom, next.bottom) + 10};
        QPainter target(&image);
        painter.Paint(target, exposed);
        target.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DragStepMoveRevalidateRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    return kestra::bench::RunOffscreen(argc, argv);
}
