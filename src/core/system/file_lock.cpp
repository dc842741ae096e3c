#include "system/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace kestra {

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

std::string ErrnoReason(int number) {
    return std::error_code(number, std::generic_category()).message();
}

// "30 s" for whole seconds, "250 ms" otherwise.
std::string WaitText(std::chrono::milliseconds wait) {
    if (wait.count() % 1000 == 0)
        return std::to_string(wait.count() / 1000) + " s";
    return std::to_string(wait.count()) + " ms";
}

// 0 when locked, else the errno of flock (EWOULDBLOCK while another holds it).
int TryLock(int descriptor) {
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

} // namespace

Result<CFileLock> CFileLock::Acquire(const std::filesystem::path& path, std::chrono::milliseconds wait) {
    // Close on exec: a program started meanwhile must not keep the lock after this one ends.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return Result<CFileLock>::Failed(ErrnoReason(errno));
    CFileLock lock(descriptor);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int failure = TryLock(descriptor);
        if (failure == 0)
            return lock;
        if (failure != EWOULDBLOCK)
            return Result<CFileLock>::Failed(ErrnoReason(failure));
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
    }
    return Result<CFileLock>::Failed(path.string() + " is being changed by another program (waited " +
                                     WaitText(wait) + ")");
}

CFileLock::CFileLock(CFileLock&& other) noexcept : m_descriptor(other.m_descriptor) {
    other.m_descriptor = -1;
}

CFileLock& CFileLock::operator=(CFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_descriptor = other.m_descriptor;
        other.m_descriptor = -1;
    }
    return *this;
}

CFileLock::~CFileLock() {
    Release();
}

void CFileLock::Release() {
    // Closing the only descriptor of the open file ends its lock.
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

} // namespace kestra
