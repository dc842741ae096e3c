#include "files/folder_watcher.h"

#include <QFile>
#include <QSocketNotifier>
#include <array>
#include <sys/inotify.h>
#include <unistd.h>

namespace kestra {

namespace {

// Every way a file in the folder can come to hold other bytes, and the folder itself going.
constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                        IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                        IN_ONLYDIR;

} // namespace

CFolderWatcher::CFolderWatcher(QObject* parent)
    : QObject(parent), m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (m_fd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CFolderWatcher::ReadEvents);
}

CFolderWatcher::~CFolderWatcher() {
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

QStringList CFolderWatcher::SetFolders(const QStringList& folders) {
    if (m_fd < 0)
        return folders;
    const QSet<QString> wanted(folders.begin(), folders.end());
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        ::inotify_rm_watch(m_fd, it.value());
        it = m_watches.erase(it);
    }
    QStringList refused;
    for (const QString& folder : wanted) {
        if (m_watches.contains(folder))
            continue;
        const int watch = ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), kFolderEvents);
        if (watch < 0)
            refused << folder;
        else
            m_watches.insert(folder, watch);
    }
    return refused;
}

QStringList CFolderWatcher::Folders() const {
    return m_watches.keys();
}

// The events themselves do not matter, only that there were some: the watcher's user looks at
// the files. A folder that went is forgotten, so that the next SetFolders watches it again.
void CFolderWatcher::ReadEvents() {
    alignas(inotify_event) std::array<char, 16384> buffer{};
    bool any = false;
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer.data(), buffer.size());
        if (length <= 0)
            break;
        any = true;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            if ((event->mask & IN_IGNORED) != 0) {
                for (auto it = m_watches.begin(); it != m_watches.end(); ++it) {
                    if (it.value() == event->wd) {
                        m_watches.erase(it);
                        break;
                    }
                }
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (any)
        emit changed();
}

} // namespace kestra
