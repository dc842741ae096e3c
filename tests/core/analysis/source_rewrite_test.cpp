#include "analysis/analyze_module.h"
#include "analysis/source_rewrite.h"
#include "hierarchy/analysis_status.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "support/ghdl.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectFixture;

const std::string kModule =
    "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
    "entity M is\r\n"
    "\tgeneric (OLD : integer := 1);\r\n"
    "\tport (\r\n\t\tCLK : in std_logic; -- clock\r\n\t\tQ : out std_logic\r\n\t);\r\n"
    "\tconstant GONE : integer := 3;\r\n"
    "end M;\r\n\r\n"
    "architecture M_arch of M is\r\nbegin\r\n\tQ <= CLK;\r\nend M_arch;\r\n";

TEST(SourceRewrite, EntityHeaderFromParameters) {
    CKSTObject object;
    object.SetEntryCount(5);
    object.SetEntry(0, kKindVhdl, "M", "M.vhd");
    object.SetEntry(1, kKindNumeric, "N", "16");
    object.SetEntry(2, kKindLogic, "EN", "'1'");
    const std::vector<std::string> logic{"'0'", "'1'"};
    object.SetChoiceList(2, &logic);
    object.SetEntry(3, kKindLink, "F", "init.txt");
    object.SetEntry(4, kKindStyle, "S", "fast");
    const std::vector<std::string> styles{"slow", "fast"};
    object.SetChoiceList(4, &styles);

    EXPECT_EQ(RewriteEntityHeader(kModule, "m", object),
              "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
              "entity M is\r\n"
              "\tgeneric (\r\n"
              "\t\tN: integer := 16;\r\n"
              "\t\tEN: STD_LOGIC := '1';\r\n"
              "\t\tF: file := \"init.txt\" \r\n"
              "\t);\r\n"
              "\tport (\r\n\t\tCLK : in std_logic; -- clock\r\n\t\tQ : out std_logic\r\n\t);\r\n"
              "\ttype ENUM_S is (slow, fast);\r\n"
              "\tconstant S: ENUM_S := fast;\r\n"
              "end M;\r\n\r\n"
              "architecture M_arch of M is\r\nbegin\r\n\tQ <= CLK;\r\nend M_arch;\r\n");

    // No generic kinds: the old generic clause and the other declarations go.
    CKSTObject bare;
    bare.SetEntryCount(1);
    bare.SetEntry(0, kKindVhdl, "M", "M.vhd");
    const std::string rewritten = RewriteEntityHeader(kModule, "M", bare);
    EXPECT_NE(rewritten.find("entity M is\r\n\tport (\r\n\t\tCLK"), std::string::npos) << rewritten;
    EXPECT_EQ(rewritten.find("OLD"), std::string::npos);
    EXPECT_EQ(rewritten.find("GONE"), std::string::npos);
    EXPECT_EQ(RewriteEntityHeader(rewritten, "M", bare), rewritten);

    // Unclosed parentheses and a missing entity leave the text alone.
    const std::string unclosed = "entity M is generic (A : integer := (1; end M;";
    EXPECT_EQ(RewriteEntityHeader(unclosed, "M", object), unclosed);
    EXPECT_EQ(RewriteEntityHeader(kModule, "OTHER", object), kModule);
}

TEST(SourceRewrite, ParameterEditReachesTheFileAndSurvivesReanalysis) {
    ProjectFixture project;
    CHierarchyItem* top = project.AddModule(project.Root(), "TOP", "");
    project.WriteSource("TOP", "entity TOP is end TOP;\r\narchitecture a of TOP is begin end a;");
    CHierarchyItem* item = project.AddModule(top, "M", kModule);
    AnalysisContext context;
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    ASSERT_EQ(AnalyzeModule(project.doc, top, context), 0);
    ASSERT_EQ(item->Object()->FormatEntry(1), "NUM\tOLD\t1");

    item->Object()->SetEntryText(1, 1, "42");
    ASSERT_TRUE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_NE(project.ReadSource("M").find("\t\tOLD: integer := 42 \r\n"), std::string::npos);
    UpdateAnalysisStatus(project.doc, item);
    EXPECT_EQ(item->Status(), kStatusAnalysed); // the new file time was stored
    EXPECT_EQ(top->Status(), kStatusNeedsAnalysis);

    item->Object()->SetEntryText(1, 1, "7");
    ASSERT_TRUE(RewriteSourceFromParameters(project.doc, item));
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    EXPECT_EQ(item->Object()->FormatEntry(1), "NUM\tOLD\t7");
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyse({project.ReadSource("M")});
        EXPECT_TRUE(result.ok) << result.output;
    }

    // A read-only source is left alone, and the failure is reported.
    const std::string before = project.ReadSource("M");
    std::filesystem::permissions(project.SourcePath("M"), std::filesystem::perms::owner_read);
    item->Object()->SetEntryText(1, 1, "9");
    project.log.ClearLog();
    EXPECT_FALSE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_EQ(project.ReadSource("M"), before);
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot write source file (" + project.SourcePath("M").string() +
                                      "). Failed to modify file.");

    std::filesystem::remove(project.SourcePath("M"));
    project.log.ClearLog();
    EXPECT_FALSE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot open source file (" + project.SourcePath("M").string() +
                                      "). Failed to modify file.");
}

TEST(SourceRewrite, PortListUpdateKeepsWhatTheUserEntered) {
    ProjectFixture project;
    CHierarchyItem* item = project.AddModule(project.Root(), "M", kModule);
    AnalysisContext context;
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    CVHDLSignal& signals = *item->Signals();
    signals.SetSignalCount(2);
    signals.SetSignal(0, "CLOCK", "IN", "std_logic");
    signals.SetSignalAll(1, "DATA", "out", "std_logic_vector", "7 downto 0", "");
    const CVHDLSignal entered = signals;
    project.log.ClearLog();
    ASSERT_TRUE(UpdatePortList(project.doc, item, context));
    EXPECT_EQ(project.log.Text(), "\r\nM's port list updated.\r\nM analyzed. No error encountered.");
    EXPECT_EQ(*item->Signals(), entered);
    const std::string text = project.ReadSource("M");
    EXPECT_NE(
        text.find(
            "entity M is\r\n\tgeneric (OLD : integer := 1);\r\n\tport (\r\n\t\tCLOCK : IN std_logic;\r\n"
            "\t\tDATA : out std_logic_vector(7 downto 0)\r\n\t);\r\n\tconstant GONE"),
        std::string::npos)
        << text;
    EXPECT_EQ(item->Status(), kStatusAnalysed);
}

TEST(SourceRewrite, RenameModuleObjectKeepsTheFailureMark) {
    CKSTObject object;
    object.SetEntryCount(3);
    object.SetEntry(0, kKindVhdl, "* ADDER", "ADDER.vhd");
    object.SetEntry(1, kKindArchitecture, "ADDER", "rtl");
    object.SetEntry(2, kKindNumeric, "ADDER", "1");
    RenameModuleObject(object, "SUM");
    EXPECT_EQ(object.FormatEntry(0), "VHDL\t* SUM\tSUM.vhd");
    EXPECT_EQ(object.GetEntryName(1), "SUM");
    EXPECT_EQ(object.GetEntryName(2), "ADDER");
}

} // namespace
} // namespace kestra
