// The check with the real GHDL over a design of the size of a small processor: from scratch, and
// again after one leaf module changed, with the libraries kept from the check before. The
// argument says whether the top is elaborated after the files (as after Generate) or not (the
// check of the modules' sources after Analyze).
#include "support/design_counters.h"
#include "support/shell_runner.h"
#include "support/synthetic_design.h"
#include "support/temp_folder.h"
#include "tools/vhdl_check.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>

namespace {

using namespace kestra;

bool GhdlOnPath() {
    return std::system("command -v ghdl >/dev/null 2>&1") == 0;
}

const VhdlAnalyzer kGhdl{VhdlAnalyzer::Kind::Ghdl, "ghdl"};

CheckJob JobOf(const bench::SyntheticDesign& design, bool elaborate) {
    CheckJob job;
    for (const std::filesystem::path& file : design.files)
        job.files.push_back({file, "work"});
    if (elaborate)
        job.top = design.top;
    return job;
}

// Runs the check; false (and the benchmark skipped with the first message) when it found errors.
bool Check(benchmark::State& state, const CheckJob& job) {
    test::CShellRunner runner;
    const CheckOutcome outcome = RunVhdlCheck(job, kGhdl, runner);
    if (outcome.errors == 0 && !outcome.analyzerFailed)
        return true;
    const std::string message = outcome.messages.empty()
                                    ? std::string("the check failed")
                                    : outcome.messages.front().file + ": " + outcome.messages.front().text;
    state.SkipWithError(message.c_str());
    return false;
}

void BM_CheckFromScratch(benchmark::State& state) {
    if (!GhdlOnPath()) {
        state.SkipWithError("ghdl is not on PATH");
        return;
    }
    test::TempFolder folder;
    const bench::SyntheticDesign design = bench::WriteSyntheticDesign(folder.Path());
    const CheckJob job = JobOf(design, state.range(0) != 0);
    for (auto _ : state) {
        if (!Check(state, job))
            return;
    }
    bench::DescribeDesign(state, design);
}
BENCHMARK(BM_CheckFromScratch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckAfterOneLeafChanged(benchmark::State& state) {
    if (!GhdlOnPath()) {
        state.SkipWithError("ghdl is not on PATH");
        return;
    }
    test::TempFolder folder;
    const bench::SyntheticDesign design = bench::WriteSyntheticDesign(folder.Path());
    CheckJob job = JobOf(design, state.range(0) != 0);
    job.workFolder = folder / "kept";
    if (!Check(state, job))
        return;
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(design.leafFile, std::ios::app) << "-- edit " << ++edit << "\n";
        state.ResumeTiming();
        if (!Check(state, job))
            return;
    }
    bench::DescribeDesign(state, design);
}
BENCHMARK(BM_CheckAfterOneLeafChanged)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
