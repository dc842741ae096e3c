#include "support/temp_folder.h"
#include "system/file_system.h"

#include <chrono>
#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(FileSystem, ReadWholeFileKeepsEveryByteAndReportsFailures) {
    TempFolder folder;
    const std::string content("a\0b\r\nc\xff", 7);
    WriteBytes(folder / "data.bin", content);
    EXPECT_EQ(ReadWholeFile(folder / "data.bin"), content);
    WriteBytes(folder / "empty", "");
    EXPECT_EQ(ReadWholeFile(folder / "empty"), "");

    EXPECT_EQ(ReadWholeFile(folder / "missing").Reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());
    const Result<std::string> folderRead = ReadWholeFile(folder.Path());
    EXPECT_FALSE(folderRead);
    EXPECT_FALSE(folderRead.Reason().empty());
}

TEST(FileSystem, ReplaceFileSafelyLeavesOnlyTheNewFile) {
    TempFolder folder;
    const fs::path target = folder / "project.kst";
    ASSERT_TRUE(ReplaceFileSafely(target, "first"));
    EXPECT_EQ(ReadBytes(target), "first");

    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(ReplaceFileSafely(target, "second, longer"));
    EXPECT_EQ(ReadBytes(target), "second, longer");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(ReplaceFileSafely(target, ""));
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(ListFiles(folder.Path()), std::vector<std::string>{"project.kst"});
}

TEST(FileSystem, ReplaceFileSafelyFailureKeepsTheOldFile) {
    TempFolder folder;
    EXPECT_EQ(ReplaceFileSafely(folder / "no-folder" / "x.kst", "data").Reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());

    // A folder standing where the file should go cannot be replaced by a file.
    fs::create_directory(folder / "taken");
    WriteBytes(folder / "taken" / "inside", "keep");
    EXPECT_FALSE(ReplaceFileSafely(folder / "taken", "data"));
    EXPECT_EQ(ReadBytes(folder / "taken" / "inside"), "keep");
    EXPECT_TRUE(ListFiles(folder.Path()).empty());
}

TEST(FileSystem, ReplaceFileSafelyKeepsReadOnlyFilesAndLinks) {
    TempFolder folder;
    const fs::path locked = folder / "locked.vhd";
    WriteBytes(locked, "kept");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(ReplaceFileSafely(locked, "changed").Reason(),
              std::make_error_code(std::errc::permission_denied).message());
    EXPECT_EQ(ReadBytes(locked), "kept");

    fs::create_directory(folder / "shared");
    WriteBytes(folder / "shared" / "real.vhd", "old");
    fs::create_symlink(fs::path("shared") / "real.vhd", folder / "link.vhd");
    ASSERT_TRUE(ReplaceFileSafely(folder / "link.vhd", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.vhd"));
    EXPECT_EQ(ReadBytes(folder / "shared" / "real.vhd"), "new");
}

TEST(FileSystem, CopyMoveAndDeleteReportTheSystemsErrorText) {
    TempFolder folder;
    WriteBytes(folder / "a.vhd", "A");
    WriteBytes(folder / "b.vhd", "B");

    EXPECT_EQ(CopyFileTo(folder / "a.vhd", folder / "b.vhd", false).Reason(),
              std::make_error_code(std::errc::file_exists).message());
    EXPECT_EQ(ReadBytes(folder / "b.vhd"), "B");
    EXPECT_TRUE(CopyFileTo(folder / "a.vhd", folder / "b.vhd", true));
    EXPECT_EQ(ReadBytes(folder / "b.vhd"), "A");
    EXPECT_EQ(CopyFileTo(folder / "none.vhd", folder / "c.vhd", true).Reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());

    WriteBytes(folder / "b.vhd", "B");
    EXPECT_EQ(MoveFileTo(folder / "a.vhd", folder / "b.vhd", false).Reason(),
              std::make_error_code(std::errc::file_exists).message());
    EXPECT_TRUE(FileExists(folder / "a.vhd"));
    EXPECT_TRUE(MoveFileTo(folder / "a.vhd", folder / "c.vhd"));
    EXPECT_FALSE(FileExists(folder / "a.vhd"));
    EXPECT_EQ(ReadBytes(folder / "c.vhd"), "A");
    EXPECT_TRUE(MoveFileTo(folder / "c.vhd", folder / "b.vhd", true));
    EXPECT_EQ(ReadBytes(folder / "b.vhd"), "A");
    EXPECT_EQ(MoveFileTo(folder / "c.vhd", folder / "d.vhd", false).Reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());

    EXPECT_TRUE(DeleteFileAt(folder / "b.vhd"));
    EXPECT_EQ(DeleteFileAt(folder / "b.vhd").Reason(),
              std::make_error_code(std::errc::no_such_file_or_directory).message());
}

TEST(FileSystem, CopiesAndMovesOverAFileFollowTheSafeRules) {
    TempFolder folder;
    WriteBytes(folder / "new.vhd", "NEW");
    WriteBytes(folder / "old.vhd", "OLD");

    // A target that nobody may write is kept, whether copied or moved over.
    fs::permissions(folder / "old.vhd", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(CopyFileTo(folder / "new.vhd", folder / "old.vhd", true).Reason(),
              std::make_error_code(std::errc::permission_denied).message());
    EXPECT_FALSE(MoveFileTo(folder / "new.vhd", folder / "old.vhd", true));
    EXPECT_EQ(ReadBytes(folder / "old.vhd"), "OLD");
    EXPECT_TRUE(FileExists(folder / "new.vhd"));

    // A replaced target keeps its permissions; a new copy of a read-only file is writable.
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(folder / "old.vhd", shared);
    ASSERT_TRUE(CopyFileTo(folder / "new.vhd", folder / "old.vhd", true));
    EXPECT_EQ(ReadBytes(folder / "old.vhd"), "NEW");
    EXPECT_EQ(fs::status(folder / "old.vhd").permissions() & fs::perms::all, shared);
    fs::permissions(folder / "new.vhd", fs::perms::owner_read);
    ASSERT_TRUE(CopyFileTo(folder / "new.vhd", folder / "copy.vhd", false));
    EXPECT_TRUE((fs::status(folder / "copy.vhd").permissions() & fs::perms::owner_write) != fs::perms::none);

    // Copying a file onto itself keeps it whole.
    ASSERT_TRUE(CopyFileTo(folder / "copy.vhd", folder / "copy.vhd", true));
    EXPECT_EQ(ReadBytes(folder / "copy.vhd"), "NEW");
    EXPECT_EQ(ListFiles(folder.Path()), (std::vector<std::string>{"copy.vhd", "new.vhd", "old.vhd"}));

    fs::create_directory(folder / "A");
    fs::create_directory(folder / "B");
    EXPECT_EQ(RenameFolder(folder / "A", folder / "B").Reason(),
              std::make_error_code(std::errc::file_exists).message());
    EXPECT_TRUE(RenameFolder(folder / "A", folder / "C"));
    EXPECT_TRUE(FolderExists(folder / "C"));
}

TEST(FileSystem, ReadWholeFileRefusesFilesTooLargeToHold) {
    TempFolder folder;
    const fs::path huge = folder / "huge.vhd";
    WriteBytes(huge, "");
    fs::resize_file(huge, kMaxReadFileSize + 1); // sparse: no disk space is used
    EXPECT_EQ(ReadWholeFile(huge).Reason(), "File too large (more than 256 MB)");
}

TEST(FileSystem, FoldersAndListings) {
    TempFolder folder;
    bool exists = true;
    EXPECT_TRUE(CreateFolder(folder / "Modules", &exists));
    EXPECT_FALSE(exists);
    EXPECT_FALSE(CreateFolder(folder / "Modules", &exists));
    EXPECT_TRUE(exists);
    EXPECT_FALSE(CreateFolder(folder / "x" / "y", &exists));
    EXPECT_FALSE(exists);
    EXPECT_TRUE(CreateFolders(folder / "x" / "y"));
    EXPECT_TRUE(CreateFolders(folder / "x" / "y"));
    EXPECT_TRUE(FolderExists(folder / "x" / "y"));

    WriteBytes(folder / "Modules" / "b.vhd", "1");
    WriteBytes(folder / "Modules" / "a.vhd", "22");
    WriteBytes(folder / "Modules" / ".hidden", "");
    fs::create_directory(folder / "Modules" / "sub");
    EXPECT_EQ(ListFiles(folder / "Modules"), (std::vector<std::string>{".hidden", "a.vhd", "b.vhd"}));
    EXPECT_TRUE(ListFiles(folder / "none").empty());
    EXPECT_EQ(FileSize(folder / "Modules" / "a.vhd"), 2u);
    EXPECT_FALSE(FileSize(folder / "none").has_value());
}

TEST(FileTimes, CountHundredNanosecondsSince1601) {
    using namespace std::chrono;
    const auto unixEpoch = file_clock::from_sys(sys_seconds{sys_days{year{1970} / January / 1}});
    EXPECT_EQ(FileTimeFromClock(unixEpoch), 116444736000000000ULL);
    const auto y2k = file_clock::from_sys(sys_time<nanoseconds>{sys_days{year{2000} / January / 1}} +
                                          nanoseconds(123456789));
    EXPECT_EQ(FileTimeFromClock(y2k), 125911584000000000ULL + 1234567);
    EXPECT_EQ(FileTimeFromClock(ClockFromFileTime(133000000001234567ULL)), 133000000001234567ULL);
    // Times the file clock cannot hold come to its ends of 1900 and 2200 without overflowing.
    EXPECT_EQ(FileTimeFromClock(ClockFromFileTime(1)), 94354848000000000ULL);
    EXPECT_EQ(FileTimeFromClock(ClockFromFileTime(~0ULL)), 189025920000000000ULL);
}

TEST(FileTimes, LastWriteTimeKeepsSubSecondPrecision) {
    TempFolder folder;
    const fs::path path = folder / "m.vhd";
    WriteBytes(path, "x");
    const std::uint64_t stamp = 133500000001234567ULL;
    ASSERT_TRUE(SetLastWriteTime(path, stamp));
    EXPECT_EQ(GetLastWriteTime(path), stamp);
    ASSERT_TRUE(SetLastWriteTime(path, stamp + 1));
    EXPECT_EQ(GetLastWriteTime(path), stamp + 1);
    EXPECT_FALSE(GetLastWriteTime(folder / "none").has_value());

    // A file written now carries a time close to the system clock's.
    WriteBytes(folder / "now", "y");
    const std::uint64_t now = FileTimeFromClock(fs::file_time_type::clock::now());
    const std::uint64_t written = *GetLastWriteTime(folder / "now");
    EXPECT_LT(now - written, 600000000ULL);
}

} // namespace
} // namespace kestra
