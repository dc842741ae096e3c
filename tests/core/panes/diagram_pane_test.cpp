#include "panes/diagram_pane.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"
#include "support/temp_folder.h"
#include "text/word_reader.h"

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

// Design entry: a project whose TOP (in port a, child ALU) is analysed and shown, with the
// pane's notifications to the signal list counted.
struct EntryProject : PaneProject, CSignalsListener {
    EntryProject() {
        commands.session.Select(top);
        EXPECT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
        pane.Show(&commands.session, top);
        pane.SetSignalsListener(this);
        pane.Editor().SetClientSize(800, 600);
    }
    void SignalsChanged(CProjectSession&, CHierarchyItem* owner) override {
        EXPECT_EQ(owner, top);
        ++notified;
    }
    // A block inserted in the mode at the point, as a click does.
    int Insert(EditMode mode, CPixelPoint at) {
        EXPECT_TRUE(pane.StartMode(mode));
        pane.Editor().OnLeftButtonDown(at);
        pane.Editor().OnLeftButtonUp(at);
        return pane.Diagram().SelectedBlock();
    }
    // The user types the text into the block's editor.
    void Name(int block, const std::string& text) {
        pane.Diagram().SelectBlock(block);
        ASSERT_TRUE(pane.Editor().BeginTextEdit());
        pane.Editor().EndTextEdit(text);
    }
    const CVHDLSignal& Signals() const { return *top->Signals(); }
    std::string Mode(const std::string& name) const {
        const int row = Signals().FindSignal(name);
        return row < 0 ? "(none)" : Signals().GetSignalText(row, CVHDLSignal::kMode);
    }
    int notified = 0;
};

TEST(DiagramEntry, NamingPortBlocksAddsAndRenamesSignals) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    const int dout = project.Insert(EditMode::InsertOutPort, {300, 300});
    project.Name(dout, "dout");
    EXPECT_EQ(project.Mode("dout"), "out");
    EXPECT_EQ(project.Signals().GetSignalCount(), 2);
    EXPECT_EQ(project.notified, 1);

    // Named after the existing "in" signal, a new "out" block becomes that signal's port.
    const int second = project.Insert(EditMode::InsertOutPort, {300, 420});
    project.Name(second, "a");
    EXPECT_EQ(pane.Diagram().GetBlockKind(second), BlockKind::InPort);
    EXPECT_EQ(pane.Diagram().BlockColour(second), PortColour(BlockKind::InPort));
    EXPECT_EQ(project.Signals().GetSignalCount(), 2);

    project.Name(dout, "q");
    EXPECT_EQ(project.Mode("q"), "out");
    EXPECT_EQ(project.Mode("dout"), "(none)");

    // A port block goes without its signal.
    pane.Diagram().SelectBlock(dout);
    pane.Remove();
    EXPECT_FALSE(pane.Diagram().FindBlock(dout));
    EXPECT_EQ(project.Mode("q"), "out");

    // Written back, the port clause carries the signals that have a data type.
    project.top->Signals()->SetSignalText(project.Signals().FindSignal("q"), CVHDLSignal::kDataType, "bit");
    pane.WriteBack();
    const std::string source = test::ReadBytes(project.SourcePath("TOP"));
    EXPECT_NE(source.find("q : out bit"), std::string::npos) << source;
    EXPECT_EQ(project.Mode("q"), "out");
}

// A port's text is its signal's name in the port clause: what VHDL cannot take there is refused
// with the reason, and the block keeps the text it had.
TEST(DiagramEntry, APortBlockNamedWithANonIdentifierKeepsItsText) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    const int port = project.Insert(EditMode::InsertOutPort, {300, 300});
    project.Name(port, "dout");
    const int notified = project.notified;
    project.log.ClearLog();
    project.Name(port, "a b");
    EXPECT_EQ(pane.Diagram().BlockText(port), "dout");
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::OutPort);
    EXPECT_EQ(project.Mode("dout"), "out");
    EXPECT_EQ(project.Signals().FindSignal("a b"), -1);
    EXPECT_EQ(project.notified, notified);
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: Invalid port name: " + VhdlNameProblem("a b"));
    EXPECT_EQ(project.commands.session.LastRefusal(), "Invalid port name: " + VhdlNameProblem("a b"));

    // A new block named with a reserved word stays unnamed.
    const int other = project.Insert(EditMode::InsertInPort, {300, 420});
    project.Name(other, "signal");
    EXPECT_EQ(pane.Diagram().BlockText(other), "");
    EXPECT_EQ(project.Signals().FindSignal("signal"), -1);
}

TEST(DiagramEntry, SignalChangesReshapePortsAndTheInterfaceCommandChangesSignals) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    const int port = project.Insert(EditMode::InsertInPort, {300, 300});
    project.Name(port, "a");
    ASSERT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::InPort);

    // The signal list turns "in" into "buffer": the port follows.
    CVHDLSignal& signals = *project.top->Signals();
    signals.SetSignalText(signals.FindSignal("a"), CVHDLSignal::kMode, "buffer");
    EXPECT_TRUE(pane.SignalsChanged(&project.commands.session, project.top));
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::BufferPort);
    EXPECT_EQ(pane.Diagram().BlockColour(port), PortColour(BlockKind::BufferPort));

    // The interface command on a named port changes its signal's mode; Text removes the signal
    // and leaves a text block.
    pane.Diagram().SelectBlock(port);
    pane.InterfaceAction(BlockKind::OutPort);
    EXPECT_EQ(project.Mode("a"), "out");
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::OutPort);
    pane.InterfaceAction(BlockKind::TextBlock);
    EXPECT_EQ(project.Mode("a"), "(none)");
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::TextBlock);
    EXPECT_EQ(project.notified, 2);
    // A child's signals are its block's pins; another module's are none of this diagram's
    // business.
    EXPECT_TRUE(pane.SignalsChanged(&project.commands.session, project.alu));
    EXPECT_FALSE(pane.SignalsChanged(&project.commands.session, project.Root()));
}

TEST(DiagramEntry, ShowsEveryPortAndTheChildsPinsAsTheyAreNow) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    // TOP's port a got its block beside ALU's when TOP was shown.
    const int port = project.BlockNamed("a");
    const int alu = project.BlockNamed("ALU");
    ASSERT_GE(port, 0);
    EXPECT_EQ(pane.Diagram().GetBlockKind(port), BlockKind::InPort);
    EXPECT_LT(pane.Diagram().BlockRect(port).right, pane.Diagram().BlockRect(alu).left);
    ASSERT_EQ(pane.Diagram().PinsOf(alu).size(), 1u);
    EXPECT_EQ(pane.Diagram().PinsOf(alu)[0].name, "b");

    // ALU's signal list changes: its pins follow at once, and its block grows to hold them.
    CVHDLSignal& ports = *project.alu->Signals();
    for (const char* name : {"OPERAND_A", "OPERAND_B", "CARRY_IN"})
        ports.SetSignal(ports.AddSignal() - 1, name, "in", "bit");
    ports.SetSignal(ports.AddSignal() - 1, "SUM_OUT", "out", "bit");
    const std::vector<PinPlace> pins = pane.Diagram().PinsOf(alu);
    ASSERT_EQ(pins.size(), 5u);
    EXPECT_EQ(pins[4].side, PinSide::Right);
    EXPECT_EQ(pins[3].name, "CARRY_IN");
    const CPixelRect before = pane.Diagram().BlockRect(alu);
    EXPECT_TRUE(pane.SignalsChanged(&project.commands.session, project.alu));
    const CPixelRect after = pane.Diagram().BlockRect(alu);
    EXPECT_EQ(after, GrownTo(before, MinimumModuleBlockSize("ALU", &ports)));
    EXPECT_GT(after.Height(), before.Height());

    // Shown again after the write-back: nothing is added twice, nothing changed.
    ASSERT_TRUE(pane.WriteBack());
    const int count = pane.Diagram().BlockCount();
    pane.Show(&project.commands.session, project.top);
    EXPECT_EQ(pane.Diagram().BlockCount(), count);
    EXPECT_FALSE(pane.Diagram().DiagramChanged());
    EXPECT_EQ(pane.Diagram().BlockRect(alu), after);
}

TEST(DiagramEntry, NamingModuleBlocksCreatesAndRenamesChildModules) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    project.log.ClearLog();
    const int block = project.Insert(EditMode::InsertNormalModule, {400, 300});
    ASSERT_GE(block, 0);

    // Only a whole identifier names a module.
    project.Name(block, "u1 x");
    EXPECT_EQ(pane.Diagram().BlockText(block), "");
    EXPECT_EQ(project.top->ChildCount(), 1);

    project.Name(block, "adder");
    ASSERT_EQ(project.top->ChildCount(), 2);
    CHierarchyItem* adder = project.top->Child(1);
    EXPECT_EQ(adder->Text(), "adder");
    EXPECT_EQ(adder->Kind(), HierarchyKind::Normal);
    EXPECT_TRUE(FileExists(project.SourcePath("adder")));
    EXPECT_NE(project.log.Text().find("\r\nadder added from block diagram entry."), std::string::npos);
    // The parent, analysed with its new child, declares it.
    EXPECT_NE(test::ReadBytes(project.SourcePath("TOP")).find("component adder"), std::string::npos);
    // The block, inserted small, grows from its corner to show the name and the new child's pin.
    const CPixelRect named = pane.Diagram().BlockRect(block);
    EXPECT_EQ(named,
              GrownTo(CPixelRect{370, 280, 400, 300}, MinimumModuleBlockSize("adder", adder->Signals())));
    const std::vector<PinPlace> pins = pane.Diagram().PinsOf(block);
    ASSERT_EQ(pins.size(), 1u);
    EXPECT_EQ(pins[0].name, "CLK");
    // It cannot be made smaller than that again.
    pane.Diagram().SelectBlock(block);
    pane.Editor().OnHover({named.right, named.bottom});
    ASSERT_EQ(pane.Editor().Mode(), EditMode::ResizeBottomRight);
    pane.Editor().OnLeftButtonDown({named.right, named.bottom});
    pane.Editor().OnMouseMove({named.left + 20, named.top + 20});
    pane.Editor().OnLeftButtonUp({named.left + 20, named.top + 20});
    EXPECT_EQ(pane.Diagram().BlockRect(block), named);

    // A name in use is refused by the hierarchy, and the block keeps its name.
    project.Name(block, "ALU");
    EXPECT_EQ(pane.Diagram().BlockText(block), "adder");
    EXPECT_EQ(adder->Text(), "adder");
    EXPECT_NE(project.log.Text().find("New module name in use, specify other name."), std::string::npos);
    project.Name(block, "summer");
    EXPECT_EQ(adder->Text(), "summer");
    EXPECT_TRUE(FileExists(project.SourcePath("summer")));
    EXPECT_FALSE(FileExists(project.SourcePath("adder")));

    // Below a module that takes no children, nothing is created.
    const int other = project.Insert(EditMode::InsertNormalModule, {400, 450});
    project.doc.Tree().SetItemKind(project.top, HierarchyKind::Library);
    project.Name(other, "extra");
    EXPECT_EQ(pane.Diagram().BlockText(other), "");
    EXPECT_EQ(project.top->ChildCount(), 2);
}

// TOP has none of the ports of its children (ALU's b, the new module's CLK): it declares a
// signal for each and still analyses with them.
TEST(DiagramEntry, AChildDrawnInAModuleWithoutItsPortsLeavesTheParentAnalysing) {
    EntryProject project;
    const int block = project.Insert(EditMode::InsertNormalModule, {400, 300});
    project.Name(block, "adder");
    ASSERT_EQ(project.top->ChildCount(), 2);
    const std::string top = test::ReadBytes(project.SourcePath("TOP"));
    EXPECT_NE(top.find("\tsignal U_adder_CLK : STD_LOGIC;\r\n"), std::string::npos) << top;
    EXPECT_NE(top.find("\tU_adder: adder\r\n\t\tport map (\r\n\t\t\tCLK => U_adder_CLK\r\n\t\t);"),
              std::string::npos)
        << top;
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze(
            {test::ReadBytes(project.SourcePath("ALU")), test::ReadBytes(project.SourcePath("adder")), top},
            "TOP");
        EXPECT_TRUE(result.ok) << result.output << "\n" << top;
    }
}

TEST(DiagramEntry, AnUnnamedLibraryBlockStartsTheInsertionAndTakesTheModulesName) {
    EntryProject project;
    CDiagramPane& pane = project.pane;
    std::vector<LibraryKind> started;
    pane.SetLibraryInsertion([&](LibraryKind kind) {
        started.push_back(kind);
        // What the window does: the inserted module is announced to the pane.
        CHierarchyItem* item = project.doc.Tree().InsertItem("COUNTER", HierarchyKind::Library, project.top);
        EXPECT_TRUE(pane.ModuleInserted(project.top, item));
    });
    const int block = project.Insert(EditMode::InsertLibraryModule, {400, 300});
    const CPixelPoint centre = pane.Diagram().BlockRect(block).Centre();
    pane.Editor().OnDoubleClick(centre);
    ASSERT_EQ(started, std::vector<LibraryKind>{LibraryKind::Library});
    EXPECT_EQ(pane.Diagram().BlockText(block), "COUNTER");
    EXPECT_FALSE(pane.Editor().TextEdit().has_value());

    // A normal module block opens the text editor instead.
    const int normal = project.Insert(EditMode::InsertNormalModule, {400, 450});
    pane.Editor().OnDoubleClick(pane.Diagram().BlockRect(normal).Centre());
    EXPECT_EQ(started.size(), 1u);
    EXPECT_TRUE(pane.Editor().TextEdit().has_value());
}

} // namespace
} // namespace kestra
