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

TEST(ApplicationPaths, FirstStartWritesDefaultsAndCreatesLibraryFolders) {
    test::TempFolder folder;
    CMemorySettings settings;
    const ApplicationPaths paths = InitialiseApplicationPaths(settings, folder.Path());
    const std::string start = folder.Path().string();
    EXPECT_EQ(paths.applicationPath, start);
    EXPECT_EQ(paths.libraryPath, start + "/Library/");
    EXPECT_EQ(paths.predefinedPath, start + "/Predefined/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Application path"), start);
    EXPECT_EQ(settings.ReadSetting("Settings", "Library path"), start + "/Library/");
    EXPECT_EQ(settings.ReadSetting("Settings", "Predefined path"), start + "/Predefined/");
    EXPECT_TRUE(FolderExists(folder / "Library"));
    EXPECT_TRUE(FolderExists(folder / "Predefined"));
    EXPECT_EQ(UserManualPath(paths), folder.Path() / "KESTRA.pdf");
    EXPECT_EQ(TutorialPath(paths), folder.Path() / "Tutorial" / "Tutorial.html");
}

TEST(ApplicationPaths, StoredValuesAreKeptAndNotCreated) {
    test::TempFolder folder;
    CMemorySettings settings;
    settings.WriteSetting("Settings", "Application path", "C:\\KESTRA");
    settings.WriteSetting("Settings", "Library path", (folder / "mylib").string() + "/");
    const ApplicationPaths paths = InitialiseApplicationPaths(settings, folder.Path().string() + "/");
    EXPECT_EQ(paths.applicationPath, "C:\\KESTRA");
    EXPECT_EQ(paths.libraryPath, (folder / "mylib").string() + "/");
    EXPECT_EQ(paths.predefinedPath, folder.Path().string() + "/Predefined/");
    EXPECT_FALSE(FolderExists(folder / "mylib"));
    EXPECT_FALSE(FolderExists(folder / "Library"));
    EXPECT_TRUE(FolderExists(folder / "Predefined"));
    EXPECT_EQ(UserManualPath(paths), std::filesystem::path("C:/KESTRA/KESTRA.pdf"));
}

} // namespace
} // namespace kestra
