#pragma once

#include <QKeySequence>
#include <array>
#include <functional>
#include <span>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace kestra {

// How a command looks: its menu text, keys, status-bar prompt and image. The prompt holds the
// status-bar text and, after a line break, the tool tip. Keys unused stay empty.
struct ActionLook {
    const char* text;
    std::array<QKeyCombination, 2> keys{};
    const char* prompt = "";
    const char* icon = nullptr;
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    bool checkable = false;
    bool checked = false;
};

// One command of a set of actions (a struct of QAction pointers) and how it looks.
template <typename Actions>
struct ActionSpec {
    QAction* Actions::*member;
    ActionLook look;
};

// A new action owned by `owner` that looks as described; its keys work while the owner's
// window has the focus, also when the menu bar is hidden.
QAction* MakeAction(QWidget& owner, const ActionLook& look);

// Gives the action the look's text, status-bar prompt and tool tip; its keys, image and check
// state stay as they are.
void SetLook(QAction& action, const ActionLook& look);

// Makes every action of the table and stores it in its member.
template <typename Actions>
void MakeActions(QWidget& owner, Actions& actions, std::span<const ActionSpec<Actions>> specs) {
    for (const ActionSpec<Actions>& spec : specs)
        actions.*spec.member = MakeAction(owner, spec.look);
}

// Adds the actions to the menu or toolbar in order, a null entry as a separator.
void AddMenuActions(QMenu& menu, const QList<QAction*>& actions);
void AddToolBarActions(QToolBar& toolBar, const QList<QAction*>& actions);

// What a command does and when it is enabled.
struct ActionRule {
    QAction* action;
    std::function<void()> run;
    // Always enabled when empty.
    std::function<bool()> enabled = {};
};

// The rules of a group of commands: running an action runs its rule and then `afterRun` (the
// window updates its command states); Update sets every action's enabled state.
class CActionRules {
public:
    explicit CActionRules(std::function<void()> afterRun = {}) : m_afterRun(std::move(afterRun)) {}

    void Add(const ActionRule& rule);
    void Add(std::initializer_list<ActionRule> rules);
    void Update() const;

private:
    std::function<void()> m_afterRun;
    std::vector<ActionRule> m_rules;
};

} // namespace kestra
