#include "kestra_process.h"
#include "support/temp_folder.h"
#include "system/file_lock.h"

#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace kestra {
namespace {

namespace fs = std::filesystem;

// Runs of the real program on a copy of the example project, with the settings kept in the
// scratch folder.
class KestraLock : public ::testing::Test {
protected:
    KestraLock() {
        fs::create_directories(home);
        fs::copy(KESTRA_EXAMPLES "/blinker", work, fs::copy_options::recursive);
    }

    test::CliRun Kestra(const QStringList& arguments, const QString& lockWaitMs = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
        environment.insert("HOME", QString::fromStdString(home.string()));
        if (!lockWaitMs.isEmpty())
            environment.insert("KESTRA_LOCK_WAIT_MS", lockWaitMs);
        return test::RunKestra(arguments, environment, work, 30000);
    }

    // A shell loop that adds PREFIX1 ... PREFIX25 below the project's root, one run after the
    // other, noting each run that fails.
    std::string AddLoop(const std::string& prefix) const {
        return "(for i in $(seq 1 25); do \"$KESTRA\" add Blinker.kst Blinker " + prefix +
               "$i >/dev/null 2>>errors.txt || echo " + prefix + "$i >>failed.txt; done)";
    }

    test::TempFolder folder;
    fs::path work = folder / "work";
    fs::path config = folder / "config";
    fs::path data = folder / "data";
    fs::path home = folder / "home";
};

// Two scripts change one project at the same time; every run waits for the one before it,
// so no save writes over a module another run added.
TEST_F(KestraLock, ConcurrentRunsOnOneProjectLoseNoChange) {
    const std::string command = "cd '" + work.string() + "' || exit 1; export XDG_CONFIG_HOME='" +
                                config.string() + "' XDG_DATA_HOME='" + data.string() + "' HOME='" +
                                home.string() + "' KESTRA='" KESTRA_EXECUTABLE "'; " + AddLoop("A") + " & " +
                                AddLoop("B") + " & wait";
    // Both loops start at once in one shell, which waits for both.
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(fs::exists(work / "failed.txt"))
        << test::ReadBytes(work / "failed.txt") << test::ReadBytes(work / "errors.txt");

    const test::CliRun shown = Kestra({"show", "Blinker.kst"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 1; i <= 25; ++i) {
            const std::string name = prefix + std::to_string(i);
            EXPECT_NE(shown.out.find("\n    " + name + " ["), std::string::npos) << name << " is missing";
            EXPECT_TRUE(fs::is_regular_file(work / "Blinker" / (name + ".vhd"))) << name;
        }
    }
}

TEST_F(KestraLock, ARunThatCannotGetTheProjectInTimeExitsWithTheReason) {
    const std::string before = test::ReadBytes(work / "Blinker.kst");
    Result<CFileLock> held = CFileLock::Acquire(work, std::chrono::milliseconds(0));
    ASSERT_TRUE(held) << held.Reason();
    const test::CliRun run = Kestra({"add", "Blinker.kst", "Blinker", "LATE"}, "100");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "kestra add: " + work.string() + " is being changed by another program (waited 100 ms)\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadBytes(work / "Blinker.kst"), before);
    EXPECT_FALSE(fs::exists(work / "Blinker" / "LATE.vhd"));
}

} // namespace
} // namespace kestra
