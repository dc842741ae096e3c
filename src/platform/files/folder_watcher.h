#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class QSocketNotifier;

namespace kestra {

// Tells when anything in a set of folders changes: a file written in place, created, removed
// or renamed into place. One inotify watch per folder follows every file in it, so a project
// of thousands of sources in a few folders needs only a few of the system's watches (which
// QFileSystemWatcher would spend one per file on, since its folder watches miss writes in
// place).
class CFolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit CFolderWatcher(QObject* parent = nullptr);
    ~CFolderWatcher() override;
    CFolderWatcher(const CFolderWatcher&) = delete;
    CFolderWatcher& operator=(const CFolderWatcher&) = delete;

    // Watches exactly these folders from now on. The result lists the folders the system
    // refused (its limit of watches reached, or no such folder).
    QStringList SetFolders(const QStringList& folders);
    QStringList Folders() const;
    // The system gave no watcher at all: nothing is followed.
    bool Available() const { return m_fd >= 0; }

signals:
    // Something in one of the folders changed (several changes may come as one).
    void changed();

private:
    void ReadEvents();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QHash<QString, int> m_watches; // folder -> watch descriptor
};

} // namespace kestra
