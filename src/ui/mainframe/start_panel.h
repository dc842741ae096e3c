#pragma once

#include <QFrame>
#include <QList>

class QCommandLinkButton;
class QLabel;

namespace kestra {

struct CMainActions;

// What the main window offers while no project is open, in the middle of the empty area of the
// project windows: New Project, Open Project, the example project, the tutorial and the recent
// projects. Each button triggers the menu's action, so it does what the menu does; the recent
// projects follow the File menu's entries.
class CStartPanel : public QFrame {
    Q_OBJECT

public:
    // Stands in `area` (the multi-document area's viewport), centred whenever the area's size
    // changes.
    CStartPanel(const CMainActions& actions, QWidget& area);

    // The buttons of the recent projects, newest first; those of unused entries are hidden.
    const QList<QCommandLinkButton*>& RecentButtons() const { return m_recent; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCommandLinkButton* AddButton(QAction* action, const QString& title, const QString& description);
    void UpdateRecent();
    void Place();

    const CMainActions& m_actions;
    QWidget& m_area;
    QLabel* m_recentTitle;
    QList<QCommandLinkButton*> m_recent;
};

} // namespace kestra
