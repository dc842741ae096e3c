#include "projectframe/project_sync.h"

#include "commands/analysis_commands.h"
#include "hierarchy/kst_tree_view.h"
#include "project/message_log.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_watch.h"
#include "session/project_session.h"
#include "system/user_prompts.h"

#include <QApplication>

namespace kestra {

CProjectSync::CProjectSync(C3SplitFrame& frame)
    : QObject(&frame), m_frame(frame), m_watch(new CProjectWatch(frame.Doc(), this)) {
    m_watch->SetReadyCheck([this] { return MayLookNow(); });
    connect(m_watch, &CProjectWatch::changedOutside, this, &CProjectSync::ChangedOutside);
    frame.Doc().SetStaleProjectHandler([this] { return AskAboutTheirs(); });
}

CProjectSync::~CProjectSync() {
    m_frame.Doc().SetStaleProjectHandler({});
}

void CProjectSync::Started() {
    m_watch->Restart();
}

void CProjectSync::Stopped() {
    m_watch->Stop();
}

// Not while a dialog is open (the user is answering something, perhaps about these very
// files), a command is running or the window is closing: the look waits until then.
bool CProjectSync::MayLookNow() const {
    return !m_reacting && !m_frame.IsClosing() && QApplication::activeModalWidget() == nullptr &&
           !m_frame.TreeView()->IsBusy();
}

bool CProjectSync::Save() {
    CKSTDoc& doc = m_frame.Doc();
    if (doc.DoFileSave())
        return true;
    if (doc.TakeReloadWish())
        Reload();
    return false;
}

StaleProjectChoice CProjectSync::AskAboutTheirs() {
    if (std::exchange(m_overwriteChosen, false))
        return StaleProjectChoice::OverwriteWithMine;
    CKSTDoc& doc = m_frame.Doc();
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
    if (changes.projectFile)
        ProjectFileChangedOutside();
    else
        CAnalysisCommands(m_frame.Session()).OnOutsideChanges(changes);
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
    if (!doc.OnOpenDocument(path))
        return false;
    tree.OnInitialUpdate();
    tree.Restore(expanded, selected);
    doc.Log().AppendLog("\r\nThe project was read again: " + path + " was changed by another program.");
    m_frame.UpdateTitle();
    m_watch->Restart();
    return true;
}

} // namespace kestra
