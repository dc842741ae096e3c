#pragma once

#include "library/library_roots.h"
#include "mainframe/main_actions.h"
#include "mainframe/recent_file_list.h"
#include "panes/signal_grid.h"
#include "tools/external_tools.h"

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace kestra {

class C3SplitFrame;
class CBlockDiagramBar;
class CDockBars;
class CHelpWindow;
class CLibraryBar;
class CSignalListView;
struct UiContext;

// The application's main window: the project windows in a multi-document area, the three
// docking bars, the menus, the main toolbar and the status bar. It only assembles panes and
// actions; every command goes to the active project window's panes or to the core.
class CMainFrame : public QMainWindow, public CSignalsListener {
    Q_OBJECT

public:
    explicit CMainFrame(const UiContext& ui, QWidget* parent = nullptr);
    ~CMainFrame() override;

    const CMainActions& Actions() const { return m_actions; }
    CDockBars& Bars() { return *m_bars; }
    CSignalListView* SignalList() const { return m_signalList; }
    CBlockDiagramBar* DiagramBar() const { return m_diagramBar; }
    CLibraryBar* LibraryBar() const { return m_libraryBar; }
    // The help window, once Help has shown a document.
    CHelpWindow* HelpWindow() const { return m_help; }
    QToolBar* DiagramToolBar() const { return m_diagramToolBar; }
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* MainToolBar() const { return m_mainToolBar; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    // The active project window, unless it is closing.
    C3SplitFrame* ActiveProject() const;
    QList<C3SplitFrame*> Projects() const;

    // Opens the project (or brings its window forward when it is open already).
    bool OpenProjectFile(const std::string& path);
    void UpdateActions();

    void OnNewProject();
    void OnOpenProject();
    void OnOpenRecentFile(int index);
    void OnSaveProject();
    void OnSaveProjectAs();
    void OnCloseProject();
    void OnProperties();
    void OnPrint();
    void OnPrintPreview();

    // The Tools menu: each launch runs in the active project's destination folder with its
    // link parameter, and shows the tool message when nothing starts.
    void LaunchTool(ExternalTool tool);
    void LaunchSynthesizer() { LaunchTool(ExternalTool::Synthesizer); }
    void LaunchImplementer() { LaunchTool(ExternalTool::Implementer); }
    void LaunchVhdlSimulator() { LaunchTool(ExternalTool::VhdlSimulator); }
    void LaunchFunctionalSimulator() { LaunchTool(ExternalTool::FunctionalSimulator); }
    void LaunchTimingSimulator() { LaunchTool(ExternalTool::TimingSimulator); }
    // Why a tool did not start.
    void ShowToolMessage(LaunchOutcome outcome);
    void OnToolSettings();
    // The design flow panel, modal; the main window is minimized while it is open.
    void OnDesignFlow();

    // The signal list changed a module's signals: the rest of the window hears it.
    void SignalsChanged(CProjectSession& session, CHierarchyItem* owner) override;

signals:
    void signalsChanged(kestra::CProjectSession* session, kestra::CHierarchyItem* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void ConnectCommands();
    void UpdateRecentFileActions();
    void UpdateWindowTitle();
    C3SplitFrame* AddProjectFrame(std::unique_ptr<C3SplitFrame> frame);
    void ShowTreeContextMenu(const QPoint& globalPos);
    void OnRemove();
    enum class ClipboardCommand { Cut, Copy, Paste };
    enum class Pane { Tree, List, Signals, Diagram };
    void OnCutCopyPaste(ClipboardCommand which);
    void FocusPane(Pane pane);
    void OnAbout();
    void ConnectToolCommands();
    void OpenHelpFile(bool manual);
    void CreateSignalList();
    void CreateLibraryBar();
    void ConnectLibraryCommands();
    void UpdateLibraryActions();
    void OnInsertLibraryModule(bool predefined);
    void OnCreateLibraryModule(bool predefined);
    void OnLibraryModuleClicked(const std::filesystem::path& file);
    // An unnamed library or predefined module block in the diagram starts the insertion.
    void OnDiagramLibraryInsertion(LibraryKind kind);
    void CreateDiagramActions();
    void CreateDiagramBar();
    void ConnectDiagramCommands();
    void ConnectDiagramBar(C3SplitFrame* frame);
    void UpdateDiagramActions();
    // Runs a block diagram command while the bar is shown.
    void OnDiagram(const std::function<void(CBlockDiagramBar&)>& command);
    // Export Diagram...: the picture as an SVG, PDF or PNG file the user names.
    void OnExportDiagram();
    // The focus is in the block diagram pane.
    bool DiagramFocus() const;
    // The focus widget the commands answer to: while the menu bar has the keyboard, the widget
    // that had it before.
    QWidget* FocusWidget() const;
    void ConnectSignalList(C3SplitFrame* frame);
    // The focus is in the signal list (its grid or a cell editor).
    bool SignalListFocus() const;

    const UiContext& m_ui;
    CRecentFileList m_recentFiles;
    CMainActions m_actions;
    QMdiArea* m_mdiArea;
    QToolBar* m_mainToolBar = nullptr;
    CDockBars* m_bars = nullptr;
    QMenu* m_treeMenu = nullptr;
    QMenu* m_listMenu = nullptr;
    QMenu* m_signalMenu = nullptr;
    CSignalListView* m_signalList = nullptr;
    CLibraryBar* m_libraryBar = nullptr;
    CBlockDiagramBar* m_diagramBar = nullptr;
    QToolBar* m_diagramToolBar = nullptr;
    QMenu* m_diagramMenu = nullptr;
    QMenu* m_colourMenu = nullptr;
    QPointer<QWidget> m_focusBeforeMenu;
    CHelpWindow* m_help = nullptr;
};

} // namespace kestra
