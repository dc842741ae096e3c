#include "hierarchy/hierarchy_controller.h"

#include "hierarchy/kst_tree_view.h"
#include "mainframe/main_actions.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"

#include <QMenu>

namespace kestra {

CHierarchyController::CHierarchyController(CMainActions& actions, CProjectWindows& windows,
                                           const std::function<void()>& changed)
    : m_windows(windows), m_changed(changed), m_rules(changed), m_menu(std::make_unique<QMenu>()) {
    const CMainActions& a = actions;
    auto hasProject = [this] { return Tree() != nullptr; };
    auto hasSelection = [this] { return Tree() != nullptr && Tree()->SelectedItem() != nullptr; };
    m_rules.Add({
        {a.addModule, OnTree(&CKSTTreeView::OnAddModule),
         [this] { return Tree() && Tree()->CanAddModule(); }},
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

void CHierarchyController::Connect(C3SplitFrame* frame) {
    connect(frame->TreeView(), &CKSTTreeView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        m_changed();
        m_menu->popup(globalPos);
    });
}

} // namespace kestra
