#include "project/project_lock.h"

#include "system/file_system.h"
#include "system/process_info.h"

#include <charconv>

namespace kestra {

namespace fs = std::filesystem;

fs::path LockFilePath(const fs::path& project) {
    return project.parent_path() / (project.filename().string() + ".lock");
}

std::string LockFileText(const LockHolder& holder) {
    return "user=" + holder.user + "\nhost=" + holder.host + "\npid=" + std::to_string(holder.pid) +
           "\ntime=" + holder.time + "\n";
}

std::optional<LockHolder> ReadLockFileText(std::string_view text) {
    LockHolder holder;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "user")
            holder.user = value;
        else if (key == "host")
            holder.host = value;
        else if (key == "time")
            holder.time = value;
        else if (key == "pid" &&
                 std::from_chars(value.data(), value.data() + value.size(), holder.pid).ec != std::errc())
            return std::nullopt;
    }
    if (holder.pid <= 0)
        return std::nullopt;
    return holder;
}

CProjectLockFile::~CProjectLockFile() {
    Release();
}

LockClaim CProjectLockFile::Claim(const fs::path& project, const std::string& user) {
    Release();
    m_file = LockFilePath(project);
    m_self = LockHolder{user, CurrentHostName(), CurrentProcessId(), LocalTimeText()};
    m_holder = LockHolder{};
    m_reason.clear();
    // A second round only when another window created the file between the look and the write.
    for (int round = 0; round < 2; ++round) {
        if (!FileExists(m_file)) {
            const LockClaim claim = Write(false);
            if (claim == LockClaim::Failed && FileExists(m_file))
                continue;
            return claim;
        }
        const Result<std::string> text = ReadWholeFile(m_file);
        const std::optional<LockHolder> holder = text ? ReadLockFileText(*text) : std::nullopt;
        // Unreadable, this very process, or a process of this computer that has ended: stale.
        if (!holder || NamesThisProcess(*holder) ||
            (holder->host == m_self.host && !ProcessIsRunning(holder->pid)))
            return Write(true);
        m_holder = *holder;
        return LockClaim::HeldByOther;
    }
    return LockClaim::HeldByOther;
}

LockClaim CProjectLockFile::Force() {
    if (m_file.empty())
        return LockClaim::Failed;
    return Write(true);
}

void CProjectLockFile::Release() {
    if (!m_holds)
        return;
    m_holds = false;
    // A window that forced the project away from this one owns the file now.
    const Result<std::string> text = ReadWholeFile(m_file);
    const std::optional<LockHolder> holder = text ? ReadLockFileText(*text) : std::nullopt;
    if (holder && NamesThisProcess(*holder))
        static_cast<void>(DeleteFileAt(m_file)); // a file left behind is taken over as stale
}

LockClaim CProjectLockFile::Write(bool replace) {
    const std::string text = LockFileText(m_self);
    const Outcome written = replace ? ReplaceFileSafely(m_file, text) : WriteNewFile(m_file, text);
    if (!written) {
        m_reason = WithReason("Cannot write the lock file " + m_file.string() + ".", written.Reason());
        return LockClaim::Failed;
    }
    m_holds = true;
    return LockClaim::Taken;
}

bool CProjectLockFile::NamesThisProcess(const LockHolder& holder) const {
    return holder.pid == m_self.pid && holder.host == m_self.host;
}

} // namespace kestra
