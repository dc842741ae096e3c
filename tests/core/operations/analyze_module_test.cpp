#include "operations/analyze_module.h"
#include "project/analysis_status.h"
#include "project/project_observer.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

using test::ProjectFixture;
using test::SimpleModule;

TEST(AnalyzeModule, CarriesChosenValuesAndReportsErrors) {
    ProjectFixture project;
    CHierarchyItem* counter = project.AddModule(
        project.Root(), "CNT", SimpleModule("CNT", "N : integer := 8", "CLK : in std_logic"));
    AnalysisContext context;
    EXPECT_EQ(AnalyzeModule(project.doc, counter, context), 0);
    EXPECT_EQ(counter->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(project.log.Text(), "\r\nCNT analyzed. No error encountered.");
    ASSERT_EQ(counter->Object()->FormatEntry(1), "NUM\tN\t8");
    ASSERT_EQ(counter->Signals()->GetSignalCount(), 1);

    counter->Object()->SetEntryText(1, EntryField::Value, "16");
    AnalyzeModule(project.doc, counter, context);
    EXPECT_EQ(counter->Object()->FormatEntry(1), "NUM\tN\t16");

    // An error on line 5 keeps what was read before it and marks the name.
    project.WriteSource("CNT", "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\nentity CNT is\r\n"
                               "\tport (CLK : into std_logic);\r\nend CNT;\r\n");
    project.log.ClearLog();
    EXPECT_EQ(AnalyzeModule(project.doc, counter, context), 5);
    EXPECT_EQ(project.log.Text(), "\r\nCNT analyzed. Error encountered at line 5. Wrong keyword.");
    EXPECT_EQ(counter->Object()->GetEntryName(0), "* CNT");
    EXPECT_EQ(counter->Status(), AnalysisStatus::Failed);

    project.WriteSource("CNT", "entity OTHER is end OTHER;");
    project.log.ClearLog();
    AnalyzeModule(project.doc, counter, context);
    EXPECT_EQ(project.log.Text(), "\r\nCNT analyzed. Entity not found.");
}

TEST(AnalyzeModule, EmptyAndMissingFiles) {
    ProjectFixture project;
    CHierarchyItem* empty = project.AddModule(project.Root(), "E", "");
    project.WriteSource("E", "");
    AnalysisContext context;
    EXPECT_EQ(AnalyzeModule(project.doc, empty, context), 0);
    EXPECT_EQ(empty->Object()->GetEntryCount(), 1);
    EXPECT_EQ(project.log.Text(), "\r\nE analyzed. No error encountered.");

    CHierarchyItem* missing = project.AddModule(project.Root(), "M", "");
    missing->Object()->SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    project.log.ClearLog();
    EXPECT_EQ(AnalyzeModule(project.doc, missing, context), -1);
    EXPECT_EQ(missing->Status(), AnalysisStatus::SourceMissing);
    EXPECT_EQ(project.log.Text(), "");
    EXPECT_EQ(missing->Object()->GetEntryCount(), 1); // left as it was
}

class RecordingObserver : public CProjectObserver {
public:
    void CommitPanes(CHierarchyItem* item) override { calls += "commit " + item->Text() + ";"; }
    void ReloadPanes(CHierarchyItem* item, int) override { calls += "reload " + item->Text() + ";"; }
    std::string calls;
};

TEST(AnalyzeCommand, ChildrenFirstAndStopsAtTheFirstFailure) {
    ProjectFixture project;
    CHierarchyItem* top = project.AddModule(project.Root(), "TOP", SimpleModule("TOP", "", "X : in bit"));
    project.AddModule(top, "A", SimpleModule("A", "", "a : in bit"));
    CHierarchyItem* b = project.AddModule(top, "B", SimpleModule("B", "", "b : in bit"));
    RecordingObserver observer;
    ProjectCommands commands(project.doc, &observer);
    commands.session.Select(top);
    EXPECT_TRUE(commands.analysis.OnAnalyzeModule());
    EXPECT_EQ(project.log.Text(), "\r\nB analyzed. No error encountered.\r\nA analyzed. No error encountered."
                                  "\r\nTOP analyzed. No error encountered.");
    EXPECT_EQ(observer.calls, "commit TOP;reload TOP;");

    // Only what is not analysed is analysed again; the selected module always is.
    project.log.ClearLog();
    EXPECT_TRUE(commands.analysis.OnAnalyzeModule());
    EXPECT_EQ(project.log.Text(), "\r\nTOP analyzed. No error encountered.");

    project.WriteSource("A", SimpleModule("A", "", "a : in bit") + "\r\n-- touched");
    project.WriteSource("B", "entity B is port (b : into bit); end B;");
    UpdateAnalysisStatus(project.doc, top->Child(0));
    UpdateAnalysisStatus(project.doc, b);
    project.log.ClearLog();
    EXPECT_FALSE(commands.analysis.OnAnalyzeModule());
    EXPECT_EQ(project.log.Text(), "\r\nB analyzed. Error encountered at line 1. Wrong keyword.");
    EXPECT_EQ(top->Child(0)->Status(), AnalysisStatus::NeedsAnalysis);
}

TEST(ImportModuleFile, FreeNamesAndOverwrite) {
    ProjectFixture project;
    const auto outside = project.folder / "alu.vhd";
    ASSERT_TRUE(ReplaceFileSafely(outside, SimpleModule("alu", "", "a : in bit", "-- U_alu here\r\n")));
    EXPECT_EQ(ImportModuleFile(project.doc, ImportMode::FreeName, outside.string(), "alu"), "alu");
    EXPECT_EQ(ImportModuleFile(project.doc, ImportMode::FreeName, outside.string(), "alu"), "alu_2");
    EXPECT_EQ(project.log.Text(), "\r\nOriginal module name alu is in use, new module is renamed to alu_2.");
    const std::string copy = project.ReadSource("alu_2");
    EXPECT_NE(copy.find("entity alu_2 is"), std::string::npos);
    EXPECT_NE(copy.find("architecture alu_2_arch of alu_2 is"), std::string::npos);
    EXPECT_NE(copy.find("-- U_alu_2 here"), std::string::npos);

    ASSERT_TRUE(ReplaceFileSafely(outside, "-- replaced"));
    EXPECT_EQ(ImportModuleFile(project.doc, ImportMode::Overwrite, outside.string(), "alu"), "alu");
    EXPECT_EQ(project.ReadSource("alu"), "-- replaced");

    project.log.ClearLog();
    EXPECT_FALSE(
        ImportModuleFile(project.doc, ImportMode::FreeName, (project.folder / "none.vhd").string(), "none"));
    EXPECT_EQ(project.log.Text().rfind("\r\nERROR: ", 0), 0u);
}

TEST(AnalyzeModule, AnOversizedSourceIsRefusedWithAReason) {
    ProjectFixture project;
    CHierarchyItem* item = project.AddModule(project.Root(), "BIG", SimpleModule("BIG", "", "a : in bit"));
    std::filesystem::resize_file(project.SourcePath("BIG"), kMaxReadFileSize + 1); // sparse
    AnalysisContext context;
    EXPECT_EQ(AnalyzeModule(project.doc, item, context), -1);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::FileIoError);
    EXPECT_NE(item->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot read source file (" +
                                      project.SourcePath("BIG").string() +
                                      "). File too large (more than 256 MB).");
}

} // namespace
} // namespace kestra
