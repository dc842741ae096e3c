#pragma once

#include "actions/action_table.h"
#include "actions/edit_router.h"
#include "mainframe/main_actions.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

class QMdiArea;
class QToolBar;

namespace kestra {

class C3SplitFrame;
class CBlockDiagramBar;
class CDiagramController;
class CDockBars;
class CEditorController;
class CFileController;
class CHelpController;
class CHelpWindow;
class CHierarchyController;
class CLibraryBar;
class CLibraryController;
class CLockIndicators;
class CParameterController;
class CProjectWindows;
class CRecentFileList;
class CSignalListController;
class CSignalListView;
class CStartPanel;
class CToolsController;
struct UiContext;

// The application's main window: the project windows in a multi-document area (the start
// panel there while there is none), the three docking bars, the menus, the main toolbar and the status bar.
// It assembles the panes' controllers, which own their commands, and routes the edit commands to the pane
// that has the focus.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(const UiContext& ui, QWidget* parent = nullptr);
    ~CMainFrame() override;

    const CMainActions& Actions() const { return m_actions; }
    CDockBars& Bars() { return *m_bars; }
    CSignalListView* SignalList() const;
    CSignalListController& SignalListController() const { return *m_signals; }
    CEditorController& EditorController() const { return *m_editor; }
    CToolsController& ToolsController() const { return *m_tools; }
    CBlockDiagramBar* DiagramBar() const;
    CLibraryBar* LibraryBar() const;
    // The help window, once Help has shown a document.
    CHelpWindow* HelpWindow() const;
    QToolBar* DiagramToolBar() const;
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* MainToolBar() const { return m_mainToolBar; }
    CLockIndicators& LockIndicators() const { return *m_locks; }
    // The start panel, shown while no project window is open.
    CStartPanel* StartPanel() const { return m_start; }
    CRecentFileList& RecentFiles();
    // The active project window, unless it is closing.
    C3SplitFrame* ActiveProject() const;
    QList<C3SplitFrame*> Projects() const;

    // Opens the project (or brings its window forward when it is open already).
    bool OpenProjectFile(const std::string& path);
    // Sets every command's enabled state from the focus and the panes' states.
    void UpdateActions();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Pane { Tree, List, Signals, Diagram };

    void CreateControllers();
    void CreateMenus();
    void CreateToolBar();
    void ConnectEditCommands();
    void ConnectViewCommands();
    void ConnectFocusTracking();
    void OnProjectAdded(C3SplitFrame* frame);
    void OnPrint(bool preview);
    void FocusPane(Pane pane);
    void ToggleDiagramMaximized();
    void UpdateWindowTitle();
    void UpdateStartPanel();
    // The focus widget the commands answer to: while the menu bar has the keyboard, the widget
    // that had it before.
    QWidget* FocusWidget() const;

    const UiContext& m_ui;
    CMainActions m_actions;
    QMdiArea* m_mdiArea;
    CProjectWindows* m_windows;
    QToolBar* m_mainToolBar = nullptr;
    CStartPanel* m_start = nullptr;
    CDockBars* m_bars = nullptr;
    CLockIndicators* m_locks = nullptr;
    CEditRouter m_router;
    CActionRules m_rules;
    std::unique_ptr<CFileController> m_files;
    std::unique_ptr<CHelpController> m_help;
    std::unique_ptr<CHierarchyController> m_hierarchy;
    std::unique_ptr<CParameterController> m_parameters;
    std::unique_ptr<CDiagramController> m_diagram;
    std::unique_ptr<CSignalListController> m_signals;
    std::unique_ptr<CLibraryController> m_library;
    std::unique_ptr<CToolsController> m_tools;
    std::unique_ptr<CEditorController> m_editor;
    QPointer<QWidget> m_focusBeforeMenu;
    // Set while the window is being destroyed: its controllers are gone.
    bool m_destroying = false;
};

} // namespace kestra
