#include "panes/diagram_pane.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"
#include "support/yosys.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;
using test::ProjectFixture;
using test::SimpleModule;

const char kByte[] = "std_logic_vector(7 downto 0)";

// TOP (CLK in, LEDS out) with the children CNT (CLK in, Q out) and INV (D in, Y out), analysed
// so that TOP instantiates both by position, and shown in the pane.
struct ConnectionProject : ProjectFixture {
    ConnectionProject() : commands(doc) {
        top = AddModule(Root(), "TOP",
                        SimpleModule("TOP", "", std::string("CLK : in std_logic; LEDS : out ") + kByte));
        AddModule(top, "CNT",
                  SimpleModule("CNT", "", std::string("CLK : in std_logic; Q : out ") + kByte,
                               "\tprocess (CLK) begin if rising_edge(CLK) then Q <= (others => '1'); end if; "
                               "end process;\r\n"));
        AddModule(top, "INV",
                  SimpleModule("INV", "", std::string("D : in ") + kByte + "; Y : out " + kByte,
                               "\tY <= not D;\r\n"));
        for (CHierarchyItem* item : {top->Child(0), top->Child(1), top}) {
            commands.session.Select(item);
            EXPECT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
        }
        pane.SetBeep([this] { ++beeps; });
        pane.Show(&commands.session, top);
        pane.Editor().SetClientSize(1200, 800);
    }
    bool Change(ConnectionChange change, const char* a, const char* b) {
        return pane.ChangeConnection(change, *ParseConnectionEnd(a), *ParseConnectionEnd(b));
    }
    int InstanceBlock(const std::string& label) const {
        for (const auto& [id, block] : pane.Diagram().Blocks().Blocks())
            if (block.instance == label)
                return id;
        return -1;
    }
    // Every connection line leaves and enters its ends where they are drawn.
    void ExpectLinesOnTheirEnds() const {
        const CBlockDiagram& diagram = pane.Diagram();
        for (const auto& [id, connection] : diagram.Connections()) {
            const LineRecord* line = diagram.Lines().Find(id);
            ASSERT_NE(line, nullptr);
            const auto from = diagram.EndPlace(connection.from, connection.to);
            const auto to = diagram.EndPlace(connection.to, connection.from);
            ASSERT_TRUE(from && to);
            EXPECT_EQ((CPixelPoint{line->points.front().x, line->points.front().y}), from->point)
                << connection.net;
            EXPECT_EQ((CPixelPoint{line->points.back().x, line->points.back().y}), to->point)
                << connection.net;
        }
    }
    std::vector<std::string> Sources() { return {ReadSource("CNT"), ReadSource("INV"), ReadSource("TOP")}; }

    ProjectCommands commands;
    CDiagramPane pane;
    CHierarchyItem* top = nullptr;
    int beeps = 0;
};

TEST(ConnectionFlow, LinesDrawnInTheDiagramAreThePortMapsOfTheParent) {
    ConnectionProject project;
    CDiagramPane& pane = project.pane;
    ASSERT_GE(project.InstanceBlock("U_CNT"), 0);
    ASSERT_GE(project.InstanceBlock("U_INV"), 0);
    // The positional instance already joins CLK to the counter: that is a line.
    ASSERT_EQ(pane.Diagram().Connections().size(), 1u);
    EXPECT_EQ(pane.Diagram().Connections().begin()->second.net, "CLK");
    EXPECT_FALSE(project.Change(ConnectionChange::Connect, "CLK", "U_CNT.CLK"));

    // Pin to pin: a signal named after the driving pin, typed as its port; the maps become named.
    ASSERT_TRUE(project.Change(ConnectionChange::Connect, "U_INV.D", "U_CNT.Q")) << project.log.Text();
    std::string text = project.ReadSource("TOP");
    EXPECT_NE(text.find("signal U_CNT_Q : std_logic_vector(7 downto 0);"), std::string::npos) << text;
    EXPECT_NE(text.find("CLK => CLK"), std::string::npos) << text;
    EXPECT_NE(text.find("Q => U_CNT_Q"), std::string::npos) << text;
    EXPECT_NE(text.find("D => U_CNT_Q"), std::string::npos) << text;
    // Port block to pin, drawn as a user would: from the output pin to the port block.
    const int inv = project.InstanceBlock("U_INV");
    CPixelPoint y;
    for (const PinPlace& pin : pane.Diagram().PinsOf(inv))
        if (pin.name == "Y")
            y = pin.anchor;
    int leds = -1;
    for (const auto& [id, block] : pane.Diagram().Blocks().Blocks())
        if (block.text == "LEDS")
            leds = id;
    ASSERT_GE(leds, 0);
    CDiagramEditor& editor = pane.Editor();
    editor.SetMode(EditMode::AutomaticLink);
    const CPixelRect ledsRect = pane.Diagram().BlockRect(leds);
    editor.OnLeftButtonDown({y.x - 4, y.y});
    editor.OnLeftButtonUp(ledsRect.Centre());
    text = project.ReadSource("TOP");
    EXPECT_NE(text.find("Y => LEDS"), std::string::npos) << project.log.Text();
    EXPECT_EQ(pane.Diagram().Connections().size(), 3u);
    project.ExpectLinesOnTheirEnds();
    if (test::GhdlAvailable()) {
        const test::GhdlResult ghdl = test::GhdlAnalyze(project.Sources(), "TOP");
        EXPECT_TRUE(ghdl.ok) << ghdl.output << text;
    }

    // Refused with the reason, nothing written: two drivers, different types.
    EXPECT_FALSE(project.Change(ConnectionChange::Connect, "U_INV.Y", "U_CNT.Q"));
    project.log.ClearLog();
    EXPECT_FALSE(project.Change(ConnectionChange::Connect, "CLK", "U_INV.D"));
    EXPECT_EQ(project.ReadSource("TOP"), text);
    EXPECT_EQ(project.beeps, 3);

    // Removing lines: an output becomes open, an input gets a signal of its own.
    pane.Diagram().SelectLine(-1);
    for (const auto& [id, connection] : pane.Diagram().Connections())
        if (connection.net == "LEDS")
            pane.Diagram().SelectLine(id);
    pane.Remove();
    ASSERT_TRUE(project.Change(ConnectionChange::Disconnect, "U_CNT.Q", "U_INV.D"));
    text = project.ReadSource("TOP");
    EXPECT_NE(text.find("Y => open"), std::string::npos) << text;
    EXPECT_NE(text.find("D => U_INV_D"), std::string::npos) << text;
    EXPECT_EQ(pane.Diagram().Connections().size(), 1u);
    EXPECT_EQ(pane.Diagram().Lines().Count(), 1);

    // Redraw from VHDL lays a block moved by hand out again, as one step Undo takes back.
    const CPixelRect moved = pane.Diagram().BlockRect(inv).Offset(400, 300);
    pane.Diagram().MoveBlock(inv, moved);
    pane.RedrawFromVhdl();
    EXPECT_NE(pane.Diagram().BlockRect(inv), moved);
    ASSERT_TRUE(pane.History().CanUndo());
    EXPECT_EQ(pane.History().UndoName(), "redraw from VHDL");
    ASSERT_TRUE(pane.Undo());
    EXPECT_EQ(pane.Diagram().BlockRect(inv), moved);
    if (test::GhdlAvailable()) {
        const test::GhdlResult ghdl = test::GhdlAnalyze(project.Sources(), "TOP");
        EXPECT_TRUE(ghdl.ok) << ghdl.output << text;
    }
}

} // namespace
} // namespace kestra

namespace kestra {
namespace {

// Two inverters, the first instantiated by position: rewired in the diagram to drive Y from A
// through both, the design is proven equal to Y <= A.
TEST(ConnectionFlow, RewiredDesignIsEquivalentToTheHandWrittenOne) {
    test::ProjectFixture project;
    test::ProjectCommands commands(project.doc);
    const std::string nibble = "std_logic_vector(3 downto 0)";
    CHierarchyItem* top = project.AddModule(
        project.Root(), "TOP",
        test::SimpleModule("TOP", "", "A : in " + nibble + "; Y : out " + nibble,
                           "\tU1: INV port map (A, open);\r\n\tU2: INV port map (D => A, Y => open);\r\n"));
    project.AddModule(
        top, "INV",
        test::SimpleModule("INV", "", "D : in " + nibble + "; Y : out " + nibble, "\tY <= not D;\r\n"));
    commands.session.Select(top);
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << project.log.Text();
    CDiagramPane pane;
    pane.Show(&commands.session, top);
    const auto change = [&](ConnectionChange kind, const char* a, const char* b) {
        return pane.ChangeConnection(kind, *ParseConnectionEnd(a), *ParseConnectionEnd(b));
    };
    ASSERT_TRUE(change(ConnectionChange::Disconnect, "A", "U2.D"));
    ASSERT_TRUE(change(ConnectionChange::Connect, "U1.Y", "U2.D"));
    ASSERT_TRUE(change(ConnectionChange::Connect, "Y", "U2.Y"));
    const std::string text = project.ReadSource("TOP");
    // The positional map became named with every association kept; the first input's own signal
    // went when the second joined the first's output.
    EXPECT_NE(text.find("D => A"), std::string::npos) << text;
    EXPECT_NE(text.find("D => U1_Y"), std::string::npos) << text;
    EXPECT_EQ(text.find("U2_D"), std::string::npos) << text;
    EXPECT_EQ(pane.Diagram().Connections().size(), 3u);
    EXPECT_EQ(pane.Diagram().Notice(), "");

    // A source that no longer analyses is drawn from its last analysis, and says so.
    project.WriteSource("TOP", text.substr(0, text.find("end TOP_arch")));
    EXPECT_FALSE(commands.analysis.OnAnalyzeModule());
    pane.Show(&commands.session, top);
    EXPECT_EQ(pane.Diagram().Connections().size(), 3u);
    EXPECT_NE(pane.Diagram().Notice().find("does not analyse now"), std::string::npos);
    if (!test::SynthesisAvailable())
        GTEST_SKIP() << "ghdl or yosys is not installed";
    const std::string reference =
        "library IEEE;\nuse IEEE.std_logic_1164.all;\nentity REF is\n  port (A : in " + nibble +
        "; Y : out " + nibble + ");\nend REF;\n" + "architecture rtl of REF is\nbegin\n  Y <= A;\nend rtl;\n";
    const test::EquivalenceResult proof =
        test::ProveEquivalent({project.ReadSource("INV"), text}, "TOP", reference, "REF");
    EXPECT_TRUE(proof.equivalent) << proof.output << text;
}

} // namespace
} // namespace kestra
