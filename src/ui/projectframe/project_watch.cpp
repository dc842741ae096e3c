#include "projectframe/project_watch.h"

#include "project/kst_doc.h"
#include "project/message_log.h"
#include "strings/qt_text.h"

#include <QFileInfo>
#include <QSet>

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
    WatchPaths();
}

void CProjectWatch::Stop() {
    m_settle.stop();
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
}

// The folders of the project and its files as they are now: a module added elsewhere is
// watched from the next look on. The folders see files renamed into place, created and
// removed; the files see writes in place. Paths the system refuses (inotify's limit of watches)
// are said once in the log: their files are still looked at whenever anything else changes.
void CProjectWatch::WatchPaths() {
    QSet<QString> wanted;
    for (const std::filesystem::path& folder : CDiskBaseline::Folders(m_doc))
        wanted.insert(PathToQt(folder));
    for (const std::filesystem::path& file : CDiskBaseline::Files(m_doc))
        wanted.insert(PathToQt(file));
    QStringList gone;
    QSet<QString> watched;
    for (const QStringList& list : {m_watcher.directories(), m_watcher.files()}) {
        for (const QString& path : list) {
            if (wanted.contains(path))
                watched.insert(path);
            else
                gone << path;
        }
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString& path : std::as_const(wanted)) {
        if (!watched.contains(path) && QFileInfo::exists(path))
            added << path;
    }
    if (added.isEmpty())
        return;
    const QStringList refused = m_watcher.addPaths(added);
    if (!refused.isEmpty() && !m_incomplete)
        m_doc.Log().AppendWarning("Changes made by other programs to " + std::to_string(refused.size()) +
                                  " files are noticed only when another file of the project changes: the "
                                  "system allows no more watches (raise fs.inotify.max_user_watches).");
    m_incomplete = !refused.isEmpty();
}

void CProjectWatch::Look() {
    if (m_ready && !m_ready()) {
        m_settle.start();
        return;
    }
    const CDiskBaseline::Changes changes = m_baseline.Look(m_doc);
    WatchPaths();
    if (changes.Any())
        emit changedOutside(changes);
}

} // namespace kestra
