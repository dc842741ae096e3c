#include "support/temp_folder.h"
#include "system/file_lock.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using std::chrono::milliseconds;

// Two locks of one folder exclude each other also within one process (each has its own open
// file), which is what the program's runs rely on.
TEST(FileLock, AFolderHasOneHolderUntilTheLockGoes) {
    test::TempFolder folder;
    Result<CFileLock> first = CFileLock::Acquire(folder.Path(), milliseconds(0));
    ASSERT_TRUE(first) << first.Reason();

    // A moved lock still holds.
    std::optional<CFileLock> held(std::move(*first));
    const Result<CFileLock> second = CFileLock::Acquire(folder.Path(), milliseconds(60));
    ASSERT_FALSE(second);
    EXPECT_EQ(second.Reason(),
              folder.Path().string() + " is being changed by another program (waited 60 ms)");

    held.reset();
    EXPECT_TRUE(CFileLock::Acquire(folder.Path(), milliseconds(0)));

    const Result<CFileLock> missing = CFileLock::Acquire(folder / "none", milliseconds(0));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Reason(), "No such file or directory");
}

} // namespace
} // namespace kestra
