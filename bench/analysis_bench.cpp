#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <string>

namespace {

// A module with the given number of generics, ports and architecture signals (each kind of
// declaration written as a designer would, comments included), plus a second architecture.
std::string SyntheticModule(int generics, int ports, int signals, bool comments = true) {
    const std::string lineEnd = comments ? "\r\n" : " ";
    const auto note = [comments](const std::string& text) {
        return comments ? " -- " + text : std::string();
    };
    std::string text = "library ieee;" + lineEnd + "use ieee.std_logic_1164.all;" + lineEnd + lineEnd;
    text += "entity big is" + lineEnd + "\tgeneric (" + lineEnd;
    for (int i = 0; i < generics; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 4) {
        case 0:
            text += "\t\tWIDTH_" + n + " : integer := " + std::to_string(8 + i % 24) + ";" +
                    note("bus width") + lineEnd;
            break;
        case 1:
            text += "\t\tLEVEL_" + n + " : std_logic := '1';" + lineEnd;
            break;
        case 2:
            text += "\t\tWORD_" + n + " : type := unsigned;" + lineEnd;
            break;
        default:
            text += "\t\tINIT_" + n + " : file := \"rom_" + n + ".hex\";" + lineEnd;
            break;
        }
    }
    text += "\t\tLAST : natural := 1);" + lineEnd + "\tport (" + lineEnd;
    for (int i = 0; i < ports; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 3) {
        case 0:
            text += "\t\tclk_" + n + ", rst_" + n + " : in std_logic;" + note("clock and reset") + lineEnd;
            break;
        case 1:
            text += "\t\tdata_" + n + " : out std_logic_vector(WIDTH_0-1 downto 0);" + lineEnd;
            break;
        default:
            text += "\t\tword_" + n + " : inout word_t" + std::to_string(i % 50) + ";" + lineEnd;
            break;
        }
    }
    text += "\t\tdone : out std_logic);" + lineEnd;
    text += "\ttype ENUM_WIDTH_0 is (8, 16, 32);" + lineEnd + "\ttype ENUM_S is (slow, fast);" + lineEnd +
            "\tconstant S : ENUM_S := fast;" + lineEnd + "end big;" + lineEnd + lineEnd;
    text += "architecture rtl of big is" + lineEnd + "\ttype state_t is (idle, run, stop);" + lineEnd;
    for (int i = 0; i < signals; ++i) {
        const std::string n = std::to_string(i);
        if (i % 2 == 0)
            text += "\tsignal s_" + n + " : std_logic_vector(7 downto 0) := (others => '0');" + note("reg") +
                    lineEnd;
        else
            text += "\tsignal t_" + n + " : sig_t" + std::to_string(i % 100) + ";" + lineEnd;
    }
    text +=
        "\tfunction f(x : integer) return integer is begin if x > 0 then return 1; end if; return 0; end f;" +
        lineEnd + "begin" + lineEnd;
    for (int i = 0; i < signals; ++i)
        text += "\ts_" + std::to_string(i) + " <= (others => '1') when rst_0 = '1' else d;" + lineEnd;
    text += "end rtl;" + lineEnd + lineEnd + "architecture beh of big is begin end beh;" + lineEnd;
    return text;
}

void AnalyzeOnce(const std::string& text, benchmark::State& state) {
    kestra::AnalysisContext context;
    context.moduleName = "big";
    kestra::CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, kestra::EntryKind::Vhdl, "big", "big.vhd");
    kestra::CVHDLSignal signals;
    const kestra::CScanner scanner(text, &context);
    std::size_t cursor = 0;
    kestra::AnalyzeEntity(scanner, kestra::EntityMode::Analyze, cursor, &object, &signals);
    if (!context.HasError())
        kestra::AnalyzeArchitectures(scanner, &object);
    if (context.HasError())
        state.SkipWithError("the synthetic module did not analyse");
    benchmark::DoNotOptimize(object.GetEntryCount() + signals.GetSignalCount());
}

// Arguments: generics, ports, architecture signals.
void BM_AnalyzeModule(benchmark::State& state) {
    const std::string text = SyntheticModule(
        static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    for (auto _ : state)
        AnalyzeOnce(text, state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["source_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_AnalyzeModule)
    ->Args({100, 1000, 1000})
    ->Args({2000, 30000, 30000})
    ->Unit(benchmark::kMillisecond);

// The same module written on one line: comment tests and statement searches must not look
// back to the start of the line each time.
void BM_AnalyzeSingleLineModule(benchmark::State& state) {
    const std::string text =
        SyntheticModule(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                        static_cast<int>(state.range(2)), false);
    for (auto _ : state)
        AnalyzeOnce(text, state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["source_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_AnalyzeSingleLineModule)
    ->Args({100, 1000, 1000})
    ->Args({2000, 30000, 30000})
    ->Unit(benchmark::kMillisecond);

// About 50 MB of bytes that are mostly not VHDL, with VHDL words and other modules' units spread
// through them, followed by the module: every search has to cross the whole text.
void BM_AnalyzeJunk(benchmark::State& state) {
    std::mt19937 random(1);
    const char* words[] = {"; entity other is ",
                           "; architecture a of other is ",
                           " end ",
                           "(",
                           ")",
                           "-- ",
                           "\r\n",
                           "\"",
                           "; ",
                           " begin ",
                           " type ",
                           " function f "};
    std::string text;
    text.reserve(static_cast<std::size_t>(state.range(0)) + 4096);
    while (text.size() < static_cast<std::size_t>(state.range(0))) {
        if (random() % 4 == 0)
            text += words[random() % std::size(words)];
        else
            text += static_cast<char>(1 + random() % 255); // no NUL: it would end the text
    }
    text += "\r\n;\r\n" + SyntheticModule(4, 10, 10);
    for (auto _ : state)
        AnalyzeOnce(text, state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_AnalyzeJunk)->Arg(50 << 20)->Unit(benchmark::kMillisecond);

// A source in the style of a real IP library: a comment header, context clauses, many entity and
// architecture pairs with processes, state machines, generate statements, component instances and
// functions, and last the module being analysed with a large architecture of the same kind. It
// keeps to forms that every version of the readers accepts, so that figures stay comparable.
std::string LibraryUnit(const std::string& name, int processes) {
    std::string t;
    t += "--------------------------------------------------------------------------------\n"
         "-- " +
         name +
         ": a register slice with a small state machine\n"
         "-- Author:  J. Example\n"
         "--------------------------------------------------------------------------------\n"
         "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";
    t += "entity " + name +
         " is\n"
         "  generic (\n"
         "    DATA_WIDTH : natural := 32;  -- width of the data path\n"
         "    DEPTH      : positive := 16;\n"
         "    RESET_VAL  : integer := 0\n"
         "  );\n"
         "  port (\n"
         "    clk_i   : in  std_logic;  -- system clock\n"
         "    rst_n_i : in  std_logic;\n"
         "    valid_i : in  std_logic;\n"
         "    data_i  : in  std_logic_vector(DATA_WIDTH-1 downto 0);\n"
         "    ready_o : out std_logic;\n"
         "    data_o  : out std_logic_vector(DATA_WIDTH-1 downto 0)\n"
         "  );\n"
         "end " +
         name + ";\n\n";
    t += "architecture rtl of " + name +
         " is\n"
         "  type state_t is (IDLE, LOAD, SHIFT, DONE);\n"
         "  signal state, state_next : state_t;\n"
         "  signal count : unsigned(7 downto 0) := (others => '0');\n"
         "  signal data_q : std_logic_vector(DATA_WIDTH-1 downto 0) := (others => '0');\n"
         "  constant ZERO : std_logic_vector(DATA_WIDTH-1 downto 0) := (others => '0');\n"
         "  function parity(v : std_logic_vector) return std_logic is\n"
         "    variable p : std_logic := '0';\n"
         "  begin\n"
         "    for i in v'range loop\n"
         "      p := p xor v(i);\n"
         "    end loop;\n"
         "    return p;\n"
         "  end parity;\n"
         "begin\n";
    for (int p = 0; p < processes; ++p) {
        const std::string n = std::to_string(p);
        t += "  -- state register " + n +
             "\n"
             "  reg_" +
             n +
             " : process(clk_i, rst_n_i)\n"
             "  begin\n"
             "    if rst_n_i = '0' then\n"
             "      state <= IDLE;\n"
             "      count <= (others => '0');\n"
             "    elsif rising_edge(clk_i) then\n"
             "      case state is\n"
             "        when IDLE  => if valid_i = '1' then state <= LOAD; end if;\n"
             "        when LOAD  => data_q <= data_i; state <= SHIFT;\n"
             "        when SHIFT => count <= count + 1;\n"
             "                      if count = DEPTH - 1 then state <= DONE; end if;\n"
             "        when others => state <= IDLE;\n"
             "      end case;\n"
             "    end if;\n"
             "  end process reg_" +
             n +
             ";\n\n"
             "  gen_" +
             n +
             " : for i in 0 to DATA_WIDTH/8 - 1 generate\n"
             "    data_o(8*i+7 downto 8*i) <= data_q(8*i+7 downto 8*i) when state = DONE else (others => "
             "'0');\n"
             "  end generate gen_" +
             n + ";\n\n";
    }
    t += "  ready_o <= '1' when state = IDLE else '0';\n"
         "end rtl;\n\n";
    return t;
}

std::string RealStyleSource(std::size_t bytes) {
    std::string text;
    int unit = 0;
    while (text.size() < bytes / 2)
        text += LibraryUnit("slice_" + std::to_string(unit++), 4);
    const std::string top = LibraryUnit("big", 8);
    const std::size_t perProcess = (top.size() - LibraryUnit("big", 0).size()) / 8;
    text += LibraryUnit("big", static_cast<int>((bytes - text.size()) / perProcess));
    return text;
}

void BM_AnalyzeRealStyleSource(benchmark::State& state) {
    const std::string text = RealStyleSource(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        AnalyzeOnce(text, state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["source_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_AnalyzeRealStyleSource)->Arg(3 << 20)->Unit(benchmark::kMillisecond);

} // namespace
