#pragma once

#include "system/outcome.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestra {

// The lock file beside a project: "Blinker.kst.lock" for "Blinker.kst".
std::filesystem::path LockFilePath(const std::filesystem::path& project);

// Who holds a project open, as its lock file names them.
struct LockHolder {
    std::string user;
    std::string host;
    long pid = 0;
    std::string time; // local time of the claim, ISO 8601
};

// The lock file's text: "user=...\nhost=...\npid=...\ntime=...\n".
std::string LockFileText(const LockHolder& holder);
// The holder a lock file names; nothing for a text that names no process (empty, damaged).
[[nodiscard]] std::optional<LockHolder> ReadLockFileText(std::string_view text);

enum class LockClaim { Taken, HeldByOther, Failed };

// The claim of one window on one project, kept in a small file beside the project so that
// other users and computers see who is working on it. A lock file of a process that no longer
// runs on this computer, or one that cannot be read, is taken over; a lock of a live process
// here or of any process on another computer is the other's until Force. The file is removed
// by Release (and when the object goes), but only while it still names this process.
class CProjectLockFile {
public:
    CProjectLockFile() = default;
    CProjectLockFile(const CProjectLockFile&) = delete;
    CProjectLockFile& operator=(const CProjectLockFile&) = delete;
    ~CProjectLockFile();

    // Claims the project for the user; Failed when the lock file cannot be written (a folder
    // nobody may write), with the reason in Reason(): the project can still be opened.
    [[nodiscard]] LockClaim Claim(const std::filesystem::path& project, const std::string& user);
    // After HeldByOther: takes the project from its holder. Taken or Failed.
    [[nodiscard]] LockClaim Force();
    void Release();

    // Who holds the project, after HeldByOther.
    const LockHolder& Holder() const { return m_holder; }
    // Why the last claim failed.
    const std::string& Reason() const { return m_reason; }
    // This object's claim stands.
    bool Holds() const { return m_holds; }

private:
    [[nodiscard]] LockClaim Write(bool replace);
    bool NamesThisProcess(const LockHolder& holder) const;

    std::filesystem::path m_file;
    LockHolder m_self;
    LockHolder m_holder;
    std::string m_reason;
    bool m_holds = false;
};

} // namespace kestra
