// The main window's module library: the library bar, and the commands that insert modules
// from the libraries and store modules into them through the Browse Library dialog.
#include "library/library_bar.h"

#include "diagram/block_diagram_bar.h"
#include "hierarchy/kst_tree_view.h"
#include "library/browse_library_dialog.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_frame.h"
#include "mainframe/project_frame.h"
#include "mainframe/ui_context.h"
#include "system/user_prompts.h"

#include <QAction>
#include <QDockWidget>

namespace kestra {

void CMainFrame::CreateLibraryBar() {
    // The bar never shows a message box of its own: a root that cannot be made lists nothing.
    auto rootFolder = [this]() -> std::optional<std::filesystem::path> {
        LibraryRootFolder root =
            OpenLibraryRoot(m_ui.settings, LibraryKind::Library, m_ui.paths.userDataFolder);
        if (!root.created)
            return std::nullopt;
        return std::move(root.path);
    };
    m_libraryBar = new CLibraryBar(rootFolder, m_bars->LibraryBar());
    m_bars->LibraryBar()->setWidget(m_libraryBar);
    m_libraryBar->Rescan();
    connect(m_bars->LibraryBar(), &QDockWidget::visibilityChanged, m_libraryBar, [this](bool visible) {
        if (visible)
            m_libraryBar->Rescan();
    });
    connect(m_libraryBar, &CLibraryBar::moduleClicked, this, &CMainFrame::OnLibraryModuleClicked);
    m_diagramBar->Pane().SetLibraryInsertion([this](LibraryKind kind) { OnDiagramLibraryInsertion(kind); });
}

void CMainFrame::ConnectLibraryCommands() {
    const CMainActions& a = m_actions;
    connect(a.insertLibrary, &QAction::triggered, this, [this] { OnInsertLibraryModule(false); });
    connect(a.insertPredefined, &QAction::triggered, this, [this] { OnInsertLibraryModule(true); });
    connect(a.createLibrary, &QAction::triggered, this, [this] { OnCreateLibraryModule(false); });
    connect(a.createPredefined, &QAction::triggered, this, [this] { OnCreateLibraryModule(true); });
}

void CMainFrame::UpdateLibraryActions() {
    const CMainActions& a = m_actions;
    const C3SplitFrame* project = ActiveProject();
    const CKSTTreeView* tree = project != nullptr ? project->TreeView() : nullptr;
    a.insertLibrary->setEnabled(tree != nullptr && tree->CanInsertLibraryModule());
    a.insertPredefined->setEnabled(tree != nullptr && tree->CanInsertLibraryModule());
    a.createLibrary->setEnabled(tree != nullptr && tree->CanCreateLibraryModule());
    a.createPredefined->setEnabled(tree != nullptr && tree->CanCreatePredefinedModule());
}

void CMainFrame::OnInsertLibraryModule(bool predefined) {
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    CDialogLibraryChooser chooser(m_ui, this);
    project->TreeView()->OnInsertLibraryModule(predefined ? LibraryInsertMode::ChoosePredefined
                                                          : LibraryInsertMode::ChooseLibrary,
                                               {}, &chooser, true);
    // The dialog may have changed the library's folders.
    m_libraryBar->Rescan();
    UpdateActions();
}

void CMainFrame::OnCreateLibraryModule(bool predefined) {
    C3SplitFrame* project = ActiveProject();
    if (project == nullptr)
        return;
    CDialogLibraryStore store(m_ui, this);
    project->TreeView()->OnCreateLibraryModule(predefined, store);
    m_libraryBar->Rescan();
    UpdateActions();
}

void CMainFrame::OnLibraryModuleClicked(const std::filesystem::path& file) {
    C3SplitFrame* project = ActiveProject();
    // Without a project, or below an item that takes no modules, the click does nothing.
    if (project == nullptr || !project->TreeView()->CanInsertLibraryModule()) {
        m_ui.prompts.Beep();
        return;
    }
    project->TreeView()->OnInsertLibraryModule(LibraryInsertMode::LibraryFile, file.string(), nullptr, false);
    UpdateActions();
}

void CMainFrame::OnDiagramLibraryInsertion(LibraryKind kind) {
    // The block belongs to the diagram of the module its project's hierarchy has selected.
    const CDiagramPane& pane = m_diagramBar->Pane();
    for (C3SplitFrame* project : Projects()) {
        if (&project->Session() != pane.Session())
            continue;
        CKSTTreeView* tree = project->TreeView();
        if (tree->SelectedItem() != pane.Item() || !tree->CanInsertLibraryModule()) {
            m_ui.prompts.Beep();
            return;
        }
        CDialogLibraryChooser chooser(m_ui, this);
        tree->OnInsertLibraryModule(kind == LibraryKind::Predefined ? LibraryInsertMode::ChoosePredefined
                                                                    : LibraryInsertMode::ChooseLibrary,
                                    {}, &chooser, false);
        m_libraryBar->Rescan();
        UpdateActions();
        return;
    }
}

} // namespace kestra
