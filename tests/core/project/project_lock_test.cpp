#include "project/project_lock.h"
#include "support/temp_folder.h"
#include "system/file_system.h"
#include "system/process_info.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// The id of a process that has ended: a child that exits at once, waited for.
long EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

class ProjectLockTest : public ::testing::Test {
protected:
    void WriteLock(const LockHolder& holder) { WriteBytes(lockFile, LockFileText(holder)); }
    std::optional<LockHolder> LockOnDisk() { return ReadLockFileText(ReadBytes(lockFile)); }

    test::TempFolder folder;
    fs::path project = folder / "Blinker.kst";
    fs::path lockFile = folder / "Blinker.kst.lock";
};

TEST_F(ProjectLockTest, TakenWhenAbsentAndRemovedOnRelease) {
    EXPECT_EQ(LockFilePath(project), lockFile);
    {
        CProjectLockFile lock;
        ASSERT_EQ(lock.Claim(project, "alice"), LockClaim::Taken) << lock.Reason();
        const std::optional<LockHolder> holder = LockOnDisk();
        ASSERT_TRUE(holder);
        EXPECT_EQ(holder->user, "alice");
        EXPECT_EQ(holder->host, CurrentHostName());
        EXPECT_EQ(holder->pid, CurrentProcessId());
        EXPECT_EQ(holder->time.size(), 19u) << holder->time;
        EXPECT_EQ(ReadBytes(lockFile).rfind("user=alice\nhost=", 0), 0u);

        // A second claim of this process (the project opened again) is its own.
        CProjectLockFile again;
        EXPECT_EQ(again.Claim(project, "alice"), LockClaim::Taken);
    }
    EXPECT_FALSE(fs::exists(lockFile));
}

TEST_F(ProjectLockTest, AStaleLockIsTakenOverSilently) {
    WriteLock({"bob", CurrentHostName(), EndedProcessId(), "2020-01-01T00:00:00"});
    CProjectLockFile lock;
    EXPECT_EQ(lock.Claim(project, "alice"), LockClaim::Taken);
    EXPECT_EQ(LockOnDisk()->pid, CurrentProcessId());

    // Damaged or empty lock files count as stale as well.
    for (const char* text : {"", "garbage\n\x01\x02", "user=bob\npid=x\n"}) {
        WriteBytes(lockFile, text);
        CProjectLockFile other;
        EXPECT_EQ(other.Claim(project, "alice"), LockClaim::Taken) << text;
        EXPECT_EQ(LockOnDisk()->user, "alice");
    }
}

TEST_F(ProjectLockTest, ALiveHolderHereOrAnyHolderElsewhereKeepsIt) {
    const LockHolder live{"bob", CurrentHostName(), static_cast<long>(::getppid()), "2024-05-06T07:08:09"};
    const LockHolder elsewhere{"carol", CurrentHostName() + "-elsewhere", EndedProcessId(),
                               "2024-01-02T03:04:05"};
    for (const LockHolder& other : {live, elsewhere}) {
        WriteLock(other);
        CProjectLockFile lock;
        ASSERT_EQ(lock.Claim(project, "alice"), LockClaim::HeldByOther) << other.host;
        EXPECT_EQ(lock.Holder().user, other.user);
        EXPECT_EQ(lock.Holder().host, other.host);
        EXPECT_EQ(lock.Holder().pid, other.pid);
        EXPECT_EQ(lock.Holder().time, other.time);
        EXPECT_FALSE(lock.Holds());
        lock.Release();
        EXPECT_EQ(LockOnDisk()->user, other.user) << "a lock that is not ours stays";
    }

    // Forced, the lock is ours; when someone else forces it back, our release leaves theirs.
    CProjectLockFile lock;
    ASSERT_EQ(lock.Claim(project, "alice"), LockClaim::HeldByOther);
    ASSERT_EQ(lock.Force(), LockClaim::Taken);
    EXPECT_EQ(LockOnDisk()->user, "alice");
    WriteLock(live);
    lock.Release();
    EXPECT_EQ(LockOnDisk()->user, "bob");
}

TEST_F(ProjectLockTest, ALockFileThatCannotBeWrittenFailsWithTheReason) {
    // As in a folder nobody may write; a missing folder refuses the superuser too.
    const fs::path elsewhere = folder / "missing" / "Blinker.kst";
    CProjectLockFile lock;
    EXPECT_EQ(lock.Claim(elsewhere, "alice"), LockClaim::Failed);
    EXPECT_EQ(lock.Reason(), "Cannot write the lock file " + LockFilePath(elsewhere).string() +
                                 ". No such file or directory.");
    EXPECT_FALSE(lock.Holds());
}

} // namespace
} // namespace kestra
