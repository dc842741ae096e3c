#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "generation/module_units.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "support/ghdl.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

// A module's design object as analysis makes it from its source.
CKSTObject Analyzed(const std::string& name, const std::string& text) {
    AnalysisContext context;
    context.moduleName = name;
    const CScanner scanner(text, &context);
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
    CVHDLSignal signals;
    std::size_t cursor = 0;
    AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &object, &signals);
    if (!context.HasError())
        AnalyzeArchitectures(scanner, &object);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError) << name << " line " << context.errorLine;
    return object;
}

void SetValue(CKSTObject& object, const std::string& name, const std::string& value) {
    const int index = object.FindEntry(name);
    ASSERT_GE(index, 0) << name;
    object.SetEntryText(index, EntryField::Value, value);
}

const std::string kCounter = "-- counter with a style\r\n"
                             "library IEEE;\r\n"
                             "use IEEE.std_logic_1164.all;\r\n"
                             "\r\n"
                             "entity COUNTER is\r\n"
                             "\tgeneric (\r\n"
                             "\t\tWIDTH : integer := 4;\r\n"
                             "\t\tT : type := std_logic_vector;\r\n"
                             "\t\tRST : std_logic := '1'\r\n"
                             "\t);\r\n"
                             "\tport (\r\n"
                             "\t\tCLK, RESET : in std_logic;\r\n"
                             "\t\tQ : out T(WIDTH-1 downto 0)\r\n"
                             "\t);\r\n"
                             "\ttype ENUM_SPEED is (FAST, SMALL);\r\n"
                             "\tconstant SPEED: ENUM_SPEED := FAST;\r\n"
                             "end COUNTER;\r\n"
                             "\r\n"
                             "architecture COUNTER_arch of COUNTER is\r\n"
                             "\tsignal count : T(WIDTH-1 downto 0); -- T in a comment\r\n"
                             "\tfunction inc(v : integer) return integer is\r\n"
                             "\tbegin\r\n"
                             "\t\tif v > 0 then return v + 1; end if;\r\n"
                             "\t\treturn 1;\r\n"
                             "\tend inc;\r\n"
                             "begin\r\n"
                             "\tprocess (CLK) begin\r\n"
                             "\t\tif RESET = RST then count <= (others => '0');\r\n"
                             "\t\telsif rising_edge(CLK) then count <= count; end if;\r\n"
                             "\tend process;\r\n"
                             "\tQ <= count;\r\n"
                             "end COUNTER_arch;\r\n";

TEST(ModuleUnits, EntityUnitOfTheTopModule) {
    CKSTObject object = Analyzed("COUNTER", kCounter);
    SetValue(object, "WIDTH", "8");
    SetValue(object, "T", "UNSIGNED");
    SetValue(object, "SPEED", "SMALL");
    object.SetGeneratedName("COUNTER");

    AnalysisContext context;
    CGenerationSession session(context);
    session.SetTopName("COUNTER");
    const UnitText entity = session.BuildEntityUnit("COUNTER", kCounter, object);
    EXPECT_EQ(entity.text, "-- counter with a style\r\n"
                           "library IEEE;\r\n"
                           "use IEEE.std_logic_1164.all;\r\n"
                           "\r\n"
                           "entity COUNTER is\r\n"
                           "\tgeneric (\r\n"
                           "\t\tWIDTH: integer := 8 \r\n"
                           "\t);\r\n"
                           "\tport (\r\n"
                           "\t\tCLK, RESET : in std_logic;\r\n"
                           "\t\tQ : out UNSIGNED(WIDTH-1 downto 0)\r\n"
                           "\t);\r\n"
                           "\ttype ENUM_SPEED is (FAST, SMALL);\r\n"
                           "\tconstant SPEED: ENUM_SPEED := SMALL;\r\n"
                           "end COUNTER;\r\n\r\n");
    EXPECT_EQ(entity.offset, kCounter.find("end COUNTER;") + 12);
}

TEST(ModuleUnits, EntityUnitOfACopyUnderAnotherKey) {
    CKSTObject object = Analyzed("COUNTER", kCounter);
    SetValue(object, "WIDTH", "N*2");
    object.SetGeneratedName("COUNTER");
    AnalysisContext context;
    CGenerationSession session(context);
    session.SetTopName("TOP");
    const std::string text = session.BuildEntityUnit("COUNTER_2", kCounter, object).text;
    EXPECT_NE(
        text.find("entity COUNTER_2 is\r\n\tgeneric (\r\n\t\tWIDTH: integer := 1  -- Arbitrary value only\r\n"
                  "\t);\r\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("end COUNTER_2;"), std::string::npos);
    EXPECT_NE(text.find("-- counter with a style"), std::string::npos);
}

TEST(ModuleUnits, ArchitectureUnitSubstitutesOutsideComments) {
    CKSTObject object = Analyzed("COUNTER", kCounter);
    SetValue(object, "T", "UNSIGNED");
    SetValue(object, "RST", "'0'");
    object.SetGeneratedName("COUNTER");
    AnalysisContext context;
    CGenerationSession session(context);
    OrderList order{{"COUNTER"}, 0};
    const std::string source = kCounter.substr(kCounter.find("end COUNTER;") + 12);
    const UnitText architecture = session.BuildArchitectureUnit("COUNTER", source, object, order);
    EXPECT_EQ(architecture.text, "architecture COUNTER_arch of COUNTER is\r\n"
                                 "\tsignal count : UNSIGNED(WIDTH-1 downto 0); -- T in a comment"
                                 "\r\n\tfunction inc(v : integer) return integer is\r\n"
                                 "\tbegin\r\n"
                                 "\t\tif v > 0 then return v + 1; end if;\r\n"
                                 "\t\treturn 1;\r\n"
                                 "\tend inc;\r\n\r\nbegin\r\n"
                                 "\tprocess (CLK) begin\r\n"
                                 "\t\tif RESET = '0' then count <= (others => '0');\r\n"
                                 "\t\telsif rising_edge(CLK) then count <= count; end if;\r\n"
                                 "\tend process;\r\n"
                                 "\tQ <= count;\r\n"
                                 "end COUNTER_arch;\r\n\r\n");
    EXPECT_EQ(architecture.offset, source.size() - 2);
}

const std::string kTwoArchitectures = "entity M is port (a : in bit; b : out bit); end M;\r\n"
                                      "architecture fast of M is begin b <= a; end fast;\r\n"
                                      "architecture slow of M is begin b <= not a; end slow;\r\n";

TEST(ModuleUnits, ArchitectureChoice) {
    CKSTObject object = Analyzed("M", kTwoArchitectures);
    ASSERT_EQ(object.FormatEntry(1), "ARCH\tM\tfast\tfast\tslow");
    object.SetGeneratedName("M");
    AnalysisContext context;
    CGenerationSession session(context);
    OrderList order{{"M"}, 0};
    object.SetEntryText(1, EntryField::Value, "slow");
    EXPECT_EQ(session.BuildArchitectureUnit("M", kTwoArchitectures, object, order).text,
              "architecture slow of M is\r\n\r\nbegin b <= not a; end slow;\r\n\r\n");
    object.SetEntryText(1, EntryField::Value, "medium");
    EXPECT_EQ(session.BuildArchitectureUnit("M", kTwoArchitectures, object, order).text, "");
}

TEST(ModuleUnits, SecondEntityOfAFile) {
    const std::string text = "library ieee;\r\nuse ieee.std_logic_1164.all;\r\n"
                             "entity OTHER is end OTHER;\r\narchitecture a of OTHER is begin end a;\r\n"
                             "entity M is port (x : in std_logic); end M;\r\n"
                             "architecture a of M is begin end a;\r\n";
    CKSTObject object = Analyzed("M", text);
    object.SetGeneratedName("M");
    AnalysisContext context;
    CGenerationSession session(context);
    const UnitText entity = session.BuildEntityUnit("M", text, object);
    EXPECT_EQ(entity.text, "entity M is\r\n\tport (x : in std_logic\r\n\t);\r\nend M;\r\n\r\n");
}

// A top module with a package, a Style handed down to a child used twice with different
// generic values: the second copy of the child becomes ADD_2.
const std::string kPackage =
    "library ieee;\r\nuse ieee.std_logic_1164.all;\r\n"
    "package TYPES is\r\n\tsubtype word is std_logic_vector(7 downto 0);\r\nend TYPES;\r\n";

const std::string kAdd =
    "library ieee;\r\nuse ieee.std_logic_1164.all;\r\nuse ieee.std_logic_arith.all;\r\n\r\n"
    "entity ADD is\r\n"
    "\tgeneric (W : integer := 4);\r\n"
    "\tport (\r\n\t\tA, B : in unsigned(W-1 downto 0);\r\n\t\tS : out unsigned(W-1 downto 0)\r\n\t);\r\n"
    "\ttype ENUM_IMPL is (RIPPLE, LOOKAHEAD);\r\n"
    "\tconstant IMPL: ENUM_IMPL := SPEED;\r\n"
    "end ADD;\r\n\r\n"
    "architecture ADD_arch of ADD is\r\nbegin\r\n\tS <= A + B;\r\nend ADD_arch;\r\n";

const std::string kTop =
    "library ieee;\r\nuse ieee.std_logic_1164.all;\r\nuse ieee.std_logic_arith.all;\r\n"
    "use work.TYPES.all;\r\n\r\n"
    "entity TOP is\r\n"
    "\tgeneric (N : integer := 8);\r\n"
    "\tport (\r\n\t\tX, Y : in unsigned(N-1 downto 0);\r\n\t\tZ : out unsigned(N-1 downto 0);\r\n"
    "\t\tL : out unsigned(3 downto 0)\r\n\t);\r\n"
    "\ttype ENUM_SPEED is (RIPPLE, LOOKAHEAD);\r\n"
    "\tconstant SPEED: ENUM_SPEED := LOOKAHEAD;\r\n"
    "end TOP;\r\n\r\n"
    "architecture TOP_arch of TOP is\r\n"
    "\tsignal w : word;\r\n"
    "\tcomponent ADD\r\n\t\tgeneric (W : integer := 8);\r\n"
    "\t\tport (A, B : in unsigned(W-1 downto 0); S : out unsigned(W-1 downto 0));\r\n"
    "\tend component;\r\n"
    "\tcomponent UNUSED\r\n\t\tport (q : out bit);\r\n\tend component;\r\n"
    "begin\r\n"
    "\tU_ADD: ADD generic map (W => N) port map (X, Y, Z);\r\n"
    "\tU_ADD_B: ADD generic map (W => 4) port map (X(3 downto 0), Y(3 downto 0), L);\r\n"
    "end TOP_arch;\r\n";

TEST(ModuleUnits, ComponentCopiesAndPackagesInFront) {
    CKSTObject top = Analyzed("TOP", kTop);
    CKSTObject add = Analyzed("ADD", kAdd);
    AnalysisContext context;
    CGenerationSession session(context);
    auto topCopy = std::make_unique<CKSTObject>(top);
    topCopy->SetGeneratedName("TOP");
    session.Registry().Add("TOP", std::move(topCopy));
    session.SetTopName("TOP");

    std::string output;
    session.GenerateModuleUnits(HierarchyKind::Normal, "TOP", kTop, output);
    // Only the instantiated component is declared, once, under the key of its first copy.
    EXPECT_NE(output.find("\r\n\r\n\tcomponent ADD\r\n\tgeneric (\r\n\t\tW: integer := 8 \r\n\t);\r\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("UNUSED"), std::string::npos);
    ASSERT_NE(session.Registry().Find("ADD"), nullptr);
    EXPECT_EQ(session.Registry().Find("ADD")->FormatEntry(1), "STYLE\t\\P:SPEED\tLOOKAHEAD");

    session.GenerateModuleUnits(HierarchyKind::Normal, "ADD", kAdd, output);
    session.GenerateModuleUnits(HierarchyKind::Package, "TYPES", kPackage, output);
    EXPECT_EQ(output.find(kPackage), 0u);
    // The child's style value names the parent's style, whose value it takes.
    EXPECT_NE(output.find("constant IMPL: ENUM_IMPL := LOOKAHEAD;"), std::string::npos);
    EXPECT_TRUE(session.Registry().Find("TOP")->GetGeneratedName().empty());
    EXPECT_TRUE(session.Registry().Find("ADD")->GetGeneratedName().empty());

    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({output}, "TOP");
        EXPECT_TRUE(result.ok) << result.output << "\n" << output;
    }
}

TEST(ModuleUnits, TwoParentsOfOneChildGetTwoCopies) {
    const std::string parent =
        "entity P1 is port (a : in bit; b : out bit); end P1;\r\n"
        "architecture P1_arch of P1 is\r\n"
        "\tcomponent INV port (i : in bit; o : out bit); end component;\r\n"
        "begin\r\n\tU_INV: INV port map (a, b); -- U_INV stays in comments\r\nend P1_arch;\r\n";
    const std::string inv = "entity INV is port (i : in bit; o : out bit); end INV;\r\n"
                            "architecture INV_arch of INV is begin o <= not i; end INV_arch;\r\n";
    std::string parent2 = parent;
    for (std::size_t at; (at = parent2.find("P1")) != std::string::npos;)
        parent2.replace(at, 2, "P2");

    AnalysisContext context;
    CGenerationSession session(context);
    for (const char* name : {"P1", "P2"}) {
        auto copy = std::make_unique<CKSTObject>(Analyzed(name, name[1] == '1' ? parent : parent2));
        copy->SetGeneratedName(name);
        session.Registry().Add(name, std::move(copy));
    }
    std::string output;
    session.GenerateModuleUnits(HierarchyKind::Normal, "P1", parent, output);
    session.GenerateModuleUnits(HierarchyKind::Normal, "INV", inv, output);
    session.GenerateModuleUnits(HierarchyKind::Normal, "P2", parent2, output);
    session.GenerateModuleUnits(HierarchyKind::Normal, "INV", inv, output);

    EXPECT_NE(output.find("U_INV_2: INV_2 port map (a, b); -- U_INV stays in comments"), std::string::npos)
        << output;
    EXPECT_NE(output.find("entity INV_2 is"), std::string::npos);
    EXPECT_NE(output.find("architecture INV_2_arch of INV_2 is"), std::string::npos);
    EXPECT_NE(output.find("U_INV: INV port map"), std::string::npos);
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({output});
        EXPECT_TRUE(result.ok) << result.output << "\n" << output;
    }
}

TEST(ModuleUnits, ModulesNoEntryNamesAddNothing) {
    AnalysisContext context;
    CGenerationSession session(context);
    std::string output = "x";
    session.GenerateModuleUnits(HierarchyKind::Normal, "INV", "entity INV is end INV;", output);
    EXPECT_EQ(output, "x");
    session.GenerateModuleUnits(HierarchyKind::Library, "LIB", kPackage, output);
    EXPECT_EQ(output, "x" + kPackage.substr(0, kPackage.size() - 2) + "\r\n\r\n");
}

} // namespace
} // namespace kestra
