#include "diagram/module_diagram.h"
#include "diagram/structure_diagram.h"
#include "model/vhdl_signal.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace kestra {
namespace {

CVHDLSignal Ports(const std::vector<std::array<const char*, 2>>& rows) {
    CVHDLSignal ports;
    ports.SetSignalCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        ports.SetSignalAll(static_cast<int>(i), rows[i][0], rows[i][1], "std_logic", "", "");
    return ports;
}

// TOP with its ports, and the children CNT (CLK in, Q out; WIDTH 8) and INV (D in, Y out).
struct Units : IModulePorts {
    std::map<std::string, CVHDLSignal> units{{"CNT", Ports({{"CLK", "in"}, {"Q", "out"}})},
                                             {"INV", Ports({{"D", "in"}, {"Y", "out"}})}};
    CVHDLSignal top = Ports({{"CLK", "in"}, {"LEDS", "out"}, {"SPARE", "out"}});
    std::vector<CChildModule> children{{"CNT", HierarchyKind::Normal}, {"INV", HierarchyKind::Normal}};
    const CVHDLSignal* PortsOf(const std::string& name) const override {
        const auto found = units.find(name);
        return found != units.end() ? &found->second : nullptr;
    }
    std::vector<std::pair<std::string, std::string>> GenericsOf(const std::string& name) const override {
        if (name == "CNT")
            return {{"WIDTH", "8"}};
        return {};
    }
};

const char kTop[] = "architecture rtl of TOP is\n"
                    "  signal q1, bus : std_logic;\n"
                    "begin\n"
                    "  U1: CNT port map (CLK, q1);\n"
                    "  U2: entity work.INV(rtl) port map (D => q1, Y => LEDS);\n"
                    "  G: for i in 0 to 1 generate\n"
                    "    U3: INV port map (D => not bus, Y => open);\n"
                    "  end generate;\n"
                    "  U4: CNT generic map (WIDTH => 4) port map (CLK => CLK, Q => SPARE);\n"
                    "end rtl;\n";

struct Drawn {
    Units units;
    CBlockDiagram diagram;
    explicit Drawn(const CBlockData& record = {}, const char* text = kTop) {
        diagram.SetModulePorts(&units);
        LoadModuleDiagram(diagram, &record, units.children, &units.top);
        const auto structure = ReadArchitectureStructure(text, "TOP");
        EXPECT_TRUE(structure.has_value());
        if (structure)
            DrawStructure(diagram, *structure, units.children,
                          record.GetBlockCount() == 0 ? StructurePlacement::LayOutAll
                                                      : StructurePlacement::KeepPlaced);
    }
    const CDiagramBlock* Block(const std::string& text, bool instance = false) const {
        for (const auto& [id, block] : diagram.Blocks().Blocks())
            if ((instance ? block.instance : block.text) == text)
                return &block;
        return nullptr;
    }
    // "from -> to" for every connection, ends as "LABEL.PIN" or the port block's name.
    std::set<std::string> Lines() const {
        std::set<std::string> lines;
        const auto name = [&](const LineEnd& end) {
            const CDiagramBlock* block = diagram.FindBlock(end.block);
            return end.pin.empty() ? block->text : block->instance + "." + end.pin;
        };
        for (const auto& [id, connection] : diagram.Connections())
            lines.insert(name(connection.from) + " -> " + name(connection.to));
        return lines;
    }
};

TEST(StructureDiagram, EveryInstanceAndAssociationOfTheArchitectureIsDrawn) {
    const Drawn drawn;
    // Positional, direct entity, generate and generic-mapped instances each have a block.
    for (const char* label : {"U1", "U2", "U3", "U4"})
        ASSERT_NE(drawn.Block(label, true), nullptr) << label;
    EXPECT_EQ(drawn.Block("U2", true)->text, "INV");
    EXPECT_EQ(drawn.Block("U3", true)->generate, "for G");
    EXPECT_EQ(drawn.Block("U4", true)->details, std::vector<std::string>{"WIDTH = 4"});
    EXPECT_TRUE(drawn.Block("U1", true)->details.empty());
    // One line from the driver to each reader; the expression is a labelled stub.
    EXPECT_EQ(drawn.Lines(), (std::set<std::string>{"CLK -> U1.CLK", "CLK -> U4.CLK", "U1.Q -> U2.D",
                                                    "U2.Y -> LEDS", "U4.Q -> SPARE"}));
    ASSERT_EQ(drawn.diagram.Stubs().size(), 1u);
    EXPECT_EQ(drawn.diagram.Stubs()[0].label, "not bus");
    EXPECT_EQ(drawn.diagram.Stubs()[0].pin, "D");

    // Laid out in layers: inputs, then instances in signal-flow order, then outputs; no overlaps
    // and every line routed.
    const auto& blocks = drawn.diagram.Blocks().Blocks();
    for (const auto& [a, first] : blocks)
        for (const auto& [b, second] : blocks)
            EXPECT_TRUE(a == b || !first.rect.Intersects(second.rect)) << first.text << " / " << second.text;
    EXPECT_LT(drawn.Block("CLK")->rect.right, drawn.Block("U1", true)->rect.left);
    EXPECT_LT(drawn.Block("U1", true)->rect.right, drawn.Block("U2", true)->rect.left);
    EXPECT_LT(drawn.Block("U2", true)->rect.right, drawn.Block("LEDS")->rect.left);
    for (const auto& [id, line] : drawn.diagram.Lines().Lines())
        EXPECT_FALSE(IsUnrouted(line)) << id;
}

TEST(StructureDiagram, StoredPlacesAndPathsStayAndLinesNoAssociationHoldsAreDrawings) {
    Drawn first;
    CBlockData record;
    first.diagram.SetDiagramChanged(true);
    ASSERT_TRUE(WriteDiagramRecord(first.diagram, &record));
    // A line from U2's Y pin to the SPARE port: no association stands for it.
    const CDiagramBlock* inv = first.Block("U2", true);
    const CDiagramBlock* spare = first.Block("SPARE");
    CPixelPoint y;
    for (const PinPlace& pin : first.diagram.PinsOf(inv->id))
        y = pin.name == "Y" ? pin.anchor : y;
    LineRecord stale;
    stale.fromId = static_cast<std::uint32_t>(inv->id);
    stale.toId = static_cast<std::uint32_t>(spare->id);
    stale.points = {{y.x, y.y}, {spare->rect.left, y.y}};
    ASSERT_GE(record.AddLine(stale), 0);

    const Drawn again(record);
    EXPECT_FALSE(again.diagram.DiagramChanged());
    for (const char* label : {"U1", "U2", "U3", "U4"})
        EXPECT_EQ(again.Block(label, true)->rect, first.Block(label, true)->rect) << label;
    EXPECT_EQ(again.Lines(), first.Lines());
    int drawings = 0;
    for (const auto& [id, line] : again.diagram.Lines().Lines()) {
        if (again.diagram.ConnectionOf(id) == nullptr)
            ++drawings;
        else
            EXPECT_EQ(line, *first.diagram.Lines().Find(id)) << id; // kept as routed
    }
    EXPECT_EQ(drawings, 1);

    // A second instance of a child placed by the record gets a block of its own; one instance
    // fewer takes its block away.
    const std::string more = std::string(kTop).replace(std::string(kTop).find("end rtl;"), 8,
                                                       "U5: CNT port map (CLK => CLK, Q => open);\nend rtl;");
    Drawn grown(record, more.c_str());
    ASSERT_NE(grown.Block("U5", true), nullptr);
    EXPECT_EQ(grown.Block("U1", true)->rect, first.Block("U1", true)->rect);
    CBlockData three;
    ASSERT_TRUE(WriteDiagramRecord(grown.diagram, &three));
    const Drawn shrunk(three);
    int counters = 0;
    for (const auto& [id, block] : shrunk.diagram.Blocks().Blocks())
        counters += block.text == "CNT" ? 1 : 0;
    EXPECT_EQ(counters, 2);
}

} // namespace
} // namespace kestra
