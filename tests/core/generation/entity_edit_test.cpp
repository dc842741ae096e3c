// Rewrites of sources the tool did not write: an edit changes only what it changes.
#include "analysis/reader_fixture.h"
#include "analysis/source_form.h"
#include "generation/entity_header.h"
#include "generation/entity_header_edit.h"
#include "generation/port_clause_edit.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "system/file_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::AnalyzeModuleSource;
using test::ModuleAnalysis;

std::string Imported(const std::string& file) {
    return ReadWholeFile(std::filesystem::path(KESTRA_TEST_DATA) / "imported" / file).ValueOr("");
}

// The text with its only occurrence of `from` made `to`.
std::string ReplacedOnce(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " occurs twice";
    std::string result = text;
    if (at != std::string::npos)
        result.replace(at, from.size(), to);
    return result;
}

ModuleAnalysis Analyzed(const std::string& text, const std::string& module) {
    ModuleAnalysis analysis;
    AnalyzeModuleSource(text, module, analysis);
    EXPECT_EQ(analysis.context.errorCode, AnalysisErrorCode::NoError)
        << "line " << analysis.context.errorLine;
    return analysis;
}

// Analyses the source, gives one parameter a new value, rewrites the entity header and expects
// exactly `from` to have become `to`; the rewritten source analyses back to the same parameters
// (with the new value) and the same ports.
void ExpectValueRoundTrip(const std::string& source, const std::string& module, const std::string& parameter,
                          const std::string& value, const std::string& from, const std::string& to) {
    SCOPED_TRACE(module + "." + parameter);
    ASSERT_FALSE(IsToolFormSource(source, module));
    ModuleAnalysis before = Analyzed(source, module);
    const int entry = before.object.FindEntry(parameter);
    ASSERT_GT(entry, 0);
    before.object.SetEntryText(entry, EntryField::Value, value);
    const std::string rewritten = RewriteEntityHeader(source, module, before.object);
    EXPECT_EQ(rewritten, ReplacedOnce(source, from, to));
    const ModuleAnalysis after = Analyzed(rewritten, module);
    EXPECT_EQ(after.Entries(), before.Entries());
    EXPECT_EQ(after.Signals(), before.Signals());
}

TEST(EntityEdit, ValueEditReplacesOnlyThatDefault) {
    // The generic without a default gets one; its comment and the other generic stay.
    ExpectValueRoundTrip(Imported("fifo_sync.vhd"), "fifo_sync", "MIN_DEPTH", "32",
                         "MIN_DEPTH : positive                  -- Minimum",
                         "MIN_DEPTH : positive := 32                  -- Minimum");
    // A comment after the last default is not part of its value.
    ExpectValueRoundTrip(Imported("fifo_cc.vhd"), "fifo_cc", "FSTATE_RD_BITS", "2",
                         "FSTATE_RD_BITS : natural  := 0        -- Full State Bits",
                         "FSTATE_RD_BITS : natural  := 2        -- Full State Bits");
    ExpectValueRoundTrip(Imported("fifo_cc.vhd"), "fifo_cc", "DATA_REG", "true",
                         "DATA_REG       : boolean  := false;", "DATA_REG       : boolean  := true;");
    // A range constraint stays with the type.
    ExpectValueRoundTrip(Imported("spi_master.vhd"), "spi_master", "DATA_WIDTH", "16",
                         "natural range 1 to 4096 := 8;", "natural range 1 to 4096 := 16;");
    ExpectValueRoundTrip(Imported("ram_dp.vhd"), "ram_dp", "INIT_FILE", "rom.hex", "string   := \"\"",
                         "string   := \"rom.hex\"");
    ExpectValueRoundTrip(Imported("vga_timing.vhd"), "vga_timing", "TIMING",
                         "(800, 40, 128, 88, 600, 1, 4, 23, false)", ":= C_VGA_640X480",
                         ":= (800, 40, 128, 88, 600, 1, 4, 23, false)");
    ExpectValueRoundTrip(Imported("crc_gen.vhd"), "crc_gen", "INIT", "x\"FFFF\"",
                         "INIT : std_ulogic_vector(15 downto 0)\n",
                         "INIT : std_ulogic_vector(15 downto 0) := x\"FFFF\"\n");
    ExpectValueRoundTrip(Imported("debounce.vhd"), "debounce", "CLK_PERIOD", "8 ns", ":= 20 ns;", ":= 8 ns;");
    ExpectValueRoundTrip(Imported("pkg_consumer.vhd"), "pkg_consumer", "ADDR_BITS", "5",
                         ":= log2ceil(C_DEFAULT_DEPTH);", ":= 5;");
}

TEST(EntityEdit, LineEndsOfTheFileAreKept) {
    const std::string source = Imported("counter_load.vhd");
    ASSERT_NE(source.find("\r\n"), std::string::npos);
    ExpectValueRoundTrip(source, "counter_load", "WIDTH", "16", "WIDTH : positive := 8;",
                         "WIDTH : positive := 16;");

    // A parameter added to a CR LF file gets CR LF, one added to an LF file LF.
    ModuleAnalysis crlf = Analyzed(source, "counter_load");
    crlf.object.SetEntry(crlf.object.AddEntry() - 1, EntryKind::Numeric, "STEP", "1");
    const std::string added = RewriteEntityHeader(source, "counter_load", crlf.object);
    EXPECT_EQ(added, ReplacedOnce(source, "    INIT  : natural  := 2**4 - 1\r\n",
                                  "    INIT  : natural  := 2**4 - 1;\r\n    STEP: integer := 1\r\n"));
}

TEST(EntityEdit, MultiNameDeclarationSplitsOnlyWhenItsValuesDiffer) {
    const std::string source = Imported("spi_master.vhd");
    ExpectValueRoundTrip(source, "spi_master", "CPHA", "'1'", "    CPOL, CPHA : std_logic := '0'\n",
                         "    CPOL : std_logic := '0';\n    CPHA : std_logic := '1'\n");
    // Both names given the same value keep one declaration.
    ModuleAnalysis both = Analyzed(source, "spi_master");
    both.object.SetEntryText(both.object.FindEntry("CPOL"), EntryField::Value, "'1'");
    both.object.SetEntryText(both.object.FindEntry("CPHA"), EntryField::Value, "'1'");
    EXPECT_EQ(RewriteEntityHeader(source, "spi_master", both.object),
              ReplacedOnce(source, "CPOL, CPHA : std_logic := '0'", "CPOL, CPHA : std_logic := '1'"));
}

// fifo_sync's generic clause: D_BITS then MIN_DEPTH, each with its comment.
const std::string kFifoGenerics = "    D_BITS    : positive;                 -- Data Width\n"
                                  "    MIN_DEPTH : positive                  -- Minimum FIFO Size in Words\n";

TEST(EntityEdit, AddedParameterAppendsOneDeclarationInTheToolsForm) {
    const std::string source = Imported("fifo_sync.vhd");
    ModuleAnalysis analysis = Analyzed(source, "fifo_sync");
    analysis.object.SetEntry(analysis.object.AddEntry() - 1, EntryKind::Logic, "EN", "'1'");
    const std::string rewritten = RewriteEntityHeader(source, "fifo_sync", analysis.object);
    EXPECT_EQ(rewritten,
              ReplacedOnce(source, kFifoGenerics,
                           "    D_BITS    : positive;                 -- Data Width\n"
                           "    MIN_DEPTH : positive;                  -- Minimum FIFO Size in Words\n"
                           "    EN: STD_LOGIC := '1'\n"));
    EXPECT_EQ(Analyzed(rewritten, "fifo_sync").object.FindEntry("EN"), 3);
}

TEST(EntityEdit, RemovedParameterDeletesItsDeclaration) {
    const std::string source = Imported("fifo_sync.vhd");
    ModuleAnalysis first = Analyzed(source, "fifo_sync");
    first.object.RemoveEntry(first.object.FindEntry("D_BITS"));
    EXPECT_EQ(RewriteEntityHeader(source, "fifo_sync", first.object),
              ReplacedOnce(source, kFifoGenerics,
                           "    MIN_DEPTH : positive                  -- Minimum FIFO Size in Words\n"));

    // The last one: the ';' before it goes, the comment of the one before stays.
    ModuleAnalysis last = Analyzed(source, "fifo_sync");
    last.object.RemoveEntry(last.object.FindEntry("MIN_DEPTH"));
    EXPECT_EQ(
        RewriteEntityHeader(source, "fifo_sync", last.object),
        ReplacedOnce(source, kFifoGenerics, "    D_BITS    : positive                 -- Data Width\n"));

    // All of them: the generic clause goes with its lines.
    ModuleAnalysis none = Analyzed(source, "fifo_sync");
    none.object.SetEntryCount(1);
    none.object.SetEntry(0, EntryKind::Vhdl, "fifo_sync", "fifo_sync.vhd");
    const std::string bare = RewriteEntityHeader(source, "fifo_sync", none.object);
    EXPECT_EQ(bare, ReplacedOnce(source, "  generic (\n" + kFifoGenerics + "  );\n", ""));
}

TEST(EntityEdit, MoveReordersWholeDeclarationsWithTheirComments) {
    const std::string source = Imported("fifo_sync.vhd");
    ModuleAnalysis analysis = Analyzed(source, "fifo_sync");
    const int d = analysis.object.FindEntry("D_BITS");
    const int m = analysis.object.FindEntry("MIN_DEPTH");
    const std::string dName = analysis.object.GetEntryName(d);
    analysis.object.SetEntry(d, EntryKind::Numeric, "MIN_DEPTH", "");
    analysis.object.SetEntry(m, EntryKind::Numeric, dName, "");
    EXPECT_EQ(RewriteEntityHeader(source, "fifo_sync", analysis.object),
              ReplacedOnce(source, kFifoGenerics,
                           "    MIN_DEPTH : positive;                  -- Minimum FIFO Size in Words\n"
                           "    D_BITS    : positive                 -- Data Width\n"));
}

TEST(EntityEdit, RenameChangesOnlyTheName) {
    const std::string source = Imported("uart_tx.vhd");
    ModuleAnalysis analysis = Analyzed(source, "uart_tx");
    analysis.object.SetEntryText(analysis.object.FindEntry("G_BAUD"), EntryField::Name, "G_BAUD_RATE");
    EXPECT_EQ(RewriteEntityHeader(source, "uart_tx", analysis.object),
              ReplacedOnce(source, "    G_BAUD        : natural := 115_200",
                           "    G_BAUD_RATE        : natural := 115_200"));
}

TEST(EntityEdit, GenericClauseIsAddedWhereThereIsNone) {
    const std::string source = Imported("onehot_fsm.vhd");
    ModuleAnalysis analysis = Analyzed(source, "onehot_fsm");
    analysis.object.SetEntry(analysis.object.AddEntry() - 1, EntryKind::Numeric, "HOLD", "3");
    const std::string rewritten = RewriteEntityHeader(source, "onehot_fsm", analysis.object);
    EXPECT_EQ(rewritten,
              ReplacedOnce(source, "entity onehot_fsm is\n  port (",
                           "entity onehot_fsm is\n  generic (\n    HOLD: integer := 3\n  );\n  port ("));
    EXPECT_THAT(Analyzed(rewritten, "onehot_fsm").Entries(), ::testing::Contains("NUM HOLD=3"));
}

TEST(EntityEdit, UnchangedObjectLeavesTheTextAlone) {
    for (const char* file : {"fifo_cc.vhd", "axi_lite_regs.vhd", "cdc_sync.vhd", "checked_adder.vhd"}) {
        SCOPED_TRACE(file);
        const std::string source = Imported(file);
        const std::string module = std::string(file).substr(0, std::string(file).find('.'));
        const ModuleAnalysis analysis = Analyzed(source, module);
        EXPECT_EQ(RewriteEntityHeader(source, module, analysis.object), source);
    }
}

TEST(EntityEdit, OtherDeclarationsOfTheEntityStay) {
    // cdc_sync declares attributes in its entity; checked_adder has constants and a statement part.
    ExpectValueRoundTrip(Imported("cdc_sync.vhd"), "cdc_sync", "STAGES", "3", ":= 2;", ":= 3;");
    ExpectValueRoundTrip(Imported("checked_adder.vhd"), "checked_adder", "WIDTH", "16", ":= 8\n", ":= 16\n");
}

const std::string kStyled = "library ieee;\n"
                            "use ieee.std_logic_1164.all;\n\n"
                            "entity styled is\n"
                            "  generic (N : positive := 4);  -- lanes\n"
                            "  port (clk : in std_logic);\n"
                            "  type ENUM_N is (1, 2, 4);\n"
                            "  type speed_t is (slow, fast);\n"
                            "  constant SPEED : speed_t := fast;  -- the chosen speed\n"
                            "  attribute keep : boolean;\n"
                            "end entity;\n\n"
                            "architecture rtl of styled is\nbegin\nend architecture;\n";

TEST(EntityEdit, StyleAndChoiceDeclarationsAreEditedOneByOne) {
    ModuleAnalysis analysis = Analyzed(kStyled, "styled");
    ASSERT_THAT(analysis.Entries(),
                ::testing::ElementsAre("NUM N=4 [1,2,4]", "STYLE SPEED=fast [slow,fast]"));
    analysis.object.SetEntryText(2, EntryField::Value, "slow");
    EXPECT_EQ(RewriteEntityHeader(kStyled, "styled", analysis.object),
              ReplacedOnce(kStyled, "speed_t := fast;", "speed_t := slow;"));

    const std::vector<std::string> lanes{"1", "2", "4", "8"};
    analysis.object.SetChoiceList(1, &lanes);
    analysis.object.SetEntry(analysis.object.AddEntry() - 1, EntryKind::Style, "MODE", "a");
    const std::vector<std::string> modes{"a", "b"};
    analysis.object.SetChoiceList(3, &modes);
    const std::string rewritten = RewriteEntityHeader(kStyled, "styled", analysis.object);
    EXPECT_EQ(rewritten,
              ReplacedOnce(ReplacedOnce(ReplacedOnce(kStyled, "speed_t := fast;", "speed_t := slow;"),
                                        "(1, 2, 4)", "(1, 2, 4, 8)"),
                           "  attribute keep : boolean;\n",
                           "  attribute keep : boolean;\n  type ENUM_MODE is (a, b);\n"
                           "  constant MODE: ENUM_MODE := a;\n"));
    EXPECT_EQ(Analyzed(rewritten, "styled").Entries(), analysis.Entries());

    // A Style the object lacks loses its constant; a type not of the tool's naming stays.
    ModuleAnalysis removed = Analyzed(kStyled, "styled");
    removed.object.RemoveEntry(2);
    EXPECT_EQ(RewriteEntityHeader(kStyled, "styled", removed.object),
              ReplacedOnce(kStyled, "  constant SPEED : speed_t := fast;  -- the chosen speed\n", ""));
}

TEST(EntityEdit, HeaderThatDoesNotAnalyzeIsLeftAlone) {
    const std::string broken = "entity b is\n  generic (type T);\n  port (a : in bit);\nend;\n";
    CKSTObject object;
    object.SetEntryCount(2);
    object.SetEntry(1, EntryKind::Numeric, "N", "1");
    EXPECT_EQ(RewriteEntityHeader(broken, "b", object), broken);
}

TEST(SourceForm, OnlyTheToolsOwnFormIsRebuiltWhole) {
    const std::string tool = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\nentity M is\r\n"
                             "\tgeneric (\r\n\t\tN: integer := 8;\r\n\t\tEN: STD_LOGIC := '1' \r\n\t);\r\n"
                             "\tport (\r\n\t\tCLK : in STD_LOGIC -- clock\r\n\t);\r\n"
                             "\ttype ENUM_N is (8, 16);\r\nend M;\r\n";
    EXPECT_TRUE(IsToolFormSource(tool, "M"));
    std::string lf;
    for (const char c : tool) {
        if (c != '\r')
            lf += c;
    }
    EXPECT_FALSE(IsToolFormSource(lf, "M"));
    EXPECT_FALSE(IsToolFormSource(ReplacedOnce(tool, "N: integer", "N: positive"), "M"));
    EXPECT_FALSE(IsToolFormSource(ReplacedOnce(tool, "N: integer := 8;", "N: integer := 8; -- width"), "M"));
    EXPECT_FALSE(IsToolFormSource(ReplacedOnce(tool, "N: integer", "N, K: integer"), "M"));
    EXPECT_FALSE(IsToolFormSource(ReplacedOnce(tool, "N: integer", "N: integer range 1 to 8"), "M"));
    EXPECT_FALSE(
        IsToolFormSource(ReplacedOnce(tool, "\ttype ENUM_N", "\tattribute a : b;\r\n\ttype ENUM_N"), "M"));
    EXPECT_FALSE(IsToolFormSource(ReplacedOnce(tool, "\ttype ENUM_N", "  type ENUM_N"), "M"));
    EXPECT_FALSE(IsToolFormSource(tool, "OTHER"));
}

TEST(PortEdit, UnchangedPortsKeepTheirTextAndChangedOnesAreRewritten) {
    const std::string source = Imported("pwm.vhd");
    ASSERT_FALSE(IsToolFormSource(source, "pwm"));
    const ModuleAnalysis analysis = Analyzed(source, "pwm");
    EXPECT_EQ(UpdatePortClause(source, "pwm", analysis.signals), source);

    CVHDLSignal signals = analysis.signals;
    signals.SetSignalText(3, CVHDLSignal::kInitialValue, "'1'");
    const std::string rewritten = UpdatePortClause(source, "pwm", signals);
    EXPECT_EQ(rewritten, ReplacedOnce(source, "        pwm_out   : out std_logic := '0'\n",
                                      "        pwm_out : out std_logic := '1'\n"));
    EXPECT_EQ(Analyzed(rewritten, "pwm").Signals(), Analyzed(source, "pwm").Signals());

    // A port taken out of a shared declaration leaves the others as written.
    const std::string shared = Imported("alu.vhd");
    CVHDLSignal aluPorts = Analyzed(shared, "alu").signals;
    aluPorts.RemoveSignal(aluPorts.FindSignal("b"));
    EXPECT_EQ(UpdatePortClause(shared, "alu", aluPorts),
              ReplacedOnce(shared, "    a, b  : in  signed(WIDTH-1 downto 0);\n",
                           "    a  : in  signed(WIDTH-1 downto 0);\n"));
}

} // namespace
} // namespace kestra
