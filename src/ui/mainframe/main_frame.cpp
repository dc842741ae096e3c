#include "mainframe/main_frame.h"

#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_icons.h"
#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "mainframe/dock_bars.h"
#include "mainframe/project_frame.h"
#include "mainframe/ui_context.h"
#include "model/design_object.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "session/project_session.h"
#include "signallist/signal_list_view.h"
#include "tools/qt_tool_runner.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

namespace kestra {

namespace {

// How long a command's word stays on the status bar.
constexpr int kStatusMessageTime = 10000;

bool IsProjectFileUrl(const QUrl& url) {
    return url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".kst"), Qt::CaseInsensitive);
}

} // namespace

CMainFrame::CMainFrame(const UiContext& ui, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_recentFiles(ui.settings), m_mdiArea(new QMdiArea(this)) {
    setWindowIcon(CHierarchyIcons::CommandIcon("kestra"));
    setAcceptDrops(true);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    statusBar()->showMessage(QStringLiteral("Ready"));
    m_bars = new CDockBars(*this, *m_mainToolBar, ui.settings);
    CreateDiagramBar();
    m_bars->RestoreLayout();
    CreateSignalList();
    CreateLibraryBar();
    m_treeMenu = new QMenu(this);
    AddMenuActions(*m_treeMenu, m_actions.TreeContextMenu());
    connect(m_treeMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
    m_listMenu = new QMenu(this);
    AddMenuActions(*m_listMenu, m_actions.ListContextMenu());
    connect(m_listMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
    ConnectCommands();
    ConnectLibraryCommands();
    ConnectToolCommands();
    UpdateRecentFileActions();
    UpdateWindowTitle();
    UpdateActions();
}

CMainFrame::~CMainFrame() {
    // Focus and clipboard changes while the windows go away must not reach a half-destroyed frame.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    m_signalList->SetListener(nullptr);
    // Project windows close before the frame's actions and bars go.
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList())
        delete sub;
}

void CMainFrame::ConnectCommands() {
    const CMainActions& a = m_actions;
    auto onTree = [this](auto command) {
        return [this, command] {
            if (C3SplitFrame* project = ActiveProject())
                command(*project->TreeView());
            UpdateActions();
        };
    };
    connect(a.newProject, &QAction::triggered, this, &CMainFrame::OnNewProject);
    connect(a.openProject, &QAction::triggered, this, &CMainFrame::OnOpenProject);
    connect(a.closeProject, &QAction::triggered, this, &CMainFrame::OnCloseProject);
    connect(a.saveProject, &QAction::triggered, this, &CMainFrame::OnSaveProject);
    connect(a.saveProjectAs, &QAction::triggered, this, &CMainFrame::OnSaveProjectAs);
    connect(a.properties, &QAction::triggered, this, &CMainFrame::OnProperties);
    connect(a.print, &QAction::triggered, this, &CMainFrame::OnPrint);
    connect(a.printPreview, &QAction::triggered, this, &CMainFrame::OnPrintPreview);
    connect(a.exit, &QAction::triggered, this, &QWidget::close);

    connect(a.cut, &QAction::triggered, this, [this] { OnCutCopyPaste(ClipboardCommand::Cut); });
    connect(a.copy, &QAction::triggered, this, [this] { OnCutCopyPaste(ClipboardCommand::Copy); });
    connect(a.paste, &QAction::triggered, this, [this] { OnCutCopyPaste(ClipboardCommand::Paste); });
    connect(a.remove, &QAction::triggered, this, &CMainFrame::OnRemove);
    auto onList = [this](auto command) {
        return [this, command] {
            if (C3SplitFrame* project = ActiveProject())
                command(*project->ListView());
            UpdateActions();
        };
    };
    connect(a.copyView, &QAction::triggered, this, [this] {
        C3SplitFrame* project = ActiveProject();
        if (DiagramFocus())
            m_diagramBar->OnCopyView();
        else if (SignalListFocus())
            m_signalList->OnCopyView();
        else if (project != nullptr && QApplication::focusWidget() == project->ListView())
            project->ListView()->OnCopyView();
        else if (project != nullptr)
            project->TreeView()->OnCopyView();
    });
    connect(a.invoke, &QAction::triggered, this, onList([](CKSTListView& list) { list.OnInvoke(); }));
    connect(a.forceEdit, &QAction::triggered, this, onList([](CKSTListView& list) { list.OnForceEdit(); }));
    const std::pair<QAction*, EntryKind> additions[] = {
        {a.addNumeric, EntryKind::Numeric}, {a.addDataType, EntryKind::DataType},
        {a.addLogic, EntryKind::Logic},     {a.addStyle, EntryKind::Style},
        {a.addNote, EntryKind::Note},       {a.addLink, EntryKind::Link}};
    for (const auto& [action, kind] : additions)
        connect(action, &QAction::triggered, this,
                onList([kind](CKSTListView& list) { list.OnAddParameter(kind); }));

    connect(a.addModule, &QAction::triggered, this, onTree([](CKSTTreeView& tree) { tree.OnAddModule(); }));
    connect(a.analyzeModule, &QAction::triggered, this,
            onTree([](CKSTTreeView& tree) { tree.OnAnalyzeModule(); }));
    connect(a.generate, &QAction::triggered, this,
            onTree([](CKSTTreeView& tree) { tree.OnGenerate(false); }));
    connect(a.generateIndividual, &QAction::triggered, this,
            onTree([](CKSTTreeView& tree) { tree.OnGenerate(true); }));
    connect(a.editVhdl, &QAction::triggered, this, onTree([](CKSTTreeView& tree) { tree.OnEditVhdl(); }));
    connect(a.rename, &QAction::triggered, this, onTree([](CKSTTreeView& tree) { tree.OnRename(); }));
    const std::pair<QAction*, MoveCommand> moves[] = {{a.moveToTop, MoveCommand::Top},
                                                      {a.moveUp, MoveCommand::Up},
                                                      {a.moveDown, MoveCommand::Down},
                                                      {a.moveToBottom, MoveCommand::Bottom}};
    for (const auto& [action, move] : moves) {
        // The move commands act on the hierarchy or the parameter list, whichever has the focus.
        connect(action, &QAction::triggered, this, [this, move] {
            if (SignalListFocus())
                m_signalList->OnMove(move);
            else if (C3SplitFrame* project = ActiveProject()) {
                if (project->TreeView()->hasFocus())
                    project->TreeView()->OnMove(move);
                else if (project->ListView()->hasFocus())
                    project->ListView()->OnMove(move);
            }
            UpdateActions();
        });
    }
    const std::pair<QAction*, HierarchyKind> kinds[] = {{a.setNormal, HierarchyKind::Normal},
                                                        {a.setLibrary, HierarchyKind::Library},
                                                        {a.setPredefined, HierarchyKind::Predefined},
                                                        {a.setPackage, HierarchyKind::Package}};
    for (const auto& [action, kind] : kinds)
        connect(action, &QAction::triggered, this,
                onTree([kind](CKSTTreeView& tree) { tree.OnSetKind(kind); }));
    connect(a.expandAll, &QAction::triggered, this, onTree([](CKSTTreeView& tree) { tree.OnExpandAll(); }));
    connect(a.collapseAll, &QAction::triggered, this,
            onTree([](CKSTTreeView& tree) { tree.OnCollapseAll(); }));

    connect(a.toolbar, &QAction::toggled, m_mainToolBar, &QWidget::setVisible);
    connect(m_mainToolBar, &QToolBar::visibilityChanged, a.toolbar, &QAction::setChecked);
    connect(a.statusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);
    const std::pair<QAction*, QDockWidget*> bars[] = {{a.libraryBar, m_bars->LibraryBar()},
                                                      {a.blockDiagram, m_bars->BlockDiagramBar()},
                                                      {a.signalList, m_bars->SignalListBar()}};
    for (const auto& [action, bar] : bars) {
        action->setChecked(!bar->isHidden());
        connect(action, &QAction::triggered, bar, &QWidget::setVisible);
        connect(bar->toggleViewAction(), &QAction::toggled, action, &QAction::setChecked);
    }
    connect(a.focusTree, &QAction::triggered, this, [this] { FocusPane(Pane::Tree); });
    connect(a.focusList, &QAction::triggered, this, [this] { FocusPane(Pane::List); });
    connect(a.focusSignals, &QAction::triggered, this, [this] { FocusPane(Pane::Signals); });
    connect(a.focusDiagram, &QAction::triggered, this, [this] { FocusPane(Pane::Diagram); });
    connect(a.maximizeDiagram, &QAction::triggered, this, [this] {
        m_bars->SetDiagramMaximized(!m_bars->IsDiagramMaximized());
        m_actions.maximizeDiagram->setChecked(m_bars->IsDiagramMaximized());
    });

    connect(a.cascade, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(a.tile, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    connect(a.nextWindow, &QAction::triggered, m_mdiArea, &QMdiArea::activateNextSubWindow);
    connect(a.previousWindow, &QAction::triggered, m_mdiArea, &QMdiArea::activatePreviousSubWindow);
    connect(a.userManual, &QAction::triggered, this, [this] { OpenHelpFile(true); });
    connect(a.tutorial, &QAction::triggered, this, [this] { OpenHelpFile(false); });
    connect(a.about, &QAction::triggered, this, &CMainFrame::OnAbout);

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

QWidget* CMainFrame::FocusWidget() const {
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QMenuBar*>(focus) != nullptr && m_focusBeforeMenu != nullptr)
        return m_focusBeforeMenu;
    return focus;
}

C3SplitFrame* CMainFrame::ActiveProject() const {
    QMdiSubWindow* sub = m_mdiArea->activeSubWindow();
    if (sub == nullptr) {
        // Without an active window (the application is in the background) the current one serves.
        sub = m_mdiArea->currentSubWindow();
    }
    auto* frame = sub != nullptr ? qobject_cast<C3SplitFrame*>(sub->widget()) : nullptr;
    return frame != nullptr && !frame->IsClosing() ? frame : nullptr;
}

QList<C3SplitFrame*> CMainFrame::Projects() const {
    QList<C3SplitFrame*> frames;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
        auto* frame = qobject_cast<C3SplitFrame*>(sub->widget());
        if (frame != nullptr && !frame->IsClosing())
            frames << frame;
    }
    return frames;
}

C3SplitFrame* CMainFrame::AddProjectFrame(std::unique_ptr<C3SplitFrame> owned) {
    C3SplitFrame* frame = owned.release();
    QMdiSubWindow* sub = m_mdiArea->addSubWindow(frame);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(CHierarchyIcons::CommandIcon("kestra"));
    connect(frame, &C3SplitFrame::commandStateChanged, this, &CMainFrame::UpdateActions);
    connect(frame, &C3SplitFrame::closing, this, [this] { UpdateActions(); });
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateWindowTitle);
    connect(frame, &C3SplitFrame::modifiedChanged, this, &CMainFrame::UpdateWindowTitle);
    connect(frame, &C3SplitFrame::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, kStatusMessageTime); });
    connect(frame->TreeView(), &CKSTTreeView::contextMenuRequested, this, &CMainFrame::ShowTreeContextMenu);
    ConnectSignalList(frame);
    ConnectDiagramBar(frame);
    connect(frame->ListView(), &CKSTListView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        UpdateActions();
        m_listMenu->popup(globalPos);
    });
    connect(sub, &QObject::destroyed, this, [this] {
        UpdateWindowTitle();
        UpdateActions();
    });
    sub->showMaximized();
    m_mdiArea->setActiveSubWindow(sub);
    frame->TreeView()->setFocus();
    UpdateWindowTitle();
    UpdateActions();
    return frame;
}

void CMainFrame::UpdateActions() {
    const CMainActions& a = m_actions;
    C3SplitFrame* project = ActiveProject();
    CKSTTreeView* tree = project != nullptr ? project->TreeView() : nullptr;
    const QWidget* focus = FocusWidget();
    const bool treeFocus = tree != nullptr && focus == tree;
    const bool logFocus = project != nullptr && focus == project->LogView();
    const bool listFocus = project != nullptr && focus == project->ListView();
    const bool hasProject = project != nullptr;
    const bool hasSelection = tree != nullptr && tree->SelectedItem() != nullptr;
    const CKSTListView* list = project != nullptr ? project->ListView() : nullptr;
    const bool signalFocus = SignalListFocus();
    const bool diagramFocus = DiagramFocus();
    const CSignalListView* signalList = m_signalList;
    // The log, the parameter list and the signal list keep the clipboard commands to themselves.
    const bool treeClipboard = tree != nullptr && !logFocus && !listFocus && !signalFocus && !diagramFocus;

    for (QAction* action :
         {a.closeProject, a.saveProject, a.saveProjectAs, a.properties,  a.print,         a.printPreview,
          a.copyView,     a.editVhdl,    a.setNormal,     a.setLibrary,  a.setPredefined, a.setPackage,
          a.expandAll,    a.collapseAll, a.addNumeric,    a.addDataType, a.addLogic,      a.addStyle,
          a.addNote,      a.addLink,     a.cascade,       a.tile,        a.nextWindow,    a.previousWindow})
        action->setEnabled(hasProject);
    for (QAction* action : {a.moveToTop, a.moveUp, a.moveDown, a.moveToBottom})
        action->setEnabled(signalFocus ? signalList->CanMove() : listFocus ? list->CanMove() : hasProject);
    a.insertRow->setEnabled(signalFocus && signalList->CanInsert());
    if (signalFocus || diagramFocus) {
        for (QAction* action : {a.print, a.printPreview, a.copyView})
            action->setEnabled(true);
    }
    a.invoke->setEnabled(list != nullptr && list->CanInvoke());
    a.forceEdit->setEnabled(list != nullptr && list->CanForceEdit());
    a.cut->setEnabled(signalFocus ? signalList->CanCutOrCopy()
                      : listFocus ? list->CanCutOrCopy() && list->CanRemove()
                                  : treeClipboard && tree->CanCutOrCopy());
    a.copy->setEnabled(signalFocus ? signalList->CanCutOrCopy()
                       : logFocus  ? project->LogView()->textCursor().hasSelection()
                       : listFocus ? list->CanCutOrCopy()
                                   : treeClipboard && tree->CanCutOrCopy());
    a.paste->setEnabled(signalFocus ? signalList->CanPaste()
                        : listFocus ? list->CanPaste()
                                    : treeClipboard && tree->CanPaste());
    a.remove->setEnabled(logFocus || (treeFocus && tree->CanRemove()) || (listFocus && list->CanRemove()) ||
                         (signalFocus && signalList->CanRemove()) ||
                         (diagramFocus && m_diagramBar->CanRemove()));
    UpdateDiagramActions();
    a.addModule->setEnabled(tree != nullptr && tree->CanAddModule());
    a.rename->setEnabled(tree != nullptr && tree->CanRename());
    UpdateLibraryActions();
    for (QAction* action : {a.analyzeModule, a.generate, a.generateIndividual})
        action->setEnabled(hasSelection);
    a.focusTree->setEnabled(hasProject);
    a.focusList->setEnabled(hasProject);
    a.focusSignals->setEnabled(!m_bars->SignalListBar()->isHidden());
    a.focusDiagram->setEnabled(!m_bars->BlockDiagramBar()->isHidden());
}

void CMainFrame::ShowTreeContextMenu(const QPoint& globalPos) {
    UpdateActions();
    m_treeMenu->popup(globalPos);
}

void CMainFrame::OnRemove() {
    if (DiagramFocus()) {
        m_diagramBar->OnRemove();
        UpdateActions();
        return;
    }
    if (SignalListFocus()) {
        m_signalList->OnRemove();
        UpdateActions();
        return;
    }
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus == project->LogView())
        project->LogView()->ClearLog();
    else if (focus == project->TreeView())
        project->TreeView()->OnRemove();
    else if (focus == project->ListView())
        project->ListView()->OnRemove();
    UpdateActions();
}

void CMainFrame::OnCutCopyPaste(ClipboardCommand which) {
    // The block diagram has no clipboard commands.
    if (DiagramFocus())
        return;
    if (SignalListFocus()) {
        if (which == ClipboardCommand::Cut)
            m_signalList->OnCut();
        else if (which == ClipboardCommand::Copy)
            m_signalList->OnCopy();
        else
            m_signalList->OnPaste();
        UpdateActions();
        return;
    }
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus == project->LogView()) {
        if (which == ClipboardCommand::Copy)
            project->LogView()->copy();
        return;
    }
    if (focus == project->ListView()) {
        CKSTListView* list = project->ListView();
        if (which == ClipboardCommand::Cut)
            list->OnCut();
        else if (which == ClipboardCommand::Copy)
            list->OnCopy();
        else
            list->OnPaste();
        UpdateActions();
        return;
    }
    CKSTTreeView* tree = project->TreeView();
    if (which == ClipboardCommand::Cut)
        tree->OnCut();
    else if (which == ClipboardCommand::Copy)
        tree->OnCopy();
    else
        tree->OnPaste();
    UpdateActions();
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

void CMainFrame::UpdateWindowTitle() {
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
    if (m_bars->IsDiagramMaximized()) {
        m_bars->SetDiagramMaximized(false);
        m_actions.maximizeDiagram->setChecked(false);
    }
    m_bars->SaveLayout();
    m_signalList->WriteColumnWidths();
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
            OpenProjectFile(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    event->acceptProposedAction();
}

} // namespace kestra
