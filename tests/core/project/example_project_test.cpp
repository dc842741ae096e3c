#include "project/example_project.h"
#include "project/project_lock.h"
#include "support/temp_folder.h"
#include "system/application_paths.h"
#include "system/file_system.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;

TEST(ExampleProject, IsFoundBelowTheApplicationPath) {
    ApplicationPaths paths;
    paths.applicationPath = fs::path(KESTRA_EXAMPLES).parent_path().string();
    EXPECT_EQ(ExampleProjectPath(paths), fs::path(KESTRA_EXAMPLES) / "blinker" / "Blinker.kst");
    EXPECT_TRUE(FileExists(ExampleProjectPath(paths)));
}

TEST(ExampleProject, EachCopyGoesIntoAFolderOfItsOwnWithoutAnotherWindowsLock) {
    test::TempFolder installed;
    fs::create_directories(installed / "blinker" / "Blinker");
    test::WriteBytes(installed / "blinker" / "Blinker.kst", "project");
    test::WriteBytes(installed / "blinker" / "Blinker" / "BLINKER.vhd", "source");
    test::WriteBytes(LockFilePath(installed / "blinker" / "Blinker.kst"), "someone");
    const fs::path example = installed / "blinker" / "Blinker.kst";

    test::TempFolder documents;
    const Result<fs::path> first = CopyExampleProject(example, documents.Path());
    ASSERT_TRUE(first) << first.Reason();
    EXPECT_EQ(*first, documents / "blinker" / "Blinker.kst");
    EXPECT_EQ(test::ReadBytes(*first), "project");
    EXPECT_EQ(test::ReadBytes(documents / "blinker" / "Blinker" / "BLINKER.vhd"), "source");
    EXPECT_FALSE(FileExists(LockFilePath(*first)));

    const Result<fs::path> second = CopyExampleProject(example, documents.Path());
    ASSERT_TRUE(second) << second.Reason();
    EXPECT_EQ(*second, documents / "blinker-2" / "Blinker.kst");

    const Result<fs::path> missing = CopyExampleProject(installed / "none" / "Blinker.kst", documents.Path());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Reason(),
              "The example project " + (installed / "none" / "Blinker.kst").string() + " is not installed.");
}

} // namespace
} // namespace kestra
