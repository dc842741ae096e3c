#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/byte_builder.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ByteBuilder;

ByteBuilder Header(std::uint32_t version, const std::string& computer = "lab1",
                   const std::string& user = "alice", std::uint32_t reservedA = 0,
                   std::uint32_t reservedB = 0, std::uint8_t accessByte = 0) {
    ByteBuilder bytes;
    bytes.U32(0x11D2A07E).U32(version);
    if (version >= 108)
        bytes.Str(computer).Str(user).U32(reservedA).U32(reservedB).U8(accessByte);
    return bytes;
}

// One item with a one-entry design object, a one-row signal list (from 101) and a block
// record with one block and one line (from 102), each in the layout of the version.
void AppendItem(ByteBuilder& bytes, int version, std::uint32_t depth, std::int32_t kind,
                const std::string& text) {
    bytes.U32(depth).I32(kind).Str(text);
    bytes.U8(1).I32(1).U32(0x89ABCDEF).U32(0x01D2A07E);
    bytes.I32(static_cast<std::int32_t>(EntryKind::Vhdl)).Str(text).Str(text + ".vhd").I32(0);
    if (version >= 101)
        bytes.U8(2).I32(1).Str("clk").Str("in").Str("std_logic").Str("").Str("");
    if (version < 102)
        return;
    bytes.U8(4).U32(1).Str("\\T:clk");
    if (version >= 104)
        bytes.U32(3);
    bytes.I32(0).I32(10).I32(40).I32(30).U32(0x00FFBEBE);
    bytes.U32(1);
    if (version < 106) {
        bytes.U16(3).U16(8);
        if (version >= 103)
            bytes.U16(0x0025);
    } else {
        bytes.U32(2 | (0x0025u << 16)).U32(0x000000FF).U32(3).U32(8).I32(40).I32(20).I32(90).I32(20);
    }
}

std::string VersionFile(int version) {
    ByteBuilder bytes = Header(static_cast<std::uint32_t>(version), "build-host", "bob");
    AppendItem(bytes, version, 0, static_cast<std::int32_t>(HierarchyKind::Root), "ROOT");
    AppendItem(bytes, version, 1, static_cast<std::int32_t>(HierarchyKind::Normal), "CPU");
    AppendItem(bytes, version, 1, static_cast<std::int32_t>(HierarchyKind::Library), "ALU");
    bytes.U32(0xFFFFFFFF);
    return bytes.Bytes();
}

class ProjectFileTest : public ::testing::Test {
protected:
    ProjectFileTest() { doc.SetIdentity({"alice", "lab1"}); }

    std::vector<std::string> Structure() {
        std::vector<std::string> texts;
        for (CHierarchyItem* item = doc.Tree().GetRootItem(); item != nullptr;
             item = doc.Tree().NextItem(item))
            texts.push_back(std::to_string(CHierarchyTree::ItemDepth(item)) + item->Text());
        return texts;
    }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& shown : prompts.Messages())
            texts.push_back(shown.text);
        return texts;
    }

    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc{prompts, log};
};

TEST_F(ProjectFileTest, EveryVersionBranchReadsItsLayout) {
    for (const int version : {100, 101, 102, 103, 104, 106, 107, 108, 110}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(doc.LoadFromBytes(VersionFile(version)));
        EXPECT_TRUE(prompts.Messages().empty());
        EXPECT_EQ(doc.LastReadFileVersion(), version);
        EXPECT_EQ(doc.GetFileVersion(), version);
        EXPECT_EQ(Structure(), (std::vector<std::string>{"0ROOT", "1CPU", "1ALU"}));

        CHierarchyItem* cpu = doc.Tree().GetRootItem()->FirstChild();
        EXPECT_EQ(cpu->Object()->GetEntryValue(0), "CPU.vhd");
        EXPECT_EQ(cpu->Object()->GetAnalysedTime(), version < 101 ? 0u : 0x01D2A07E89ABCDEFu);
        EXPECT_EQ(cpu->Signals()->GetSignalCount(), version < 101 ? 0 : 1);
        // The root has no signal list: its record is read and dropped.
        EXPECT_EQ(doc.Tree().GetRootItem()->Signals(), nullptr);

        const CBlockData& blocks = *cpu->BlockData();
        ASSERT_EQ(blocks.GetBlockCount(), version < 102 ? 0 : 1);
        if (version >= 102) {
            EXPECT_EQ(blocks.Blocks()[0].id, version < 104 ? -1 : 3);
            const LineRecord* line = blocks.LookUpLine(0);
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->attributes, version < 103 ? 3 : 0x0025);
            EXPECT_EQ(line->colour, version < 106 ? kDefaultLineColour : 0x000000FFu);
            EXPECT_EQ(line->points.size(), version < 106 ? 0u : 2u);
            EXPECT_EQ(line->fromId, 3u);
            EXPECT_EQ(line->toId, 8u);
        }
        const ProjectProperties properties = doc.GetProperties();
        EXPECT_EQ(properties.creatorUser, version < 108 ? "alice" : "bob");
        EXPECT_EQ(properties.creatorComputer, version < 108 ? "lab1" : "build-host");
        EXPECT_EQ(properties.accessLevel, AccessLevel::Any);
    }
}

TEST_F(ProjectFileTest, DepthsFindTheirParents) {
    ByteBuilder bytes = Header(110);
    const std::pair<std::uint32_t, const char*> items[] = {
        {0, "ROOT"}, {1, "CHILD"}, {2, "GRAND"}, {1, "SECOND"}, {0, "TOP2"}};
    for (const auto& [depth, text] : items)
        bytes.U32(depth).I32(0).Str(text).U8(0).U8(3).U8(5);
    bytes.U32(0xFFFFFFFF);
    ASSERT_TRUE(doc.LoadFromBytes(bytes.Bytes()));
    EXPECT_EQ(Structure(), (std::vector<std::string>{"0ROOT", "1CHILD", "2GRAND", "1SECOND", "0TOP2"}));
    EXPECT_EQ(doc.Tree().TopLevelCount(), 2);
    EXPECT_EQ(doc.Tree().GetRootItem()->ChildCount(), 2);
}

TEST_F(ProjectFileTest, IrregularDepthsStillBuildATree) {
    // A first item deeper than 0 has no parent; a jump of several levels goes one deeper;
    // going up past the top gives a top-level item.
    ByteBuilder bytes = Header(110);
    for (const std::uint32_t depth : {3u, 7u, 9u, 0u, 5u, 2u})
        bytes.U32(depth).I32(0).Str("M" + std::to_string(depth)).U8(0).U8(3).U8(5);
    bytes.U32(0xFFFFFFFF);
    ASSERT_TRUE(doc.LoadFromBytes(bytes.Bytes()));
    EXPECT_EQ(Structure(), (std::vector<std::string>{"0M3", "1M7", "2M9", "0M0", "1M5", "0M2"}));
}

TEST_F(ProjectFileTest, UnknownMarksKeepTheItemsReadSoFar) {
    struct Case {
        std::uint8_t objectMark, signalMark, blockMark;
    };
    for (const Case& marks : {Case{7, 3, 5}, Case{0, 1, 5}, Case{0, 3, 6}}) {
        prompts.ClearRecord();
        ByteBuilder bytes = Header(110);
        bytes.U32(0).I32(2).Str("ROOT").U8(0).U8(3).U8(5);
        bytes.U32(1).I32(0).Str("BAD").U8(marks.objectMark).U8(marks.signalMark).U8(marks.blockMark);
        bytes.U32(1).I32(0).Str("NEVER").U8(0).U8(3).U8(5).U32(0xFFFFFFFF);
        EXPECT_TRUE(doc.LoadFromBytes(bytes.Bytes()));
        EXPECT_TRUE(doc.IsLoaded());
        EXPECT_EQ(Structure(), (std::vector<std::string>{"0ROOT", "1BAD"}));
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].text, "Data format error!");
        EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Error);
    }
}

TEST_F(ProjectFileTest, HeaderChecksRefuseTheFile) {
    EXPECT_FALSE(doc.LoadFromBytes(ByteBuilder().U32(0x11D2A07F).U32(110).U32(0xFFFFFFFF).Bytes()));
    EXPECT_FALSE(doc.LoadFromBytes(""));
    EXPECT_FALSE(doc.LoadFromBytes(ByteBuilder().U32(0x11D2A07E).U32(111).U32(0xFFFFFFFF).Bytes()));
    EXPECT_FALSE(doc.LoadFromBytes(ByteBuilder().U32(0x11D2A07E).U32(0xFFFFFFFF).Bytes()));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Unrecognized file!", "Unrecognized file!",
                                                        "File version is newer than program version!",
                                                        "File version is newer than program version!"}));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_EQ(doc.LastReadFileVersion(), 0);
}

TEST_F(ProjectFileTest, AccessLevelsAreCheckedAgainstTheCreator) {
    struct Case {
        std::uint8_t level;
        std::string user, computer;
        bool opens;
    };
    const Case cases[] = {
        {0, "mallory", "elsewhere", true}, {1, "alice", "elsewhere", true}, {1, "Alice", "lab1", false},
        {2, "alice", "lab1", true},        {2, "alice", "lab2", false},     {2, "bob", "lab1", false},
    };
    for (const Case& access : cases) {
        SCOPED_TRACE(std::to_string(access.level) + access.user + access.computer);
        prompts.ClearRecord();
        doc.SetIdentity({access.user, access.computer});
        const std::uint32_t reservedB = 0x12345600 | 0x5A;
        ByteBuilder bytes =
            Header(110, "lab1", "alice", 7, reservedB, static_cast<std::uint8_t>(access.level ^ 0x5A));
        bytes.U32(0).I32(2).Str("ROOT").U8(0).U8(3).U8(5).U32(0xFFFFFFFF);
        EXPECT_EQ(doc.LoadFromBytes(bytes.Bytes()), access.opens);
        if (access.opens) {
            EXPECT_TRUE(prompts.Messages().empty());
            EXPECT_EQ(doc.GetProperties().accessLevel, static_cast<AccessLevel>(access.level));
        } else {
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Access permission denied!"});
            EXPECT_TRUE(doc.Tree().IsEmpty());
        }
    }
}

TEST_F(ProjectFileTest, AccessByteIsMaskedWithTheLowByteOfB) {
    ByteBuilder bytes = Header(110, "lab1", "alice", 0xCAFEF00D, 0x000000FF, 254);
    bytes.U32(0xFFFFFFFF);
    ASSERT_TRUE(doc.LoadFromBytes(bytes.Bytes()));
    EXPECT_EQ(doc.GetProperties().accessLevel, AccessLevel::SameUser);
    EXPECT_EQ(doc.Header().reservedA, 0xCAFEF00Du);
    // Written back: the reserved words unchanged and the level masked again.
    EXPECT_EQ(doc.StoreToBytes(), bytes.Bytes());

    ASSERT_TRUE(doc.SetAccessLevel(AccessLevel::SameUserAndComputer));
    EXPECT_FALSE(doc.SetAccessLevel(static_cast<AccessLevel>(3)));
    EXPECT_EQ(doc.StoreToBytes(),
              Header(110, "lab1", "alice", 0xCAFEF00D, 0x000000FF, 253).U32(0xFFFFFFFF).Bytes());
}

TEST_F(ProjectFileTest, SmallProjectIsWrittenByteForByte) {
    ASSERT_TRUE(doc.LoadFromBytes(Header(110, "lab1", "alice", 0, 0, 0).U32(0xFFFFFFFF).Bytes()));
    CHierarchyTree& tree = doc.Tree();
    CHierarchyItem* root = tree.InsertItem("P", HierarchyKind::Root);
    root->Object()->SetEntryCount(1);
    root->Object()->SetEntry(0, EntryKind::Library, "Library name", "WORK");
    CHierarchyItem* cpu = tree.InsertItem("CPU", HierarchyKind::Normal, root);
    cpu->Object()->SetEntryCount(2);
    cpu->Object()->SetEntry(0, EntryKind::Vhdl, "CPU", "CPU.vhd");
    cpu->Object()->SetEntry(1, EntryKind::Logic, "RST", "HIGH");
    const std::vector<std::string> levels{"HIGH", "LOW"};
    cpu->Object()->SetChoiceList(1, &levels);
    cpu->Object()->SetAnalysedTime(0x11111111, 0x01D00000);
    cpu->Signals()->AddSignal();
    cpu->Signals()->SetSignalAll(0, "d", "in", "std_logic_vector", "7 downto 0", "");
    cpu->BlockData()->Resize(1);
    cpu->BlockData()->SetBlock(0, "\\T:d", 0, {0, 0, 30, 20}, 0x00FFBEBE);
    tree.InsertItem("PKG", HierarchyKind::Package, cpu);

    const std::string expected = ByteBuilder()
                                     .U32(0x11D2A07E)
                                     .U32(110)
                                     .Str("lab1")
                                     .Str("alice")
                                     .U32(0)
                                     .U32(0)
                                     .U8(0)
                                     // P, depth 0, kind 2
                                     .U32(0)
                                     .I32(2)
                                     .Str("P")
                                     .U8(1)
                                     .I32(1)
                                     .U32(0)
                                     .U32(0)
                                     .I32(4)
                                     .Str("Library name")
                                     .Str("WORK")
                                     .I32(0)
                                     .U8(3)
                                     .U8(4)
                                     .U32(0)
                                     .U32(0)
                                     // CPU, depth 1, kind 0
                                     .U32(1)
                                     .I32(0)
                                     .Str("CPU")
                                     .U8(1)
                                     .I32(2)
                                     .U32(0x11111111)
                                     .U32(0x01D00000)
                                     .I32(0)
                                     .Str("CPU")
                                     .Str("CPU.vhd")
                                     .I32(0)
                                     .I32(9)
                                     .Str("RST")
                                     .Str("HIGH")
                                     .I32(2)
                                     .Str("HIGH")
                                     .Str("LOW")
                                     .U8(2)
                                     .I32(1)
                                     .Str("d")
                                     .Str("in")
                                     .Str("std_logic_vector")
                                     .Str("7 downto 0")
                                     .Str("")
                                     .U8(4)
                                     .U32(1)
                                     .Str("\\T:d")
                                     .U32(0)
                                     .I32(0)
                                     .I32(0)
                                     .I32(30)
                                     .I32(20)
                                     .U32(0x00FFBEBE)
                                     .U32(0)
                                     // PKG, depth 2, kind 8: no signal list
                                     .U32(2)
                                     .I32(8)
                                     .Str("PKG")
                                     .U8(1)
                                     .I32(0)
                                     .U32(0)
                                     .U32(0)
                                     .U8(3)
                                     .U8(4)
                                     .U32(0)
                                     .U32(0)
                                     .U32(0xFFFFFFFF)
                                     .Bytes();
    EXPECT_EQ(doc.StoreToBytes(), expected);

    CKSTDoc reread(prompts, log);
    reread.SetIdentity({"alice", "lab1"});
    ASSERT_TRUE(reread.LoadFromBytes(expected));
    EXPECT_EQ(reread.StoreToBytes(), expected);
    const CHierarchyItem* rereadCpu = reread.Tree().GetRootItem()->FirstChild();
    EXPECT_EQ(*rereadCpu->Object(), *cpu->Object());
    EXPECT_EQ(*rereadCpu->Signals(), *cpu->Signals());
    EXPECT_EQ(*rereadCpu->BlockData(), *cpu->BlockData());
}

TEST_F(ProjectFileTest, PackagesAreWrittenWithoutASignalList) {
    // A package read with a signal record keeps none and writes mark 3.
    ByteBuilder bytes = Header(110);
    bytes.U32(0).I32(8).Str("PKG").U8(0).U8(2).I32(1).Str("a").Str("in").Str("bit").Str("").Str("").U8(5);
    bytes.U32(0xFFFFFFFF);
    ASSERT_TRUE(doc.LoadFromBytes(bytes.Bytes()));
    EXPECT_EQ(doc.Tree().GetRootItem()->Signals(), nullptr);
    const std::string stored = doc.StoreToBytes();
    EXPECT_EQ(stored, Header(110)
                          .U32(0)
                          .I32(8)
                          .Str("PKG")
                          .U8(1)
                          .I32(0)
                          .U32(0)
                          .U32(0)
                          .U8(3)
                          .U8(4)
                          .U32(0)
                          .U32(0)
                          .U32(0xFFFFFFFF)
                          .Bytes());
}

TEST_F(ProjectFileTest, TruncatedFilesNeverOpen) {
    const std::string bytes = VersionFile(110);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        prompts.ClearRecord();
        EXPECT_FALSE(doc.LoadFromBytes(std::string_view(bytes).substr(0, length))) << length;
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].text, length < 4 ? "Unrecognized file!" : kMsgDamagedFile) << length;
        EXPECT_TRUE(doc.Tree().IsEmpty());
    }
}

TEST_F(ProjectFileTest, DamagedRecordsFailTheOpen) {
    // A negative entry count and a count far beyond the file's size.
    for (const std::int32_t count : {-1, 0x7FFFFFFF}) {
        prompts.ClearRecord();
        ByteBuilder bytes = Header(110);
        bytes.U32(0).I32(2).Str("ROOT").U8(1).I32(count).U32(0).U32(0).U8(3).U8(5).U32(0xFFFFFFFF);
        EXPECT_FALSE(doc.LoadFromBytes(bytes.Bytes()));
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{kMsgDamagedFile});
    }
}

} // namespace
} // namespace kestra
