#include "diagram/module_diagram.h"
#include "model/archive.h"
#include "model/vhdl_signal.h"
#include "support/byte_builder.h"

#include <gtest/gtest.h>
#include <map>

namespace kestra {
namespace {

using test::ByteBuilder;

struct ChildPorts : IModulePorts {
    std::map<std::string, CVHDLSignal> children;
    const CVHDLSignal* PortsOf(const std::string& childName) const override {
        const auto found = children.find(childName);
        return found != children.end() ? &found->second : nullptr;
    }
};

CVHDLSignal Ports(const std::vector<std::array<std::string, 2>>& rows) {
    CVHDLSignal ports;
    ports.SetSignalCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        ports.SetSignal(static_cast<int>(i), rows[i][0], rows[i][1], "std_logic");
    return ports;
}

void Block(ByteBuilder& bytes, const std::string& name, int id, BlockRect r, std::uint32_t colour) {
    bytes.Str(name)
        .U32(static_cast<std::uint32_t>(id))
        .I32(r.left)
        .I32(r.top)
        .I32(r.right)
        .I32(r.bottom)
        .U32(colour);
}

CBlockData Read(const std::string& bytes) {
    CBlockData record;
    CArchive archive = CArchive::ForLoading(bytes, kProgramFileVersion);
    EXPECT_TRUE(record.Serialize(archive));
    return record;
}

std::string Stored(CBlockData& record) {
    CArchive out = CArchive::ForStoring();
    EXPECT_TRUE(record.Serialize(out));
    return out.Buffer();
}

const CDiagramBlock* ByText(const CBlockDiagram& diagram, const std::string& text) {
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (block.text == text)
            return &block;
    }
    return nullptr;
}

TEST(ModuleDiagram, ARecordThatShowsEveryPortLoadsUnchangedAndStoresTheSameBytes) {
    // COUNTER is large enough for its pins, and both ports of the module have their blocks.
    ByteBuilder bytes;
    bytes.U32(3);
    Block(bytes, "COUNTER", 0, {200, 100, 300, 200}, ModuleColour(HierarchyKind::Normal));
    Block(bytes, "\\T:clk", 1, {0, 130, 60, 150}, PortColour(BlockKind::InPort));
    Block(bytes, "\\T:q", 2, {400, 130, 460, 150}, PortColour(BlockKind::OutPort));
    bytes.U32(1);
    bytes.U32(2u | (0x13u << 16)).U32(0x004080).U32(1).U32(0).I32(60).I32(140).I32(200).I32(140);
    CBlockData record = Read(bytes.Bytes());
    const std::string original = Stored(record);
    ASSERT_EQ(original, bytes.Bytes());

    ChildPorts children;
    children.children["COUNTER"] = Ports({{"clk", "in"}, {"q", "out"}});
    const CVHDLSignal ports = Ports({{"clk", "in"}, {"q", "out"}});
    CBlockDiagram diagram;
    diagram.SetModulePorts(&children);
    EXPECT_FALSE(LoadModuleDiagram(diagram, &record, {{"COUNTER", HierarchyKind::Normal}}, &ports));
    EXPECT_FALSE(diagram.DiagramChanged());
    EXPECT_EQ(diagram.BlockCount(), 3);
    EXPECT_EQ(diagram.BlockRect(0), (CPixelRect{200, 100, 300, 200}));
    EXPECT_EQ(diagram.PinsOf(0).size(), 2u);
    EXPECT_FALSE(WriteDiagramRecord(diagram, &record));
    EXPECT_EQ(Stored(record), original);
    // Written all the same, the record keeps every byte.
    diagram.SetDiagramChanged(true);
    ASSERT_TRUE(WriteDiagramRecord(diagram, &record));
    EXPECT_EQ(Stored(record), original);
}

TEST(ModuleDiagram, MissingPortBlocksAreAddedBesideThePlacedBlocksOnce) {
    ByteBuilder bytes;
    bytes.U32(4);
    Block(bytes, "ALU", 0, {200, 100, 240, 130}, 0); // too small for its pins
    Block(bytes, "\\T:A", 1, {100, 130, 160, 150}, 0);
    Block(bytes, "\\C:Blk", 2, {400, 120, 460, 160}, kCustomBlockColour);
    Block(bytes, "\\T:note", 3, {250, 300, 310, 320}, 0);
    bytes.U32(0);
    CBlockData record = Read(bytes.Bytes());
    ChildPorts children;
    children.children["ALU"] = Ports({{"X", "in"}, {"Y", "in"}, {"RESULT", "out"}});
    children.children["NEWMOD"] = Ports({{"CLK", "in"}});
    const CVHDLSignal ports =
        Ports({{"A", "in"}, {"B", "in"}, {"Y", "out"}, {"C", "linkage"}, {"Z", "inout"}});
    const std::vector<CChildModule> modules{
        {"ALU", HierarchyKind::Normal}, {"NEWMOD", HierarchyKind::Normal}, {"PKG", HierarchyKind::Package}};
    CBlockDiagram diagram;
    diagram.SetModulePorts(&children);
    EXPECT_TRUE(LoadModuleDiagram(diagram, &record, modules, &ports));
    EXPECT_TRUE(diagram.DiagramChanged());

    // Nothing placed moved; ALU grew from its corner.
    const CPixelRect alu = diagram.BlockRect(0);
    EXPECT_EQ(alu, GrownTo(CPixelRect{200, 100, 240, 130},
                           MinimumModuleBlockSize("ALU", &children.children["ALU"])));
    EXPECT_GT(alu.Height(), 30);
    EXPECT_EQ(diagram.BlockRect(1), (CPixelRect{100, 130, 160, 150}));
    EXPECT_EQ(diagram.BlockRect(2), (CPixelRect{400, 120, 460, 160}));
    EXPECT_EQ(diagram.BlockRect(3), (CPixelRect{250, 300, 310, 320}));

    // B and C (linkage) in port order left of all blocks; Y and Z (inout) right of all blocks,
    // the child placed now included.
    EXPECT_EQ(diagram.BlockCount(), 4 + 1 + 4);
    const CDiagramBlock* b = ByText(diagram, "B");
    const CDiagramBlock* c = ByText(diagram, "C");
    const CDiagramBlock* y = ByText(diagram, "Y");
    const CDiagramBlock* z = ByText(diagram, "Z");
    const CDiagramBlock* added = ByText(diagram, "NEWMOD");
    ASSERT_TRUE(b && c && y && z && added);
    EXPECT_EQ(b->kind, BlockKind::InPort);
    EXPECT_EQ(c->kind, BlockKind::LinkagePort);
    EXPECT_EQ(y->kind, BlockKind::OutPort);
    EXPECT_EQ(z->kind, BlockKind::InoutPort);
    EXPECT_EQ(z->colour, PortColour(BlockKind::InoutPort));
    EXPECT_LT(b->rect.right, 100);
    EXPECT_EQ(c->rect.left, b->rect.left);
    EXPECT_LT(b->rect.top, c->rect.top);
    EXPECT_GT(added->rect.left, 460);
    EXPECT_GT(y->rect.left, added->rect.right);
    EXPECT_EQ(z->rect.left, y->rect.left);
    EXPECT_LT(y->rect.top, z->rect.top);
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        EXPECT_EQ(block.rect.left % kGridStep, 0) << block.text;
        EXPECT_FALSE(diagram.Blocks().IntersectsAnyBlock(block.rect, id)) << block.text;
    }

    // Written back and shown again, nothing is added twice and nothing changes.
    ASSERT_TRUE(WriteDiagramRecord(diagram, &record));
    CBlockDiagram again;
    again.SetModulePorts(&children);
    EXPECT_FALSE(LoadModuleDiagram(again, &record, modules, &ports));
    EXPECT_EQ(again.BlockCount(), diagram.BlockCount());
    for (const auto& [id, block] : diagram.Blocks().Blocks())
        EXPECT_EQ(again.BlockRect(id), block.rect) << block.text;
}

TEST(ModuleDiagram, NoPortsNothingToAddAndAFullLeftEdgeSendsTheColumnDown) {
    ByteBuilder bytes;
    bytes.U32(1);
    Block(bytes, "\\C:Wide", 0, {20, 40, 300, 100}, kCustomBlockColour);
    bytes.U32(0);
    const CBlockData record = Read(bytes.Bytes());
    CBlockDiagram diagram;
    const CVHDLSignal none;
    EXPECT_FALSE(LoadModuleDiagram(diagram, &record, {}, nullptr));
    EXPECT_FALSE(LoadModuleDiagram(diagram, &record, {}, &none));
    EXPECT_EQ(diagram.BlockCount(), 1);
    EXPECT_FALSE(LoadModuleDiagram(diagram, nullptr, {}, &none));
    EXPECT_EQ(diagram.BlockCount(), 0);

    // No room left of the block: the input column starts at the left edge below it.
    const CVHDLSignal ports = Ports({{"CLOCK", "in"}});
    EXPECT_TRUE(LoadModuleDiagram(diagram, &record, {}, &ports));
    const CDiagramBlock* clock = ByText(diagram, "CLOCK");
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->rect.left, kGridStep);
    EXPECT_GE(clock->rect.top, 100 + kGridStep);
    EXPECT_EQ((CPixelSize{clock->rect.Width(), clock->rect.Height()}), PortBlockSize("CLOCK"));
}

} // namespace
} // namespace kestra
