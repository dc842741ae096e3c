// Modules imported into a project as the user found them: analysing them, editing their
// parameters and ports, refreshing a parent's components and generating keep every byte the
// user wrote that the edit is not about, and the generated VHDL passes GHDL.
#include "analysis/analysis_errors.h"
#include "operations/analyze_module.h"
#include "operations/source_update.h"
#include "project/analysis_status.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;

std::string Imported(const std::string& file) {
    return ReadWholeFile(std::filesystem::path(KESTRA_TEST_DATA) / "imported" / file).ValueOr("");
}

std::string ReplacedOnce(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

struct ImportedProject : ProjectFixture {
    ImportedProject() : commands(doc) {}

    // A module of the entity's name whose file is the imported source.
    CHierarchyItem* Import(CHierarchyItem* parent, const std::string& entity, const std::string& file,
                           HierarchyKind kind = HierarchyKind::Normal) {
        return AddModule(parent, entity, Imported(file), kind);
    }
    int Analyze(CHierarchyItem* item) { return AnalyzeModule(doc, item, commands.session.Context()); }
    bool Generate(CHierarchyItem* item) {
        commands.session.Select(item);
        return commands.generation.OnGenerate(false);
    }
    std::string Output(const std::string& name) {
        return ReadWholeFile(doc.ResolvePath(doc.GetDestinationFolder()) / (name + ".vhd"))
            .ValueOr("<missing>");
    }

    ProjectCommands commands;
};

TEST(ImportedModules, AnalysisLeavesEveryImportedFileAsItWas) {
    std::istringstream lines(Imported("sources.txt"));
    int modules = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string file, entity;
        words >> file >> entity;
        SCOPED_TRACE(file + " " + entity);
        ImportedProject project;
        CHierarchyItem* item = project.Import(project.Root(), entity, file);
        EXPECT_EQ(project.Analyze(item), 0) << project.log.Text();
        EXPECT_EQ(project.ReadSource(entity), Imported(file));
        EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);
        ++modules;
    }
    EXPECT_GE(modules, 40);
}

TEST(ImportedModules, ParameterEditChangesOnlyThatValue) {
    ImportedProject project;
    CHierarchyItem* fifo = project.Import(project.Root(), "fifo_sync", "fifo_sync.vhd");
    ASSERT_EQ(project.Analyze(fifo), 0) << project.log.Text();
    project.commands.session.Select(fifo);
    const int depth = fifo->Object()->FindEntry("MIN_DEPTH");
    ASSERT_TRUE(project.commands.parameters.EndParameterEdit(fifo, depth, 1, "32"));
    const std::string expected =
        ReplacedOnce(Imported("fifo_sync.vhd"), "MIN_DEPTH : positive  ", "MIN_DEPTH : positive := 32  ");
    EXPECT_EQ(project.ReadSource("fifo_sync"), expected);
    UpdateAnalysisStatus(project.doc, fifo);
    EXPECT_EQ(fifo->Status(), AnalysisStatus::Analyzed);

    ASSERT_EQ(project.Analyze(fifo), 0);
    EXPECT_EQ(fifo->Object()->GetEntryValue(fifo->Object()->FindEntry("MIN_DEPTH")), "32");
    EXPECT_EQ(project.ReadSource("fifo_sync"), expected);

    // A Generic parameter takes an expression with quotes; a value that would break the line does not.
    CHierarchyItem* crc = project.Import(project.Root(), "crc_gen", "crc_gen.vhd");
    ASSERT_EQ(project.Analyze(crc), 0);
    const int init = crc->Object()->FindEntry("INIT");
    ASSERT_EQ(crc->Object()->GetEntryKind(init), EntryKind::Generic);
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(crc, init, 1, "x\"FF"));
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(crc, init, 1, "x\"FFFF\"; -- x"));
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(crc, init, 1, "x\"FFFF\""));
    EXPECT_NE(project.ReadSource("crc_gen").find("INIT : std_ulogic_vector(15 downto 0) := x\"FFFF\"\n"),
              std::string::npos);
}

TEST(ImportedModules, AValueChosenForAChildReachesTheParentsComponentAndTheGeneratedFile) {
    ImportedProject project;
    const std::string parentText =
        "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
        "entity shell is\n  port (clk : in std_logic; q : out std_logic);\nend entity;\n\n"
        "architecture rtl of shell is\n"
        "  component pulse  -- the child\n"
        "    generic (\n      LEN  : natural := 4;   -- cycles\n"
        "      A, B : natural := 1\n    );\n"
        "    port (clk : in std_logic; q : out std_logic);\n"
        "  end component pulse;\n"
        "begin\n  u0 : pulse port map (clk => clk, q => q);\nend architecture;\n";
    const std::string childText = "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                                  "entity pulse is\n  generic (LEN : natural := 4; A, B : natural := 1);\n"
                                  "  port (clk : in std_logic; q : out std_logic);\nend pulse;\n\n"
                                  "architecture rtl of pulse is\nbegin\n"
                                  "  q <= '1' when LEN > 8 else '0';\nend rtl;\n";
    CHierarchyItem* shell = project.AddModule(project.Root(), "shell", parentText);
    CHierarchyItem* pulse = project.AddModule(shell, "pulse", childText);
    ASSERT_EQ(project.Analyze(pulse), 0) << project.log.Text();
    ASSERT_EQ(project.Analyze(shell), 0) << project.log.Text();
    ASSERT_EQ(project.ReadSource("shell"), parentText);

    project.commands.session.Select(pulse);
    ASSERT_TRUE(
        project.commands.parameters.EndParameterEdit(pulse, pulse->Object()->FindEntry("LEN"), 1, "24"));
    // Only the default of LEN changes in the parent; its comment and layout stay.
    EXPECT_EQ(project.ReadSource("shell"),
              ReplacedOnce(parentText, "LEN  : natural := 4;", "LEN  : natural := 24;"));
    ASSERT_TRUE(project.Generate(shell)) << project.log.Text();
    const std::string output = project.Output("shell");
    EXPECT_EQ(output.find(":= 4"), std::string::npos) << output;
    EXPECT_NE(output.find(":= 24"), std::string::npos) << output;
}

TEST(ImportedModules, ConstructOutsideWhatTheToolRepresentsIsReportedAndTheSourceUntouched) {
    ImportedProject project;
    const std::string source = "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                               "entity queue is\n  generic (\n    DEPTH : positive := 4;\n"
                               "    type element_t\n  );\n  port (clk : in std_logic);\nend entity;\n\n"
                               "architecture rtl of queue is\nbegin\nend architecture;\n";
    CHierarchyItem* queue = project.AddModule(project.Root(), "queue", source);
    EXPECT_EQ(project.Analyze(queue), static_cast<int>(AnalysisErrorCode::UnsupportedGeneric));
    EXPECT_EQ(project.log.Text(), "\r\nqueue analyzed. Error encountered at line 7. Type, subprogram and "
                                  "package generics are not supported.");
    EXPECT_EQ(queue->Status(), AnalysisStatus::Failed);
    // Editing what was read before the error leaves the file as it is.
    project.commands.session.Select(queue);
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(queue, 1, 1, "8"));
    EXPECT_EQ(project.ReadSource("queue"), source);
}

TEST(ImportedModules, PortListUpdateChangesOnlyTheEditedPort) {
    ImportedProject project;
    CHierarchyItem* pwm = project.Import(project.Root(), "pwm", "pwm.vhd");
    ASSERT_EQ(project.Analyze(pwm), 0);
    CVHDLSignal& signals = *pwm->Signals();
    signals.SetSignalText(signals.FindSignal("duty"), CVHDLSignal::kName, "level");
    ASSERT_TRUE(UpdatePortList(project.doc, pwm, project.commands.session.Context()).updated);
    EXPECT_EQ(
        project.ReadSource("pwm"),
        ReplacedOnce(Imported("pwm.vhd"),
                     "        duty      : in  unsigned(COUNTER_WIDTH - 1 downto 0) := (others => '0');\n",
                     "        level : in unsigned(COUNTER_WIDTH - 1 downto 0) := (others => '0');\n"));
    EXPECT_EQ(pwm->Status(), AnalysisStatus::Analyzed);
}

TEST(ImportedModules, ParentKeepsItsComponentsWhileTheyMatchItsChildren) {
    ImportedProject project;
    CHierarchyItem* top = project.Import(project.Root(), "blinky_top", "blinky_top.vhd");
    CHierarchyItem* divider = project.Import(top, "clk_div", "clk_div.vhd");
    CHierarchyItem* counter = project.Import(top, "gray_counter", "gray_counter.vhd");
    ASSERT_EQ(project.Analyze(divider), 0);
    ASSERT_EQ(project.Analyze(counter), 0);
    ASSERT_EQ(project.Analyze(top), 0) << project.log.Text();
    EXPECT_EQ(project.ReadSource("blinky_top"), Imported("blinky_top.vhd"));

    // The child gains a port: its declaration in the parent follows, in place, and nothing else moves.
    project.WriteSource("gray_counter",
                        ReplacedOnce(Imported("gray_counter.vhd"), "    clk, rst : in  std_logic;\n",
                                     "    clk, rst : in  std_logic;\n    hold : in  std_logic := '0';\n"));
    ASSERT_EQ(project.Analyze(counter), 0);
    ASSERT_EQ(project.Analyze(top), 0) << project.log.Text();
    const std::string parent = project.ReadSource("blinky_top");
    const std::size_t start = Imported("blinky_top.vhd").find("  component gray_counter");
    const std::size_t end = Imported("blinky_top.vhd").find("end component;", start) + 14;
    EXPECT_EQ(parent.substr(0, start), Imported("blinky_top.vhd").substr(0, start));
    EXPECT_NE(parent.find("hold : in  std_logic := '0'", start), std::string::npos) << parent;
    const std::string tail = Imported("blinky_top.vhd").substr(end);
    EXPECT_EQ(parent.substr(parent.size() - tail.size()), tail);
    EXPECT_EQ(parent.find('\r'), std::string::npos); // the LF file gets no CR
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze(
            {project.ReadSource("clk_div"), project.ReadSource("gray_counter"), parent}, "blinky_top", "08");
        EXPECT_TRUE(result.ok) << result.output << parent;
    }
}

TEST(ImportedModules, GeneratedVhdlOfImportedModulesAnalyzesAndElaborates) {
    KESTRA_REQUIRE_GHDL();
    ImportedProject project;
    CHierarchyItem* top = project.Import(project.Root(), "blinky_top", "blinky_top.vhd");
    CHierarchyItem* divider = project.Import(top, "clk_div", "clk_div.vhd");
    CHierarchyItem* counter = project.Import(top, "gray_counter", "gray_counter.vhd");
    ASSERT_EQ(project.Analyze(divider), 0);
    ASSERT_EQ(project.Analyze(counter), 0);
    ASSERT_TRUE(project.Generate(top)) << project.log.Text();
    const std::string output = project.Output("blinky_top");
    // Two of the modules need VHDL-2008 (an if generate with alternatives, the component keyword
    // in an instance), so the generated file is analysed as VHDL-2008.
    const auto result = test::GhdlAnalyze({output}, "blinky_top", "08");
    EXPECT_TRUE(result.ok) << result.output << output;
}

TEST(ImportedModules, GenericsOfEveryTypeReachTheGeneratedEntity) {
    KESTRA_REQUIRE_GHDL();
    ImportedProject project;
    CHierarchyItem* fifo = project.Import(project.Root(), "fifo_cc", "fifo_cc.vhd");
    project.Import(fifo, "util_pkg", "util_pkg.vhd", HierarchyKind::Package);
    ASSERT_EQ(project.Analyze(fifo->Child(0)), 0);
    ASSERT_EQ(project.Analyze(fifo), 0) << project.log.Text();
    fifo->Object()->SetEntryText(fifo->Object()->FindEntry("OUTPUT_REG"), EntryField::Value, "true");
    ASSERT_TRUE(project.Generate(fifo)) << project.log.Text();
    const std::string output = project.Output("fifo_cc");
    EXPECT_NE(output.find("\t\tOUTPUT_REG: boolean := true;\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\t\tDATA_REG: boolean := false;\r\n"), std::string::npos) << output;
    const auto result = test::GhdlAnalyze({output}, "fifo_cc");
    EXPECT_TRUE(result.ok) << result.output << output;

    // A tool-style parent of an imported child with a boolean generic.
    ImportedProject mixed;
    CHierarchyItem* parent = mixed.AddModule(
        mixed.Root(), "TOP",
        test::SimpleModule(
            "TOP", "",
            "clk, enable : in std_logic; duty : in unsigned(7 downto 0); pwm_out : out std_logic"));
    mixed.WriteSource("TOP", ReplacedOnce(mixed.ReadSource("TOP"), "use IEEE.std_logic_1164.all;\r\n",
                                          "use IEEE.std_logic_1164.all;\r\nuse IEEE.numeric_std.all;\r\n"));
    CHierarchyItem* pwm = mixed.Import(parent, "pwm", "pwm.vhd");
    ASSERT_EQ(mixed.Analyze(pwm), 0);
    pwm->Object()->SetEntryText(pwm->Object()->FindEntry("INVERT"), EntryField::Value, "true");
    ASSERT_EQ(mixed.Analyze(parent), 0) << mixed.log.Text();
    ASSERT_TRUE(mixed.Generate(parent)) << mixed.log.Text();
    const std::string generated = mixed.Output("TOP");
    EXPECT_NE(generated.find("\t\tCOUNTER_WIDTH: integer := 8;\r\n\t\tINVERT: boolean := true \r\n"),
              std::string::npos)
        << generated;
    const auto mixedResult = test::GhdlAnalyze({generated}, "TOP");
    EXPECT_TRUE(mixedResult.ok) << mixedResult.output << generated;
}

// Every module of the corpus that stands alone, generated as a top module with its packages as
// package modules: the file analyses and elaborates under GHDL with the standard the source needs.
TEST(ImportedModules, EveryStandaloneModuleGeneratesVhdlThatGhdlElaborates) {
    KESTRA_REQUIRE_GHDL();
    // Generics without a default need a value before a top module can be elaborated.
    const std::map<std::string, std::map<std::string, std::string>> values = {
        {"fifo_sync", {{"D_BITS", "8"}, {"MIN_DEPTH", "16"}}},
        {"crc_gen", {{"INIT", "x\"FFFF\""}}},
        {"axi_lite_regs", {{"BASE_ADDR", "x\"40000000\""}}},
    };
    // Not elaborated alone: an external name into a design that is not there, a top port left
    // unconstrained, and units that need another unit of their file.
    const std::set<std::string> analyzedOnly = {"bus_monitor", "stream_mux"};
    const std::set<std::string> notAlone = {"blinky_top", "full_adder", "shifter", "open_drain"};
    std::istringstream lines(Imported("sources.txt"));
    int generated = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string file, entity, standard;
        words >> file >> entity >> standard;
        if (notAlone.count(entity) != 0)
            continue;
        SCOPED_TRACE(file + " " + entity);
        ImportedProject project;
        CHierarchyItem* top = project.Import(project.Root(), entity, file);
        for (std::string package; words >> package;) {
            CHierarchyItem* item =
                project.Import(top, package.substr(0, package.find('.')), package, HierarchyKind::Package);
            ASSERT_EQ(project.Analyze(item), 0);
        }
        ASSERT_EQ(project.Analyze(top), 0) << project.log.Text();
        if (const auto found = values.find(entity); found != values.end()) {
            for (const auto& [name, value] : found->second)
                top->Object()->SetEntryText(top->Object()->FindEntry(name), EntryField::Value, value);
        }
        ASSERT_TRUE(project.Generate(top)) << project.log.Text();
        const std::string output = project.Output(entity);
        const auto result =
            test::GhdlAnalyze({output}, analyzedOnly.count(entity) != 0 ? std::string() : entity, standard);
        EXPECT_TRUE(result.ok) << result.output << output;
        ++generated;
    }
    EXPECT_GE(generated, 38);
}

TEST(ImportedModules, GenerationReportsGenericsWithoutAValue) {
    ImportedProject project;
    CHierarchyItem* crc = project.Import(project.Root(), "crc_gen", "crc_gen.vhd");
    ASSERT_EQ(project.Analyze(crc), 0);
    project.log.ClearLog();
    EXPECT_FALSE(project.Generate(crc));
    EXPECT_NE(project.log.Text().find("\r\nERROR: Parameter INIT of module crc_gen has no value."),
              std::string::npos)
        << project.log.Text();
    EXPECT_EQ(project.Output("crc_gen"), "<missing>");

    crc->Object()->SetEntryText(crc->Object()->FindEntry("INIT"), EntryField::Value, "x\"FFFF\"");
    ASSERT_TRUE(project.Generate(crc)) << project.log.Text();
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({project.Output("crc_gen")}, "crc_gen");
        EXPECT_TRUE(result.ok) << result.output << project.Output("crc_gen");
    }
}

} // namespace
} // namespace kestra
