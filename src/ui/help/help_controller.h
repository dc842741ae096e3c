#pragma once

#include "actions/action_table.h"

#include <QObject>

class QMainWindow;

namespace kestra {

class CHelpWindow;
struct CMainActions;
struct UiContext;

// The Help menu: the user manual and the tutorial in the application's own help window, and
// the About box.
class CHelpController : public QObject {
    Q_OBJECT

public:
    CHelpController(QMainWindow& window, const UiContext& ui, CMainActions& actions);

    // The help window, once Help has shown a document.
    CHelpWindow* Window() const { return m_help; }

private:
    void OpenHelpFile(bool manual);
    void OnAbout();

    QMainWindow& m_window;
    const UiContext& m_ui;
    CActionRules m_rules;
    CHelpWindow* m_help = nullptr;
};

} // namespace kestra
