#pragma once

#include "operations/outside_changes.h"
#include "project/kst_doc.h"

#include <QObject>

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

    // The project was opened or created, or saved under another name: watch its files.
    void Started();
    // The project is closing.
    void Stopped();
    // Saves the project; after "reload theirs" reads it again instead. False when not saved.
    bool Save();
    // Reads the project file again, keeping the expanded items and the selection where they
    // still exist. A file that no longer reads (damaged, of a newer version) is reported and
    // the window keeps what it shows.
    bool Reload();

private:
    bool MayLookNow() const;
    void ChangedOutside(const CDiskBaseline::Changes& changes);
    void ProjectFileChangedOutside();
    StaleProjectChoice AskAboutTheirs();

    C3SplitFrame& m_frame;
    CProjectWatch* m_watch;
    bool m_reacting = false;
    bool m_overwriteChosen = false;
};

} // namespace kestra
