#pragma once

#include "actions/action_table.h"

#include <QObject>
#include <functional>

class QMenu;
class QWidget;

namespace kestra {

class C3SplitFrame;
class CKSTTreeView;
class CProjectWindows;
struct CMainActions;
struct UiContext;

// The Module menu's commands on the active project's hierarchy (add, import a design, analyse,
// generate, edit, rename, kinds, expand and collapse; the library commands are the library
// controller's), and the hierarchy's context menu. They act on the hierarchy's selection wherever the focus
// is.
class CHierarchyController : public QObject {
    Q_OBJECT

public:
    CHierarchyController(QWidget& window, const UiContext& ui, CMainActions& actions,
                         CProjectWindows& windows, const std::function<void()>& changed);
    ~CHierarchyController() override;

    void UpdateActions() const { m_rules.Update(); }

private:
    CKSTTreeView* Tree() const;
    // Runs the command on the active project's hierarchy, if there is one.
    std::function<void()> OnTree(std::function<void(CKSTTreeView&)> command) const;
    void Connect(C3SplitFrame* frame);
    // Import VHDL Design: the dialog chooses and previews the design, the tree imports it.
    void OnImportDesign();

    QWidget& m_window;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    std::function<void()> m_changed;
    CActionRules m_rules;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace kestra
