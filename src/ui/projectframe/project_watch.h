#pragma once

#include "files/folder_watcher.h"
#include "operations/outside_changes.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace kestra {

class CKSTDoc;

// Watches the folders that hold an open project's file and its modules' sources, and tells
// once a burst of changes has settled which of the files another program changed. Folders, not
// files, are watched: a folder sees its files written in place, created, removed and renamed
// into place (as many editors save), and a project of thousands of sources in a few folders
// needs a few of the system's watches. The window's own writes are not reported (see
// CDiskBaseline).
class CProjectWatch : public QObject {
    Q_OBJECT

public:
    // How long the files must be quiet before they are looked at.
    static constexpr int kSettleMilliseconds = 250;

    explicit CProjectWatch(CKSTDoc& doc, QObject* parent = nullptr);

    // Takes the files as they are now and watches their folders (after opening, reloading,
    // saving under a new name).
    void Restart();
    // Stops watching (the project is closing).
    void Stop();
    // Looks again once the files have settled (a look that had to wait).
    void LookLater() { m_settle.start(); }
    // Asked before each look: a look that may not happen now waits for the next quiet moment.
    void SetReadyCheck(std::function<bool()> ready) { m_ready = std::move(ready); }
    // Whether a path could not be watched (the system's limit of watches was reached).
    bool Incomplete() const { return m_incomplete; }

signals:
    void changedOutside(const kestra::CDiskBaseline::Changes& changes);

private:
    void Look();
    void WatchFolders();

    CKSTDoc& m_doc;
    CFolderWatcher m_watcher;
    QTimer m_settle;
    CDiskBaseline m_baseline;
    std::function<bool()> m_ready;
    bool m_incomplete = false;
};

} // namespace kestra
