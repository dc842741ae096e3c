#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "operations/analyze_module.h"
#include "operations/source_update.h"
#include "project/analysis_status.h"
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

TEST(SourceUpdate, ParameterEditReachesTheFileAndSurvivesReanalysis) {
    ProjectFixture project;
    CHierarchyItem* top = project.AddModule(project.Root(), "TOP", "");
    project.WriteSource("TOP", "entity TOP is end TOP;\r\narchitecture a of TOP is begin end a;");
    CHierarchyItem* item = project.AddModule(top, "M", kModule);
    AnalysisContext context;
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    ASSERT_EQ(AnalyzeModule(project.doc, top, context), 0);
    ASSERT_EQ(item->Object()->FormatEntry(1), "NUM\tOLD\t1");

    item->Object()->SetEntryText(1, EntryField::Value, "42");
    ASSERT_TRUE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_NE(project.ReadSource("M").find("\t\tOLD: integer := 42 \r\n"), std::string::npos);
    UpdateAnalysisStatus(project.doc, item);
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed); // the new file time was stored
    EXPECT_EQ(top->Status(), AnalysisStatus::NeedsAnalysis);

    item->Object()->SetEntryText(1, EntryField::Value, "7");
    ASSERT_TRUE(RewriteSourceFromParameters(project.doc, item));
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    EXPECT_EQ(item->Object()->FormatEntry(1), "NUM\tOLD\t7");
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({project.ReadSource("M")});
        EXPECT_TRUE(result.ok) << result.output;
    }

    // A read-only source is left alone, and the failure is reported.
    const std::string before = project.ReadSource("M");
    std::filesystem::permissions(project.SourcePath("M"), std::filesystem::perms::owner_read);
    item->Object()->SetEntryText(1, EntryField::Value, "9");
    project.log.ClearLog();
    EXPECT_FALSE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_EQ(project.ReadSource("M"), before);
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot write source file (" + project.SourcePath("M").string() +
                                      "). Failed to modify file. Permission denied.");

    std::filesystem::remove(project.SourcePath("M"));
    project.log.ClearLog();
    EXPECT_FALSE(RewriteSourceFromParameters(project.doc, item));
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot open source file (" + project.SourcePath("M").string() +
                                      "). Failed to modify file.");
}

TEST(SourceUpdate, PortListUpdateKeepsWhatTheUserEntered) {
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
    ASSERT_TRUE(UpdatePortList(project.doc, item, context).updated);
    EXPECT_EQ(project.log.Text(), "\r\nM's port list updated.\r\nM analyzed. No error encountered.");
    EXPECT_EQ(*item->Signals(), entered);
    const std::string text = project.ReadSource("M");
    EXPECT_NE(
        text.find(
            "entity M is\r\n\tgeneric (OLD : integer := 1);\r\n\tport (\r\n\t\tCLOCK : IN std_logic;\r\n"
            "\t\tDATA : out std_logic_vector(7 downto 0)\r\n\t);\r\n\tconstant GONE"),
        std::string::npos)
        << text;
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);
}

// A clause that cannot be read back would lose every port after it: the file stays as it was.
TEST(SourceUpdate, APortClauseThatWouldNotReadBackIsNotWritten) {
    ProjectFixture project;
    CHierarchyItem* item = project.AddModule(project.Root(), "M", kModule);
    AnalysisContext context;
    ASSERT_EQ(AnalyzeModule(project.doc, item, context), 0);
    CVHDLSignal& signals = *item->Signals();
    // The signal list takes any range for a type it does not know.
    signals.SetSignalAll(signals.AddSignal() - 1, "R", "in", "my_type", "0 to 3))", "");
    project.log.ClearLog();
    const PortListUpdate update = UpdatePortList(project.doc, item, context);
    EXPECT_FALSE(update.updated);
    EXPECT_EQ(project.ReadSource("M"), kModule);
    const std::string refusal =
        "M's port list not updated: the new port clause would make the entity header unreadable.";
    EXPECT_EQ(update.refusals, std::vector<std::string>{refusal});
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: " + refusal);
}

} // namespace
} // namespace kestra
