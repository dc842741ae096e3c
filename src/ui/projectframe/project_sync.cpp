#include "projectframe/project_sync.h"

#include "commands/analysis_commands.h"
#include "hierarchy/kst_tree_view.h"
#include "project/message_log.h"
#include "project/recovery_copy.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_watch.h"
#include "session/project_session.h"
#include "system/file_lock.h"
#include "system/file_system.h"
#include "system/user_prompts.h"

#include <QApplication>
#include <chrono>

namespace kestra {

CProjectSync::CProjectSync(C3SplitFrame& frame)
    : QObject(&frame), m_frame(frame), m_watch(new CProjectWatch(frame.Doc(), this)) {
    m_watch->SetReadyCheck([this] { return MayLookNow(); });
    connect(m_watch, &CProjectWatch::changedOutside, this, &CProjectSync::ChangedOutside);
    frame.Doc().SetStaleProjectHandler([this] { return AskAboutTheirs(); });
    m_recoveryTimer.setInterval(kRecoveryMilliseconds);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &CProjectSync::WriteRecovery);
}

CProjectSync::~CProjectSync() {
    m_frame.Doc().SetStaleProjectHandler({});
}

bool CProjectSync::Claim(const std::string& path) {
    CKSTDoc& doc = m_frame.Doc();
    switch (m_lock.Claim(AbsolutePath(path), doc.Identity().user)) {
    case LockClaim::Taken:
        return true;
    case LockClaim::Failed:
        doc.Log().AppendWarning("No lock file could be written beside " + path + " (" + m_lock.Reason() +
                                "): other windows will not see that the project is open here.");
        return true;
    case LockClaim::HeldByOther:
        break;
    }
    const LockHolder& holder = m_lock.Holder();
    const bool open =
        doc.Prompts().AskYesNo(kDefaultPromptTitle,
                               path + " is open in another window: " + holder.user + " on " + holder.host +
                                   " (process " + std::to_string(holder.pid) + ") since " + holder.time +
                                   ".\n\nOpen it anyway? Each window then notices what the other saves.",
                               PromptIcon::Warning, false);
    if (open && m_lock.Force() == LockClaim::Failed)
        doc.Log().AppendWarning("The lock file beside " + path + " could not be taken over (" +
                                m_lock.Reason() + ").");
    return open;
}

void CProjectSync::OfferRecovery() {
    CKSTDoc& doc = m_frame.Doc();
    const std::filesystem::path project(doc.GetPathName());
    if (!HasRecoveryCopy(project))
        return;
    const bool restore = doc.Prompts().AskYesNo(kDefaultPromptTitle,
                                                "KESTRA did not close normally while " + doc.GetTitle() +
                                                    " had changes that were not saved. A recovery copy of "
                                                    "them was kept.\n\nRestore the unsaved changes?",
                                                PromptIcon::Question, true);
    if (!restore) {
        RemoveRecoveryCopy(project);
        return;
    }
    if (RestoreRecoveryCopy(doc))
        doc.Log().AppendLog("\r\nUnsaved changes restored from " + RecoveryCopyPath(project).string() + ".");
    else
        doc.Prompts().ShowMessage(kDefaultPromptTitle,
                                  "The recovery copy " + RecoveryCopyPath(project).string() +
                                      " is damaged and was not restored. It is left where it is.",
                                  PromptIcon::Warning);
}

void CProjectSync::Started() {
    m_watch->Restart();
    m_recoveryTimer.start();
}

void CProjectSync::Stopped() {
    m_watch->Stop();
    m_recoveryTimer.stop();
    m_lock.Release();
}

void CProjectSync::WriteRecovery() {
    CKSTDoc& doc = m_frame.Doc();
    if (!doc.IsModified() || !doc.IsLoaded())
        return;
    if (const Outcome written = WriteRecoveryCopy(doc);
        !written && !std::exchange(m_toldRecoveryFailed, true))
        doc.Log().AppendWarning("No recovery copy of the unsaved changes could be written (" +
                                written.Reason() + ").");
}

// A command-line run holds the project's folder while it loads, changes and saves the project;
// the window's save waits for it a little rather than write between its reading and its writing.
template <typename SaveStep>
bool CProjectSync::UnderFolderLock(SaveStep save) {
    CKSTDoc& doc = m_frame.Doc();
    const std::filesystem::path folder = std::filesystem::path(doc.GetPathName()).parent_path();
    const Result<CFileLock> lock = CFileLock::Acquire(folder, std::chrono::seconds(5));
    if (!lock && FileExists(folder)) {
        doc.Prompts().ShowMessage(kDefaultPromptTitle,
                                  std::string(kMsgCannotSave) + doc.GetPathName() + ".\n" + lock.Reason() +
                                      "\nTry again when it is done.",
                                  PromptIcon::Error);
        return false;
    }
    return save();
}

// Not while a dialog is open (the user is answering something, perhaps about these very
// files), a command is running or the window is closing: the look waits until then.
bool CProjectSync::MayLookNow() const {
    return !m_reacting && !m_frame.IsClosing() && QApplication::activeModalWidget() == nullptr &&
           !m_frame.TreeView()->IsBusy();
}

bool CProjectSync::Save() {
    CKSTDoc& doc = m_frame.Doc();
    if (UnderFolderLock([&doc] { return doc.DoFileSave(); }))
        return true;
    if (doc.TakeReloadWish())
        Reload();
    return false;
}

bool CProjectSync::SaveBeforeClosing() {
    CKSTDoc& doc = m_frame.Doc();
    if (UnderFolderLock([&doc] { return doc.DoFileSave(); }))
        return true;
    if (doc.TakeReloadWish()) {
        RemoveRecoveryCopy(doc.GetPathName());
        return true;
    }
    return doc.Prompts().AskYesNo(kDefaultPromptTitle, kMsgCloseUnsaved, PromptIcon::Warning, false);
}

StaleProjectChoice CProjectSync::AskAboutTheirs() {
    if (std::exchange(m_overwriteChosen, false))
        return StaleProjectChoice::OverwriteWithMine;
    CKSTDoc& doc = m_frame.Doc();
    if (!doc.IsModified())
        return StaleProjectChoice::ReloadTheirs; // nothing of this window's own to keep
    const PromptAnswer answer = doc.Prompts().AskYesNoCancel(
        kDefaultPromptTitle,
        doc.GetPathName() + kMsgProjectChangedOnDisk +
            "\n\nThis window has changes of its own that are not saved. Reload the project as the other "
            "program saved it (the changes made here are lost), or keep the changes made here and "
            "overwrite what the other program saved?",
        "&Reload Theirs", "&Keep Mine and Overwrite");
    switch (answer) {
    case PromptAnswer::Yes:
        return StaleProjectChoice::ReloadTheirs;
    case PromptAnswer::No:
        return StaleProjectChoice::OverwriteWithMine;
    default:
        return StaleProjectChoice::Cancel;
    }
}

void CProjectSync::ChangedOutside(const CDiskBaseline::Changes& changes) {
    m_reacting = true;
    if (changes.projectFile) {
        ProjectFileChangedOutside();
    } else {
        // What the analysis of another program's edit changed is the files', not the user's: a
        // project that had no unsaved changes is saved at once, so that it still has none (and
        // a script's save that follows is read without a question).
        const bool hadChanges = m_frame.Doc().IsModified();
        CAnalysisCommands(m_frame.Session()).OnOutsideChanges(changes);
        if (!hadChanges && m_frame.Doc().IsModified())
            Save();
        emit m_frame.sourcesChangedOutside();
    }
    m_reacting = false;
    emit m_frame.commandStateChanged();
}

void CProjectSync::ProjectFileChangedOutside() {
    CKSTDoc& doc = m_frame.Doc();
    switch (doc.CheckProjectFileOnDisk()) {
    case ProjectFileOnDisk::AsLastSeen:
        return;
    case ProjectFileOnDisk::Missing:
        doc.Log().AppendWarning("The project file " + doc.GetPathName() +
                                " was removed or renamed by another program: saving writes it again.");
        return;
    case ProjectFileOnDisk::Changed:
        break;
    }
    if (!doc.IsModified()) {
        Reload();
        return;
    }
    switch (AskAboutTheirs()) {
    case StaleProjectChoice::ReloadTheirs:
        Reload();
        break;
    case StaleProjectChoice::OverwriteWithMine:
        m_overwriteChosen = true;
        Save();
        m_overwriteChosen = false;
        break;
    case StaleProjectChoice::Cancel:
        break;
    }
}

bool CProjectSync::Reload() {
    CKSTDoc& doc = m_frame.Doc();
    const std::string path = doc.GetPathName();
    {
        // Read into a document of its own first: a file that does not open leaves this one whole.
        CMemoryLog scratchLog;
        CKSTDoc scratch(doc.Prompts(), scratchLog);
        scratch.SetIdentity(doc.Identity());
        if (!scratch.OnOpenDocument(path)) {
            doc.Log().AppendWarning("The project file " + path +
                                    " was changed by another program but does not open: this window keeps "
                                    "its own version of the project.");
            return false;
        }
    }
    CKSTTreeView& tree = *m_frame.TreeView();
    const std::vector<std::string> expanded = tree.ExpandedPaths();
    const std::string selected = CHierarchyTree::ItemPath(m_frame.Session().Selected());
    m_frame.LetGoOfItems();
    tree.ForgetItems();
    doc.Log().AppendLog("\r\nThe project is read again: " + path + " was changed by another program.\r\n");
    if (!doc.OnOpenDocument(path))
        return false;
    tree.OnInitialUpdate();
    tree.Restore(expanded, selected);
    m_frame.UpdateTitle();
    m_watch->Restart();
    return true;
}

} // namespace kestra
