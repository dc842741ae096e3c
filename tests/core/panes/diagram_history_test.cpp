// Undo and redo of the block diagram's own edits, through the pane as the canvas drives it.
#include "diagram/diagram_history.h"
#include "panes/diagram_pane.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;
using test::SimpleModule;

// A module TOP shown in the pane with two custom blocks A and B.
struct HistoryProject : ProjectFixture {
    HistoryProject() : commands(doc) {
        top = AddModule(Root(), "TOP", SimpleModule("TOP", "", "a : in bit"));
        other = AddModule(Root(), "OTHER", SimpleModule("OTHER", "", "b : in bit"));
        pane.Show(&commands.session, top);
        pane.Editor().SetClientSize(1000, 800);
        a = pane.Diagram().AddBlock(100, 100, 80, 60, "A", 0xFFFFFF, -1, BlockKind::CustomBlock);
        b = pane.Diagram().AddBlock(500, 300, 80, 60, "B", 0xFFFFFF, -1, BlockKind::CustomBlock);
    }
    // A left-button gesture from one diagram point to another, as the canvas brackets it.
    void Drag(CPixelPoint from, CPixelPoint to) {
        pane.BeginStep();
        pane.Editor().OnLeftButtonDown(from);
        pane.Editor().OnMouseMove(to);
        pane.Editor().OnLeftButtonUp(to);
        pane.EndStep();
    }
    ProjectCommands commands;
    CDiagramPane pane;
    CHierarchyItem* top = nullptr;
    CHierarchyItem* other = nullptr;
    int a = -1;
    int b = -1;
};

TEST(DiagramHistory, MoveLinkLineStyleAndLineRemovalAreUndoneAndRedone) {
    HistoryProject project;
    CDiagramPane& pane = project.pane;
    const CBlockDiagram start = pane.Diagram();

    project.Drag({140, 130}, {240, 230});
    const CBlockDiagram moved = pane.Diagram();
    ASSERT_NE(moved.BlockRect(project.a), start.BlockRect(project.a));
    EXPECT_EQ(pane.History().UndoName(), "move block");

    ASSERT_TRUE(pane.StartMode(EditMode::AutomaticLink));
    const CPixelRect from = pane.Diagram().BlockRect(project.a);
    const CPixelRect to = pane.Diagram().BlockRect(project.b);
    project.Drag(from.Centre(), to.Centre());
    ASSERT_EQ(pane.Diagram().Lines().Lines().size(), 1u);
    EXPECT_EQ(pane.History().UndoName(), "automatic link");
    const CBlockDiagram linked = pane.Diagram();
    const int line = pane.Diagram().Lines().Lines().begin()->first;

    pane.Diagram().SelectLine(line);
    pane.Edit("line style", [&pane] { pane.Diagram().CycleLineStyle(); });
    ASSERT_FALSE(SameDrawing(pane.Diagram(), linked));
    EXPECT_EQ(pane.History().UndoName(), "line style");
    pane.Diagram().SelectLine(line);
    pane.Remove();
    EXPECT_TRUE(pane.Diagram().Lines().Lines().empty());
    EXPECT_EQ(pane.History().UndoName(), "remove line");

    // Back step by step to the start, then forward again.
    ASSERT_TRUE(pane.Undo());
    ASSERT_EQ(pane.Diagram().Lines().Lines().size(), 1u);
    ASSERT_TRUE(pane.Undo());
    EXPECT_TRUE(SameDrawing(pane.Diagram(), linked));
    ASSERT_TRUE(pane.Undo());
    EXPECT_TRUE(SameDrawing(pane.Diagram(), moved));
    ASSERT_TRUE(pane.Undo());
    EXPECT_TRUE(SameDrawing(pane.Diagram(), start));
    EXPECT_FALSE(pane.History().CanUndo());
    EXPECT_EQ(pane.History().RedoName(), "move block");
    ASSERT_TRUE(pane.Redo());
    ASSERT_TRUE(pane.Redo());
    EXPECT_TRUE(SameDrawing(pane.Diagram(), linked));

    // An undo is a change the record takes on write-back.
    ASSERT_TRUE(pane.Undo());
    ASSERT_TRUE(pane.WriteBack());
    EXPECT_TRUE(project.top->BlockData()->Lines().empty());
    pane.Show(&project.commands.session, project.top);
    EXPECT_EQ(pane.Diagram().BlockRect(project.a), moved.BlockRect(project.a));

    // A gesture that changes nothing is no step; a new edit ends the redo steps.
    const std::size_t steps = pane.History().StepCount();
    EXPECT_EQ(steps, 0u); // showing a module starts a new history
    project.Drag({900, 700}, {900, 700});
    EXPECT_FALSE(pane.History().CanUndo());
}

TEST(DiagramHistory, NamingAPortEndsTheHistoryAndAnotherModuleClearsIt) {
    HistoryProject project;
    CDiagramPane& pane = project.pane;
    CDiagramEditor& editor = pane.Editor();
    project.Drag({140, 130}, {240, 230});
    ASSERT_TRUE(pane.History().CanUndo());

    // A new port is a diagram edit; naming it adds a signal, which undo must not take back.
    ASSERT_TRUE(pane.StartMode(EditMode::InsertOutPort));
    pane.BeginStep();
    editor.OnLeftButtonDown({710, 110});
    editor.OnLeftButtonUp({710, 110});
    pane.EndStep();
    const int port = pane.Diagram().SelectedBlock();
    ASSERT_GE(port, 0);
    EXPECT_EQ(pane.History().UndoName(), "insert block");
    pane.Diagram().SelectBlock(port);
    ASSERT_TRUE(editor.BeginTextEdit());
    pane.BeginStep();
    editor.EndTextEdit(std::string("dout"));
    pane.EndStep();
    ASSERT_GE(project.top->Signals()->FindSignal("dout"), 0);
    EXPECT_FALSE(pane.History().CanUndo());
    EXPECT_FALSE(pane.Undo());
    EXPECT_EQ(pane.Diagram().BlockText(port), "dout");

    project.Drag({250, 240}, {350, 340});
    ASSERT_TRUE(pane.History().CanUndo());
    pane.Show(&project.commands.session, project.other);
    EXPECT_FALSE(pane.History().CanUndo());
}

TEST(DiagramHistory, KeepsABoundedNumberOfSteps) {
    CBlockDiagram diagram;
    diagram.Blocks().SetClientSize(1000, 800);
    const int block = diagram.AddBlock(0, 0, 40, 40, "X", 0xFFFFFF, -1, BlockKind::CustomBlock);
    CDiagramHistory history;
    for (int step = 0; step < 250; ++step) {
        history.Begin(diagram);
        diagram.MoveBlock(block, {10 * (step % 50), 0, 10 * (step % 50) + 40, 40});
        history.End(diagram);
    }
    EXPECT_EQ(history.StepCount(), CDiagramHistory::kMaxSteps);
    EXPECT_LE(history.Bytes(), CDiagramHistory::kMaxBytes);
    int undone = 0;
    while (history.Undo(diagram))
        ++undone;
    EXPECT_EQ(undone, static_cast<int>(CDiagramHistory::kMaxSteps));
}

} // namespace
} // namespace kestra
