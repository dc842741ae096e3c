#include "projectframe/project_windows.h"

#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/kst_tree_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace kestra {

CProjectWindows::CProjectWindows(QMdiArea& area, QObject* parent) : QObject(parent), m_area(area) {
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        // The area also deactivates its windows while the application is in the background: only
        // a window that became active, or the last one gone, changes what the bars show.
        C3SplitFrame* frame = sub != nullptr ? qobject_cast<C3SplitFrame*>(sub->widget()) : nullptr;
        if (frame != nullptr && !frame->IsClosing())
            emit activated(frame);
        else if (All().isEmpty())
            emit activated(nullptr);
    });
}

C3SplitFrame* CProjectWindows::Active() const {
    QMdiSubWindow* sub = m_area.activeSubWindow();
    if (sub == nullptr)
        sub = m_area.currentSubWindow();
    auto* frame = sub != nullptr ? qobject_cast<C3SplitFrame*>(sub->widget()) : nullptr;
    return frame != nullptr && !frame->IsClosing() ? frame : nullptr;
}

QList<C3SplitFrame*> CProjectWindows::All() const {
    QList<C3SplitFrame*> frames;
    for (QMdiSubWindow* sub : m_area.subWindowList()) {
        auto* frame = qobject_cast<C3SplitFrame*>(sub->widget());
        if (frame != nullptr && !frame->IsClosing())
            frames << frame;
    }
    return frames;
}

C3SplitFrame* CProjectWindows::OfSession(const CProjectSession* session) const {
    for (C3SplitFrame* frame : All()) {
        if (&frame->Session() == session)
            return frame;
    }
    return nullptr;
}

C3SplitFrame* CProjectWindows::OfFile(const std::string& projectPath) const {
    for (C3SplitFrame* frame : All()) {
        if (frame->Doc().GetPathName() == projectPath)
            return frame;
    }
    return nullptr;
}

C3SplitFrame* CProjectWindows::Add(std::unique_ptr<C3SplitFrame> owned) {
    C3SplitFrame* frame = owned.release();
    QMdiSubWindow* sub = m_area.addSubWindow(frame);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(CHierarchyIcons::CommandIcon("kestra"));
    emit added(frame);
    sub->showMaximized();
    m_area.setActiveSubWindow(sub);
    frame->TreeView()->setFocus();
    return frame;
}

void CProjectWindows::Activate(C3SplitFrame* frame) {
    m_area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame->parentWidget()));
}

} // namespace kestra
