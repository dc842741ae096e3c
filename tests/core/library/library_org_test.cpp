#include "library/library_org.h"
#include "library/library_tree.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ByteBuilder;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using Path = std::vector<std::string>;

// The expanded folders below the root.
std::vector<Path> ExpandedPaths(const CLibraryTree& tree) {
    std::vector<Path> paths;
    for (const CLibraryItem* item = tree.NextItem(tree.Root()); item != nullptr; item = tree.NextItem(item))
        if (item->IsExpanded())
            paths.push_back(CLibraryTree::ItemPath(item));
    return paths;
}

TEST(LibraryOrgBytes, LayoutOfPathsStatesAndEndRecord) {
    LibraryOrg org;
    org.expanded = {{"Arith"}, {"Arith", "Adders"}};
    org.selection = {"Arith", "Adders", "ADD8"};
    org.topItem = {"Arith"};
    const std::string expected = ByteBuilder()
                                     .Str("Arith")
                                     .Str("")
                                     .I32(32)
                                     .Str("Arith")
                                     .Str("Adders")
                                     .Str("")
                                     .I32(32)
                                     .Str("")
                                     .Str("Arith")
                                     .Str("Adders")
                                     .Str("ADD8")
                                     .Str("")
                                     .Str("Arith")
                                     .Str("")
                                     .Bytes();
    EXPECT_EQ(StoreLibraryOrg(org), expected);
    EXPECT_EQ(LoadLibraryOrg(expected), org);

    // Nothing expanded, the root selected and on top: three empty paths.
    EXPECT_EQ(StoreLibraryOrg({}), std::string(3, '\0'));
    EXPECT_EQ(LoadLibraryOrg(std::string(3, '\0')), LibraryOrg{});
}

TEST(LibraryOrgBytes, LongNamesUseTheLongLengthPrefix) {
    LibraryOrg org;
    org.expanded = {{std::string(300, 'f')}};
    org.selection = {std::string(300, 'f'), "M"};
    const std::string bytes = StoreLibraryOrg(org);
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\x2C\x01");
    EXPECT_EQ(LoadLibraryOrg(bytes), org);
}

TEST(LibraryOrgBytes, DamagedRecordsAreRejectedWhole) {
    LibraryOrg org;
    org.expanded = {{"A"}, {"A", "B"}};
    org.selection = {"A", "B", "M"};
    org.topItem = {"A"};
    const std::string bytes = StoreLibraryOrg(org);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(LoadLibraryOrg(bytes.substr(0, length)).has_value()) << length;
    // A length prefix running past the end.
    EXPECT_FALSE(LoadLibraryOrg(ByteBuilder().U8(200).Raw("short").Bytes()).has_value());
    // A state without the expanded bit is read but expands nothing.
    const std::string collapsed = ByteBuilder().Str("A").Str("").I32(0).Str("").Str("").Str("").Bytes();
    ASSERT_TRUE(LoadLibraryOrg(collapsed).has_value());
    EXPECT_TRUE(LoadLibraryOrg(collapsed)->expanded.empty());
}

class LibraryOrgFileTest : public ::testing::Test {
protected:
    LibraryOrgFileTest() {
        for (const char* folder : {"Arith", "Arith/Adders", "Arith/Mult", "Control", "Control/Fsm", "Memory"})
            fs::create_directories(temp / folder);
        WriteBytes(temp / "Arith" / "Adders" / "ADD8.vhd", "");
        WriteBytes(temp / "Control" / "Fsm" / "SEQ.vhd", "");
        WriteBytes(temp / "TOP.vhd", "");
        tree.Rescan();
    }
    TempFolder temp;
    CLibraryTree tree{temp.Path(), LibraryKind::Library};
};

TEST_F(LibraryOrgFileTest, RoundTripRestoresExpansionSelectionAndTopItem) {
    tree.SetExpanded(tree.FindItem({"Arith"}), true);
    tree.SetExpanded(tree.FindItem({"Control"}), true);
    tree.SetExpanded(tree.FindItem({"Control", "Fsm"}), true);
    tree.Select(tree.FindItem({"Control", "Fsm", "SEQ"}));
    tree.SetTopItem(tree.FindItem({"Arith"}));
    ASSERT_TRUE(WriteLibraryOrgFile(tree));
    EXPECT_EQ(ListFiles(temp.Path()), (std::vector<std::string>{"LibraryOrg.dat", "TOP.vhd"}));
    EXPECT_EQ(LoadLibraryOrg(ReadBytes(temp / "LibraryOrg.dat")), CaptureLibraryOrg(tree));

    CLibraryTree again(temp.Path(), LibraryKind::Library);
    again.Rescan();
    EXPECT_TRUE(ExpandedPaths(again).empty());
    EXPECT_FALSE(again.Root()->IsExpanded());
    ASSERT_TRUE(ReadLibraryOrgFile(again));
    EXPECT_EQ(ExpandedPaths(again), (std::vector<Path>{{"Arith"}, {"Control"}, {"Control", "Fsm"}}));
    EXPECT_EQ(again.Selected(), again.FindItem({"Control", "Fsm", "SEQ"}));
    EXPECT_EQ(again.TopItem(), again.FindItem({"Arith"}));

    // Written again unchanged, the file keeps its bytes.
    const std::string first = ReadBytes(temp / "LibraryOrg.dat");
    ASSERT_TRUE(WriteLibraryOrgFile(again));
    EXPECT_EQ(ReadBytes(temp / "LibraryOrg.dat"), first);
}

TEST_F(LibraryOrgFileTest, FoldersThatHaveGoneAreSkipped) {
    tree.SetExpanded(tree.FindItem({"Arith"}), true);
    tree.SetExpanded(tree.FindItem({"Arith", "Mult"}), true);
    tree.SetExpanded(tree.FindItem({"Control"}), true);
    tree.SetExpanded(tree.FindItem({"Memory"}), true);
    tree.Select(tree.FindItem({"Arith", "Mult"}));
    tree.SetTopItem(tree.FindItem({"Control"}));
    ASSERT_TRUE(WriteLibraryOrgFile(tree));

    fs::remove_all(temp / "Arith" / "Mult");
    fs::remove_all(temp / "Control");
    CLibraryTree again(temp.Path(), LibraryKind::Library);
    again.Rescan();
    ASSERT_TRUE(ReadLibraryOrgFile(again));
    EXPECT_EQ(ExpandedPaths(again), (std::vector<Path>{{"Arith"}, {"Memory"}}));
    EXPECT_EQ(again.Selected(), nullptr);
    EXPECT_EQ(again.TopItem(), nullptr);
}

TEST_F(LibraryOrgFileTest, MissingEmptyOrTruncatedFileLeavesAllCollapsed) {
    EXPECT_FALSE(ReadLibraryOrgFile(tree));
    WriteBytes(temp / "LibraryOrg.dat", "");
    EXPECT_FALSE(ReadLibraryOrgFile(tree));

    LibraryOrg org;
    org.expanded = {{"Arith"}, {"Memory"}};
    org.selection = {"TOP"};
    const std::string bytes = StoreLibraryOrg(org);
    WriteBytes(temp / "LibraryOrg.dat", bytes.substr(0, bytes.size() - 1));
    EXPECT_FALSE(ReadLibraryOrgFile(tree));
    EXPECT_TRUE(ExpandedPaths(tree).empty());
    EXPECT_EQ(tree.Selected(), nullptr);

    WriteBytes(temp / "LibraryOrg.dat", bytes);
    EXPECT_TRUE(ReadLibraryOrgFile(tree));
    EXPECT_EQ(ExpandedPaths(tree), (std::vector<Path>{{"Arith"}, {"Memory"}}));
    EXPECT_EQ(tree.Selected(), tree.FindItem({"TOP"}));
}

TEST_F(LibraryOrgFileTest, SelectingADeepItemExpandsTheWayToIt) {
    LibraryOrg org;
    org.selection = {"Arith", "Adders", "ADD8"};
    ApplyLibraryOrg(tree, org);
    EXPECT_TRUE(tree.Root()->IsExpanded());
    EXPECT_EQ(ExpandedPaths(tree), (std::vector<Path>{{"Arith"}, {"Arith", "Adders"}}));
    // The root's own state is not kept: only folders below it are written.
    EXPECT_EQ(CaptureLibraryOrg(tree).expanded, (std::vector<Path>{{"Arith"}, {"Arith", "Adders"}}));
}

} // namespace
} // namespace kestra
