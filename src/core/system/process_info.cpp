#include "system/process_info.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <sys/types.h>
#include <unistd.h>

namespace kestra {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

std::string CurrentHostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0)
        return {};
    return name.data();
}

bool ProcessIsRunning(long pid) {
    if (pid <= 0 || static_cast<long>(static_cast<pid_t>(pid)) != pid)
        return false;
    // Signal 0 only asks: EPERM is a process of another user, which runs all the same.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr)
        return {};
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
    return std::string(text.data(), length);
}

} // namespace kestra
