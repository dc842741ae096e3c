#include "system/system_names.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

namespace kestra {

namespace {

std::string FirstLineOf(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The real user id from the process status, as text; empty when unknown.
std::string RealUserId() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            std::string uid;
            fields >> uid;
            return uid;
        }
    }
    return {};
}

// The account name of the user id in the local account table.
std::string AccountName(const std::string& uid) {
    std::ifstream accounts("/etc/passwd");
    std::string line;
    while (std::getline(accounts, line)) {
        // name:password:uid:...
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        const std::size_t third = second == std::string::npos ? second : line.find(':', second + 1);
        if (third == std::string::npos)
            continue;
        if (std::string_view(line).substr(second + 1, third - second - 1) == uid)
            return line.substr(0, first);
    }
    return {};
}

} // namespace

std::string CurrentUserName() {
    const std::string uid = RealUserId();
    if (!uid.empty()) {
        std::string name = AccountName(uid);
        if (!name.empty())
            return name;
    }
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        std::string name = Environment(variable);
        if (!name.empty())
            return name;
    }
    return {};
}

std::string CurrentComputerName() {
    for (const char* path : {"/proc/sys/kernel/hostname", "/etc/hostname"}) {
        std::string name = FirstLineOf(path);
        if (!name.empty())
            return name;
    }
    return Environment("HOSTNAME");
}

} // namespace kestra
