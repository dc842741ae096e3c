#include "model/vhdl_signal.h"
#include "panes/signal_grid.h"
#include "project/project_observer.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"
#include "text/word_reader.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;

struct Listener : CSignalsListener {
    void SignalsChanged(CProjectSession&, CHierarchyItem* owner) override { heard.push_back(owner); }
    std::vector<CHierarchyItem*> heard;
};

struct StatusBar : CProjectObserver {
    void ShowStatus(const std::string& text) override { shown = text; }
    std::string shown;
};

// Rows carry what the grid does not show (the initial value) wherever they move, and every
// command leaves the record and the listener as the pane promises.
TEST(SignalGrid, RowsKeepTheirWholeSignalThroughMovesAndRemovals) {
    ProjectFixture project;
    ProjectCommands commands(project.doc);
    CHierarchyItem* item = project.AddModule(project.Root(), "M", "");
    CVHDLSignal& signals = *item->Signals();
    signals.SetSignalCount(3);
    signals.SetSignalAll(0, "A", "in", "BIT", "", "'0'");
    signals.SetSignalAll(1, "B", "out", "BIT", "", "");
    signals.SetSignalAll(2, "C", "buffer", "INTEGER", "0 to 7", "3");
    Listener listener;
    CSignalGrid grid;
    grid.SetListener(&listener);
    grid.SetOwner(&commands.session, item);
    EXPECT_EQ(grid.Caption(), "M");

    EXPECT_EQ(grid.MoveRow(0, MoveCommand::Up), -1);
    EXPECT_EQ(grid.MoveRow(2, MoveCommand::Bottom), -1);
    EXPECT_EQ(grid.MoveRow(0, MoveCommand::Bottom), 2);
    EXPECT_EQ(grid.MoveRow(1, MoveCommand::Top), 0);
    EXPECT_TRUE(listener.heard.empty()); // moves wait for the next write-back
    ASSERT_TRUE(grid.WriteBack(true));
    EXPECT_EQ(signals.GetSignalText(0, CVHDLSignal::kName), "C");
    EXPECT_EQ(signals.GetSignalText(0, CVHDLSignal::kInitialValue), "3");
    EXPECT_EQ(signals.GetSignalText(2, CVHDLSignal::kName), "A");
    EXPECT_EQ(signals.GetSignalText(2, CVHDLSignal::kInitialValue), "'0'");
    EXPECT_EQ(listener.heard, std::vector<CHierarchyItem*>{item});
    EXPECT_FALSE(grid.WriteBack(true)); // nothing changed since

    EXPECT_EQ(grid.RemoveRows(0, 1), 0);
    ASSERT_EQ(signals.GetSignalCount(), 1);
    EXPECT_EQ(signals.GetSignalText(0, CVHDLSignal::kInitialValue), "'0'");
    EXPECT_EQ(grid.RemoveRows(0, 0), -1);
    EXPECT_EQ(signals.GetSignalCount(), 0);

    // The owner goes with its item.
    EXPECT_TRUE(grid.ForgetItem(project.Root()));
    EXPECT_FALSE(grid.HasOwner());
    EXPECT_EQ(grid.InsertRow(0), -1);
}

// A row the port clause cannot declare never costs the source a port: a renamed port whose new
// name is not VHDL stays as it was, a new incomplete row is left out, and both stay in the grid,
// marked with their reason, while the valid rows reach the source.
TEST(SignalGrid, InvalidRowsKeepTheSourcesPortsAndTheirReasonsShow) {
    ProjectFixture project;
    StatusBar statusBar;
    ProjectCommands commands(project.doc, &statusBar);
    CHierarchyItem* item =
        project.AddModule(project.Root(), "M", test::SimpleModule("M", "", "CLK : in bit; LED : out bit"));
    commands.session.Select(item);
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << project.log.Text();
    CSignalGrid grid;
    grid.SetOwner(&commands.session, item);
    ASSERT_EQ(grid.RowCount(), 2);

    const std::string notIdentifier = VhdlNameProblem("my led");
    ASSERT_TRUE(grid.EndCellEdit(1, SignalColumn::Name, "my led"));
    EXPECT_EQ(grid.RowAt(1).status, SignalRowStatus::Invalid);
    EXPECT_NE(grid.StatusTip(1).find(notIdentifier), std::string::npos) << grid.StatusTip(1);
    EXPECT_EQ(grid.StatusTip(0), "");
    EXPECT_EQ(statusBar.shown, "Invalid port in row 2 of M: " + notIdentifier);
    const int added = grid.InsertRow(-1);
    ASSERT_TRUE(grid.EndCellEdit(added, SignalColumn::Name, "EXTRA"));
    EXPECT_EQ(grid.SetCells(grid.RowCount(), SignalColumn::Name, {{"GO", "in", "bit"}}), 1);

    project.log.ClearLog();
    ASSERT_TRUE(grid.CommitToSource());
    std::string source = project.ReadSource("M");
    EXPECT_NE(source.find("LED : out bit"), std::string::npos) << source;
    EXPECT_NE(source.find("GO : in bit"), std::string::npos) << source;
    EXPECT_EQ(source.find("EXTRA"), std::string::npos) << source;
    const std::string& log = project.log.Text();
    const std::string kept =
        "WARNING: Invalid port in row 2 of M (\"my led\"), the source keeps port LED as it was: " +
        notIdentifier;
    EXPECT_NE(log.find(kept), std::string::npos) << log;
    EXPECT_NE(
        log.find(
            "WARNING: Invalid port in row 3 of M (\"EXTRA\"), left out of the source: the row has no mode."),
        std::string::npos)
        << log;
    EXPECT_LT(log.find(kept), log.find("M's port list updated."));
    EXPECT_NE(statusBar.shown.find("the source keeps port LED"), std::string::npos);

    // Shown again later, the rows are as the user left them, and the next edit still keeps LED.
    grid.Load();
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(1, SignalColumn::Name), "my led");
    EXPECT_EQ(grid.RowAt(2).status, SignalRowStatus::ModeNotRecognised);
    ASSERT_TRUE(grid.EndCellEdit(3, SignalColumn::DataType, "bit_vector"));
    ASSERT_TRUE(grid.CommitToSource());
    source = project.ReadSource("M");
    EXPECT_NE(source.find("LED : out bit"), std::string::npos) << source;
    EXPECT_NE(source.find("GO : in bit_vector"), std::string::npos) << source;
}

} // namespace
} // namespace kestra
