#include "operations/analyze_module.h"
#include "operations/component_update.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

using test::ProjectFixture;
using test::SimpleModule;

std::string Golden(const std::string& name) {
    return ReadWholeFile(std::filesystem::path(KESTRA_TEST_DATA) / "golden" / name)
        .ValueOr("<no golden file>");
}

// TOP with a normal child that has a generic and two architectures (one chosen), a library
// child, a predefined child and a package child.
struct ComponentProject : ProjectFixture {
    ComponentProject() {
        top = AddModule(
            Root(), "TOP",
            "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\nuse work.DEFS.all;\r\n\r\n"
            "entity TOP is\r\n\tport (CLK : in std_logic; Q : out std_logic_vector(3 downto 0));\r\n"
            "end TOP;\r\n\r\n"
            "architecture TOP_arch of TOP is\r\n"
            "\tsignal EN : std_logic;\r\n"
            "\tsignal D : std_logic;\r\n"
            "\tfunction one return std_logic is\r\n\tbegin\r\n\t\treturn '1';\r\n\tend;\r\n"
            "begin\r\n"
            "\tEN <= one;\r\n"
            "\tU_CNT: CNT port map (CLK => CLK, EN => EN, Q => Q);\r\n"
            "end TOP_arch;\r\n");
        cnt = AddModule(
            top, "CNT",
            "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
            "entity CNT is\r\n\tgeneric (W : integer := 4);\r\n"
            "\tport (CLK, EN : in std_logic; Q : out std_logic_vector(W-1 downto 0));\r\nend CNT;\r\n\r\n"
            "architecture up of CNT is\r\nbegin\r\n\tQ <= (others => EN);\r\nend up;\r\n\r\n"
            "architecture down of CNT is\r\nbegin\r\n\tQ <= (others => '0');\r\nend down;\r\n");
        AddModule(top, "LIBM", SimpleModule("LIBM", "", "CLK : in std_logic; D : out std_logic"),
                  HierarchyKind::Library);
        AddModule(top, "PRE", SimpleModule("PRE", "", "CLK : in std_logic"), HierarchyKind::Predefined);
        AddModule(top, "DEFS", "package DEFS is\r\n\tconstant C : integer := 1;\r\nend DEFS;\r\n",
                  HierarchyKind::Package);
    }

    bool AnalyzeAll() {
        ProjectCommands commands(doc);
        for (CHierarchyItem* child : {cnt, top->Child(1), top->Child(2), top->Child(3)}) {
            if (AnalyzeModule(doc, child, commands.session.Context()) != 0)
                return false;
        }
        // The user picks the second architecture of CNT.
        const int choice = cnt->Object()->FindEntry("CNT");
        cnt->Object()->SetEntryText(choice == 0 ? 2 : choice, EntryField::Value, "down");
        commands.session.Select(top);
        return commands.analysis.OnAnalyzeModule();
    }

    CHierarchyItem* top = nullptr;
    CHierarchyItem* cnt = nullptr;
};

TEST(ComponentRefresh, ParentSourceMatchesGoldenAndIsIdempotent) {
    ComponentProject project;
    ASSERT_TRUE(project.AnalyzeAll()) << project.log.Text();
    const std::string once = project.ReadSource("TOP");
    EXPECT_EQ(once, Golden("component_refresh_top.vhd"));

    AnalysisContext context;
    EXPECT_EQ(AnalyzeModule(project.doc, project.top, context), 0) << project.log.Text();
    EXPECT_EQ(project.ReadSource("TOP"), once);
}

TEST(ComponentRefresh, RewrittenSourcesAnalyzeUnderGhdl) {
    KESTRA_REQUIRE_GHDL();
    ComponentProject project;
    ASSERT_TRUE(project.AnalyzeAll()) << project.log.Text();
    const auto result =
        test::GhdlAnalyze({project.ReadSource("DEFS"), project.ReadSource("CNT"), project.ReadSource("LIBM"),
                           project.ReadSource("PRE"), project.ReadSource("TOP")});
    EXPECT_TRUE(result.ok) << result.output << "\n" << project.ReadSource("TOP");
}

TEST(ComponentRefresh, ChoiceOnTheParentSuppressesInstantiations) {
    ProjectFixture project;
    CHierarchyItem* top =
        project.AddModule(project.Root(), "TOP",
                          "entity TOP is port (a : in bit); end TOP;\r\n"
                          "architecture one of TOP is\r\nbegin\r\nend one;\r\n"
                          "architecture two of TOP is\r\n\tcomponent OLD\r\n\tend component;\r\n"
                          "\tfor U_OLD: OLD use entity WORK.OLD(x);\r\nbegin\r\nend two;\r\n");
    project.AddModule(
        top, "C", "entity C is port (a : in bit); end C;\r\narchitecture C_arch of C is begin end C_arch;");
    ProjectCommands commands(project.doc);
    commands.session.Select(top);
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << project.log.Text();
    const std::string text = project.ReadSource("TOP");
    EXPECT_EQ(text.find("OLD"), std::string::npos) << text; // old declarations are rebuilt from the tree
    EXPECT_EQ(text.find("U_C"), std::string::npos) << text;
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find("-- KESTRA component declarations", at)) != std::string::npos;
         ++at)
        ++count;
    EXPECT_EQ(count, 2u);
}

TEST(ComponentRefresh, ErrorsStopWithoutWriting) {
    ProjectFixture project;
    const std::string parent =
        "entity P is port (a : in bit); end P;\r\n"
        "architecture P_arch of P is\r\n\tcomponent X\r\n\tend;\r\nbegin\r\nend P_arch;\r\n";
    CHierarchyItem* top = project.AddModule(project.Root(), "P", parent);
    CHierarchyItem* child =
        project.AddModule(top, "C", "entity C is end C;\r\narchitecture a of C is begin end a;");
    AnalysisContext context;
    // A child that is not analysed.
    EXPECT_EQ(AnalyzeModule(project.doc, top, context), 11);
    EXPECT_EQ(project.ReadSource("P"), parent);
    // A child without a port clause.
    ASSERT_EQ(AnalyzeModule(project.doc, child, context), 0);
    EXPECT_EQ(AnalyzeModule(project.doc, top, context), 5);
    EXPECT_EQ(project.ReadSource("P"), parent);
    // A component declaration closed by a plain "end;".
    project.WriteSource("C", "entity C is port (b : out bit); end C;\r\narchitecture a of C is begin end a;");
    ASSERT_EQ(AnalyzeModule(project.doc, child, context), 0);
    EXPECT_EQ(AnalyzeModule(project.doc, top, context), 5);
    EXPECT_EQ(project.ReadSource("P"), parent);
}

TEST(ComponentRefresh, AFailedWriteIsErrorSevenWithTheReason) {
    ProjectFixture project;
    const std::string parent = SimpleModule("P", "", "a : in bit");
    CHierarchyItem* top = project.AddModule(project.Root(), "P", parent);
    CHierarchyItem* child = project.AddModule(top, "C", SimpleModule("C", "", "b : in bit"));
    AnalysisContext context;
    ASSERT_EQ(AnalyzeModule(project.doc, child, context), 0);
    std::filesystem::permissions(project.SourcePath("P"), std::filesystem::perms::owner_read);
    project.log.ClearLog();
    EXPECT_EQ(AnalyzeModule(project.doc, top, context), 7);
    EXPECT_EQ(project.ReadSource("P"), parent);
    EXPECT_NE(project.log.Text().find("\r\nERROR: Cannot write source file (" +
                                      project.SourcePath("P").string() +
                                      "). Failed to modify file. Permission denied."),
              std::string::npos)
        << project.log.Text();
    EXPECT_NE(top->Status(), AnalysisStatus::Analyzed);
}

} // namespace
} // namespace kestra
