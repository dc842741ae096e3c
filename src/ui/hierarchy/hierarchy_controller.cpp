#include "hierarchy/hierarchy_controller.h"

#include "hierarchy/import_design_dialog.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"

#include <QMenu>
#include <QPointer>

namespace kestra {

CHierarchyController::CHierarchyController(QWidget& window, const UiContext& ui, CMainActions& actions,
                                           CProjectWindows& windows, const std::function<void()>& changed)
    : m_window(window), m_ui(ui), m_windows(windows), m_changed(changed), m_rules(changed),
      m_menu(std::make_unique<QMenu>()) {
    const CMainActions& a = actions;
    auto hasProject = [this] { return Tree() != nullptr; };
    auto hasSelection = [this] { return Tree() != nullptr && Tree()->SelectedItem() != nullptr; };
    auto canAddModule = [this] { return Tree() != nullptr && Tree()->CanAddModule(); };
    m_rules.Add({
        {a.addModule, OnTree(&CKSTTreeView::OnAddModule), canAddModule},
        {a.importDesign, [this] { OnImportDesign(); }, canAddModule},
        {a.analyzeModule, OnTree(&CKSTTreeView::OnAnalyzeModule), hasSelection},
        {a.generate, OnTree([](CKSTTreeView& tree) { tree.OnGenerate(false); }), hasSelection},
        {a.generateIndividual, OnTree([](CKSTTreeView& tree) { tree.OnGenerate(true); }), hasSelection},
        {a.editVhdl, OnTree(&CKSTTreeView::OnEditVhdl), hasProject},
        {a.rename, OnTree(&CKSTTreeView::OnRename), [this] { return Tree() && Tree()->CanRename(); }},
        {a.expandAll, OnTree(&CKSTTreeView::OnExpandAll), hasProject},
        {a.collapseAll, OnTree(&CKSTTreeView::OnCollapseAll), hasProject},
    });
    const std::pair<QAction*, HierarchyKind> kinds[] = {{a.setNormal, HierarchyKind::Normal},
                                                        {a.setLibrary, HierarchyKind::Library},
                                                        {a.setPredefined, HierarchyKind::Predefined},
                                                        {a.setPackage, HierarchyKind::Package}};
    for (const auto& [action, kind] : kinds) {
        const HierarchyKind chosen = kind;
        m_rules.Add({action, OnTree([chosen](CKSTTreeView& tree) { tree.OnSetKind(chosen); }), hasProject});
    }
    AddMenuActions(*m_menu, a.TreeContextMenu());
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { m_changed(); });
    connect(&windows, &CProjectWindows::added, this, &CHierarchyController::Connect);
}

CHierarchyController::~CHierarchyController() = default;

CKSTTreeView* CHierarchyController::Tree() const {
    C3SplitFrame* project = m_windows.Active();
    return project != nullptr ? project->TreeView() : nullptr;
}

std::function<void()> CHierarchyController::OnTree(std::function<void(CKSTTreeView&)> command) const {
    return [this, command = std::move(command)] {
        if (CKSTTreeView* tree = Tree())
            command(*tree);
    };
}

void CHierarchyController::OnImportDesign() {
    QPointer<C3SplitFrame> project = m_windows.Active();
    if (project == nullptr || !project->TreeView()->CanAddModule())
        return;
    CImportDesignDialog dialog(project->Doc().GetProjectFolder(), &m_window);
    // The project window may have closed while the dialog was open.
    if (m_ui.ExecDialog(dialog) != QDialog::Accepted || project == nullptr || !dialog.Preview().CanImport())
        return;
    project->TreeView()->OnImportDesign(dialog.Preview());
}

void CHierarchyController::Connect(C3SplitFrame* frame) {
    connect(frame->TreeView(), &CKSTTreeView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        m_changed();
        m_menu->popup(globalPos);
    });
}

} // namespace kestra
