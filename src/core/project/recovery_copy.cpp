#include "project/recovery_copy.h"

#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

namespace kestra {

namespace fs = std::filesystem;

namespace {

// Answers every message with its default and chooses nothing: a trial load shows nothing.
class CQuietPrompts : public CUserPrompts {
public:
    PromptAnswer ShowMessageBox(const std::string&, const std::string&, PromptIcon, PromptButtons,
                                PromptAnswer defaultAnswer) override {
        return defaultAnswer;
    }
    void Beep() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const FolderChoice&) override { return std::nullopt; }
};

// The bytes load as a project for this user: a damaged copy never reaches the open document,
// which loading would empty first.
bool LoadsAsProject(const CKSTDoc& doc, std::string_view bytes) {
    CQuietPrompts prompts;
    CMemoryLog log;
    CKSTDoc trial(prompts, log);
    trial.SetIdentity(doc.Identity());
    return trial.LoadFromBytes(bytes);
}

} // namespace

fs::path RecoveryCopyPath(const fs::path& project) {
    return project.parent_path() / (project.filename().string() + ".recovery");
}

Outcome WriteRecoveryCopy(CKSTDoc& doc) {
    if (doc.GetPathName().empty())
        return Outcome::Failed("The project has no file yet.");
    return ReplaceFileSafely(RecoveryCopyPath(doc.GetPathName()), doc.StoreToBytes());
}

bool HasRecoveryCopy(const fs::path& project) {
    const std::optional<std::uint64_t> copyTime = GetLastWriteTime(RecoveryCopyPath(project));
    if (!copyTime || !FileExists(RecoveryCopyPath(project)))
        return false;
    const std::optional<std::uint64_t> projectTime = GetLastWriteTime(project);
    // (Written in the same tick of the file system's clock counts as newer: it is offered.)
    return !projectTime || *copyTime >= *projectTime;
}

bool RestoreRecoveryCopy(CKSTDoc& doc) {
    if (doc.GetPathName().empty())
        return false;
    const Result<std::string> bytes = ReadWholeFile(RecoveryCopyPath(doc.GetPathName()));
    if (!bytes || !LoadsAsProject(doc, *bytes))
        return false;
    if (!doc.LoadFromBytesKeepingFile(*bytes))
        return false;
    doc.SetModifiedFlag(true);
    return true;
}

void RemoveRecoveryCopy(const fs::path& project) {
    if (FileExists(RecoveryCopyPath(project)))
        static_cast<void>(DeleteFileAt(RecoveryCopyPath(project))); // a stale copy is older than the project
}

} // namespace kestra
