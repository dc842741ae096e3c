#include "library/library_browser.h"
#include "library/library_org.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class LibraryBrowserTest : public ::testing::Test {
protected:
    LibraryBrowserTest() {
        fs::create_directories(root / "Arith");
        fs::create_directories(root / "Empty");
        fs::create_directories(temp / "tmp");
        WriteBytes(root / "Arith" / "ADD.vhd", "add");
        WriteBytes(root / "Arith" / "add.hex", "table");
        WriteBytes(root / "TOP.vhd", "top");
        browser.SetCompanionReader([this](const fs::path& file) {
            readFor.push_back(file);
            return companions;
        });
    }
    CLibraryItem* Item(const std::vector<std::string>& path) { return browser.Tree().FindItem(path); }

    TempFolder temp;
    const fs::path root = temp / "Library";
    CScriptedPrompts prompts;
    CLibraryBrowser browser{root, LibraryKind::Library, prompts};
    std::vector<std::string> companions;
    std::vector<fs::path> readFor;
};

TEST_F(LibraryBrowserTest, ChooseModeCreatesFoldersInTheSelectedFolder) {
    browser.Open();
    EXPECT_EQ(browser.Title(), "Browse Library");
    EXPECT_EQ(browser.EditLabel(), "&New Folder :");
    EXPECT_FALSE(browser.EditReadOnly());
    EXPECT_EQ(browser.Create("").status, LibraryActionStatus::NothingDone);

    browser.Tree().Select(Item({"Arith", "ADD"}));
    ASSERT_TRUE(browser.Create("Adders").Done());
    EXPECT_TRUE(FolderExists(root / "Arith" / "Adders"));
    EXPECT_EQ(browser.Tree().Selected(), Item({"Arith", "Adders"}));
    EXPECT_EQ(Item({"Arith"})->Child(0), Item({"Arith", "ADD"}));
    EXPECT_EQ(Item({"Arith"})->Child(1), Item({"Arith", "Adders"}));

    const LibraryActionResult again = browser.Create("../Adders");
    EXPECT_TRUE(again.Failed());
    EXPECT_EQ(again.errorText, std::make_error_code(std::errc::invalid_argument).message());
    browser.Tree().Select(Item({"Arith"}));
    const LibraryActionResult taken = browser.Create("Adders");
    EXPECT_EQ(taken.errorText, std::make_error_code(std::errc::file_exists).message());
    EXPECT_EQ(browser.Tree().ItemCount(), 6);
}

TEST_F(LibraryBrowserTest, RemovingAsksAndKeepsTheModuleAsBackup) {
    browser.Open();
    companions = {"add.hex", "../TOP.vhd"};
    browser.Tree().Select(Item({"Arith", "ADD"}));
    prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_EQ(browser.Remove().status, LibraryActionStatus::NothingDone);
    EXPECT_EQ(prompts.Messages().back().title, "CONFIRMATION");
    EXPECT_EQ(prompts.Messages().back().text, "Remove the selected module?");
    EXPECT_TRUE(FileExists(root / "Arith" / "ADD.vhd"));

    prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(browser.Remove().Done());
    EXPECT_EQ(ListFiles(root / "Arith"), std::vector<std::string>{"ADD.bak"});
    EXPECT_EQ(ReadBytes(root / "TOP.vhd"), "top");
    EXPECT_EQ(Item({"Arith", "ADD"}), nullptr);
    EXPECT_EQ(readFor, std::vector<fs::path>{root / "Arith" / "ADD.vhd"});

    // A folder with the backup still in it cannot go.
    browser.Tree().Select(Item({"Arith"}));
    prompts.QueueAnswer(PromptAnswer::Yes);
    const LibraryActionResult full = browser.Remove();
    EXPECT_EQ(prompts.Messages().back().text, "Remove the selected folder?");
    EXPECT_EQ(full.errorText, std::make_error_code(std::errc::directory_not_empty).message());
    EXPECT_NE(Item({"Arith"}), nullptr);

    browser.Tree().Select(Item({"Empty"}));
    prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(browser.Remove().Done());
    EXPECT_FALSE(FolderExists(root / "Empty"));

    prompts.ClearRecord();
    browser.Tree().Select(browser.Tree().Root());
    EXPECT_EQ(browser.Remove().status, LibraryActionStatus::NothingDone);
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(LibraryBrowserTest, DroppingMovesAModuleWithItsCompanions) {
    browser.Open();
    companions = {"add.hex", "..", "../TOP.vhd"};
    CLibraryItem* add = Item({"Arith", "ADD"});
    EXPECT_FALSE(CLibraryBrowser::CanDrag(Item({"Arith"})));
    EXPECT_EQ(browser.Drop(add, Item({"Arith"})).status, LibraryActionStatus::NothingDone);

    // Dropping on a module means its folder.
    ASSERT_TRUE(browser.Drop(add, Item({"TOP"})).Done());
    EXPECT_EQ(ListFiles(root), (std::vector<std::string>{"ADD.vhd", "TOP.vhd", "add.hex"}));
    EXPECT_EQ(ListFiles(root / "Arith"), std::vector<std::string>{});
    EXPECT_EQ(Item({"Arith", "ADD"}), nullptr);
    EXPECT_EQ(browser.Tree().Selected(), Item({"ADD"}));

    WriteBytes(root / "Empty" / "ADD.vhd", "other");
    const LibraryActionResult taken = browser.Drop(Item({"ADD"}), Item({"Empty"}));
    EXPECT_EQ(taken.errorText, std::make_error_code(std::errc::file_exists).message());
    EXPECT_EQ(ReadBytes(root / "ADD.vhd"), "add");
    EXPECT_NE(Item({"ADD"}), nullptr);
}

TEST_F(LibraryBrowserTest, StoreModeFilesTheModuleThenChooses) {
    WriteBytes(temp / "tmp" / "ADD.vhd", "new add");
    WriteBytes(temp / "tmp" / "add.hex", "new table");
    browser.SetStoreFile(temp / "tmp" / "ADD.vhd", {"add.hex"});
    browser.Open();
    EXPECT_EQ(browser.Title(), "Select folder to insert new module");
    EXPECT_EQ(browser.EditLabel(), "&New Module :");
    EXPECT_TRUE(browser.EditReadOnly());
    EXPECT_EQ(browser.InitialEditText(), "ADD.vhd");

    browser.Tree().Select(Item({"Arith", "ADD"}));
    prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_EQ(browser.Create("ADD.vhd").status, LibraryActionStatus::NothingDone);
    EXPECT_EQ(browser.Mode(), BrowseMode::Store);
    EXPECT_EQ(ReadBytes(root / "Arith" / "ADD.vhd"), "add");
    EXPECT_EQ(ReadBytes(temp / "tmp" / "ADD.vhd"), "new add");
    // Closed now, nothing would have been stored.
    EXPECT_FALSE(browser.Stored());

    prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(browser.Create("ADD.vhd").Done());
    EXPECT_EQ(ReadBytes(root / "Arith" / "ADD.vhd"), "new add");
    EXPECT_EQ(ReadBytes(root / "Arith" / "add.hex"), "new table");
    EXPECT_EQ(browser.Mode(), BrowseMode::Choose);
    EXPECT_TRUE(browser.Stored());
    EXPECT_EQ(browser.Title(), "Browse Library");
    EXPECT_EQ(browser.InitialEditText(), "");
    EXPECT_EQ(Item({"Arith"})->ChildCount(), 1);
    EXPECT_EQ(browser.Tree().Selected(), Item({"Arith", "ADD"}));
}

TEST_F(LibraryBrowserTest, ClosingWritesTheTreeStateAndGivesTheChosenModule) {
    browser.Open();
    browser.Tree().Select(Item({"Arith", "ADD"}));
    EXPECT_EQ(browser.Close(true).chosenFile, root / "Arith" / "ADD.vhd");
    ASSERT_TRUE(FileExists(root / "LibraryOrg.dat"));

    CLibraryBrowser reopened(root, LibraryKind::Library, prompts);
    reopened.Open();
    EXPECT_EQ(reopened.Tree().Selected(), reopened.Tree().FindItem({"Arith", "ADD"}));
    EXPECT_TRUE(reopened.Tree().FindItem({"Arith"})->IsExpanded());
    EXPECT_EQ(reopened.Close(false).chosenFile, fs::path());

    reopened.Tree().Select(reopened.Tree().FindItem({"Arith"}));
    EXPECT_EQ(reopened.Close(true).chosenFile, fs::path());
    EXPECT_EQ(LoadLibraryOrg(ReadBytes(root / "LibraryOrg.dat"))->selection,
              std::vector<std::string>{"Arith"});
}

} // namespace
} // namespace kestra
