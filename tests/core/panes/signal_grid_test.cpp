#include "model/vhdl_signal.h"
#include "panes/signal_grid.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;

struct Listener : CSignalsListener {
    void SignalsChanged(CProjectSession&, CHierarchyItem* owner) override { heard.push_back(owner); }
    std::vector<CHierarchyItem*> heard;
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

} // namespace
} // namespace kestra
