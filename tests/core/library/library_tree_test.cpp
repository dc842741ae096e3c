#include "library/library_folder_list.h"
#include "library/library_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// Each item as depth, name and image, in pre-order.
std::vector<std::string> Listing(const CLibraryTree& tree) {
    std::vector<std::string> lines;
    for (const CLibraryItem* item = tree.Root(); item != nullptr; item = tree.NextItem(item))
        lines.push_back(std::to_string(CLibraryTree::Depth(item)) + " " + item->Name() + " " +
                        std::to_string(tree.Image(item)) + "/" + std::to_string(tree.SelectedImage(item)));
    return lines;
}

TEST(LibraryTree, ListsModulesAndFoldersButNothingElse) {
    TempFolder temp;
    WriteBytes(temp / "b.vhd", "");
    WriteBytes(temp / "a.vhd", "");
    WriteBytes(temp / "notes.txt", "");
    WriteBytes(temp / "old.bak", "");
    WriteBytes(temp / "wide.vhdl", "");
    WriteBytes(temp / "LibraryOrg.dat", "");
    fs::create_directories(temp / ".svn");
    WriteBytes(temp / ".svn" / "hidden.vhd", "");
    CLibraryTree tree(temp.Path(), LibraryKind::Library);
    tree.Rescan();
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{"0 Library module 12/13", "1 a 4/5", "1 b 4/5"}));
}

TEST(LibraryTree, NestedLevelsSortedByNameWithTheirImages) {
    TempFolder temp;
    for (const char* folder : {"zeta", "Alpha/inner/deepest", "Alpha/.cache", "beta"})
        fs::create_directories(temp / folder);
    for (const char* file : {"Alpha/inner/deepest/D.vhd", "Alpha/inner/C.vhd", "Alpha/mod.x.vhd", "CTOP.vhd",
                             "atop.vhd", "beta/B.vhd"})
        WriteBytes(temp / file, "");
    CLibraryTree tree(temp.Path(), LibraryKind::Predefined);
    tree.Rescan();
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{
                                 "0 Predefined module 12/13",
                                 "1 Alpha 12/13",
                                 "2 inner 12/13",
                                 "3 C 6/7",
                                 "3 deepest 12/13",
                                 "4 D 6/7",
                                 "2 mod.x 6/7",
                                 "1 atop 6/7",
                                 "1 beta 12/13",
                                 "2 B 6/7",
                                 "1 CTOP 6/7",
                                 "1 zeta 12/13",
                             }));
    EXPECT_EQ(tree.ItemCount(), 12);

    const CLibraryItem* deep = tree.FindItem({"Alpha", "inner", "deepest", "D"});
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(CLibraryTree::ItemPath(deep), (std::vector<std::string>{"Alpha", "inner", "deepest", "D"}));
    EXPECT_EQ(tree.FullPath(deep), temp / "Alpha" / "inner" / "deepest" / "D.vhd");
    EXPECT_EQ(tree.FullPath(tree.FindItem({"Alpha", "mod.x"})), temp / "Alpha" / "mod.x.vhd");
    EXPECT_EQ(tree.FullPath(tree.FindItem({"beta"})), temp / "beta");
    EXPECT_EQ(tree.FullPath(tree.Root()), temp.Path());
    EXPECT_EQ(tree.FindItem({"Alpha", "nothing", "D"}), nullptr);
    EXPECT_EQ(tree.FindItem({"Alpha", ".cache"}), nullptr);
}

TEST(LibraryTree, AFolderAndAModuleMayShareAName) {
    TempFolder temp;
    fs::create_directories(temp / "alu");
    WriteBytes(temp / "alu.vhd", "");
    WriteBytes(temp / "alu" / "ADD.vhd", "");
    CLibraryTree tree(temp.Path(), LibraryKind::Library);
    tree.Rescan();
    EXPECT_EQ(Listing(tree),
              (std::vector<std::string>{"0 Library module 12/13", "1 alu 12/13", "2 ADD 4/5", "1 alu 4/5"}));
    EXPECT_TRUE(tree.FindItem({"alu"})->IsFolder());
    EXPECT_NE(tree.FindItem({"alu", "ADD"}), nullptr);
}

TEST(LibraryTree, AFolderLinkedBackIntoItselfIsListedOnce) {
    TempFolder temp;
    fs::create_directories(temp / "a");
    WriteBytes(temp / "a" / "M.vhd", "");
    std::error_code error;
    fs::create_directory_symlink(temp.Path(), temp / "a" / "loop", error);
    if (error)
        GTEST_SKIP() << "no symbolic links here";
    CLibraryTree tree(temp.Path(), LibraryKind::Library);
    tree.Rescan();
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{"0 Library module 12/13", "1 a 12/13", "2 M 4/5"}));
}

TEST(LibraryTree, InsertingAndDeletingKeepOrderAndForgetSelection) {
    TempFolder temp;
    CLibraryTree tree(temp.Path(), LibraryKind::Library);
    tree.Rescan();
    CLibraryItem* root = tree.Root();
    CLibraryItem* folder = tree.InsertItem(root, "m", LibraryItemKind::Folder);
    tree.InsertItem(root, "Z", LibraryItemKind::Module);
    tree.InsertItem(root, "a", LibraryItemKind::Module);
    EXPECT_EQ(tree.InsertItem(root, "a", LibraryItemKind::Module), tree.FindItem({"a"}));
    EXPECT_EQ(tree.InsertItem(tree.FindItem({"a"}), "x", LibraryItemKind::Module), nullptr);
    CLibraryItem* inner = tree.InsertItem(folder, "K", LibraryItemKind::Module);
    EXPECT_EQ(Listing(tree), (std::vector<std::string>{"0 Library module 12/13", "1 a 4/5", "1 m 12/13",
                                                       "2 K 4/5", "1 Z 4/5"}));

    tree.Select(inner);
    EXPECT_TRUE(folder->IsExpanded());
    EXPECT_EQ(tree.TargetFolder(inner), folder);
    EXPECT_EQ(tree.TargetFolder(folder), folder);
    EXPECT_EQ(tree.TargetFolder(nullptr), root);
    tree.SetTopItem(folder);
    EXPECT_FALSE(tree.DeleteItem(root));
    EXPECT_TRUE(tree.DeleteItem(folder));
    EXPECT_EQ(tree.Selected(), nullptr);
    EXPECT_EQ(tree.TopItem(), nullptr);
    EXPECT_EQ(tree.ItemCount(), 3);
}

TEST(LibraryFolderList, ShowsOneFolderAtATimeWithinTheRoot) {
    TempFolder temp;
    fs::create_directories(temp / "Arith" / "Adders");
    fs::create_directories(temp / ".git");
    WriteBytes(temp / "TOP.vhd", "");
    WriteBytes(temp / "alu.vhd", "");
    WriteBytes(temp / "readme.txt", "");
    WriteBytes(temp / "Arith" / "MUL.vhd", "");
    CLibraryFolderList list(temp.Path());
    using K = FolderEntryKind;
    EXPECT_EQ(list.Entries(),
              (std::vector<FolderEntry>{{K::Folder, "Arith"}, {K::Module, "alu"}, {K::Module, "TOP"}}));

    EXPECT_EQ(list.Activate(0), fs::path());
    EXPECT_EQ(list.CurrentFolder(), temp / "Arith");
    EXPECT_EQ(list.Entries(),
              (std::vector<FolderEntry>{{K::Up, ""}, {K::Folder, "Adders"}, {K::Module, "MUL"}}));
    EXPECT_EQ(list.Activate(2), temp / "Arith" / "MUL.vhd");
    EXPECT_EQ(list.Activate(1), fs::path());
    EXPECT_EQ(list.CurrentPath(), (std::vector<std::string>{"Arith", "Adders"}));

    fs::remove_all(temp / "Arith");
    list.Rescan();
    EXPECT_TRUE(list.CurrentPath().empty());
    EXPECT_EQ(list.Entries().size(), 2u);
    list.Activate(7);
    EXPECT_TRUE(list.CurrentPath().empty());
}

} // namespace
} // namespace kestra
