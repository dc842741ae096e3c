#pragma once

#include "operations/outside_changes.h"
#include "project/kst_doc.h"
#include "project/project_lock.h"

#include <QObject>
#include <QTimer>
#include <string>

namespace kestra {

class C3SplitFrame;
class CProjectWatch;

// Keeps a project window in step with what other programs (an editor, a script, another
// window) write: sources changed on disk are analysed again, a project file changed on disk
// is read again or, when the window has unsaved changes of its own, the user is asked; no
// save overwrites a project file another program wrote without asking.
class CProjectSync : public QObject {
    Q_OBJECT

public:
    explicit CProjectSync(C3SplitFrame& frame);
    ~CProjectSync() override;

    // How often unsaved changes are copied beside the project.
    static constexpr int kRecoveryMilliseconds = 60 * 1000;

    // Before a project is opened or created at the path: claims it with a lock file beside it.
    // A live holder elsewhere is named and the user chooses to open anyway or not (false).
    bool Claim(const std::string& path);
    // After the project file was read, before its first update: a recovery copy left by a
    // window that did not close normally is offered.
    void OfferRecovery();
    // The project was opened or created, or saved under another name: watch its files.
    void Started();
    // The project is closing.
    void Stopped();
    // Saves the project; after "reload theirs" reads it again instead. False when not saved.
    // A command-line run working on the project is waited for a few seconds.
    bool Save();
    // Closing: as Save, but a project the user could not save may be closed anyway (true).
    bool SaveBeforeClosing();
    // Writes the recovery copy now when there are unsaved changes (the timer does it every
    // minute).
    void WriteRecovery();
    // Reads the project file again, keeping the expanded items and the selection where they
    // still exist. A file that no longer reads (damaged, of a newer version) is reported and
    // the window keeps what it shows.
    bool Reload();

private:
    bool MayLookNow() const;
    template <typename SaveStep>
    bool UnderFolderLock(SaveStep save);
    void ChangedOutside(const CDiskBaseline::Changes& changes);
    void ProjectFileChangedOutside();
    StaleProjectChoice AskAboutTheirs();

    C3SplitFrame& m_frame;
    CProjectWatch* m_watch;
    CProjectLockFile m_lock;
    QTimer m_recoveryTimer;
    bool m_toldRecoveryFailed = false;
    bool m_reacting = false;
    bool m_overwriteChosen = false;
};

} // namespace kestra
