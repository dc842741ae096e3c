#include "projectframe/project_watch.h"

#include "project/kst_doc.h"
#include "project/message_log.h"
#include "strings/qt_text.h"

namespace kestra {

CProjectWatch::CProjectWatch(CKSTDoc& doc, QObject* parent) : QObject(parent), m_doc(doc) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &CProjectWatch::Look);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
}

void CProjectWatch::Restart() {
    m_settle.stop();
    m_baseline.Take(m_doc);
    WatchFolders();
}

void CProjectWatch::Stop() {
    m_settle.stop();
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
}

// The folders of the project as it is now: a module added in another folder is watched from
// the next look on. A folder the system refuses (inotify's limit of watches) is said once in
// the log; its files are still looked at whenever another folder changes.
void CProjectWatch::WatchFolders() {
    QStringList wanted;
    for (const std::filesystem::path& folder : CDiskBaseline::Folders(m_doc))
        wanted << PathToQt(folder);
    const QStringList watched = m_watcher.directories();
    QStringList gone;
    for (const QString& folder : watched) {
        if (!wanted.contains(folder))
            gone << folder;
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString& folder : wanted) {
        if (!watched.contains(folder))
            added << folder;
    }
    if (added.isEmpty())
        return;
    const QStringList refused = m_watcher.addPaths(added);
    if (!refused.isEmpty() && !m_incomplete)
        m_doc.Log().AppendWarning("Changes made by other programs in " +
                                  PathFromQt(refused.front()).string() +
                                  " are not followed: the system allows no more watches. Raise "
                                  "fs.inotify.max_user_watches, or analyze after editing there.");
    m_incomplete = !refused.isEmpty();
}

void CProjectWatch::Look() {
    if (m_ready && !m_ready()) {
        m_settle.start();
        return;
    }
    const CDiskBaseline::Changes changes = m_baseline.Look(m_doc);
    WatchFolders();
    if (changes.Any())
        emit changedOutside(changes);
}

} // namespace kestra
