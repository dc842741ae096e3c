#include "model/archive.h"
#include "model/vhdl_signal.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(VhdlSignal, CheckSignalResults) {
    struct Case {
        const char *name, *mode, *type, *range;
        SignalCheck expected;
    };
    const Case cases[] = {
        {"", "in", "std_logic", "", SignalCheck::EmptyText},
        {"1a", "in", "std_logic", "", SignalCheck::Invalid},
        {"a b", "in", "std_logic", "", SignalCheck::Invalid},
        {"data -- input bus", "in", "std_logic", "", SignalCheck::Valid},
        {"a", "into", "std_logic", "", SignalCheck::Invalid},
        {"a", "OUT", "std_logic", "", SignalCheck::Valid},
        {"a", "", "std_logic", "", SignalCheck::EmptyText},
        {"a", "in out", "std_logic", "", SignalCheck::Invalid},
        {"a", "in", "", "", SignalCheck::EmptyText},
        {"a", "in", "std_logic", "0", SignalCheck::Invalid},
        {"a", "in", "STD_LOGIC", "  ", SignalCheck::Valid},
        {"a", "in", "my_type", "anything at all )(", SignalCheck::Valid},
        {"a", "in", "std_logic_vector", "7 downto 0", SignalCheck::Valid},
        {"a", "in", "std_logic_vector", "", SignalCheck::Valid},
        {"a", "in", "std_logic_vector", "7 downto 0)", SignalCheck::Invalid},
        {"a", "in", "std_logic_vector", "7 downto 0; x", SignalCheck::Invalid},
        {"a", "in", "unsigned", "W-1 downto 0 -- bus", SignalCheck::Valid},
        {"a", "in", "integer", "0 to 15", SignalCheck::Valid},
        {"a", "in", "natural", "\"q\" & x", SignalCheck::Invalid},
        {"a", "in", "std_logic vector", "", SignalCheck::Invalid},
        {"a", "in", "work.types.word", "", SignalCheck::Valid}, // a selected name, as analysis reads it
        {"a", "in", "work.", "", SignalCheck::Invalid},
        {"a_", "in", "bit", "", SignalCheck::EmptyText}, // the reader gives nothing and nothing follows it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "|" + c.mode + "|" + c.type + "|" + c.range);
        EXPECT_EQ(CVHDLSignal::CheckSignal(c.name, c.mode, c.type, c.range), c.expected);
    }
}

// Each row that cannot be declared says why, in the first thing that is wrong with it.
TEST(VhdlSignal, RowProblemsSayWhy) {
    CVHDLSignal signals;
    signals.SetSignalCount(5);
    signals.SetSignal(0, "clk", "in", "std_logic");
    signals.SetSignal(1, "CLK", "out", "bit");
    signals.SetSignal(2, "q", "sideways", "");
    signals.SetSignalAll(3, "r", "in", "bit", "7 downto 0", "");
    signals.SetSignal(4, "entity", "in", "bit");
    EXPECT_EQ(signals.RowProblems(),
              (std::vector<std::string>{
                  "row 2 has the same name (VHDL names ignore letter case).",
                  "row 1 has the same name (VHDL names ignore letter case).",
                  "\"sideways\" is not a port mode (in, out, inout, buffer or linkage).",
                  "a port of type BIT takes no range.",
                  "\"entity\" is a VHDL reserved word.",
              }));
}

TEST(VhdlSignal, PortClauseOfTwoSignals) {
    CVHDLSignal signals;
    signals.SetSignalCount(2);
    signals.SetSignal(0, "clk", "in", "std_logic");
    signals.SetSignalAll(1, "q", "out", "std_logic_vector", "7 downto 0", "");
    EXPECT_EQ(signals.FormatSignalList(SignalForm::PortDeclaration),
              "\r\n\tport (\r\n"
              "\t\tclk : in std_logic;\r\n"
              "\t\tq : out std_logic_vector(7 downto 0)\r\n"
              "\t);");
    EXPECT_EQ(signals.FormatSignalList(SignalForm::SignalDeclaration),
              "\tsignal clk : std_logic;\r\n"
              "\tsignal q : std_logic_vector(7 downto 0);\r\n");
}

TEST(VhdlSignal, FormatSignalRangesValuesAndComments) {
    CVHDLSignal signals;
    signals.SetSignalCount(5);
    signals.SetSignalAll(0, "count", "out", "integer", "0 to 15", "0");
    signals.SetSignalAll(1, "n", "in", "Natural", "0 to 3", "");
    signals.SetSignalAll(2, "data -- input bus", "in", "std_logic", "", "");
    signals.SetSignalAll(3, "", "in", "std_logic", "", "");
    signals.SetSignalAll(4, "r", "in", "std_logic_vector", "3 downto 0 -- low nibble", "");
    EXPECT_EQ(signals.FormatSignal(0, SignalForm::SignalDeclaration),
              "\tsignal count : integer range 0 to 15 := 0;\r\n");
    EXPECT_EQ(signals.FormatSignal(1, SignalForm::PortDeclaration), "\t\tn : in Natural range 0 to 3;\r\n");
    EXPECT_EQ(signals.FormatSignal(2, SignalForm::PortDeclaration),
              "\t\tdata -- input bus\r\n\t\t\t : in std_logic;\r\n");
    EXPECT_EQ(signals.FormatSignal(3, SignalForm::PortDeclaration), "");
    EXPECT_EQ(signals.FormatSignal(4, SignalForm::PortDeclaration),
              "\t\tr : in std_logic_vector(3 downto 0 -- low nibble\r\n\t\t\t);\r\n");
    EXPECT_EQ(signals.FormatSignal(9, SignalForm::PortDeclaration), "");
    EXPECT_EQ(signals.FormatSignal(0, static_cast<SignalForm>(5)), " range 0 to 15 := 0;\r\n");
}

TEST(VhdlSignal, PortClauseDropsTheLastSemicolonOnly) {
    CVHDLSignal invalidOnly;
    invalidOnly.SetSignalCount(2);
    invalidOnly.SetSignal(0, "", "in", "bit");
    invalidOnly.SetSignal(1, "x", "sideways", "bit");
    EXPECT_EQ(invalidOnly.FormatSignalList(SignalForm::PortDeclaration), "");

    // The last valid signal ends in a comment holding a ';', and an invalid signal follows it.
    CVHDLSignal signals;
    signals.SetSignalCount(3);
    signals.SetSignal(0, "a", "in", "bit");
    signals.SetSignalAll(1, "b", "out", "bit", "", "'0' -- reset; value");
    signals.SetSignal(2, "", "in", "bit");
    EXPECT_EQ(signals.FormatSignalList(SignalForm::PortDeclaration),
              "\r\n\tport (\r\n"
              "\t\ta : in bit;\r\n"
              "\t\tb : out bit := '0' -- reset; value\r\n\t\t\t\r\n"
              "\t);");
}

TEST(VhdlSignal, TableOperations) {
    CVHDLSignal signals;
    EXPECT_EQ(signals.RemoveSignal(0), -1);
    EXPECT_EQ(signals.AddSignal(), 1);
    EXPECT_EQ(signals.RemoveSignal(1), -1);
    EXPECT_TRUE(signals.SetSignalAll(0, "Clk", "in", "bit", "r", "v"));
    EXPECT_TRUE(signals.SetSignal(0, "Clk", "in", "bit")); // empties range and value
    EXPECT_EQ(signals.GetSignalText(0, 3), "");
    EXPECT_TRUE(signals.SetSignalText(0, 7, "ignored"));
    EXPECT_FALSE(signals.SetSignalText(1, 0, "x"));
    EXPECT_EQ(signals.GetSignalText(0, 5), "");
    EXPECT_EQ(signals.FindSignal("CLK"), 0);
    EXPECT_EQ(signals.FindSignal("clock"), -1);
    EXPECT_EQ(signals.RemoveSignal(0), 0);
}

TEST(VhdlSignal, SerializeLayoutRoundTripAndTruncation) {
    CVHDLSignal signals;
    signals.SetSignalCount(1);
    signals.SetSignalAll(0, "q", "out", "bit", "", "'1'");
    CArchive out = CArchive::ForStoring();
    ASSERT_TRUE(signals.Serialize(out));
    EXPECT_EQ(out.Buffer(), std::string("\x01\0\0\0\x01q\x03out\x03"
                                        "bit\x00\x03'1'",
                                        4 + 2 + 4 + 4 + 1 + 4));
    CArchive in = CArchive::ForLoading(out.Buffer());
    CVHDLSignal back;
    ASSERT_TRUE(back.Serialize(in));
    EXPECT_EQ(back, signals);

    for (std::size_t length = 0; length < out.Buffer().size(); ++length) {
        CArchive cut = CArchive::ForLoading(std::string_view(out.Buffer()).substr(0, length));
        CVHDLSignal partial;
        EXPECT_FALSE(partial.Serialize(cut)) << length;
    }
    const std::string hugeBytes = std::string("\xFF\xFF\xFF\x7F\x00", 5);
    CArchive huge = CArchive::ForLoading(hugeBytes);
    EXPECT_FALSE(back.Serialize(huge));
}

} // namespace
} // namespace kestra
