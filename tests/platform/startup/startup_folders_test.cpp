#include "startup/startup_folders.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;

TEST(StartupFolders, TheFirstCandidateHoldingTheManualIsTheProgramsFolder) {
    test::TempFolder folder;
    fs::create_directories(folder / "source" / "docs");
    fs::create_directories(folder / "installed" / "docs");
    test::WriteBytes(folder / "source" / "docs" / "manual.md", "# Manual\n");
    // A folder named like the manual is not the manual.
    fs::create_directories(folder / "installed" / "docs" / "manual.md");
    EXPECT_EQ(ChooseApplicationFolder({folder / "installed", folder / "source"}), folder / "source");
    EXPECT_EQ(ChooseApplicationFolder({folder / "missing", folder / "installed"}), folder / "missing");
    EXPECT_EQ(ChooseApplicationFolder({}), fs::path());
}

TEST(StartupFolders, TheUserDataFolderIsTheApplicationsOwnAndNothingIsCreated) {
    test::TempFolder folder;
    ::setenv("XDG_DATA_HOME", (folder / "share").c_str(), 1);
    int argc = 1;
    char name[] = "platform_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalle Software"));
    QCoreApplication::setApplicationName(QStringLiteral("KESTRA"));
    const StartupFolders folders = FindStartupFolders();
    EXPECT_EQ(folders.userData, folder / "share" / "Orvalle Software" / "KESTRA");
    EXPECT_FALSE(fs::exists(folder / "share"));
    // This test runs from the build folder, where the program's files are the source tree's.
    EXPECT_EQ(folders.application, fs::path(KESTRA_SOURCE_TREE));
}

} // namespace
} // namespace kestra
