#include "analysis/design_plan.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Module i of a tree of `count` modules: it instantiates modules 2i+1 and 2i+2 (the second one
// in a for-generate, through a component), uses the shared package, and fills its statement
// part with processes until its file has about `bytes` characters.
std::string Module(int i, int count, std::size_t bytes) {
    const std::string name = "m" + std::to_string(i);
    std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\nuse work.shared_pkg.all;\n\n"
                       "entity " +
                       name + " is\n  port (clk : in std_logic; d : in word_t; q : out word_t);\nend " +
                       name + ";\n\narchitecture rtl of " + name +
                       " is\n  signal r : word_t; -- entity x is\n";
    for (int c = 2 * i + 1; c <= 2 * i + 2 && c < count; ++c)
        text += "  component m" + std::to_string(c) +
                " is port (clk : in std_logic; d : in word_t; q : out word_t); end component;\n";
    text += "begin\n";
    if (2 * i + 1 < count)
        text += "  u_left: entity work.m" + std::to_string(2 * i + 1) + "(rtl) port map (clk, d, open);\n";
    if (2 * i + 2 < count)
        text += "  g: for k in 0 to 3 generate\n    u_right: m" + std::to_string(2 * i + 2) +
                " port map (clk => clk, d => d, q => open);\n  end generate;\n";
    for (int p = 0; text.size() < bytes; ++p) {
        const std::string n = std::to_string(p);
        text += "  p" + n +
                ": process (clk) -- \"architecture a of b is\"\n  begin\n"
                "    if rising_edge(clk) then\n      case d(1 downto 0) is\n"
                "        when \"00\" => r <= next_word(d, " +
                n +
                ");\n"
                "        when others => r <= (others => '0');\n      end case;\n    end if;\n"
                "  end process p" +
                n + ";\n";
    }
    return text + "  q <= r;\nend architecture rtl;\n";
}

std::vector<kestra::DesignSourceFile> Design(int files, std::size_t bytesPerFile) {
    std::vector<kestra::DesignSourceFile> design;
    design.push_back({"shared_pkg.vhd", "library ieee;\nuse ieee.std_logic_1164.all;\npackage shared_pkg is\n"
                                        "  subtype word_t is std_logic_vector(31 downto 0);\n"
                                        "  function next_word(w : word_t; n : natural) return word_t;\n"
                                        "end package;\npackage body shared_pkg is\n"
                                        "  function next_word(w : word_t; n : natural) return word_t is\n"
                                        "  begin return w; end function;\nend package body;\n"});
    for (int i = 0; i + 1 < files; ++i)
        design.push_back({"m" + std::to_string(i) + ".vhd", Module(i, files - 1, bytesPerFile)});
    return design;
}

// Arguments: files, bytes per file.
void BM_PlanDesignImport(benchmark::State& state) {
    const std::vector<kestra::DesignSourceFile> files =
        Design(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
    std::int64_t bytes = 0;
    for (const kestra::DesignSourceFile& file : files)
        bytes += static_cast<std::int64_t>(file.text.size());
    for (auto _ : state) {
        const kestra::DesignImportPlan plan = kestra::PlanDesignImport(files);
        if (plan.tops.size() != 1 || !plan.problems.empty())
            state.SkipWithError("the synthetic design did not plan");
        benchmark::DoNotOptimize(plan);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}
BENCHMARK(BM_PlanDesignImport)->Args({60, 25000})->Unit(benchmark::kMillisecond);

} // namespace
