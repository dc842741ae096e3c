#pragma once

#include "actions/action_table.h"
#include "diagram/diagram_actions.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace kestra {

class C3SplitFrame;
class CBlockDiagramBar;
class CDockBars;
class CProjectWindows;
struct CMainActions;
struct UiContext;

// The "BLOCK DIAGRAM" bar: the pane shared by every project window, its commands (the
// "Bloc&k Diagram" menu, the context menu, the block diagram toolbar with its four drop-down
// toolbars and the colour picker) and what the project windows tell it.
class CDiagramController : public QObject {
    Q_OBJECT

public:
    CDiagramController(QMainWindow& window, CDockBars& bars, CMainActions& actions, const UiContext& ui,
                       CProjectWindows& windows, std::function<void()> changed);
    ~CDiagramController() override;

    CBlockDiagramBar* Bar() const { return m_bar; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // Adds the "Bloc&k Diagram" menu to the menu bar.
    void AddMenu(QMenuBar& menuBar);
    // The commands are enabled while a module is shown; check marks and button images follow
    // the current line attributes and the pane's kinds.
    void UpdateActions();

private:
    void FillMenu(QMenu& menu, bool contextMenu) const;
    void MakeColourMenu();
    void MakeToolBars(QMainWindow& window);
    void ConnectCommands();
    void ConnectAttributes();
    void Connect(C3SplitFrame* frame);
    // The active project window's selection, after the shown module is written back.
    void ShowProject(C3SplitFrame* frame);
    // Runs a block diagram command while the bar is shown.
    void OnDiagram(const std::function<void(CBlockDiagramBar&)>& command);
    void OnCommand(QAction* action, std::function<void(CBlockDiagramBar&)> command);
    // Export Diagram...: the picture as an SVG, PDF or PNG file the user names.
    void OnExport();
    bool Shown() const;
    void UpdateChecks();
    void UpdateUndoTips();

    QMainWindow& m_window;
    CDockBars& m_bars;
    CMainActions& m_actions;
    CDiagramActions& m_diagramActions;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    std::function<void()> m_changed;
    CBlockDiagramBar* m_bar;
    QToolBar* m_toolBar = nullptr;
    std::unique_ptr<QMenu> m_colourMenu;
    std::unique_ptr<QMenu> m_contextMenu;
    std::vector<std::unique_ptr<QMenu>> m_dropDownMenus;
};

} // namespace kestra
