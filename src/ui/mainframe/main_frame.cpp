#include "mainframe/main_frame.h"

#include "diagram/block_diagram_bar.h"
#include "diagram/diagram_controller.h"
#include "editor/editor_controller.h"
#include "help/help_controller.h"
#include "hierarchy/hierarchy_controller.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/kst_tree_view.h"
#include "library/library_controller.h"
#include "mainframe/dock_bars.h"
#include "mainframe/lock_indicators.h"
#include "mainframe/start_panel.h"
#include "mainframe/ui_context.h"
#include "paramlist/kst_list_view.h"
#include "paramlist/parameter_controller.h"
#include "projectframe/file_controller.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "signallist/signal_list_controller.h"
#include "signallist/signal_list_view.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"
#include "tools/qt_tool_runner.h"
#include "tools/tools_controller.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

namespace kestra {

namespace {

// How long a command's word stays on the status bar.
constexpr int kStatusMessageTime = 10000;

// The edit commands by their actions; Print and Print Preview are the one Print command.
struct EditAction {
    QAction* CMainActions::*member;
    EditCommand command;
};
constexpr EditAction kEditActions[] = {
    {&CMainActions::undo, EditCommand::Undo},
    {&CMainActions::redo, EditCommand::Redo},
    {&CMainActions::cut, EditCommand::Cut},
    {&CMainActions::copy, EditCommand::Copy},
    {&CMainActions::paste, EditCommand::Paste},
    {&CMainActions::remove, EditCommand::Remove},
    {&CMainActions::selectAll, EditCommand::SelectAll},
    {&CMainActions::copyView, EditCommand::CopyView},
    {&CMainActions::insertRow, EditCommand::Insert},
    {&CMainActions::moveToTop, EditCommand::MoveToTop},
    {&CMainActions::moveUp, EditCommand::MoveUp},
    {&CMainActions::moveDown, EditCommand::MoveDown},
    {&CMainActions::moveToBottom, EditCommand::MoveToBottom},
    {&CMainActions::print, EditCommand::Print},
    {&CMainActions::printPreview, EditCommand::Print},
};

bool IsProjectFileUrl(const QUrl& url) {
    return url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".kst"), Qt::CaseInsensitive);
}

} // namespace

CMainFrame::CMainFrame(const UiContext& ui, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_mdiArea(new QMdiArea(this)),
      m_windows(new CProjectWindows(*m_mdiArea, this)),
      m_router([this] { return CEditRouter::ChainOf(FocusWidget(), ActiveProject()); }),
      m_rules([this] { UpdateActions(); }) {
    setWindowIcon(CHierarchyIcons::CommandIcon("kestra"));
    setAcceptDrops(true);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    MakeMainActions(*this, m_actions);
    CreateToolBar();
    statusBar()->showMessage(QStringLiteral("Ready"));
    m_locks = new CLockIndicators(*statusBar(), CLockIndicators::PlatformReader(), this);
    CreateControllers();
    m_start = new CStartPanel(m_actions, *m_mdiArea->viewport());
    CreateMenus();
    ConnectEditCommands();
    ConnectViewCommands();
    ConnectFocusTracking();
    connect(m_windows, &CProjectWindows::added, this, &CMainFrame::OnProjectAdded);
    UpdateStartPanel();
    UpdateWindowTitle();
    UpdateActions();
}

CMainFrame::~CMainFrame() {
    m_destroying = true;
    // Focus and clipboard changes while the windows go away must not reach a half-destroyed frame.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    // Project windows close before the frame's controllers and bars go.
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList())
        delete sub;
}

void CMainFrame::CreateControllers() {
    auto changed = [this] { UpdateActions(); };
    m_bars = new CDockBars(*this, *m_mainToolBar, m_ui.settings);
    m_files = std::make_unique<CFileController>(*this, m_ui, m_actions, *m_windows, changed);
    m_help = std::make_unique<CHelpController>(*this, m_ui, m_actions);
    m_hierarchy = std::make_unique<CHierarchyController>(*this, m_ui, m_actions, *m_windows, changed);
    m_parameters = std::make_unique<CParameterController>(m_actions, *m_windows, changed);
    m_diagram = std::make_unique<CDiagramController>(*this, *m_bars, m_actions, m_ui, *m_windows, changed);
    m_bars->RestoreLayout();
    m_signals = std::make_unique<CSignalListController>(*m_bars, m_actions, m_ui, *m_windows,
                                                        *m_diagram->Bar(), changed);
    m_library = std::make_unique<CLibraryController>(*this, *m_bars, m_actions, m_ui, *m_windows,
                                                     m_diagram->Bar()->Pane(), changed);
    m_tools = std::make_unique<CToolsController>(*this, m_ui, m_actions, *m_windows, changed);
    m_editor = std::make_unique<CEditorController>(*this, *m_bars, m_ui, *m_windows, changed);
}

// The menus in their order, each a list of actions with separators as null entries.
void CMainFrame::CreateMenus() {
    const CMainActions& a = m_actions;
    const std::pair<const char*, QList<QAction*>> menus[] = {
        {"&File", QList<QAction*>{a.newProject, a.openProject, a.closeProject, a.saveProject, a.saveProjectAs,
                                  nullptr, a.properties, nullptr, a.print, a.printPreview, nullptr} +
                      a.recentFiles + QList<QAction*>{nullptr, a.exit}},
        {"&Edit", QList<QAction*>{a.undo, a.redo, nullptr, a.cut, a.copy, a.paste, a.remove, nullptr,
                                  a.selectAll, a.copyView, nullptr} +
                      m_editor->Actions().List()},
        {"&Module",
         {a.addModule,        a.insertLibrary, a.insertPredefined,   a.importDesign, nullptr,
          a.analyzeModule,    a.generate,      a.generateIndividual, nullptr,        a.createLibrary,
          a.createPredefined, nullptr,         a.editVhdl,           a.rename,       nullptr,
          a.moveToTop,        a.moveUp,        a.moveDown,           a.moveToBottom, nullptr,
          a.setNormal,        a.setLibrary,    a.setPredefined,      a.setPackage,   nullptr,
          a.expandAll,        a.collapseAll}},
        {"&Parameter", a.ListContextMenu()},
    };
    for (const auto& [title, actions] : menus)
        AddMenuActions(*menuBar()->addMenu(QString::fromLatin1(title)), actions);
    m_diagram->AddMenu(*menuBar());
    const std::pair<const char*, QList<QAction*>> more[] = {
        {"&View",
         {a.toolbar, a.statusBar, a.libraryBar, a.blockDiagram, a.signalList, a.vhdlEditor, nullptr,
          a.focusTree, a.focusList, a.focusSignals, a.focusDiagram, nullptr, a.maximizeDiagram}},
        {"&Tools",
         {a.synthesizer, a.implementer, a.vhdlSimulator, a.functionalSimulator, a.timingSimulator, nullptr,
          a.viewWaveform, nullptr, a.toolSettings, a.flowSettings, nullptr, a.designFlow}},
        {"&Window", {a.cascade, a.tile, a.nextWindow, a.previousWindow}},
        {"&Help", {a.userManual, a.tutorial, a.openExample, nullptr, a.about}},
    };
    for (const auto& [title, actions] : more)
        AddMenuActions(*menuBar()->addMenu(QString::fromLatin1(title)), actions);
    for (QAction* menu : menuBar()->actions())
        connect(menu->menu(), &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
}

void CMainFrame::CreateToolBar() {
    const CMainActions& a = m_actions;
    m_mainToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_mainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    AddToolBarActions(*m_mainToolBar, {a.newProject,
                                       a.openProject,
                                       a.saveProject,
                                       nullptr,
                                       a.cut,
                                       a.copy,
                                       a.paste,
                                       nullptr,
                                       a.addModule,
                                       a.insertLibrary,
                                       a.insertPredefined,
                                       a.remove,
                                       a.editVhdl,
                                       nullptr,
                                       a.analyzeModule,
                                       a.generate,
                                       a.generateIndividual,
                                       nullptr,
                                       a.designFlow,
                                       nullptr,
                                       a.print,
                                       a.userManual});
}

void CMainFrame::ConnectEditCommands() {
    for (const EditAction& edit : kEditActions) {
        QAction* action = m_actions.*edit.member;
        if (edit.command == EditCommand::Print)
            continue;
        connect(action, &QAction::triggered, this, [this, command = edit.command] {
            m_router.Run(command);
            UpdateActions();
        });
    }
    connect(m_actions.print, &QAction::triggered, this, [this] { OnPrint(false); });
    connect(m_actions.printPreview, &QAction::triggered, this, [this] { OnPrint(true); });
}

void CMainFrame::ConnectViewCommands() {
    const CMainActions& a = m_actions;
    auto hasProject = [this] { return ActiveProject() != nullptr; };
    m_rules.Add({
        {a.exit, [this] { close(); }},
        {a.focusTree, [this] { FocusPane(Pane::Tree); }, hasProject},
        {a.focusList, [this] { FocusPane(Pane::List); }, hasProject},
        {a.focusSignals, [this] { FocusPane(Pane::Signals); },
         [this] { return !m_bars->SignalListBar()->isHidden(); }},
        {a.focusDiagram, [this] { FocusPane(Pane::Diagram); },
         [this] { return !m_bars->BlockDiagramBar()->isHidden(); }},
        {a.maximizeDiagram, [this] { ToggleDiagramMaximized(); }},
        {a.cascade, [this] { m_mdiArea->cascadeSubWindows(); }, hasProject},
        {a.tile, [this] { m_mdiArea->tileSubWindows(); }, hasProject},
        {a.nextWindow, [this] { m_mdiArea->activateNextSubWindow(); }, hasProject},
        {a.previousWindow, [this] { m_mdiArea->activatePreviousSubWindow(); }, hasProject},
    });
    connect(a.toolbar, &QAction::toggled, m_mainToolBar, &QWidget::setVisible);
    connect(m_mainToolBar, &QToolBar::visibilityChanged, a.toolbar, &QAction::setChecked);
    connect(a.statusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);
    const std::pair<QAction*, QDockWidget*> bars[] = {{a.libraryBar, m_bars->LibraryBar()},
                                                      {a.blockDiagram, m_bars->BlockDiagramBar()},
                                                      {a.signalList, m_bars->SignalListBar()},
                                                      {a.vhdlEditor, m_bars->EditorBar()}};
    for (const auto& [action, bar] : bars) {
        action->setChecked(!bar->isHidden());
        connect(action, &QAction::triggered, bar, &QWidget::setVisible);
        connect(bar->toggleViewAction(), &QAction::toggled, action, &QAction::setChecked);
    }
    // Closing the maximized diagram's bar would leave an empty window: the layout comes back.
    connect(m_bars->BlockDiagramBar()->toggleViewAction(), &QAction::toggled, this, [this](bool shown) {
        if (!shown && m_bars->IsDiagramMaximized())
            ToggleDiagramMaximized();
    });
}

void CMainFrame::ConnectFocusTracking() {
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        UpdateWindowTitle();
        UpdateActions();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Alt and a menu's letter give the menu bar the focus: the commands keep answering to
        // the pane the user was in.
        if (qobject_cast<QMenuBar*>(now) != nullptr)
            m_focusBeforeMenu = old;
        else if (now != nullptr)
            m_focusBeforeMenu = nullptr;
        UpdateActions();
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateActions);
}

void CMainFrame::OnProjectAdded(C3SplitFrame* frame) {
    connect(frame, &C3SplitFrame::commandStateChanged, this, &CMainFrame::UpdateActions);
    connect(frame, &C3SplitFrame::closing, this, [this] {
        UpdateStartPanel();
        UpdateActions();
    });
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateWindowTitle);
    connect(frame, &C3SplitFrame::modifiedChanged, this, &CMainFrame::UpdateWindowTitle);
    connect(frame, &C3SplitFrame::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, kStatusMessageTime); });
    connect(frame->parentWidget(), &QObject::destroyed, this, [this] {
        UpdateStartPanel();
        UpdateWindowTitle();
        UpdateActions();
    });
    UpdateStartPanel();
}

void CMainFrame::UpdateStartPanel() {
    if (m_destroying)
        return;
    const bool none = m_windows->All().isEmpty();
    m_start->setVisible(none);
    if (none)
        m_start->raise();
}

QWidget* CMainFrame::FocusWidget() const {
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QMenuBar*>(focus) != nullptr && m_focusBeforeMenu != nullptr)
        return m_focusBeforeMenu;
    return focus;
}

C3SplitFrame* CMainFrame::ActiveProject() const {
    return m_windows->Active();
}

QList<C3SplitFrame*> CMainFrame::Projects() const {
    return m_windows->All();
}

CSignalListView* CMainFrame::SignalList() const {
    return m_signals->View();
}

CBlockDiagramBar* CMainFrame::DiagramBar() const {
    return m_diagram->Bar();
}

CLibraryBar* CMainFrame::LibraryBar() const {
    return m_library->Bar();
}

CHelpWindow* CMainFrame::HelpWindow() const {
    return m_help->Window();
}

QToolBar* CMainFrame::DiagramToolBar() const {
    return m_diagram->ToolBar();
}

CRecentFileList& CMainFrame::RecentFiles() {
    return m_files->RecentFiles();
}

bool CMainFrame::OpenProjectFile(const std::string& path) {
    return m_files->OpenProjectFile(path);
}

void CMainFrame::UpdateActions() {
    if (m_destroying)
        return;
    for (const EditAction& edit : kEditActions)
        (m_actions.*edit.member)->setEnabled(m_router.Target(edit.command) != nullptr);
    m_rules.Update();
    m_files->UpdateActions();
    m_hierarchy->UpdateActions();
    m_parameters->UpdateActions();
    m_signals->UpdateActions(FocusWidget());
    m_diagram->UpdateActions();
    m_library->UpdateActions();
    m_tools->UpdateActions();
    m_editor->UpdateActions();
}

// Prints (or previews) the pane that takes the Print command: the focused bar, or the project
// window's pane that was active last.
void CMainFrame::OnPrint(bool preview) {
    CEditTarget* target = m_router.Target(EditCommand::Print);
    if (target == nullptr)
        return;
    if (!preview) {
        QPrinter printer;
        printer.setDocName(QStringLiteral("KESTRA"));
        QPrintDialog dialog(&printer, this);
        if (m_ui.ExecDialog(dialog) != QDialog::Accepted)
            return;
        if (const Result<int> printed = target->PrintPages(printer); !printed)
            m_ui.prompts.ShowMessage("Print", printed.Reason(), PromptIcon::Error);
        return;
    }
    target->SetPreviewing(true);
    QPrintPreviewDialog dialog(this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            // The preview's own printer starts every page it asks for.
            [target](QPrinter* printer) { static_cast<void>(target->PrintPages(*printer)); });
    m_ui.ExecDialog(dialog);
    target->SetPreviewing(false);
}

void CMainFrame::FocusPane(Pane pane) {
    C3SplitFrame* project = ActiveProject();
    QWidget* target = nullptr;
    if (pane == Pane::Tree && project != nullptr)
        target = project->TreeView();
    else if (pane == Pane::List && project != nullptr)
        target = project->ListView();
    else if (pane == Pane::Signals && !m_bars->SignalListBar()->isHidden())
        target = m_bars->SignalListPane();
    else if (pane == Pane::Diagram && !m_bars->BlockDiagramBar()->isHidden())
        target = m_bars->BlockDiagramPane();
    if (target != nullptr)
        target->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::ToggleDiagramMaximized() {
    m_bars->SetDiagramMaximized(!m_bars->IsDiagramMaximized());
    m_actions.maximizeDiagram->setChecked(m_bars->IsDiagramMaximized());
}

void CMainFrame::UpdateWindowTitle() {
    if (m_destroying)
        return;
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        setWindowTitle(QStringLiteral("KESTRA"));
    else
        setWindowTitle(QStringLiteral("KESTRA - [%1]").arg(project->windowTitle()));
    // The project's title carries the placeholder of the unsaved-changes mark.
    setWindowModified(project != nullptr && project->isWindowModified());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every project is saved as its window closes; one that cannot be saved may keep the
    // application open.
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    AskToStopTools(m_ui.tools, m_ui.prompts, nullptr);
    if (m_bars->IsDiagramMaximized())
        ToggleDiagramMaximized();
    m_bars->SaveLayout();
    m_signals->View()->WriteColumnWidths();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), IsProjectFileUrl))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (IsProjectFileUrl(url))
            OpenProjectFile(PathFromQt(url.toLocalFile()).string());
    }
    event->acceptProposedAction();
}

} // namespace kestra
