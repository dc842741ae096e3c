#include "signallist/signal_list_controller.h"

#include "actions/action_table.h"
#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "signallist/signal_list_view.h"

#include <QDockWidget>
#include <QMenu>

namespace kestra {

namespace {

QString BarTitle(const QString& caption) {
    const QString title = QStringLiteral("SIGNAL LIST");
    return caption.isEmpty() ? title : title + QStringLiteral(": ") + caption;
}

} // namespace

CSignalListController::CSignalListController(CDockBars& bars, const CMainActions& actions,
                                             const UiContext& ui, CProjectWindows& windows,
                                             CBlockDiagramBar& diagram, std::function<void()> changed)
    : m_actions(actions), m_view(new CSignalListView(ui.settings, bars.SignalListBar())), m_diagram(diagram),
      m_changed(std::move(changed)), m_menu(std::make_unique<QMenu>()) {
    bars.SignalListBar()->setWidget(m_view);
    m_view->SetListener(this);
    AddMenuActions(*m_menu, actions.SignalContextMenu());
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { m_changed(); });
    connect(m_view, &CSignalListView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        m_changed();
        m_menu->popup(globalPos);
    });
    connect(m_view, &CSignalListView::commandStateChanged, this, [this] { m_changed(); });
    QDockWidget* bar = bars.SignalListBar();
    connect(m_view, &CSignalListView::captionChanged, bar,
            [bar](const QString& caption) { bar->setWindowTitle(BarTitle(caption)); });
    // The block diagram's port edits reach the signal list.
    connect(&m_diagram, &CBlockDiagramBar::signalsEdited, m_view,
            [this](CProjectSession* session, CHierarchyItem* owner) {
                if (session != nullptr)
                    m_view->OnSignalsChangedElsewhere(*session, owner);
            });
    connect(&windows, &CProjectWindows::added, this, &CSignalListController::Connect);
    connect(&windows, &CProjectWindows::activated, this, &CSignalListController::ShowProject);
}

CSignalListController::~CSignalListController() {
    m_view->SetListener(nullptr);
}

void CSignalListController::UpdateActions(const QWidget* focus) const {
    SetMoveWording(m_actions, m_view->Contains(focus) ? MoveWording::Signals : MoveWording::Modules);
}

void CSignalListController::SignalsChanged(CProjectSession& session, CHierarchyItem* owner) {
    m_diagram.OnSignalsChangedElsewhere(&session, owner);
    emit signalsChanged(&session, owner);
    m_changed();
}

void CSignalListController::ShowProject(C3SplitFrame* frame) {
    CProjectSession* session = frame != nullptr ? &frame->Session() : nullptr;
    CHierarchyItem* item = session != nullptr ? session->Selected() : nullptr;
    CSignalGrid& grid = m_view->Grid();
    if (item != nullptr && grid.Session() == session && grid.Owner() == item)
        return;
    m_view->CommitItem(grid.Owner());
    m_view->SetOwner(item != nullptr ? session : nullptr, item);
}

void CSignalListController::Connect(C3SplitFrame* frame) {
    connect(frame, &C3SplitFrame::sharedPanesReload, m_view,
            [this](CProjectSession* session, CHierarchyItem* item, int panes) {
                if ((panes & CProjectObserver::kSignalList) != 0)
                    m_view->SetOwner(session, item);
            });
    connect(frame, &C3SplitFrame::sharedPanesCommit, m_view, &CSignalListView::CommitItem);
    connect(frame, &C3SplitFrame::sessionEnding, m_view, &CSignalListView::ForgetSession);
    connect(&frame->TreeView()->Model(), &CHierarchyModel::itemAboutToBeRemoved, m_view,
            &CSignalListView::ForgetItem);
}

} // namespace kestra
