#include "analysis/scanner.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

std::string SyntheticSource(int statements) {
    std::string text = "library ieee;\r\nuse ieee.std_logic_1164.all;\r\n";
    for (int i = 0; i < statements; ++i) {
        text += "\tsignal s" + std::to_string(i) + " : std_logic_vector(7 downto 0); -- bus ; " +
                std::to_string(i) + "\r\n";
    }
    text += "end;\r\n";
    return text;
}

// Walks every statement and reads its first word: the pattern of the analysis readers.
void BM_StatementWalk(benchmark::State& state) {
    const std::string text = SyntheticSource(static_cast<int>(state.range(0)));
    const kestra::CScanner scanner(text);
    for (auto _ : state) {
        std::size_t words = 0;
        std::optional<std::size_t> pos = 0;
        while (pos) {
            std::size_t cursor = *pos;
            words += scanner.ReadIdentifier(cursor).size();
            pos = scanner.NextStatement(cursor);
        }
        benchmark::DoNotOptimize(words);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StatementWalk)->Arg(1000)->Arg(100000);

void BM_FindWordOutsideComments(benchmark::State& state) {
    const std::string text = SyntheticSource(static_cast<int>(state.range(0)));
    const kestra::CScanner scanner(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.FindWordOutsideComments(0, "end"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FindWordOutsideComments)->Arg(100000);

} // namespace
