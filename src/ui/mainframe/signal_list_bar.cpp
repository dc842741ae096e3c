// The main window's signal list bar: the pane shared by every project window, its context menu
// and what the project windows tell it.
#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_frame.h"
#include "mainframe/project_frame.h"
#include "mainframe/ui_context.h"
#include "signallist/signal_list_view.h"

#include <QApplication>
#include <QDockWidget>
#include <QMenu>

namespace kestra {

namespace {

QString BarTitle(const QString& caption) {
    const QString title = QStringLiteral("SIGNAL LIST");
    return caption.isEmpty() ? title : title + QStringLiteral(": ") + caption;
}

} // namespace

void CMainFrame::CreateSignalList() {
    m_signalList = new CSignalListView(m_ui.settings, m_bars->SignalListBar());
    m_bars->SignalListBar()->setWidget(m_signalList);
    m_signalList->SetListener(this);
    m_signalMenu = new QMenu(this);
    AddMenuActions(*m_signalMenu, m_actions.SignalContextMenu());
    connect(m_signalMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
    connect(m_signalList, &CSignalListView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        UpdateActions();
        m_signalMenu->popup(globalPos);
    });
    connect(m_signalList, &CSignalListView::commandStateChanged, this, &CMainFrame::UpdateActions);
    connect(m_signalList, &CSignalListView::captionChanged, this,
            [this](const QString& caption) { m_bars->SignalListBar()->setWindowTitle(BarTitle(caption)); });
    // The signal list and the block diagram keep each other's view of a module's ports.
    connect(this, &CMainFrame::signalsChanged, m_diagramBar, &CBlockDiagramBar::OnSignalsChangedElsewhere);
    connect(m_diagramBar, &CBlockDiagramBar::signalsEdited, m_signalList,
            [this](CProjectSession* session, CHierarchyItem* owner) {
                if (session != nullptr)
                    m_signalList->OnSignalsChangedElsewhere(*session, owner);
            });
    connect(m_actions.insertRow, &QAction::triggered, this, [this] {
        if (SignalListFocus())
            m_signalList->OnInsert();
        UpdateActions();
    });
}

void CMainFrame::ConnectSignalList(C3SplitFrame* frame) {
    connect(frame, &C3SplitFrame::sharedPanesReload, m_signalList,
            [this](CProjectSession* session, CHierarchyItem* item, int panes) {
                if ((panes & CProjectObserver::kSignalList) != 0)
                    m_signalList->SetOwner(session, item);
            });
    connect(frame, &C3SplitFrame::sharedPanesCommit, m_signalList, &CSignalListView::CommitItem);
    connect(frame, &C3SplitFrame::sessionEnding, m_signalList, &CSignalListView::ForgetSession);
    connect(&frame->TreeView()->Model(), &CHierarchyModel::itemAboutToBeRemoved, m_signalList,
            &CSignalListView::ForgetItem);
}

bool CMainFrame::SignalListFocus() const {
    const QWidget* focus = FocusWidget();
    return m_signalList != nullptr && focus != nullptr &&
           (focus == m_signalList || m_signalList->isAncestorOf(focus));
}

void CMainFrame::SignalsChanged(CProjectSession& session, CHierarchyItem* owner) {
    emit signalsChanged(&session, owner);
    UpdateActions();
}

} // namespace kestra
