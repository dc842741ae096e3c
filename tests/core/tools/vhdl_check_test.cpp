#include "support/project_fixture.h"
#include "tools/vhdl_check.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(VhdlCheck, AnalyzerMessagesAreReadWithTheirPlaceAndKind) {
    const std::vector<CheckMessage> ghdl = ParseAnalyzerOutput(
        VhdlAnalyzer::Kind::Ghdl, "/p/Blinker/DIVIDER.vhd:9:35: no declaration for \"abc\"\n"
                                  "  WIDTH: integer := abc\r\n"
                                  "                    ^\n"
                                  "top.vhd:4:1:warning: declaration of \"x\" hides \"x\"\n"
                                  "/usr/bin/ghdl-mcode: cannot find entity or configuration zz\n"
                                  "ghdl: compilation error\n");
    ASSERT_EQ(ghdl.size(), 3u);
    EXPECT_EQ(ghdl[0].file, "/p/Blinker/DIVIDER.vhd");
    EXPECT_EQ(ghdl[0].line, 9);
    EXPECT_EQ(ghdl[0].column, 35);
    EXPECT_EQ(ghdl[0].text, "no declaration for \"abc\"");
    EXPECT_TRUE(ghdl[0].error);
    EXPECT_FALSE(ghdl[1].error);
    EXPECT_EQ(ghdl[1].text, "declaration of \"x\" hides \"x\"");
    EXPECT_TRUE(ghdl[2].file.empty());
    EXPECT_EQ(ghdl[2].text, "cannot find entity or configuration zz");

    const std::vector<CheckMessage> nvc =
        ParseAnalyzerOutput(VhdlAnalyzer::Kind::Nvc,
                            "** Error: no visible declaration for ABC\n    > /p/A.vhd:12\n   |\n 12 | x\n");
    ASSERT_EQ(nvc.size(), 1u);
    EXPECT_EQ(nvc[0].file, "/p/A.vhd");
    EXPECT_EQ(nvc[0].line, 12);
    EXPECT_EQ(nvc[0].text, "no visible declaration for ABC");

    // The log line a user double-clicks names the file and line; other lines name nothing.
    const auto location = LocationInCheckLine("GHDL: /p/My Project/A.vhd:12:5: no declaration for \"t\"");
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->file, "/p/My Project/A.vhd");
    EXPECT_EQ(location->line, 12);
    EXPECT_FALSE(LocationInCheckLine("GHDL check: 2 errors in A.vhd."));
    EXPECT_FALSE(LocationInCheckLine("Writing to /p/A.vhd:1:2: ..."));
}

TEST(VhdlCheck, TheStandardFollowsTheSource) {
    EXPECT_FALSE(NeedsVhdl2008("entity a is end;\narchitecture r of a is begin\n"
                               "  p: process (clk) begin end process; -- process (all) ?= context\n"
                               "  s <= \"process (all)\";\nend;\n"));
    EXPECT_TRUE(NeedsVhdl2008("architecture r of a is begin\n  process(ALL) begin end process;\nend;"));
    EXPECT_TRUE(NeedsVhdl2008("architecture r of a is begin y <= a ?= b; end;"));
    EXPECT_TRUE(NeedsVhdl2008("library ieee; use ieee.numeric_std_unsigned.all;"));
    EXPECT_EQ(AnalyzerOptions(VhdlAnalyzer::Kind::Ghdl, false)[0], "--std=93c");
    EXPECT_EQ(AnalyzerOptions(VhdlAnalyzer::Kind::Ghdl, true)[0], "--std=08");
}

TEST(VhdlCheck, EveryItemOfAFailedFileIsMarkedAndAPassedOneCleared) {
    test::ProjectFixture project;
    CHierarchyItem* left =
        project.AddModule(project.Root(), "LEFT", test::SimpleModule("LEFT", "", "a : in bit"));
    CHierarchyItem* right =
        project.AddModule(project.Root(), "RIGHT", test::SimpleModule("RIGHT", "", "a : in bit"));
    CHierarchyItem* first = project.AddModule(left, "DIV", test::SimpleModule("DIV", "", "a : in bit"));
    CHierarchyItem* second = project.AddModule(right, "DIV", "");
    left->SetCheckFailed(true);
    CheckJob job;
    job.files = {{project.SourcePath("DIV"), "work"}, {project.SourcePath("LEFT"), "work"}};
    CheckOutcome outcome;
    outcome.failedFiles = {project.SourcePath("DIV")};
    MarkCheckedItems(project.doc, job, outcome);
    EXPECT_TRUE(first->CheckFailed());
    EXPECT_TRUE(second->CheckFailed());
    EXPECT_FALSE(left->CheckFailed());
    EXPECT_FALSE(right->CheckFailed()); // not checked: stays as it was
}

} // namespace
} // namespace kestra
