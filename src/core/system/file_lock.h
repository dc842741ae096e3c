#pragma once

#include "system/outcome.h"

#include <chrono>
#include <filesystem>

namespace kestra {

// An exclusive lock of the operating system on a file or folder, held from Acquire until the
// object goes. Programs that lock the same path take turns; the lock ends with the process
// too, so a crash never leaves it behind. Locking a folder serialises work on files that are
// replaced by a rename, which a lock on the file itself would not.
class CFileLock {
public:
    // Locks the path, trying again about every 20 ms until `wait` has passed (a zero wait
    // tries once). Fails with the system's reason when the path cannot be opened, and with
    // "PATH is being changed by another program (waited 30 s)" when the wait ran out.
    [[nodiscard]] static Result<CFileLock> Acquire(const std::filesystem::path& path,
                                                   std::chrono::milliseconds wait);

    CFileLock(CFileLock&& other) noexcept;
    CFileLock& operator=(CFileLock&& other) noexcept;
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    ~CFileLock();

private:
    explicit CFileLock(int descriptor) : m_descriptor(descriptor) {}
    void Release();

    int m_descriptor = -1;
};

} // namespace kestra
