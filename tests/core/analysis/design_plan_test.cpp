#include "analysis/design_plan.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

std::string ChildList(const PlannedEntity& entity) {
    std::string list;
    for (const PlannedChild& child : entity.children) {
        list += child.label + "=" + child.entity;
        if (!child.architecture.empty())
            list += "(" + child.architecture + ")";
        if (child.generate != GenerateKind::None)
            list += "@" + child.generateLabel;
        list += ":" + std::to_string(child.line) + " ";
    }
    return list;
}

std::string ProblemList(const DesignImportPlan& plan) {
    std::string list;
    for (const ImportProblem& problem : plan.problems)
        list += problem.file + ":" + std::to_string(problem.line) +
                (problem.severity == ImportSeverity::Error ? " E " : " W ") + problem.message + "\n";
    return list;
}

// A small processor: a package of records and functions with its body, an ALU instantiated
// twice through a component, a register file built by a for-generate of direct entity
// instances, a monitor under an if-generate, and a test bench on top. Words in comments and
// strings that look like units are no units.
std::vector<DesignSourceFile> ProcessorDesign() {
    return {
        {"cpu_pkg.vhd",
         "library ieee;\nuse ieee.std_logic_1164.all;\n"
         "package cpu_pkg is\n"
         "  type op_t is record code : std_logic_vector(3 downto 0); imm : integer; end record;\n"
         "  function parity(v : std_logic_vector) return std_logic;\n"
         "end package cpu_pkg;\n"
         "package body cpu_pkg is\n"
         "  function parity(v : std_logic_vector) return std_logic is\n"
         "    variable p : std_logic := '0';\n"
         "  begin\n"
         "    for i in v'range loop p := p xor v(i); end loop;\n"
         "    return p;\n"
         "  end function;\n"
         "end package body;\n"},
        {"alu.vhd", "use work.cpu_pkg.all;\n"
                    "entity alu is port (op : in op_t; y : out integer); end entity;\n"
                    "architecture rtl of alu is begin y <= op.imm; end architecture rtl;\n"},
        {"regs.vhd", "-- entity not_a_unit is\n"
                     "entity reg_cell is port (d : in bit; q : out bit); end reg_cell;\n"
                     "architecture rtl of reg_cell is begin q <= d; end rtl;\n"
                     "entity regfile is generic (N : natural := 4); end regfile;\n"
                     "architecture rtl of regfile is\n"
                     "  signal d, q : bit_vector(0 to N - 1);\n"
                     "begin\n"
                     "  g_cells: for i in 0 to N - 1 generate\n"
                     "    cell: entity work.reg_cell port map (d => d(i), q => q(i));\n"
                     "  end generate;\n"
                     "end architecture;\n"},
        {"cpu_top.vhd", "library ieee;\nuse ieee.std_logic_1164.all;\nuse work.cpu_pkg.all;\n"
                        "entity cpu_top is generic (DEBUG : boolean := true); end cpu_top;\n"
                        "architecture struct of cpu_top is\n"
                        "  component alu is port (op : in op_t; y : out integer); end component;\n"
                        "  signal op : op_t; signal y1, y2 : integer;\n"
                        "  constant NOTE : string := \"architecture x of y is\";\n"
                        "begin\n"
                        "  u_alu: alu port map (op, y1);\n"
                        "  u_rf: entity work.regfile(rtl) generic map (N => 8);\n"
                        "  u_agu: component alu port map (op => op, y => y2);\n"
                        "  g_dbg: if DEBUG generate\n"
                        "    u_mon: entity work.monitor;\n"
                        "  end generate;\n"
                        "end struct;\n"},
        {"monitor.vhd", "entity monitor is end;\narchitecture sim of monitor is begin end;\n"},
        {"tb_cpu.vhd", "entity tb_cpu is end tb_cpu;\n"
                       "architecture tb of tb_cpu is begin dut: entity work.cpu_top; end tb;\n"},
    };
}

TEST(DesignPlan, ProcessorHierarchy) {
    const std::vector<DesignSourceFile> files = ProcessorDesign();
    const DesignImportPlan plan = PlanDesignImport(files);
    EXPECT_EQ(ProblemList(plan), "");
    EXPECT_EQ(plan.tops, std::vector<std::string>{"tb_cpu"});
    const PlannedEntity* top = plan.FindEntity("CPU_TOP");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(ChildList(*top), "u_alu=alu:10 u_rf=regfile(rtl):11 u_agu=alu:12 u_mon=monitor@g_dbg:14 ");
    EXPECT_EQ(top->children[3].generate, GenerateKind::If);
    EXPECT_EQ(top->packages, std::vector<std::string>{"cpu_pkg"});
    EXPECT_EQ(top->architecture, "struct");
    const PlannedEntity* regfile = plan.FindEntity("regfile");
    ASSERT_NE(regfile, nullptr);
    EXPECT_EQ(ChildList(*regfile), "cell=reg_cell@g_cells:9 ");
    EXPECT_EQ(regfile->children[0].generate, GenerateKind::For);
    EXPECT_TRUE(regfile->architectureBound);
    EXPECT_EQ(plan.FindEntity("alu")->packages, std::vector<std::string>{"cpu_pkg"});
    ASSERT_EQ(plan.packages.size(), 1u);
    EXPECT_TRUE(plan.packages[0].HasBody());
    EXPECT_EQ(plan.files[2].units.size(), 4u); // two entities and their architectures

    DesignImportOptions options;
    options.top = "cpu_top";
    EXPECT_EQ(PlanDesignImport(files, options).tops, std::vector<std::string>{"cpu_top"});
    options.top = "cpu";
    const DesignImportPlan missing = PlanDesignImport(files, options);
    EXPECT_TRUE(missing.tops.empty());
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_EQ(missing.problems[0].kind, ImportProblemKind::TopNotFound);
}

// Files compiled into a library of their own name it in their use clauses; a vendor's library
// is no library of the design, a primitive of it no child.
TEST(DesignPlan, LibraryPackagesPrimitivesAndMissingPackages) {
    const std::vector<DesignSourceFile> files = {
        {"lib/util_pkg.vhd", "package util_pkg is constant W : natural := 8; end;\n"},
        {"lib/io.vhd", "library mylib, unisim;\nuse mylib.util_pkg.all;\nuse unisim.vcomponents.all;\n"
                       "entity io is port (p : in bit); end io;\n"
                       "architecture rtl of io is\n"
                       "  component IBUF port (I : in bit; O : out bit); end component;\n"
                       "  signal s : bit;\n"
                       "begin\n"
                       "  u_buf: IBUF port map (I => p, O => s);\n"
                       "  u_buf2: IBUF port map (I => p, O => open);\n"
                       "  u_core: entity mylib.core;\n"
                       "end rtl;\n"},
        {"lib/core.vhd",
         "library mylib;\nuse mylib.util_pkg.W;\nuse mylib.gone_pkg.all;\nuse work.lost.all;\n"
         "entity core is end;\narchitecture rtl of core is begin end;\n"},
    };
    const DesignImportPlan plan = PlanDesignImport(files);
    EXPECT_EQ(
        ProblemList(plan),
        "lib/io.vhd:9 W u_buf: IBUF is declared in none of the files (vendor primitive or missing file)\n"
        "lib/core.vhd:3 E package mylib.gone_pkg is used here but no file declares it\n"
        "lib/core.vhd:4 E package work.lost is used here but no file declares it\n");
    EXPECT_EQ(plan.tops, std::vector<std::string>{"io"});
    EXPECT_EQ(ChildList(*plan.FindEntity("io")), "u_core=core:11 ");
    EXPECT_EQ(plan.FindEntity("io")->packages, std::vector<std::string>{"util_pkg"});
    EXPECT_EQ(plan.FindEntity("core")->packages, std::vector<std::string>{"util_pkg"});
}

// Configuration specifications choose the entity and architecture of component instances: one
// naming the label before "all", "all" before "others"; "use open" leaves an instance out; a
// configuration declaration stands for its entity.
TEST(DesignPlan, ConfigurationSpecificationsBindComponents) {
    const std::vector<DesignSourceFile> files = {
        {"impl.vhd", "entity impl is end;\n"
                     "architecture slow of impl is begin end;\narchitecture fast of impl is begin end;\n"
                     "entity alt is end;\narchitecture a of alt is begin end;\n"
                     "configuration alt_cfg of alt is for a end for; end configuration alt_cfg;\n"},
        {"top.vhd", "entity top is end;\n"
                    "architecture rtl of top is\n"
                    "  component comp is end component;\n"
                    "  component other is end component;\n"
                    "  for u1, u2 : comp use entity work.impl(slow);\n"
                    "  for others : comp use entity work.alt;\n"
                    "  for all : other use configuration work.alt_cfg;\n"
                    "  for u4 : comp use open;\n"
                    "begin\n"
                    "  u1: comp; u2: comp; u3: comp; u4: comp; u5: other;\n"
                    "end;\n"},
    };
    const DesignImportPlan plan = PlanDesignImport(files);
    EXPECT_EQ(ProblemList(plan), "");
    EXPECT_EQ(ChildList(*plan.FindEntity("top")), "u1=impl(slow):10 u2=impl(slow):10 u3=alt:10 u5=alt:10 ");
    const PlannedEntity* impl = plan.FindEntity("impl");
    EXPECT_EQ(impl->architectures, (std::vector<std::string>{"slow", "fast"}));
    EXPECT_EQ(impl->architecture, "slow");
    EXPECT_TRUE(impl->architectureBound);
    EXPECT_EQ(plan.tops, std::vector<std::string>{"top"});
}

// Nothing stops the planning: each fault is reported where it stands and the rest is planned.
TEST(DesignPlan, FaultsAreReportedAndPassedOver) {
    std::vector<DesignSourceFile> files = {
        {"a.vhd", "entity a is end;\narchitecture rtl of a is begin\n  u_b: entity work.b;\nend;\n"},
        {"b.vhd", "entity b is end;\narchitecture rtl of b is begin\n  u_c: entity work.c;\n  u_a: entity "
                  "work.a;\nend;\n"},
        {"c.vhd", "\n\nentity c is end;\n"},
        {"a_copy.vhd", "-- an older copy\nentity A is port (x : bit); end;\n"},
        {"notes.vhd", "-- nothing but a comment\n"},
        {"image.vhd", std::string("entity img is end;\0\x01", 20)},
        {"big.vhd", std::string(200, '-')},
        {"open.vhd", "entity d is end;\narchitecture rtl of d is begin\n  p: process begin wait;\n"},
    };
    DesignImportOptions options;
    options.largestFile = 150;
    const DesignImportPlan plan = PlanDesignImport(files, options);
    EXPECT_EQ(ProblemList(plan),
              "notes.vhd:0 W the file declares no design unit\n"
              "image.vhd:0 E the file holds NUL characters: it is not VHDL text and is not read\n"
              "big.vhd:0 E the file has 200 bytes, more than the 150 an import reads; it is not read\n"
              "open.vhd:2 E the end of this design unit was not found; its contents are not read\n"
              "a_copy.vhd:2 E entity A is declared again (first in a.vhd, line 1); this declaration is "
              "left out\n"
              "c.vhd:3 W entity c has no architecture in the files\n"
              "b.vhd:4 E u_a: the instantiation closes a cycle (a -> b -> a); it is left out\n");
    EXPECT_EQ(plan.tops, (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(ChildList(*plan.FindEntity("b")), "u_c=c:3 ");
    EXPECT_EQ(plan.files[3].units.size(), 1u);
}

} // namespace
} // namespace kestra
