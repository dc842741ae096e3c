#include "library/library_files.h"
#include "library/library_roots.h"
#include "model/design_object.h"
#include "support/memory_settings.h"
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

std::string ErrorText(std::errc code) {
    return std::make_error_code(code).message();
}

TEST(LibraryFiles, PlainFileNamesStayInsideTheirFolder) {
    for (const char* name : {"notes.txt", "a", ".hidden", "x..y", "C:data", "name with blanks"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name :
         {"", ".", "..", "../x", "/etc/passwd", "a/b", "a\\b", "..\\x", "\\\\server\\share", "x/", "/"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    EXPECT_FALSE(IsPlainFileName(std::string("ok\0/../x", 8)));
}

TEST(LibraryFiles, ModuleFileNames) {
    EXPECT_TRUE(IsModuleFileName("COUNTER.vhd"));
    EXPECT_TRUE(IsModuleFileName("a.b.vhd"));
    EXPECT_FALSE(IsModuleFileName(".vhd"));
    EXPECT_FALSE(IsModuleFileName("COUNTER.vhdl"));
    EXPECT_FALSE(IsModuleFileName("COUNTER.bak"));
    EXPECT_EQ(ModuleNameOfFile("a.b.vhd"), "a.b");
    EXPECT_EQ(ModuleNameOfFile("plain"), "plain");
}

TEST(LibraryFiles, CompanionNamesAreTheLinkValuesInOrder) {
    CKSTObject object;
    object.SetEntryCount(4);
    object.SetEntry(0, EntryKind::Component, "M", "M.vhd");
    object.SetEntry(1, EntryKind::Link, "Pins", "m.ucf");
    object.SetEntry(2, EntryKind::Note, "Doc", "not a file");
    object.SetEntry(3, EntryKind::Link, "Data", "rom.hex");
    EXPECT_EQ(CompanionNames(object), (std::vector<std::string>{"m.ucf", "rom.hex"}));
}

class LibraryFilesTest : public ::testing::Test {
protected:
    LibraryFilesTest() {
        fs::create_directories(a);
        fs::create_directories(b);
    }
    TempFolder temp;
    const fs::path a = temp / "lib" / "A";
    const fs::path b = temp / "lib" / "B";
    CScriptedPrompts prompts;
};

TEST_F(LibraryFilesTest, TransferMovesCopiesAndDeletesPlainNames) {
    WriteBytes(a / "one.txt", "1");
    WriteBytes(a / "two.txt", "2");
    WriteBytes(b / "two.txt", "old");
    const std::vector<std::string> names{"one.txt", "two.txt", "missing.txt"};

    EXPECT_EQ(TransferCompanionFiles(names, a, b, TransferMode::Copy), 2);
    EXPECT_EQ(ReadBytes(b / "two.txt"), "2");
    EXPECT_TRUE(FileExists(a / "one.txt"));

    WriteBytes(b / "missing.txt", "kept");
    EXPECT_EQ(TransferCompanionFiles(names, b, a, TransferMode::Delete), 3);
    EXPECT_EQ(ListFiles(b), std::vector<std::string>{});

    WriteBytes(b / "two.txt", "old");
    WriteBytes(b / "missing.txt", "kept");
    EXPECT_EQ(TransferCompanionFiles(names, a, b, TransferMode::Move), 2);
    EXPECT_EQ(ListFiles(a), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(b / "one.txt"), "1");
    EXPECT_EQ(ReadBytes(b / "two.txt"), "2");
    // A companion missing at the source leaves the destination's file of that name alone.
    EXPECT_EQ(ReadBytes(b / "missing.txt"), "kept");

    // Within one folder nothing moves, and nothing is lost.
    EXPECT_EQ(TransferCompanionFiles(names, b, temp / "lib" / "." / "B", TransferMode::Move), 0);
    EXPECT_EQ(ReadBytes(b / "one.txt"), "1");
}

// Link values are written by whoever wrote the module; none may reach outside the folders.
TEST_F(LibraryFilesTest, TransferNeverTouchesAnythingOutsideTheFolders) {
    WriteBytes(temp / "lib" / "outside.txt", "outside");
    WriteBytes(temp / "absolute.txt", "absolute");
    fs::create_directories(a / "a");
    WriteBytes(a / "a" / "b", "nested");
    fs::create_directories(a / "sub");
    const std::vector<std::string> names{"../outside.txt",
                                         "..\\outside.txt",
                                         (temp / "absolute.txt").string(),
                                         "a/b",
                                         "a\\b",
                                         "..",
                                         ".",
                                         "",
                                         "sub"};

    for (TransferMode mode : {TransferMode::Copy, TransferMode::Move, TransferMode::Delete})
        EXPECT_EQ(TransferCompanionFiles(names, a, b, mode), 0);
    EXPECT_EQ(ReadBytes(temp / "lib" / "outside.txt"), "outside");
    EXPECT_EQ(ReadBytes(temp / "absolute.txt"), "absolute");
    EXPECT_EQ(ReadBytes(a / "a" / "b"), "nested");
    EXPECT_TRUE(FolderExists(a / "sub"));
    EXPECT_TRUE(fs::is_empty(b));
}

TEST_F(LibraryFilesTest, RemovingAModuleKeepsItAsBackupAndDeletesPlainCompanions) {
    WriteBytes(a / "X.vhd", "new");
    WriteBytes(a / "X.bak", "older");
    WriteBytes(a / "x.ucf", "pins");
    WriteBytes(temp / "lib" / "outside.txt", "outside");
    WriteBytes(temp / "absolute.txt", "absolute");
    fs::create_directories(a / "a");
    WriteBytes(a / "a" / "b", "nested");

    const std::vector<std::string> companions{
        "x.ucf", "../outside.txt", (temp / "absolute.txt").string(), "a/b", "..", ""};
    ASSERT_TRUE(RemoveLibraryModule(a / "X.vhd", companions));
    EXPECT_FALSE(FileExists(a / "X.vhd"));
    EXPECT_EQ(ReadBytes(a / "X.bak"), "new");
    EXPECT_FALSE(FileExists(a / "x.ucf"));
    EXPECT_EQ(ReadBytes(temp / "lib" / "outside.txt"), "outside");
    EXPECT_EQ(ReadBytes(temp / "absolute.txt"), "absolute");
    EXPECT_EQ(ReadBytes(a / "a" / "b"), "nested");
    EXPECT_TRUE(FolderExists(temp / "lib"));

    // A Link value naming the backup cannot take it away.
    WriteBytes(a / "Z.vhd", "z");
    ASSERT_TRUE(RemoveLibraryModule(a / "Z.vhd", {"Z.bak"}));
    EXPECT_EQ(ReadBytes(a / "Z.bak"), "z");

    WriteBytes(a / "y.ucf", "pins");
    EXPECT_EQ(RemoveLibraryModule(a / "Y.vhd", {"y.ucf"}).Reason(),
              ErrorText(std::errc::no_such_file_or_directory));
    EXPECT_TRUE(FileExists(a / "y.ucf"));
}

TEST_F(LibraryFilesTest, MovingAModuleTakesItsCompanionsAndRefusesToReplace) {
    WriteBytes(a / "M.vhd", "module");
    WriteBytes(a / "m.ucf", "pins");
    WriteBytes(temp / "lib" / "outside.txt", "outside");
    ASSERT_TRUE(MoveLibraryModule(a / "M.vhd", b, {"m.ucf", "../outside.txt", "..", "/", ""}));
    EXPECT_EQ(ListFiles(a), std::vector<std::string>{});
    EXPECT_EQ(ListFiles(b), (std::vector<std::string>{"M.vhd", "m.ucf"}));
    EXPECT_EQ(ReadBytes(temp / "lib" / "outside.txt"), "outside");

    WriteBytes(a / "M.vhd", "other");
    EXPECT_EQ(MoveLibraryModule(a / "M.vhd", b, {}).Reason(), ErrorText(std::errc::file_exists));
    EXPECT_EQ(ReadBytes(a / "M.vhd"), "other");
    EXPECT_EQ(ReadBytes(b / "M.vhd"), "module");

    // Into its own folder: nothing changes.
    EXPECT_TRUE(MoveLibraryModule(b / "M.vhd", b, {"m.ucf"}));
    EXPECT_EQ(ListFiles(b), (std::vector<std::string>{"M.vhd", "m.ucf"}));
}

TEST_F(LibraryFilesTest, StoringOverAnExistingModuleAsksFirst) {
    const fs::path tempFolder = temp / "tmp";
    fs::create_directories(tempFolder);
    WriteBytes(tempFolder / "COUNTER.vhd", "new");
    WriteBytes(tempFolder / "counter.hex", "new data");
    WriteBytes(a / "COUNTER.vhd", "old");
    WriteBytes(a / "counter.hex", "old data");

    prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_EQ(StoreLibraryModule(tempFolder / "COUNTER.vhd", a, {"counter.hex"}, prompts),
              StoreResult::Declined);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].title, "Overwrite");
    EXPECT_EQ(prompts.Messages()[0].text, "COUNTER.vhd already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompts.Messages()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Question);
    EXPECT_EQ(ReadBytes(tempFolder / "COUNTER.vhd"), "new");
    EXPECT_EQ(ReadBytes(tempFolder / "counter.hex"), "new data");
    EXPECT_EQ(ReadBytes(a / "COUNTER.vhd"), "old");
    EXPECT_EQ(ReadBytes(a / "counter.hex"), "old data");

    prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(StoreLibraryModule(tempFolder / "COUNTER.vhd", a, {"counter.hex"}, prompts),
              StoreResult::Stored);
    EXPECT_EQ(ListFiles(tempFolder), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(a / "COUNTER.vhd"), "new");
    EXPECT_EQ(ReadBytes(a / "counter.hex"), "new data");

    // A free name asks nothing.
    prompts.ClearRecord();
    WriteBytes(tempFolder / "ALU.vhd", "alu");
    EXPECT_EQ(StoreLibraryModule(tempFolder / "ALU.vhd", b, {}, prompts), StoreResult::Stored);
    EXPECT_TRUE(prompts.Messages().empty());

    EXPECT_EQ(StoreLibraryModule(tempFolder / "GONE.vhd", b, {}, prompts).Reason(),
              ErrorText(std::errc::no_such_file_or_directory));
}

TEST_F(LibraryFilesTest, FoldersAreCreatedWithPlainNamesAndRemovedOnlyWhenEmpty) {
    ASSERT_TRUE(CreateLibraryFolder(a, "New"));
    EXPECT_TRUE(FolderExists(a / "New"));
    EXPECT_EQ(CreateLibraryFolder(a, "New").Reason(), ErrorText(std::errc::file_exists));
    EXPECT_EQ(CreateLibraryFolder(a, "../Escaped").Reason(), ErrorText(std::errc::invalid_argument));
    EXPECT_FALSE(FolderExists(temp / "lib" / "Escaped"));

    WriteBytes(a / "New" / "M.vhd", "m");
    EXPECT_EQ(RemoveLibraryFolder(a / "New").Reason(), ErrorText(std::errc::directory_not_empty));
    EXPECT_TRUE(FileExists(a / "New" / "M.vhd"));
    EXPECT_FALSE(RemoveLibraryFolder(a / "New" / "M.vhd"));
    EXPECT_TRUE(FileExists(a / "New" / "M.vhd"));
    fs::remove(a / "New" / "M.vhd");
    EXPECT_TRUE(RemoveLibraryFolder(a / "New"));
    EXPECT_FALSE(FolderExists(a / "New"));
}

TEST(LibraryRoots, DefaultsAreWrittenBackAndFoldersCreated) {
    TempFolder temp;
    CMemorySettings settings;
    EXPECT_EQ(OpenLibraryRoot(settings, LibraryKind::Library, temp.Path()).path, temp / "Library");
    EXPECT_EQ(OpenLibraryRoot(settings, LibraryKind::Predefined, temp.Path()).path, temp / "Predefined");
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), (temp / "Library").string() + "/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Predefined path"), (temp / "Predefined").string() + "/");
    EXPECT_TRUE(FolderExists(temp / "Library"));
    EXPECT_TRUE(FolderExists(temp / "Predefined"));
}

TEST(LibraryRoots, StoredPathsLoseTheirTrailingSeparators) {
    TempFolder temp;
    CMemorySettings settings;
    settings.WriteSetting("Settings", "Library path", (temp / "Mine").string() + "\\");
    settings.WriteSetting("Settings", "Predefined path", "Shared\\Predef//");
    EXPECT_EQ(OpenLibraryRoot(settings, LibraryKind::Library, temp.Path()).path, temp / "Mine");
    EXPECT_EQ(OpenLibraryRoot(settings, LibraryKind::Predefined, temp.Path()).path,
              temp / "Shared" / "Predef");
    EXPECT_TRUE(FolderExists(temp / "Shared" / "Predef"));
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), (temp / "Mine").string() + "\\");
    EXPECT_EQ(LibraryRootFromText("/"), fs::path("/"));
    EXPECT_EQ(LibraryRootFromText("D:\\Lib\\"), fs::path("D:/Lib"));

    WriteBytes(temp / "file", "x");
    settings.WriteSetting("Settings", "Library path", (temp / "file" / "Lib").string());
    const LibraryRootFolder root = OpenLibraryRoot(settings, LibraryKind::Library, temp.Path());
    EXPECT_FALSE(root.created);
    EXPECT_FALSE(root.created.Reason().empty());
}

} // namespace
} // namespace kestra
