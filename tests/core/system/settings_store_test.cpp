#include "support/memory_settings.h"
#include "support/temp_folder.h"
#include "system/application_paths.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(MemorySettings, EmptyTextDeletesValueAndEmptyKeyDeletesSection) {
    CMemorySettings settings;
    EXPECT_EQ(settings.ReadSetting("Tools", "Editor", "none"), "none");
    EXPECT_TRUE(settings.WriteSetting("Tools", "Editor", "vi"));
    EXPECT_TRUE(settings.WriteSetting("Tools", "Viewer", "less"));
    EXPECT_TRUE(settings.WriteSetting("Tools2", "Editor", "ed"));
    EXPECT_TRUE(settings.WriteSetting("Settings", "Library path", "/lib/"));
    EXPECT_EQ(settings.ReadSetting("Tools", "Editor", "none"), "vi");

    EXPECT_TRUE(settings.WriteSetting("Tools", "Editor", ""));
    EXPECT_FALSE(settings.Contains("Tools", "Editor"));
    EXPECT_EQ(settings.ReadSetting("Tools", "Editor", "none"), "none");

    EXPECT_TRUE(settings.WriteSetting("Tools", "", "ignored"));
    EXPECT_FALSE(settings.Contains("Tools", "Viewer"));
    EXPECT_EQ(settings.ReadSetting("Tools2", "Editor"), "ed");
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), "/lib/");
    EXPECT_EQ(settings.Size(), 2u);
}

TEST(MemorySettings, IntegersAreDecimalText) {
    CMemorySettings settings;
    EXPECT_TRUE(settings.WriteSettingInt("SignalList column width", "0", -12));
    EXPECT_EQ(settings.ReadSetting("SignalList column width", "0"), "-12");
    EXPECT_EQ(settings.ReadSettingInt("SignalList column width", "0", 80), -12);
    EXPECT_EQ(settings.ReadSettingInt("SignalList column width", "1", 80), 80);
    settings.WriteSetting("S", "text", "12px");
    EXPECT_EQ(settings.ReadSettingInt("S", "text", 7), 7);
    settings.WriteSetting("S", "padded", " 42 ");
    EXPECT_EQ(settings.ReadSettingInt("S", "padded", 7), 42);
    settings.WriteSetting("S", "huge", "99999999999");
    EXPECT_EQ(settings.ReadSettingInt("S", "huge", 7), 7);
}

// Runs in a folder of its own and goes back to the previous one afterwards.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

TEST(ApplicationPaths, FirstStartPutsTheLibrariesInTheUserDataFolderAndNothingInTheCurrentOne) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder / "cwd");
    const InFolder inCwd(folder / "cwd");
    CMemorySettings settings;
    // Neither the data folder nor its parents exist yet.
    const std::string data = (folder / "home" / "share" / "KESTRA").string();
    const std::string program = (folder / "usr" / "share" / "kestra").string();
    const ApplicationPaths paths = InitialiseApplicationPaths(settings, {program, data + "/"});

    EXPECT_EQ(paths.applicationPath, program);
    EXPECT_EQ(paths.libraryPath, data + "/Library/");
    EXPECT_EQ(paths.predefinedPath, data + "/Predefined/");
    EXPECT_EQ(paths.userDataFolder, std::filesystem::path(data));
    EXPECT_EQ(settings.ReadSetting("Settings", "Application path"), program);
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), data + "/Library/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Predefined path"), data + "/Predefined/");
    EXPECT_TRUE(FolderExists(std::filesystem::path(data) / "Library"));
    EXPECT_TRUE(FolderExists(std::filesystem::path(data) / "Predefined"));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "cwd"));
    EXPECT_FALSE(std::filesystem::exists(folder / "usr"));
    EXPECT_EQ(UserManualPath(paths), folder / "usr" / "share" / "kestra" / "docs" / "manual.md");
    EXPECT_EQ(TutorialPath(paths), folder / "usr" / "share" / "kestra" / "docs" / "tutorial.md");
}

TEST(ApplicationPaths, StoredLibrariesAreKeptAndAStoredProgramFolderWhileItHoldsTheManual) {
    test::TempFolder folder;
    const std::filesystem::path data = folder / "data";
    CMemorySettings settings;
    settings.WriteSetting("Settings", "Application path", (folder / "old").string());
    settings.WriteSetting("Settings", "Library path", (folder / "mylib").string() + "/");
    ApplicationPaths paths = InitialiseApplicationPaths(settings, {folder / "new", data});
    // An application path without the manual (an old start folder) gives way to the program's.
    EXPECT_EQ(paths.applicationPath, (folder / "new").string());
    EXPECT_EQ(settings.ReadSetting("Settings", "Application path"), (folder / "new").string());
    EXPECT_EQ(paths.libraryPath, (folder / "mylib").string() + "/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), (folder / "mylib").string() + "/");
    EXPECT_EQ(paths.predefinedPath, (data / "Predefined").string() + "/");
    EXPECT_FALSE(FolderExists(folder / "mylib"));
    EXPECT_FALSE(FolderExists(data / "Library"));
    EXPECT_TRUE(FolderExists(data / "Predefined"));

    // One that holds the manual stays, as the user set it.
    std::filesystem::create_directories(folder / "mine" / "docs");
    test::WriteBytes(folder / "mine" / "docs" / "manual.md", "# Manual\n");
    settings.WriteSetting("Settings", "Application path", (folder / "mine").string() + "/");
    paths = InitialiseApplicationPaths(settings, {folder / "new", data});
    EXPECT_EQ(paths.applicationPath, (folder / "mine").string() + "/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Application path"), (folder / "mine").string() + "/");
    EXPECT_EQ(UserManualPath(paths), folder / "mine" / "docs" / "manual.md");
}

} // namespace
} // namespace kestra
