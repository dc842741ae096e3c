#pragma once

#include "actions/action_table.h"

#include <QObject>
#include <functional>
#include <memory>

class QMenu;

namespace kestra {

class C3SplitFrame;
class CKSTListView;
class CProjectWindows;
struct CMainActions;

// The Parameter menu's commands on the active project's parameter list (invoke, force edit,
// the additions) and the list's context menu, which also holds the edit commands.
class CParameterController : public QObject {
    Q_OBJECT

public:
    CParameterController(CMainActions& actions, CProjectWindows& windows,
                         const std::function<void()>& changed);
    ~CParameterController() override;

    void UpdateActions() const { m_rules.Update(); }

private:
    CKSTListView* List() const;
    void Connect(C3SplitFrame* frame);

    CProjectWindows& m_windows;
    std::function<void()> m_changed;
    CActionRules m_rules;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace kestra
