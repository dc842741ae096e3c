#include "paramlist/parameter_controller.h"

#include "mainframe/main_actions.h"
#include "paramlist/kst_list_view.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"

#include <QMenu>

namespace kestra {

CParameterController::CParameterController(CMainActions& actions, CProjectWindows& windows,
                                           const std::function<void()>& changed)
    : m_windows(windows), m_changed(changed), m_rules(changed), m_menu(std::make_unique<QMenu>()) {
    const CMainActions& a = actions;
    m_rules.Add({
        {a.invoke,
         [this] {
             if (CKSTListView* list = List())
                 list->OnInvoke();
         },
         [this] { return List() != nullptr && List()->CanInvoke(); }},
        {a.forceEdit,
         [this] {
             if (CKSTListView* list = List())
                 list->OnForceEdit();
         },
         [this] { return List() != nullptr && List()->CanForceEdit(); }},
    });
    const std::pair<QAction*, EntryKind> additions[] = {
        {a.addNumeric, EntryKind::Numeric}, {a.addDataType, EntryKind::DataType},
        {a.addLogic, EntryKind::Logic},     {a.addStyle, EntryKind::Style},
        {a.addNote, EntryKind::Note},       {a.addLink, EntryKind::Link}};
    for (const auto& [action, kind] : additions) {
        const EntryKind added = kind;
        m_rules.Add({action,
                     [this, added] {
                         if (CKSTListView* list = List())
                             list->OnAddParameter(added);
                     },
                     [this] { return List() != nullptr; }});
    }
    AddMenuActions(*m_menu, a.ListContextMenu());
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { m_changed(); });
    connect(&windows, &CProjectWindows::added, this, &CParameterController::Connect);
}

CParameterController::~CParameterController() = default;

CKSTListView* CParameterController::List() const {
    C3SplitFrame* project = m_windows.Active();
    return project != nullptr ? project->ListView() : nullptr;
}

void CParameterController::Connect(C3SplitFrame* frame) {
    connect(frame->ListView(), &CKSTListView::contextMenuRequested, this, [this](const QPoint& globalPos) {
        m_changed();
        m_menu->popup(globalPos);
    });
}

} // namespace kestra
