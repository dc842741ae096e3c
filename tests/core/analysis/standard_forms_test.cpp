// Standard VHDL-93, 2002 and 2008 forms of entities and architectures that the tool's own
// modules do not use: each analyses, and what it declares becomes what the user can see.
#include "analysis/analysis_errors.h"
#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/reader_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::AnalyzeModuleSource;
using test::ModuleAnalysis;
using ::testing::ElementsAre;

ModuleAnalysis Analyze(const std::string& text, const std::string& module = "m") {
    ModuleAnalysis result;
    AnalyzeModuleSource(text, module, result);
    return result;
}

std::string Module(const std::string& header, const std::string& architecture = "begin\nend;\n") {
    return "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity m is\n" + header +
           "end entity;\n\narchitecture rtl of m is\n" + architecture;
}

// Initial values as "name=value" texts.
std::vector<std::string> InitialValues(const ModuleAnalysis& result) {
    std::vector<std::string> values;
    for (int i = 0; i < result.signals.GetSignalCount(); ++i)
        values.push_back(result.signals.GetSignalText(i, 0) + "=" + result.signals.GetSignalText(i, 4));
    return values;
}

TEST(StandardForms, EntityClosings) {
    for (const char* closing : {"end;", "end entity;", "end entity m;", "END ENTITY M;", "end m;"}) {
        SCOPED_TRACE(closing);
        const ModuleAnalysis result = Analyze(std::string("entity m is port (a : in bit);\n") + closing +
                                              "\narchitecture a of m is begin end;");
        EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
        EXPECT_THAT(result.Signals(), ElementsAre("a in bit"));
    }
}

TEST(StandardForms, EntityDeclarationsAndStatements) {
    const ModuleAnalysis result = Analyze(
        "entity m is\n  generic (N : natural := 4);\n  port (a : in bit);\n"
        "  function twice(x : natural) return natural is begin if x > 0 then return 2 * x; end if; return 0; "
        "end function;\n"
        "  type r is record f : bit; end record;\n  attribute keep : boolean;\n"
        "begin\n  check : process begin assert N > 0; wait; end process check;\n"
        "  assert twice(N) > 0 report \"end;\" severity failure;\nend entity m;\n"
        "architecture a of m is begin end architecture;");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError) << result.context.errorLine;
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=4"));
}

TEST(StandardForms, GenericDeclarations) {
    const ModuleAnalysis result =
        Analyze(Module("  generic (\n"
                       "    D_BITS : positive;                    -- no default\n"
                       "    DEPTH  : natural range 1 to 4096 := 16;\n"
                       "    A, B   : integer := 0;\n"
                       "    NAME   : string := \"\";\n"
                       "    BASE   : std_ulogic_vector(31 downto 0) := x\"4000_0000\";\n"
                       "    INIT   : t_words(0 to 3) := (0 => x\"01\", -- first\n"
                       "                                 others => x\"00\");\n"
                       "    CAT    : string := \"a\" & \"b\";\n"
                       "    constant FAST : boolean := true;\n"
                       "    T_OUT  : in time := 5 ns;\n"
                       "    LAST   : natural := 0        -- Full State Bits\n"
                       "  );\n"));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError) << result.context.errorLine;
    EXPECT_THAT(result.Entries(),
                ElementsAre("NUM D_BITS=", "NUM DEPTH=16", "NUM A=0", "NUM B=0", "NOTE NAME=",
                            "GEN BASE=x\"4000_0000\"", "GEN INIT=(0 => x\"01\", others => x\"00\")",
                            "GEN CAT=\"a\" & \"b\"", "GEN FAST=true", "GEN T_OUT=5 ns", "NUM LAST=0"));
}

TEST(StandardForms, GenericsOfVhdl2008ThatNoParameterStandsFor) {
    for (const char* generic : {"type data_t", "function to_bits(x : integer) return bit_vector",
                                "impure function f return bit", "procedure p", "package p is new work.q"}) {
        SCOPED_TRACE(generic);
        const ModuleAnalysis result =
            Analyze(Module(std::string("  generic (\n    N : natural := 1;\n    ") + generic + "\n  );\n"));
        EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::UnsupportedGeneric);
        EXPECT_EQ(result.context.errorLine, 7);
        EXPECT_THAT(result.Entries(), ElementsAre("NUM N=1")); // what was read before stays
    }
    EXPECT_STREQ(AnalysisErrorMessage(static_cast<int>(AnalysisErrorCode::UnsupportedGeneric)),
                 "Type, subprogram and package generics are not supported.");
}

TEST(StandardForms, PortDeclarations) {
    const ModuleAnalysis result =
        Analyze(Module("  port (\n"
                       "    clk          : std_logic;                        -- no mode\n"
                       "    signal rst   : in std_logic := '0';\n"
                       "    d            : in  std_ulogic_vector(W'range) := (others => '0');\n"
                       "    q, r         : out unsigned(log2ceil(DEPTH)-1 downto 0);\n"
                       "    req          : in  work.bus_pkg.t_req;\n"
                       "    rsp          : out t_rsp := C_IDLE;\n"
                       "    words        : in  t_words(0 to 3)(7 downto 0);\n"
                       "    line_o       : inout std_logic bus\n"
                       "  );\n"));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError) << result.context.errorLine;
    EXPECT_THAT(result.Signals(),
                ElementsAre("clk in std_logic", "rst in std_logic", "d in std_ulogic_vector(W'range)",
                            "q out unsigned(log2ceil(DEPTH)-1 downto 0)",
                            "r out unsigned(log2ceil(DEPTH)-1 downto 0)", "req in work.bus_pkg.t_req",
                            "rsp out t_rsp", "words in t_words(0 to 3)(7 downto 0)",
                            "line_o inout std_logic"));
    EXPECT_THAT(InitialValues(result), ElementsAre("clk=", "rst='0'", "d=(others => '0')",
                                                   "q=", "r=", "req=", "rsp=C_IDLE", "words=", "line_o="));
    // Types of packages become data type parameters; a selected name does not.
    EXPECT_THAT(result.Entries(), ElementsAre("TYP std_ulogic_vector=std_ulogic_vector", "TYP t_rsp=t_rsp",
                                              "TYP t_words=t_words"));
}

TEST(StandardForms, ArchitectureOfVhdl2008) {
    const std::string architecture =
        "  type t_counter is protected\n    procedure inc;\n  end protected;\n"
        "  type t_counter is protected body\n    variable n : natural := 0;\n"
        "    procedure inc is begin n := n + 1; end procedure;\n  end protected body;\n"
        "  procedure pulse(signal s : out std_logic) is\n  begin\n    s <= '1';\n  end procedure;\n"
        "  alias top_busy is << signal .top.u_core.busy : std_ulogic >>;\n"
        "  constant C_WIDTH : natural := maximum(4, 8);\n"
        "  attribute keep : boolean;\n  attribute keep of s_after : signal is true;\n"
        "  signal s_after : my_t;\n"
        "begin\n"
        "  p : process(all)\n    procedure local is begin null; end;\n  begin\n"
        "    y <= a when sel = '1' else b;\n    case? sel is when '1' => null; when others => null; end "
        "case?;\n"
        "  end process p;\n"
        "  g1 : if a1: WIDE generate x <= '1'; end a1; elsif N > 2 generate x <= '0'; else generate x <= "
        "'Z'; "
        "end generate g1;\n"
        "  g2 : case MODE generate when 0 => z <= '0'; when others => z <= '1'; end generate;\n"
        "  g3 : for i in 0 to 3 generate signal t : bit; begin t <= '1'; end generate g3;\n"
        "  assert false report \"end rtl;\" severity note;\n"
        "end architecture;\n";
    const ModuleAnalysis result =
        Analyze("library ieee;\ncontext ieee.ieee_std_context;\n\nentity m is port (a : in bit);\nend;\n\n"
                "architecture rtl of m is\n" +
                architecture);
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError) << result.context.errorLine;
    EXPECT_THAT(result.Entries(), ElementsAre("TYP my_t=my_t"));
}

TEST(StandardForms, ArchitectureThatClosesWithABareEnd) {
    const ModuleAnalysis result = Analyze(
        "entity m is end;\narchitecture a of m is\nbegin\n  p : process\n"
        "    function f return bit is begin return '1'; end;\n  begin\n    wait;\n  end process;\nend;\n"
        "architecture b of m is begin end;\n");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("ARCH m=a [a,b]"));
}

TEST(StandardForms, ArchitectureWithoutAClosingIsStillAnError) {
    const ModuleAnalysis result = Analyze("entity m is end;\narchitecture a of m is\nbegin\n  x <= y;\n");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
    EXPECT_EQ(result.context.errorLine, 0);
}

TEST(StandardForms, ReadEntityInterfaceGivesWhereEachPartStands) {
    const std::string text =
        "entity m is\n  generic (A, B : natural range 0 to 7 := 1; -- two\n    C : bit);\n"
        "  port (x : in bit := '1');\nend;\n";
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, "M");
    ASSERT_TRUE(entity.has_value());
    ASSERT_TRUE(entity->generics && entity->ports);
    const InterfaceDeclaration& ab = entity->generics->declarations[0];
    EXPECT_THAT(ab.names, ElementsAre("A", "B"));
    EXPECT_EQ(ab.TypeText(text), "natural range 0 to 7");
    EXPECT_EQ(ab.kind, EntryKind::Numeric);
    EXPECT_EQ(ab.value, "1");
    EXPECT_EQ(text.substr(ab.start, ab.end - ab.start), "A, B : natural range 0 to 7 := 1");
    EXPECT_EQ(entity->generics->separators.size(), 1u);
    EXPECT_EQ(entity->generics->declarations[1].kind, EntryKind::Generic);
    EXPECT_EQ(text.substr(entity->ports->open, entity->ports->close - entity->ports->open + 1),
              "(x : in bit := '1')");
    EXPECT_FALSE(ReadEntityInterface(text, "other").has_value());
}

} // namespace
} // namespace kestra
