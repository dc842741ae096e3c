#include "analysis/architecture_structure.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace {

// A top with the given number of instances of ten ports each, named and positional maps in
// turn, half of them inside a for-generate, with a process and assignments between them.
std::string TopWithInstances(int instances) {
    std::string text = "library ieee;\r\nuse ieee.std_logic_1164.all;\r\n\r\nentity top is\r\n"
                       "\tport (clk : in std_logic; d : in std_logic_vector(9 downto 0));\r\nend top;\r\n\r\n"
                       "architecture rtl of top is\r\n";
    for (int i = 0; i < instances; ++i)
        text += "\tsignal s_" + std::to_string(i) + " : std_logic_vector(9 downto 0); -- wires\r\n";
    text += "\tcomponent child is\r\n\t\tport (p0, p1, p2, p3, p4, p5, p6, p7, p8, p9 : in std_logic);\r\n"
            "\tend component;\r\nbegin\r\n\tg: for k in 0 to 3 generate\r\n";
    for (int i = 0; i < instances; ++i) {
        const std::string n = std::to_string(i);
        if (i == instances / 2)
            text += "\tend generate g;\r\n";
        text += "\tu" + n + " : child port map (\r\n";
        for (int p = 0; p < 10; ++p) {
            const std::string actual = "s_" + n + "(" + std::to_string(p) + ")";
            text += i % 2 == 0 ? "\t\tp" + std::to_string(p) + " => " + actual : "\t\t" + actual;
            text += p < 9 ? ",\r\n" : "\r\n\t);\r\n";
        }
        text += "\tp" + n + ": process (clk) begin if rising_edge(clk) then s_" + n +
                " <= d; end if; end process;\r\n";
    }
    return text + "end rtl;\r\n";
}

// Arguments: instances.
void BM_ReadArchitectureStructure(benchmark::State& state) {
    const std::string text = TopWithInstances(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::optional<kestra::ArchitectureStructure> structure =
            kestra::ReadArchitectureStructure(text, "top");
        if (!structure || structure->instances.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the synthetic top did not read");
        benchmark::DoNotOptimize(structure);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadArchitectureStructure)->Arg(40)->Arg(4000)->Unit(benchmark::kMicrosecond);

} // namespace
