#pragma once

// main() of the benchmarks that drive widgets: Qt's offscreen platform, then the benchmarks.

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kestra::bench {

inline int RunOffscreen(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kestra::bench
