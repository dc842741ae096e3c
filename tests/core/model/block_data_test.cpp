#include "model/archive.h"
#include "model/block_data.h"
#include "support/byte_builder.h"

#include <gtest/gtest.h>
#include <set>

namespace kestra {
namespace {

using test::ByteBuilder;

LineRecord SampleLine() {
    LineRecord line;
    line.attributes = 0x0313; // width 3, arrow at the end, variant 3
    line.colour = 0x00FF0000;
    line.fromId = 1;
    line.toId = 2;
    line.points = {{10, 20}, {-30, 20}};
    return line;
}

CBlockData SampleRecord() {
    CBlockData data;
    data.Resize(3);
    data.SetBlock(0, "COUNTER", 0, {10, 20, 110, 80}, ModuleColour(HierarchyKind::Normal));
    data.SetBlock(1, "\\T:clk", 1, {-5, 0, 40, 20}, PortColour(BlockKind::InPort));
    data.SetBlock(2, "\\C:note", 7, {200, 200, 260, 230}, kWhite);
    data.AddLine(SampleLine());
    LineRecord second;
    second.attributes = LineRecord::Unrouted | 1;
    second.fromId = 7;
    second.toId = 0;
    second.points = {{230, 215}, {60, 50}};
    data.AddLine(second);
    return data;
}

bool Load(CBlockData& data, const std::string& bytes, int version) {
    CArchive archive = CArchive::ForLoading(bytes, version);
    return data.Serialize(archive) && !archive.Failed();
}

TEST(BlockData, BlockOperationsIgnoreIndicesOutOfRange) {
    CBlockData data;
    EXPECT_FALSE(data.SetBlock(0, "A", 0, {}, 0));
    data.Resize(2);
    EXPECT_EQ(data.GetBlockCount(), 2);
    EXPECT_TRUE(data.SetBlock(1, "B", 5, {1, 2, 3, 4}, 9));
    EXPECT_FALSE(data.SetBlock(2, "C", 6, {}, 0));
    EXPECT_FALSE(data.SetBlock(-1, "C", 6, {}, 0));

    std::string name = "unchanged";
    std::int32_t id = 42;
    BlockRect rect{7, 7, 7, 7};
    std::uint32_t colour = 3;
    EXPECT_FALSE(data.GetBlock(2, name, id, rect, colour));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(id, 42);
    EXPECT_EQ(rect, (BlockRect{7, 7, 7, 7}));
    EXPECT_TRUE(data.GetBlock(1, name, id, rect, colour));
    EXPECT_EQ(name, "B");
    EXPECT_EQ(id, 5);
    EXPECT_EQ(rect, (BlockRect{1, 2, 3, 4}));
    EXPECT_EQ(colour, 9u);
    EXPECT_TRUE(data.GetBlock(0, name, id, rect, colour));
    EXPECT_EQ(name, "");
    EXPECT_EQ(id, -1);
}

TEST(BlockData, FindingAndRenamingUseExactNames) {
    CBlockData data = SampleRecord();
    EXPECT_EQ(data.FindBlockByName("COUNTER"), 0);
    EXPECT_EQ(data.FindBlockByName("counter"), -1);
    EXPECT_EQ(data.FindBlockByName("clk"), -1);
    EXPECT_EQ(data.FindBlockByName("\\T:clk"), 1);
    EXPECT_EQ(data.NameById(7), "\\C:note");
    EXPECT_EQ(data.NameById(99), "");

    EXPECT_TRUE(data.RenameBlock("COUNTER", "TIMER"));
    EXPECT_FALSE(data.RenameBlock("COUNTER", "OTHER"));
    std::string name;
    std::int32_t id = 0;
    BlockRect rect;
    std::uint32_t colour = 0;
    data.GetBlock(0, name, id, rect, colour);
    EXPECT_EQ(name, "TIMER");
    EXPECT_EQ(id, 0);
    EXPECT_EQ(rect, (BlockRect{10, 20, 110, 80}));
    EXPECT_EQ(colour, ModuleColour(HierarchyKind::Normal));
}

TEST(BlockData, LineKeysAreDenseAndResetWithTheLines) {
    CBlockData data = SampleRecord();
    EXPECT_EQ(data.NextLineKey(), 2);
    ASSERT_NE(data.LookUpLine(0), nullptr);
    EXPECT_EQ(*data.LookUpLine(0), SampleLine());
    EXPECT_EQ(data.LookUpLine(2), nullptr);
    EXPECT_EQ(data.LookUpLine(-1), nullptr);
    EXPECT_EQ(data.AddLine(SampleLine()), 2);

    data.RemoveAllLines();
    EXPECT_EQ(data.NextLineKey(), 0);
    EXPECT_EQ(data.GetBlockCount(), 3);
    EXPECT_EQ(data.AddLine(SampleLine()), 0);

    data.Resize(1);
    EXPECT_EQ(data.NextLineKey(), 0);
    EXPECT_EQ(data.LookUpLine(0), nullptr);
}

TEST(BlockData, CopyFromIsDeep) {
    const CBlockData source = SampleRecord();
    CBlockData copy;
    copy.Resize(5);
    copy.CopyFrom(source);
    EXPECT_EQ(copy, source);
    copy.RenameBlock("COUNTER", "OTHER");
    copy.RemoveAllLines();
    EXPECT_EQ(source.FindBlockByName("COUNTER"), 0);
    EXPECT_EQ(source.NextLineKey(), 2);
}

TEST(BlockData, LineCountIsBoundedBySixteenBitKeys) {
    CBlockData data;
    LineRecord line;
    for (int i = 0; i < CBlockData::kMaxLines; ++i)
        ASSERT_EQ(data.AddLine(line), i);
    EXPECT_EQ(data.AddLine(line), -1);
    EXPECT_EQ(data.NextLineKey(), CBlockData::kMaxLines);

    CBlockData other;
    line.points.resize(LineRecord::kMaxPoints + 1);
    EXPECT_EQ(other.AddLine(line), -1);
}

TEST(LineRecordLayout, BytesFollowTheWordTable) {
    const LineRecord line = SampleLine();
    const std::string expected = ByteBuilder()
                                     .U32(2 | (0x0313u << 16))
                                     .U32(0x00FF0000)
                                     .U32(1)
                                     .U32(2)
                                     .I32(10)
                                     .I32(20)
                                     .I32(-30)
                                     .I32(20)
                                     .Bytes();
    EXPECT_EQ(line.ByteSize(), 32u);
    EXPECT_EQ(line.ToBytes(), expected);
    EXPECT_EQ(LineRecord::FromBytes(expected), line);
    EXPECT_FALSE(LineRecord::FromBytes(expected.substr(0, 31)).has_value());
    EXPECT_FALSE(LineRecord::FromBytes(expected + std::string(8, '\0')).has_value());
    EXPECT_FALSE(LineRecord::FromBytes("short").has_value());
}

TEST(LineRecordLayout, AttributeFieldsStayApart) {
    LineRecord line;
    line.attributes = LineRecord::ArrowEnd | LineRecord::ArrowHead | LineRecord::Unrouted;
    line.SetPenWidth(5);
    line.SetRouteVariant(LineRecord::kManualVariant);
    EXPECT_EQ(line.attributes, 0x1F35);
    EXPECT_EQ(line.PenWidth(), 5);
    EXPECT_EQ(line.RouteVariant(), 15);
    line.SetRouteVariant(11);
    line.SetPenWidth(1);
    EXPECT_EQ(line.attributes, 0x1B31);
    EXPECT_EQ(line.Word0() >> 16, 0x1B31u);
}

TEST(BlockDataSerialize, StoresTheDocumentedLayout) {
    CBlockData data;
    data.Resize(1);
    data.SetBlock(0, "\\T:a", -1, {1, -2, 3, 4}, 0x00BEBEFF);
    LineRecord line;
    line.attributes = 0x0013;
    line.colour = kDefaultLineColour;
    line.fromId = 0;
    line.toId = 3;
    line.points = {{5, 6}};
    data.AddLine(line);

    CArchive archive = CArchive::ForStoring();
    ASSERT_TRUE(data.Serialize(archive));
    const std::string expected = ByteBuilder()
                                     .U32(1)
                                     .Str("\\T:a")
                                     .U32(0xFFFFFFFF)
                                     .I32(1)
                                     .I32(-2)
                                     .I32(3)
                                     .I32(4)
                                     .U32(0x00BEBEFF)
                                     .U32(1)
                                     .U32(1 | (0x13u << 16))
                                     .U32(0x004080)
                                     .U32(0)
                                     .U32(3)
                                     .I32(5)
                                     .I32(6)
                                     .Bytes();
    EXPECT_EQ(archive.Buffer(), expected);
}

// Two blocks and two lines in the layout of versions 102 to 104.
std::string OldRecord(int version) {
    ByteBuilder bytes;
    bytes.U32(2);
    bytes.Str("ALU");
    if (version >= 104)
        bytes.U32(4);
    bytes.I32(0).I32(0).I32(100).I32(50).U32(ModuleColour(HierarchyKind::Library));
    bytes.Str("\\T:q");
    if (version >= 104)
        bytes.U32(9);
    bytes.I32(300).I32(10).I32(340).I32(30).U32(PortColour(BlockKind::OutPort));
    bytes.U32(2);
    bytes.U16(4).U16(9);
    if (version >= 103)
        bytes.U16(0x0015);
    bytes.U16(9).U16(4);
    if (version >= 103)
        bytes.U16(0x0021);
    return bytes.Bytes();
}

TEST(BlockDataSerialize, Version102HasNoIdsAndPlainLines) {
    CBlockData data;
    ASSERT_TRUE(Load(data, OldRecord(102), 102));
    ASSERT_EQ(data.GetBlockCount(), 2);
    EXPECT_EQ(data.Blocks()[0],
              (CBlockData::Block{"ALU", -1, {0, 0, 100, 50}, ModuleColour(HierarchyKind::Library)}));
    EXPECT_EQ(data.Blocks()[1].id, -1);
    ASSERT_EQ(data.NextLineKey(), 2);
    for (int key = 0; key < 2; ++key) {
        const LineRecord* line = data.LookUpLine(key);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->attributes, 3);
        EXPECT_EQ(line->PenWidth(), 3);
        EXPECT_EQ(line->colour, kDefaultLineColour);
        EXPECT_TRUE(line->points.empty());
    }
    EXPECT_EQ(data.LookUpLine(0)->fromId, 4u);
    EXPECT_EQ(data.LookUpLine(0)->toId, 9u);
    EXPECT_EQ(data.LookUpLine(1)->fromId, 9u);
}

TEST(BlockDataSerialize, Version103ReadsAttributeWords) {
    CBlockData data;
    ASSERT_TRUE(Load(data, OldRecord(103), 103));
    EXPECT_EQ(data.Blocks()[0].id, -1);
    EXPECT_EQ(data.LookUpLine(0)->attributes, 0x0015);
    EXPECT_EQ(data.LookUpLine(1)->attributes, 0x0021);
    EXPECT_EQ(data.LookUpLine(1)->colour, kDefaultLineColour);
    EXPECT_TRUE(data.LookUpLine(1)->points.empty());
}

TEST(BlockDataSerialize, Version104AddsBlockIds) {
    CBlockData data;
    ASSERT_TRUE(Load(data, OldRecord(104), 104));
    EXPECT_EQ(data.Blocks()[0].id, 4);
    EXPECT_EQ(data.Blocks()[1],
              (CBlockData::Block{"\\T:q", 9, {300, 10, 340, 30}, PortColour(BlockKind::OutPort)}));
    EXPECT_EQ(data.LookUpLine(0)->attributes, 0x0015);
    EXPECT_EQ(data.LookUpLine(0)->fromId, 4u);
}

TEST(BlockDataSerialize, EachOldLayoutIsReadExactlyToItsEnd) {
    // Reading with the wrong version must not consume the bytes cleanly.
    for (const int version : {102, 103, 104}) {
        const std::string bytes = OldRecord(version);
        CArchive archive = CArchive::ForLoading(bytes, version);
        CBlockData data;
        EXPECT_TRUE(data.Serialize(archive));
        EXPECT_TRUE(archive.AtEnd()) << version;
    }
    CBlockData data;
    EXPECT_FALSE(Load(data, OldRecord(102), 104));
}

TEST(BlockDataSerialize, Version106ReadsFullLineRecords) {
    const std::string bytes = ByteBuilder()
                                  .U32(1)
                                  .Str("X")
                                  .U32(0)
                                  .I32(0)
                                  .I32(0)
                                  .I32(10)
                                  .I32(10)
                                  .U32(0)
                                  .U32(1)
                                  .U32(3 | (0x0F13u << 16))
                                  .U32(0x00123456)
                                  .U32(0)
                                  .U32(0)
                                  .I32(1)
                                  .I32(2)
                                  .I32(3)
                                  .I32(-4)
                                  .I32(5)
                                  .I32(6)
                                  .Bytes();
    for (const int version : {106, 110}) {
        CBlockData data;
        ASSERT_TRUE(Load(data, bytes, version)) << version;
        const LineRecord* line = data.LookUpLine(0);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->attributes, 0x0F13);
        EXPECT_EQ(line->RouteVariant(), LineRecord::kManualVariant);
        EXPECT_EQ(line->colour, 0x00123456u);
        EXPECT_EQ(line->points, (std::vector<LinePoint>{{1, 2}, {3, -4}, {5, 6}}));
    }
}

TEST(BlockDataSerialize, RoundTripKeepsEverythingAndRenumbersKeys) {
    const CBlockData source = SampleRecord();
    CArchive store = CArchive::ForStoring();
    CBlockData copy = source;
    ASSERT_TRUE(copy.Serialize(store));

    CBlockData loaded;
    loaded.Resize(1);
    loaded.AddLine(SampleLine());
    ASSERT_TRUE(Load(loaded, store.Buffer(), kProgramFileVersion));
    EXPECT_EQ(loaded, source);
    EXPECT_EQ(loaded.NextLineKey(), 2);
    EXPECT_EQ(loaded.LookUpLine(1)->attributes, LineRecord::Unrouted | 1);
}

TEST(BlockDataSerialize, DamagedRecordsFailWithoutHugeAllocations) {
    CArchive store = CArchive::ForStoring();
    CBlockData source = SampleRecord();
    ASSERT_TRUE(source.Serialize(store));
    const std::string bytes = store.Buffer();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        CBlockData data;
        EXPECT_FALSE(Load(data, bytes.substr(0, length), kProgramFileVersion)) << length;
    }

    CBlockData data;
    EXPECT_FALSE(Load(data, ByteBuilder().U32(0x7FFFFFFF).Bytes(), 110));
    EXPECT_FALSE(Load(data, ByteBuilder().U32(0).U32(0xFFFFFFFF).Bytes(), 110));
    // A point count larger than the remaining bytes.
    EXPECT_FALSE(Load(data, ByteBuilder().U32(0).U32(1).U32(0xFFFF).U32(0).U32(0).U32(0).Bytes(), 110));
    // More lines than 16-bit keys can name, even though the bytes are there.
    ByteBuilder many;
    many.U32(0).U32(CBlockData::kMaxLines + 1);
    for (int i = 0; i <= CBlockData::kMaxLines; ++i)
        many.U32(0);
    EXPECT_FALSE(Load(data, many.Bytes(), 102));
}

TEST(BlockNames, PrefixesAreLiteralAndExact) {
    EXPECT_EQ(MakeStoredBlockName(BlockKind::Module, "CPU"), "CPU");
    EXPECT_EQ(MakeStoredBlockName(BlockKind::InPort, "clk"), "\\T:clk");
    EXPECT_EQ(MakeStoredBlockName(BlockKind::TextBlock, "hello"), "\\T:hello");
    EXPECT_EQ(MakeStoredBlockName(BlockKind::CustomBlock, "box"), "\\C:box");
    EXPECT_EQ(std::string(kTextNamePrefix).size(), 3u);
    EXPECT_TRUE(HasTextNamePrefix("\\T:"));
    EXPECT_FALSE(HasTextNamePrefix("\\t:x"));
    EXPECT_FALSE(HasTextNamePrefix("/T:x"));
    EXPECT_TRUE(HasCustomNamePrefix("\\C:x"));
    EXPECT_FALSE(HasCustomNamePrefix("\\C"));
    EXPECT_EQ(StoredBlockText("\\C:box"), "box");
    EXPECT_EQ(StoredBlockText("\\T:"), "");
    EXPECT_EQ(StoredBlockText("CPU"), "CPU");
}

TEST(BlockColours, ModuleAndPortColours) {
    EXPECT_EQ(ModuleColour(HierarchyKind::Normal), 0x0064E6E6u);
    EXPECT_EQ(ModuleColour(HierarchyKind::Library), 0x00B4FF78u);
    EXPECT_EQ(ModuleColour(HierarchyKind::Predefined), 0x00FF9998u);
    EXPECT_EQ(ModuleColour(HierarchyKind::Root), 0x00BABBBBu);
    EXPECT_EQ(ModuleColour(HierarchyKind::Package), 0x00FF3E3Eu);
    EXPECT_EQ(ModuleColour(static_cast<HierarchyKind>(5)), 0x00FFFFFFu);
    EXPECT_EQ(kDefaultLineColour, 0x004080u);

    EXPECT_EQ(PortKindFromColour(0xFFBEBE), BlockKind::InPort);
    EXPECT_EQ(PortKindFromColour(0xBEFFBE), BlockKind::OutPort);
    EXPECT_EQ(PortKindFromColour(0xAFE6E6), BlockKind::InoutPort);
    EXPECT_EQ(PortKindFromColour(0xBEBEFF), BlockKind::BufferPort);
    EXPECT_EQ(PortKindFromColour(0xE6AFE6), BlockKind::LinkagePort);
    EXPECT_EQ(PortKindFromColour(0xFFFFFF), BlockKind::TextBlock);
    for (const BlockKind kind : {BlockKind::InPort, BlockKind::OutPort, BlockKind::InoutPort,
                                 BlockKind::BufferPort, BlockKind::LinkagePort})
        EXPECT_EQ(PortKindFromColour(PortColour(kind)), kind);
    EXPECT_EQ(PortColour(BlockKind::Module), 0u);
}

TEST(BlockColours, ModesMapToPortKindsAndBack) {
    const std::pair<const char*, BlockKind> modes[] = {{"in", BlockKind::InPort},
                                                       {"out", BlockKind::OutPort},
                                                       {"inout", BlockKind::InoutPort},
                                                       {"buffer", BlockKind::BufferPort},
                                                       {"linkage", BlockKind::LinkagePort}};
    for (const auto& [mode, kind] : modes) {
        EXPECT_EQ(BlockKindFromMode(mode), kind) << mode;
        EXPECT_STREQ(ModeFromBlockKind(kind), mode);
        EXPECT_TRUE(IsPortKind(kind));
    }
    EXPECT_EQ(BlockKindFromMode("OUT"), BlockKind::OutPort);
    EXPECT_EQ(BlockKindFromMode(" in -- clock"), BlockKind::InPort);
    EXPECT_EQ(BlockKindFromMode("in out"), BlockKind::TextBlock);
    EXPECT_EQ(BlockKindFromMode("input"), BlockKind::TextBlock);
    EXPECT_EQ(BlockKindFromMode(""), BlockKind::TextBlock);
    EXPECT_STREQ(ModeFromBlockKind(BlockKind::Module), "");
    EXPECT_STREQ(ModeFromBlockKind(BlockKind::TextBlock), "");
    EXPECT_FALSE(IsPortKind(BlockKind::TextBlock));
    EXPECT_FALSE(IsPortKind(BlockKind::Module));
}

TEST(BlockColours, PaletteNamesAndValues) {
    ASSERT_EQ(kColourPalette.size(), 40u);
    std::set<std::string> names;
    for (const PaletteColour& entry : kColourPalette)
        names.insert(entry.name);
    EXPECT_EQ(names.size(), 40u);
    EXPECT_STREQ(kColourPalette[0].name, "Black");
    EXPECT_EQ(kColourPalette[1].colour, Rgb(165, 42, 0));
    EXPECT_STREQ(kColourPalette[14].name, "Blue-grey");
    EXPECT_STREQ(kColourPalette[15].name, "Grey - 40");
    EXPECT_EQ(kColourPalette[17].colour, 0x005BADFFu);
    EXPECT_STREQ(kColourPalette[35].name, "Pale green ");
    EXPECT_EQ(kColourPalette[35].colour, Rgb(152, 251, 152));
    EXPECT_EQ(kColourPalette[37].colour, Rgb(104, 131, 139));
    EXPECT_STREQ(kColourPalette[39].name, "White");
    EXPECT_EQ(kColourPalette[39].colour, 0x00FFFFFFu);
    EXPECT_STREQ(kPaletteMoreName, "More Colours...");
}

} // namespace
} // namespace kestra
