#pragma once

#include "panes/signals_listener.h"

#include <QObject>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace kestra {

class C3SplitFrame;
class CBlockDiagramBar;
class CDockBars;
class CProjectWindows;
class CSignalListView;
struct CMainActions;
struct UiContext;

// The "SIGNAL LIST" bar: the pane shared by every project window, its caption and context
// menu, what the project windows tell it, and the exchange of port changes with the block
// diagram in both directions.
class CSignalListController : public QObject, public CSignalsListener {
    Q_OBJECT

public:
    CSignalListController(CDockBars& bars, const CMainActions& actions, const UiContext& ui,
                          CProjectWindows& windows, CBlockDiagramBar& diagram, std::function<void()> changed);
    ~CSignalListController() override;

    CSignalListView* View() const { return m_view; }
    // The shared move commands speak of signals while the focus is in the pane.
    void UpdateActions(const QWidget* focus) const;
    // The signal list changed a module's signals: the block diagram hears it.
    void SignalsChanged(CProjectSession& session, CHierarchyItem* owner) override;

signals:
    // After the block diagram has heard of the change.
    void signalsChanged(kestra::CProjectSession* session, kestra::CHierarchyItem* owner);

private:
    void Connect(C3SplitFrame* frame);
    // The active project window's selection, after the shown rows are committed.
    void ShowProject(C3SplitFrame* frame);

    const CMainActions& m_actions;
    CSignalListView* m_view;
    CBlockDiagramBar& m_diagram;
    std::function<void()> m_changed;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace kestra
