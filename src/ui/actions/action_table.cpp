#include "actions/action_table.h"

#include "hierarchy/hierarchy_icons.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

namespace kestra {

void SetLook(QAction& action, const ActionLook& look) {
    action.setText(QString::fromLatin1(look.text));
    const QString prompt = QString::fromLatin1(look.prompt);
    const qsizetype lineBreak = prompt.indexOf(QLatin1Char('\n'));
    action.setStatusTip(lineBreak < 0 ? prompt : prompt.left(lineBreak));
    action.setToolTip(lineBreak < 0 ? QString() : prompt.mid(lineBreak + 1));
}

QAction* MakeAction(QWidget& owner, const ActionLook& look) {
    auto* action = new QAction(&owner);
    SetLook(*action, look);
    QList<QKeySequence> keys;
    if (look.standardKey != QKeySequence::UnknownKey)
        keys << QKeySequence(look.standardKey);
    for (const QKeyCombination key : look.keys) {
        if (key.toCombined() != 0)
            keys << QKeySequence(key);
    }
    action->setShortcuts(keys);
    if (look.icon != nullptr)
        action->setIcon(CHierarchyIcons::CommandIcon(look.icon));
    action->setCheckable(look.checkable);
    action->setChecked(look.checked);
    owner.addAction(action);
    return action;
}

void AddMenuActions(QMenu& menu, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action != nullptr)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
}

void AddToolBarActions(QToolBar& toolBar, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action != nullptr)
            toolBar.addAction(action);
        else
            toolBar.addSeparator();
    }
}

void CActionRules::Add(const ActionRule& rule) {
    m_rules.push_back(rule);
    QObject::connect(rule.action, &QAction::triggered, rule.action, [run = rule.run, after = m_afterRun] {
        run();
        if (after)
            after();
    });
}

void CActionRules::Add(std::initializer_list<ActionRule> rules) {
    for (const ActionRule& rule : rules)
        Add(rule);
}

void CActionRules::Update() const {
    for (const ActionRule& rule : m_rules)
        rule.action->setEnabled(!rule.enabled || rule.enabled());
}

} // namespace kestra
