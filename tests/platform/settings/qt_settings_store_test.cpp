#include "settings/qt_settings_store.h"
#include "support/temp_folder.h"
#include "system/application_paths.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kestra {
namespace {

QString IniIn(const test::TempFolder& folder) {
    return QString::fromStdString((folder / "kestra.ini").string());
}

TEST(QtSettingsStore, ValuesPersistAcrossInstances) {
    test::TempFolder folder;
    {
        CQtSettingsStore store(IniIn(folder));
        EXPECT_EQ(store.ReadSetting("Settings", "Library path", "none"), "none");
        EXPECT_TRUE(store.WriteSetting("Settings", "Library path", "/opt/lib/"));
        EXPECT_TRUE(store.WriteSetting("Tools", "C:\\Tools/Synth", "syn.exe -f"));
        EXPECT_TRUE(store.WriteSetting("SignalList column width", "0", "120"));
        const std::string bytes("caf\xe9 \x01 100%", 11);
        EXPECT_TRUE(store.WriteSetting("Tools", "Bytes", bytes));
    }
    CQtSettingsStore store(IniIn(folder));
    EXPECT_EQ(store.ReadSetting("Settings", "Library path"), "/opt/lib/");
    EXPECT_EQ(store.ReadSetting("Tools", "C:\\Tools/Synth"), "syn.exe -f");
    EXPECT_EQ(store.ReadSetting("Tools", "C:\\Tools"), "");
    EXPECT_EQ(store.ReadSettingInt("SignalList column width", "0", 50), 120);
    EXPECT_EQ(store.ReadSetting("Tools", "Bytes"), std::string("caf\xe9 \x01 100%", 11));
}

TEST(QtSettingsStore, EmptyTextAndEmptyKeyDelete) {
    test::TempFolder folder;
    CQtSettingsStore store(IniIn(folder));
    store.WriteSetting("Tools", "Editor", "vi");
    store.WriteSetting("Tools", "Viewer", "less");
    store.WriteSetting("Settings", "Application path", "/opt/kestra");
    EXPECT_TRUE(store.WriteSetting("Tools", "Editor", ""));
    EXPECT_EQ(store.ReadSetting("Tools", "Editor", "gone"), "gone");
    EXPECT_EQ(store.ReadSetting("Tools", "Viewer"), "less");
    EXPECT_TRUE(store.WriteSetting("Tools", "", ""));
    EXPECT_EQ(store.ReadSetting("Tools", "Viewer", "gone"), "gone");
    EXPECT_EQ(store.ReadSetting("Settings", "Application path"), "/opt/kestra");
    EXPECT_FALSE(store.WriteSetting("", "Key", "x"));
}

TEST(QtSettingsStore, StartUpDefaultsGoThroughTheStore) {
    test::TempFolder folder;
    CQtSettingsStore store(IniIn(folder));
    const ApplicationPaths paths = InitialiseApplicationPaths(store, {folder.Path(), folder.Path()});
    CQtSettingsStore reread(IniIn(folder));
    EXPECT_EQ(reread.ReadSetting("Settings", "Library path"), paths.libraryPath);
    EXPECT_EQ(reread.ReadSetting("Settings", "Predefined path"), folder.Path().string() + "/Predefined/");
    EXPECT_TRUE(QDir(QString::fromStdString((folder / "Library").string())).exists());
}

TEST(QtSettingsStore, UserSettingsAreNamedAfterTheOrganisationAndApplication) {
    test::TempFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    CQtSettingsStore store;
    EXPECT_TRUE(store.FileName().endsWith(QStringLiteral("Orvalle Software/KESTRA.conf")))
        << store.FileName().toStdString();
    EXPECT_TRUE(store.WriteSetting("Settings", "Application path", "/x"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Orvalle Software" / "KESTRA.conf"));
}

} // namespace
} // namespace kestra
