// The instantiation the VHDL editor inserts for a child: entity form, every port by name, the
// child's parameter values in its generic map.
#include "generation/instantiation.h"
#include "model/design_object.h"
#include "support/ghdl.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

const std::string kCounter =
    "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
    "entity CNT is\r\n"
    "\tgeneric (WIDTH : integer := 4; NAME : string := \"c\"; FAST, SLOW : boolean := false);\r\n"
    "\tport (\r\n\t\tCLK, RST : in std_logic; -- clock and reset\r\n"
    "\t\tQ : out std_logic_vector(WIDTH - 1 downto 0)\r\n\t);\r\n"
    "end CNT;\r\n\r\narchitecture rtl of CNT is\r\nbegin\r\n"
    "\tQ <= (others => '0');\r\nend rtl;\r\n";

// The counter's object: the module entry, WIDTH set to 8 and NAME to "fast" (a String
// parameter, written in quotes); FAST and SLOW keep their defaults.
CKSTObject CounterObject() {
    CKSTObject object;
    object.SetEntryCount(3);
    object.SetEntry(0, EntryKind::Vhdl, "CNT", "CNT.vhd");
    object.SetEntry(1, EntryKind::Numeric, "WIDTH", "8");
    object.SetEntry(2, EntryKind::String, "NAME", "fast");
    return object;
}

TEST(Instantiation, EveryPortByNameAndTheParameterValues) {
    const std::optional<std::string> text =
        InstantiationText("CNT", "u_CNT: entity work.CNT", CounterObject(), kCounter, "\r\n", "\t");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "u_CNT: entity work.CNT\r\n"
                     "\t\tgeneric map (\r\n"
                     "\t\t\tWIDTH => 8,\r\n\t\t\tNAME => \"fast\",\r\n"
                     "\t\t\tFAST => false,\r\n\t\t\tSLOW => false\r\n"
                     "\t\t)\r\n"
                     "\t\tport map (\r\n"
                     "\t\t\tCLK => CLK,\r\n\t\t\tRST => RST,\r\n\t\t\tQ => Q\r\n"
                     "\t\t);");
}

// A child without generics gets no generic map; the library and the file's line ends and
// indentation of spaces are kept; a missing entity gives none.
TEST(Instantiation, NoGenericMapWithoutGenericsAndTheFilesLayout) {
    const std::string source = "entity INV is\n  port (A : in bit; Y : out bit);\nend INV;\n";
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, "INV", "olo/inv.vhd");
    EXPECT_EQ(InstantiationText("INV", "u_INV: entity olo.INV", object, source, "\n", "  "),
              "u_INV: entity olo.INV\n    port map (\n      A => A,\n      Y => Y\n    );");
    EXPECT_FALSE(InstantiationText("NOPE", "u_NOPE: NOPE", object, source, "\n", "").has_value());
}

// A parent that declares a signal for every port and holds the inserted instantiation analyses.
TEST(Instantiation, AParentWithTheInstantiationAnalyses) {
    KESTRA_REQUIRE_GHDL();
    const std::optional<std::string> text =
        InstantiationText("CNT", "u_CNT: entity work.CNT", CounterObject(), kCounter, "\r\n", "\t");
    ASSERT_TRUE(text.has_value());
    const std::string parent = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
                               "entity TOP is\r\nend TOP;\r\n\r\narchitecture rtl of TOP is\r\n"
                               "\tsignal CLK, RST : std_logic;\r\n"
                               "\tsignal Q : std_logic_vector(7 downto 0);\r\nbegin\r\n\t" +
                               *text + "\r\nend rtl;\r\n";
    const test::GhdlResult result = test::GhdlAnalyze({kCounter, parent}, "TOP");
    EXPECT_TRUE(result.ok) << result.output << parent;
}

} // namespace
} // namespace kestra
