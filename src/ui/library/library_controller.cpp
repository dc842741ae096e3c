#include "library/library_controller.h"

#include "hierarchy/kst_tree_view.h"
#include "library/browse_library_dialog.h"
#include "library/library_bar.h"
#include "mainframe/dock_bars.h"
#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "panes/diagram_pane.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "system/user_prompts.h"

#include <QDockWidget>
#include <QMainWindow>

namespace kestra {

CLibraryController::CLibraryController(QMainWindow& window, CDockBars& bars, CMainActions& actions,
                                       const UiContext& ui, CProjectWindows& windows, CDiagramPane& diagram,
                                       const std::function<void()>& changed)
    : m_window(window), m_ui(ui), m_windows(windows), m_diagram(diagram), m_changed(changed),
      m_rules(changed) {
    // The bar never shows a message box of its own: a root that cannot be made lists nothing.
    auto rootFolder = [this]() -> std::optional<std::filesystem::path> {
        LibraryRootFolder root =
            OpenLibraryRoot(m_ui.settings, LibraryKind::Library, m_ui.paths.userDataFolder);
        if (!root.created)
            return std::nullopt;
        return std::move(root.path);
    };
    m_bar = new CLibraryBar(rootFolder, bars.LibraryBar());
    bars.LibraryBar()->setWidget(m_bar);
    m_bar->Rescan();
    connect(bars.LibraryBar(), &QDockWidget::visibilityChanged, m_bar, [this](bool visible) {
        if (visible)
            m_bar->Rescan();
    });
    connect(m_bar, &CLibraryBar::moduleClicked, this, &CLibraryController::OnLibraryModuleClicked);
    m_diagram.SetLibraryInsertion([this](LibraryKind kind) { OnDiagramLibraryInsertion(kind); });

    auto tree = [this]() -> CKSTTreeView* {
        C3SplitFrame* project = m_windows.Active();
        return project != nullptr ? project->TreeView() : nullptr;
    };
    m_rules.Add({
        {actions.insertLibrary, [this] { OnInsertLibraryModule(false); },
         [tree] { return tree() != nullptr && tree()->CanInsertLibraryModule(); }},
        {actions.insertPredefined, [this] { OnInsertLibraryModule(true); },
         [tree] { return tree() != nullptr && tree()->CanInsertLibraryModule(); }},
        {actions.createLibrary, [this] { OnCreateLibraryModule(false); },
         [tree] { return tree() != nullptr && tree()->CanCreateLibraryModule(); }},
        {actions.createPredefined, [this] { OnCreateLibraryModule(true); },
         [tree] { return tree() != nullptr && tree()->CanCreatePredefinedModule(); }},
    });
}

void CLibraryController::OnInsertLibraryModule(bool predefined) {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return;
    CDialogLibraryChooser chooser(m_ui, &m_window);
    project->TreeView()->OnInsertLibraryModule(predefined ? LibraryInsertMode::ChoosePredefined
                                                          : LibraryInsertMode::ChooseLibrary,
                                               {}, &chooser, true);
    // The dialog may have changed the library's folders.
    m_bar->Rescan();
}

void CLibraryController::OnCreateLibraryModule(bool predefined) {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return;
    CDialogLibraryStore store(m_ui, &m_window);
    project->TreeView()->OnCreateLibraryModule(predefined, store);
    m_bar->Rescan();
}

void CLibraryController::OnLibraryModuleClicked(const std::filesystem::path& file) {
    C3SplitFrame* project = m_windows.Active();
    // Without a project, or below an item that takes no modules, the click does nothing.
    if (project == nullptr || !project->TreeView()->CanInsertLibraryModule()) {
        m_ui.prompts.Beep();
        return;
    }
    project->TreeView()->OnInsertLibraryModule(LibraryInsertMode::LibraryFile, file.string(), nullptr, false);
    m_changed();
}

void CLibraryController::OnDiagramLibraryInsertion(LibraryKind kind) {
    // The block belongs to the diagram of the module its project's hierarchy has selected.
    C3SplitFrame* project = m_windows.OfSession(m_diagram.Session());
    if (project == nullptr)
        return;
    CKSTTreeView* tree = project->TreeView();
    if (tree->SelectedItem() != m_diagram.Item() || !tree->CanInsertLibraryModule()) {
        m_ui.prompts.Beep();
        return;
    }
    CDialogLibraryChooser chooser(m_ui, &m_window);
    tree->OnInsertLibraryModule(kind == LibraryKind::Predefined ? LibraryInsertMode::ChoosePredefined
                                                                : LibraryInsertMode::ChooseLibrary,
                                {}, &chooser, false);
    m_bar->Rescan();
    m_changed();
}

} // namespace kestra
