#include "tools/tools_controller.h"

#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "system/user_prompts.h"
#include "tools/design_flow_dialog.h"
#include "tools/qt_tool_runner.h"
#include "tools/tool_settings_dialog.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace kestra {

CToolsController::CToolsController(QMainWindow& window, const UiContext& ui, CMainActions& actions,
                                   CProjectWindows& windows, std::function<void()> changed)
    : m_window(window), m_ui(ui), m_windows(windows), m_rules(std::move(changed)) {
    const std::pair<QAction*, ExternalTool> launches[] = {
        {actions.synthesizer, ExternalTool::Synthesizer},
        {actions.implementer, ExternalTool::Implementer},
        {actions.vhdlSimulator, ExternalTool::VhdlSimulator},
        {actions.functionalSimulator, ExternalTool::FunctionalSimulator},
        {actions.timingSimulator, ExternalTool::TimingSimulator}};
    for (const auto& [action, tool] : launches) {
        const ExternalTool launched = tool;
        m_rules.Add({action, [this, launched] { static_cast<void>(LaunchTool(launched)); }});
    }
    m_rules.Add({
        {actions.toolSettings, [this] { OnToolSettings(); }},
        {actions.designFlow, [this] { OnDesignFlow(); }},
    });
}

bool CToolsController::LaunchTool(ExternalTool tool) {
    C3SplitFrame* project = m_windows.Active();
    const LaunchOutcome outcome =
        LaunchExternalTool(m_ui.settings, m_ui.tools, tool, project != nullptr ? &project->Doc() : nullptr);
    if (outcome != LaunchOutcome::Started)
        ShowToolMessage(outcome, tool);
    return outcome == LaunchOutcome::Started;
}

void CToolsController::ShowToolMessage(LaunchOutcome outcome, ExternalTool tool) {
    m_ui.prompts.ShowMessage(kDefaultPromptTitle, LaunchMessage(outcome, tool), PromptIcon::Warning);
}

void CToolsController::OnToolSettings() {
    CToolSettingsDialog dialog(m_ui.settings, &m_window);
    m_ui.ExecDialog(dialog);
}

void CToolsController::OnDesignFlow() {
    // The panel stands alone on the desktop: it has no parent, so it stays when the main
    // window is minimized.
    CDesignFlowDialog dialog([this](ExternalTool tool) { return LaunchTool(tool); });
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.adjustSize();
    if (const QScreen* screen =
            m_window.screen() != nullptr ? m_window.screen() : QGuiApplication::primaryScreen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    const Qt::WindowStates before = m_window.windowState();
    m_window.setWindowState(before | Qt::WindowMinimized);
    m_ui.ExecDialog(dialog);
    m_window.setWindowState(before & ~Qt::WindowMinimized);
    if (!m_window.isVisible())
        m_window.show();
    m_window.activateWindow();
}

} // namespace kestra
