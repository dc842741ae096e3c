#include "diagram/diagram_record.h"
#include "diagram/path_clearance.h"
#include "model/archive.h"
#include "model/vhdl_signal.h"
#include "support/byte_builder.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using Path = std::vector<LinePoint>;
using test::ByteBuilder;

ByteBuilder& Block(ByteBuilder& bytes, const std::string& name, int id, BlockRect r, std::uint32_t colour,
                   bool withId = true) {
    bytes.Str(name);
    if (withId)
        bytes.U32(static_cast<std::uint32_t>(id));
    return bytes.I32(r.left).I32(r.top).I32(r.right).I32(r.bottom).U32(colour);
}

ByteBuilder& Line(ByteBuilder& bytes, std::uint16_t attributes, std::uint32_t colour, int from, int to,
                  const Path& points) {
    bytes.U32(static_cast<std::uint32_t>(points.size()) | (static_cast<std::uint32_t>(attributes) << 16))
        .U32(colour)
        .U32(static_cast<std::uint32_t>(from))
        .U32(static_cast<std::uint32_t>(to));
    for (const LinePoint& p : points)
        bytes.I32(p.x).I32(p.y);
    return bytes;
}

CBlockData Read(const std::string& bytes, int version) {
    CBlockData record;
    CArchive archive = CArchive::ForLoading(bytes, version);
    EXPECT_TRUE(record.Serialize(archive));
    return record;
}

const CDiagramBlock* ByText(const CBlockDiagram& diagram, const std::string& text) {
    for (const auto& entry : diagram.Blocks().Blocks()) {
        if (entry.second.text == text)
            return &entry.second;
    }
    return nullptr;
}

CVHDLSignal Signals() {
    CVHDLSignal signals;
    signals.SetSignalCount(2);
    signals.SetSignal(0, "clk", "in", "std_logic");
    signals.SetSignal(1, "dout", "out", "std_logic_vector");
    return signals;
}

TEST(DiagramRecord, Version106RecordBecomesTheLiveDiagram) {
    ByteBuilder bytes;
    bytes.U32(8);
    Block(bytes, "COUNTER", 0, {200, 100, 300, 200}, 0x112233);
    Block(bytes, "\\T:clk", 1, {0, 130, 60, 150}, 0x445566);
    Block(bytes, "\\T:DOUT", 2, {400, 130, 460, 150}, 0x445566);
    Block(bytes, "\\T:note", 3, {0, 0, 60, 20}, 0x445566);
    Block(bytes, "\\T:", 4, {0, 300, 60, 320}, PortColour(BlockKind::InoutPort));
    Block(bytes, "\\C:Blk", 5, {100, 300, 160, 340}, 0x00FF00);
    Block(bytes, "", 6, {200, 300, 260, 340}, 0x998877);
    Block(bytes, "OLD", 7, {400, 300, 460, 340}, 0);
    bytes.U32(6);
    Line(bytes, 0x13, 0x0000FF, 1, 0, {{60, 140}, {200, 140}});
    Line(bytes, 0x13, 0, 7, 0, {{400, 320}, {300, 150}});
    Line(bytes, 0x13, 0, 4, 5, {{60, 310}, {100, 310}});
    Line(bytes, 0x13, 0, 5, 6, {{160, 320}, {200, 320}});
    Line(bytes, 0x0F13, 0x00FFFF, 0, 2, {});
    Line(bytes, 0x21, 0, 5, 0, {{130, 300}, {130, 250}, {250, 250}, {250, 200}});
    const CBlockData record = Read(bytes.Bytes(), 106);
    const CVHDLSignal signals = Signals();
    const std::vector<CChildModule> children{{"COUNTER", HierarchyKind::Normal},
                                             {"NEWMOD", HierarchyKind::Library},
                                             {"PKG", HierarchyKind::Package}};

    CBlockDiagram diagram;
    diagram.AddBlock(0, 0, 10, 10, "stale", 0, -1, BlockKind::Module);
    diagram.SetDiagramChanged(true);
    LoadDiagramRecord(diagram, &record, children, &signals);
    EXPECT_FALSE(diagram.DiagramChanged());
    EXPECT_EQ(diagram.BlockCount(), 8); // OLD is gone, NEWMOD is new, "stale" went with the reset

    const CDiagramBlock* counter = diagram.FindBlock(0);
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->text, "COUNTER");
    EXPECT_EQ(counter->colour, ModuleColour(HierarchyKind::Normal)); // not the stored colour
    EXPECT_EQ(counter->rect, (CPixelRect{200, 100, 300, 200}));
    EXPECT_EQ(diagram.GetBlockKind(1), BlockKind::InPort);
    EXPECT_EQ(diagram.BlockColour(1), PortColour(BlockKind::InPort));
    EXPECT_EQ(diagram.GetBlockKind(2), BlockKind::OutPort); // signal names compare without case
    EXPECT_EQ(diagram.BlockText(2), "DOUT");
    EXPECT_EQ(diagram.GetBlockKind(3), BlockKind::TextBlock);
    EXPECT_EQ(diagram.BlockColour(3), diagram.ButtonFaceColour());
    EXPECT_EQ(diagram.GetBlockKind(4), BlockKind::InoutPort); // from the stored colour
    EXPECT_EQ(diagram.BlockText(4), "");
    EXPECT_EQ(diagram.GetBlockKind(5), BlockKind::CustomBlock);
    EXPECT_EQ(diagram.BlockColour(5), 0x00FF00u);
    EXPECT_EQ(diagram.GetBlockKind(6), BlockKind::Module);
    EXPECT_EQ(diagram.BlockColour(6), 0x998877u);
    const CDiagramBlock* added = ByText(diagram, "NEWMOD");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->id, 7); // the lowest free id
    EXPECT_EQ(added->colour, ModuleColour(HierarchyKind::Library));
    EXPECT_EQ(added->rect, (CPixelRect{500, 70, 600, 170})); // right of everything: width 470 + 30
    EXPECT_EQ(ByText(diagram, "PKG"), nullptr);

    // Kept: clk to COUNTER as stored, the routed point-less line and the custom block's line;
    // dropped: the line of the vanished module and the lines of unnamed blocks.
    ASSERT_EQ(diagram.Lines().Count(), 3);
    const LineRecord& first = diagram.Lines().Lines().at(0);
    EXPECT_EQ(first.points, (Path{{60, 140}, {200, 140}}));
    EXPECT_EQ(first.colour, 0x0000FFu);
    const LineRecord& routed = diagram.Lines().Lines().at(1);
    EXPECT_EQ(routed.fromId, 0u);
    EXPECT_EQ(routed.toId, 2u);
    EXPECT_EQ(routed.colour, 0x00FFFFu);
    EXPECT_FALSE(IsUnrouted(routed));
    EXPECT_EQ(routed.points, (Path{{300, 140}, {400, 140}}));
    EXPECT_TRUE(IsPathClearPlain(diagram.Blocks(), diagram.Lines(), routed.points, 0, 2, 1));
    EXPECT_EQ(diagram.Lines().Lines().at(2).attributes, 0x21);
}

TEST(DiagramRecord, Version102LinesUseTablePositionsAndAreRouted) {
    ByteBuilder bytes;
    bytes.U32(4);
    Block(bytes, "ALU", 0, {0, 0, 100, 100}, 0, false);
    Block(bytes, "", 0, {200, 0, 300, 100}, 0x404040, false);
    Block(bytes, "\\T:a", 0, {0, 200, 40, 220}, 0, false);
    Block(bytes, "REG", 0, {200, 200, 300, 300}, 0, false);
    bytes.U32(4);
    bytes.U16(0).U16(1); // ALU to the unnamed module: kept
    bytes.U16(0).U16(2); // to a text block: its stored name carries the prefix, so it is dropped
    bytes.U16(3).U16(0); // REG comes first in the hierarchy and took id 0: dropped
    bytes.U16(1).U16(9); // beyond the table: dropped
    const CBlockData record = Read(bytes.Bytes(), 102);
    ASSERT_EQ(record.NextLineKey(), 4);
    EXPECT_EQ(record.LookUpLine(0)->attributes, 3);
    EXPECT_TRUE(record.LookUpLine(0)->points.empty());

    CBlockDiagram diagram;
    LoadDiagramRecord(diagram, &record, {{"ALU", HierarchyKind::Normal}}, nullptr);
    ASSERT_EQ(diagram.Lines().Count(), 1);
    const LineRecord& line = diagram.Lines().Lines().begin()->second;
    EXPECT_EQ(line.points, (Path{{100, 50}, {200, 50}}));
    EXPECT_EQ(line.attributes, 3); // width 3, no arrows, variant 0
    EXPECT_EQ(line.colour, kDefaultLineColour);
    EXPECT_EQ(diagram.BlockText(2), "a");
    EXPECT_EQ(diagram.GetBlockKind(2), BlockKind::TextBlock); // no signal owner
    EXPECT_FALSE(diagram.DiagramChanged());

    CBlockDiagram reordered;
    LoadDiagramRecord(reordered, &record, {{"REG", HierarchyKind::Normal}, {"ALU", HierarchyKind::Normal}},
                      nullptr);
    EXPECT_EQ(reordered.BlockText(0), "REG");
    EXPECT_EQ(reordered.Lines().Count(), 0);
}

TEST(DiagramRecord, NoRecordLeavesTheDiagramEmpty) {
    CBlockDiagram diagram;
    diagram.AddBlock(0, 0, 10, 10, "x", 0, -1, BlockKind::Module);
    LoadDiagramRecord(diagram, nullptr, {{"ALU", HierarchyKind::Normal}}, nullptr);
    EXPECT_EQ(diagram.BlockCount(), 0);
    EXPECT_EQ(DiagramCaption("my_top_module"), "my top module");
}

TEST(DiagramRecord, WritingBackOnlyAfterAChangeAndRoundTrip) {
    CBlockDiagram diagram;
    const int counter = diagram.AddBlock(200, 100, 100, 100, "COUNTER", ModuleColour(HierarchyKind::Normal),
                                         -1, BlockKind::Module);
    const int clk =
        diagram.AddBlock(0, 130, 60, 20, "clk", PortColour(BlockKind::InPort), -1, BlockKind::InPort);
    const int note =
        diagram.AddBlock(0, 0, 60, 20, "note", diagram.ButtonFaceColour(), -1, BlockKind::TextBlock);
    const int custom = diagram.AddBlock(100, 300, 60, 40, "Blk", 0x00FF00, -1, BlockKind::CustomBlock);
    diagram.Route(clk, counter, 0x13, 0x004080, -1, true);
    diagram.Route(custom, counter, 0x33, 0x0000FF, -1, true);

    CBlockData record;
    record.Resize(1);
    record.SetBlock(0, "UNTOUCHED", 3, {}, 0);
    diagram.SetDiagramChanged(false);
    EXPECT_FALSE(WriteDiagramRecord(diagram, &record));
    EXPECT_EQ(record.GetBlockCount(), 1);
    EXPECT_FALSE(WriteDiagramRecord(diagram, nullptr));

    diagram.SetDiagramChanged(true);
    ASSERT_TRUE(WriteDiagramRecord(diagram, &record));
    EXPECT_FALSE(diagram.DiagramChanged());
    ASSERT_EQ(record.GetBlockCount(), 4);
    EXPECT_EQ(record.Blocks()[static_cast<std::size_t>(clk)].name, "\\T:clk");
    EXPECT_EQ(record.Blocks()[static_cast<std::size_t>(note)].name, "\\T:note");
    EXPECT_EQ(record.Blocks()[static_cast<std::size_t>(custom)].name, "\\C:Blk");
    EXPECT_EQ(record.Blocks()[static_cast<std::size_t>(counter)].rect, (BlockRect{200, 100, 300, 200}));
    EXPECT_EQ(record.NextLineKey(), 2);
    EXPECT_EQ(*record.LookUpLine(1), diagram.Lines().Lines().at(1));

    // Stored and read back through the project file form, the diagram comes back the same.
    CArchive out = CArchive::ForStoring();
    ASSERT_TRUE(record.Serialize(out));
    const CBlockData reread = Read(out.Buffer(), kProgramFileVersion);
    CVHDLSignal signals;
    signals.SetSignalCount(1);
    signals.SetSignal(0, "clk", "in", "std_logic");
    CBlockDiagram loaded;
    LoadDiagramRecord(loaded, &reread, {{"COUNTER", HierarchyKind::Normal}}, &signals);
    ASSERT_EQ(loaded.BlockCount(), diagram.BlockCount());
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        const CDiagramBlock* other = loaded.FindBlock(id);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->text, block.text);
        EXPECT_EQ(other->kind, block.kind);
        EXPECT_EQ(other->rect, block.rect);
        EXPECT_EQ(other->colour, block.colour);
    }
    EXPECT_EQ(loaded.Lines().Lines(), diagram.Lines().Lines());
}

} // namespace
} // namespace kestra
