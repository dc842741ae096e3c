#pragma once

#include "actions/action_table.h"
#include "tools/external_tools.h"

#include <QObject>
#include <functional>

class QMainWindow;

namespace kestra {

class CProjectWindows;
struct CMainActions;
struct UiContext;

// The Tools menu: the external tools launched in the active project's destination folder with
// its link parameter (with the tool message when nothing starts), the Tools Setting dialog and
// the design flow panel.
class CToolsController : public QObject {
    Q_OBJECT

public:
    CToolsController(QMainWindow& window, const UiContext& ui, CMainActions& actions,
                     CProjectWindows& windows, std::function<void()> changed);

    // True when the tool started; otherwise the user is told why.
    bool LaunchTool(ExternalTool tool);
    void UpdateActions() const { m_rules.Update(); }

private:
    // Why a tool did not start.
    void ShowToolMessage(LaunchOutcome outcome, ExternalTool tool);
    void OnToolSettings();
    // The design flow panel, modal; the main window is minimized while it is open.
    void OnDesignFlow();

    QMainWindow& m_window;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    CActionRules m_rules;
};

} // namespace kestra
