#include "support/temp_folder.h"
#include "system/path_text.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(PathText, BackslashesFromOtherSystemsResolve) {
    EXPECT_EQ(NormalizeSeparators("ProjectA\\CPU.vhd"), "ProjectA/CPU.vhd");
    EXPECT_EQ(ResolvePath("/work/p", "ProjectA\\CPU.vhd"), std::filesystem::path("/work/p/ProjectA/CPU.vhd"));
    EXPECT_EQ(ResolvePath("/work/p", "ProjectA/"), std::filesystem::path("/work/p/ProjectA/"));
    EXPECT_EQ(ResolvePath("/work/p", "..\\q\\out"), std::filesystem::path("/work/q/out"));
    EXPECT_EQ(ResolvePath("/work/p", "/abs/x"), std::filesystem::path("/abs/x"));
    EXPECT_EQ(ResolvePath("/work/p", ""), std::filesystem::path("/work/p/"));
}

TEST(PathText, FolderAndNameSplitAtEitherSeparator) {
    EXPECT_EQ(FolderOfPath("/a/b/c.kst"), "/a/b");
    EXPECT_EQ(FolderOfPath("C:\\a\\c.kst"), "C:\\a");
    EXPECT_EQ(FolderOfPath("a/b\\c"), "a/b");
    EXPECT_EQ(FolderOfPath("c.kst"), "");
    EXPECT_EQ(FileNameOfPath("/a/b/c.kst"), "c.kst");
    EXPECT_EQ(FileNameOfPath("lib\\COUNTER.vhd"), "COUNTER.vhd");
    EXPECT_EQ(FileNameOfPath("plain"), "plain");
    EXPECT_EQ(FileNameOfPath("dir/"), "");
}

TEST(PathText, SuffixesIgnoreLetterCase) {
    EXPECT_TRUE(EndsWithNoCase("ALU.BAK", ".BAK"));
    EXPECT_TRUE(EndsWithNoCase("alu.bak", ".BAK"));
    EXPECT_FALSE(EndsWithNoCase("alu.bak.vhd", ".BAK"));
    EXPECT_FALSE(EndsWithNoCase("BAK", ".BAK"));
}

TEST(PathText, AFileInsideTheFolderIsNamedFromItAndAnyOtherInFull) {
    EXPECT_EQ(PathTextFrom("/p", "/p/board.pcf"), "board.pcf");
    EXPECT_EQ(PathTextFrom("/p/", "/p/docs/./board.pcf"), "docs/board.pcf");
    EXPECT_EQ(PathTextFrom("/p/mod", "/p/mod/../board.pcf"), "/p/board.pcf");
    // A folder whose name begins like the project's is not inside it.
    EXPECT_EQ(PathTextFrom("/p", "/p2/board.pcf"), "/p2/board.pcf");
    EXPECT_EQ(PathTextFrom("/p", "/p"), "/p");
    EXPECT_EQ(PathTextFrom("/p", "board.pcf"), "board.pcf");
}

TEST(PathText, SameFolderSeesThroughSpellings) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "p");
    EXPECT_TRUE(SameFolder(folder / "p", folder.Path() / "p/"));
    EXPECT_TRUE(SameFolder(folder / "p", folder.Path() / "p" / ".." / "p"));
    EXPECT_FALSE(SameFolder(folder / "p", folder.Path()));
    std::filesystem::create_directory_symlink(folder / "p", folder / "link");
    EXPECT_TRUE(SameFolder(folder / "p", folder / "link"));
}

} // namespace
} // namespace kestra
