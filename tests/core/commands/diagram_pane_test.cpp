#include "commands/diagram_pane.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;
using test::SimpleModule;

// A top module with a child ALU, shown in the pane.
struct PaneProject : ProjectFixture {
    PaneProject() : commands(doc) {
        top = AddModule(Root(), "TOP", SimpleModule("TOP", "", "a : in bit"));
        alu = AddModule(top, "ALU", SimpleModule("ALU", "", "b : in bit"));
        pane.SetBeep([this] { ++beeps; });
        pane.Show(&commands.session, top);
    }
    int BlockNamed(const std::string& text) const {
        for (const auto& [id, block] : pane.Diagram().Blocks().Blocks())
            if (block.text == text)
                return id;
        return -1;
    }
    ProjectCommands commands;
    CDiagramPane pane;
    CHierarchyItem* top = nullptr;
    CHierarchyItem* alu = nullptr;
    int beeps = 0;
};

TEST(DiagramPane, ModuleBlocksFollowTheHierarchyForRemoveAndDoubleClick) {
    PaneProject project;
    CDiagramPane& pane = project.pane;
    EXPECT_EQ(pane.Caption(), "TOP");
    const int alu = project.BlockNamed("ALU");
    ASSERT_GE(alu, 0); // a new child gets a block of its own

    // A double-click on the block opens the child; on the canvas, the parent.
    CPixelRect r = pane.Diagram().BlockRect(alu);
    CDiagramEditor& editor = pane.Editor();
    editor.SetClientSize(800, 600);
    editor.OnLeftButtonDown(r.Centre());
    editor.OnLeftButtonUp(r.Centre());
    editor.OnDoubleClick(r.Centre());
    EXPECT_EQ(pane.TakeDoubleClickTarget(), project.alu);
    editor.OnDoubleClick({5, 5});
    EXPECT_EQ(pane.TakeDoubleClickTarget(), project.Root());

    // Remove asks the hierarchy; No keeps block and module, Yes removes both.
    pane.Diagram().SelectBlock(alu);
    ASSERT_TRUE(pane.CanRemove());
    project.prompts.QueueAnswer(PromptAnswer::No);
    pane.Remove();
    EXPECT_EQ(project.top->ChildCount(), 1);
    EXPECT_TRUE(pane.Diagram().FindBlock(alu));
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    pane.Remove();
    EXPECT_EQ(project.top->ChildCount(), 0);
    EXPECT_FALSE(pane.Diagram().FindBlock(alu));
    EXPECT_EQ(project.prompts.Messages().back().text, "Confirm remove ALU ?");

    // Written back, the record holds what the diagram shows; unchanged, it is left alone.
    ASSERT_TRUE(pane.WriteBack());
    EXPECT_EQ(project.top->BlockData()->GetBlockCount(), 0);
    EXPECT_FALSE(pane.WriteBack());
}

TEST(DiagramPane, InsertsBlocksAndReshapesPortsAsTheToolsSay) {
    PaneProject project;
    CDiagramPane& pane = project.pane;
    CDiagramEditor& editor = pane.Editor();
    editor.SetClientSize(800, 600);
    ASSERT_TRUE(pane.StartMode(EditMode::InsertOutPort));
    editor.OnLeftButtonDown({310, 310});
    const int port = pane.Diagram().SelectedBlock();
    ASSERT_GE(port, 0);
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::OutPort);
    EXPECT_EQ(pane.Diagram().BlockColour(port), PortColour(BlockKind::OutPort));

    // The interface command re-shapes a selected port (an unnamed one needs no signal).
    pane.InterfaceAction(BlockKind::InoutPort);
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::InoutPort);
    EXPECT_EQ(pane.InterfaceKind(), BlockKind::InoutPort);
    pane.Diagram().SelectBlock(-1);
    pane.InterfaceAction(BlockKind::TextBlock);
    EXPECT_EQ(editor.Mode(), EditMode::InsertText);

    // A module block only where the shown item takes child modules.
    ASSERT_TRUE(pane.StartMode(EditMode::InsertLibraryModule));
    EXPECT_EQ(pane.InsertKind(), EditMode::InsertLibraryModule);
    editor.OnLeftButtonDown({510, 510});
    EXPECT_EQ(pane.Diagram().BlockColour(pane.Diagram().SelectedBlock()),
              ModuleColour(HierarchyKind::Library));
    project.doc.Tree().SetItemKind(project.top, HierarchyKind::Library);
    EXPECT_FALSE(pane.StartMode(EditMode::InsertNormalModule));
    EXPECT_EQ(project.beeps, 1);
}

} // namespace
} // namespace kestra
