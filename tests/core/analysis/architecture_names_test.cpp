#include "analysis/architecture_names.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kestra {
namespace {

std::set<std::string> Sorted(const NameSet& names) {
    return {names.begin(), names.end()};
}

// Every way a statement part drives a name, and the port map actuals it only reads.
TEST(ArchitectureNames, DrivenNamesOfEveryKindOfStatement) {
    const std::string text = "begin\n"
                             "  a(i) <= '1';  r.f <= '0'; (b, c) <= v; -- x <= y\n"
                             "  p: process begin if go then load(d, \"e <= 1\"); end if; wait; end process;\n"
                             "  U1: KNOWN generic map (W => 4) port map (k_in => in1, k_out => out1);\n"
                             "  U2: KNOWN port map (in2, out2);\n"
                             "  U3: entity work.KNOWN(rtl) port map (in3, open);\n"
                             "  U4: OTHER port map (o_in => in4);\n"
                             "  g <= h when s = t else n;\n"
                             "end;";
    const std::vector<UnitShape> units{{"KNOWN", {{"k_in", "in", "bit"}, {"k_out", "out", "bit"}}}};
    EXPECT_EQ(Sorted(DrivenNames(text, 5, text.rfind("end"), units)),
              (std::set<std::string>{"a", "i", "r", "f", "b", "c", "d", "out1", "out2", "open", "in4", "g"}));
}

TEST(ArchitectureNames, SignalsOfTheDeclarativePartOnly) {
    const std::string text = "is\n  signal A, b : std_logic_vector(7 downto 0) := (others => '0');\n"
                             "  constant C : bit := '1';\n"
                             "  function f return bit is variable v : bit; begin return v; end;\n"
                             "  for all : c use entity work.e;\n  end for;\n"
                             "  signal \\odd name\\ : bit;\nbegin\n  signal_x <= '1';\nend;";
    const std::vector<PortShape> signals = DeclaredSignals(text, 2, text.find("\nbegin") + 1);
    ASSERT_EQ(signals.size(), 3u);
    EXPECT_EQ(signals[0].name, "A");
    EXPECT_EQ(signals[1].name, "b");
    EXPECT_EQ(signals[1].type, "std_logic_vector(7 downto 0)");
    EXPECT_EQ(signals[1].mode, "");
    EXPECT_EQ(signals[2].name, "\\odd name\\");
    EXPECT_EQ(signals[2].type, "bit");
}

} // namespace
} // namespace kestra
