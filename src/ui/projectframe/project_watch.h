#pragma once

#include "operations/outside_changes.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

namespace kestra {

class CKSTDoc;

// Watches the folders that hold an open project's file and its modules' sources, and tells
// once a burst of changes has settled which of the files another program changed. The folders
// are watched for files renamed into place (as many editors save), created and removed, and
// the files for writes in place. The window's own writes are not reported (see CDiskBaseline).
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
    void WatchPaths();

    CKSTDoc& m_doc;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    CDiskBaseline m_baseline;
    std::function<bool()> m_ready;
    bool m_incomplete = false;
};

} // namespace kestra
