#include "projectframe/project_watch.h"

#include "project/kst_doc.h"
#include "project/message_log.h"
#include "strings/qt_text.h"

namespace kestra {

CProjectWatch::CProjectWatch(CKSTDoc& doc, QObject* parent) : QObject(parent), m_doc(doc) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &CProjectWatch::Look);
    connect(&m_watcher, &CFolderWatcher::changed, &m_settle, qOverload<>(&QTimer::start));
}

void CProjectWatch::Restart() {
    m_settle.stop();
    m_baseline.Take(m_doc);
    WatchFolders();
}

void CProjectWatch::Stop() {
    m_settle.stop();
    static_cast<void>(m_watcher.SetFolders({}));
}

// The folders of the project as it is now: a module added in another folder is watched from
// the next look on. A folder the system refuses (its limit of watches reached) is said once in
// the log: its files are still looked at whenever another folder of the project changes.
void CProjectWatch::WatchFolders() {
    QStringList folders;
    for (const std::filesystem::path& folder : m_baseline.Folders())
        folders << PathToQt(folder);
    const QStringList refused = m_watcher.SetFolders(folders);
    if (!refused.isEmpty() && !m_incomplete)
        m_doc.Log().AppendWarning("Changes made by other programs in " +
                                  PathFromQt(refused.front()).string() +
                                  " are noticed only when another folder of the project changes: the system "
                                  "allows no more watches (see fs.inotify.max_user_watches and "
                                  "fs.inotify.max_user_instances).");
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
