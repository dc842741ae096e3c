#pragma once

#include <QList>
#include <QObject>
#include <memory>
#include <string>

class QMdiArea;

namespace kestra {

class C3SplitFrame;
class CProjectSession;

// The project windows in the main window's multi-document area: the active one, all of them,
// the one of a session or a project file, and the signal that a new one is there, through
// which the panes' controllers connect themselves to it. Windows that are closing count as
// gone.
class CProjectWindows : public QObject {
    Q_OBJECT

public:
    explicit CProjectWindows(QMdiArea& area, QObject* parent = nullptr);

    QMdiArea& Area() const { return m_area; }
    // The active project window; without an active window (the application is in the
    // background) the current one.
    C3SplitFrame* Active() const;
    QList<C3SplitFrame*> All() const;
    C3SplitFrame* OfSession(const CProjectSession* session) const;
    C3SplitFrame* OfFile(const std::string& projectPath) const;

    // Shows the window maximised in the area, makes it active and announces it.
    C3SplitFrame* Add(std::unique_ptr<C3SplitFrame> frame);
    void Activate(C3SplitFrame* frame);

signals:
    void added(kestra::C3SplitFrame* frame);
    // Another project window became the active one; none when the last one went away. The bars
    // shared by the project windows show the active window's selection.
    void activated(kestra::C3SplitFrame* frame);

private:
    QMdiArea& m_area;
};

} // namespace kestra
