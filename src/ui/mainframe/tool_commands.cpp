// The Tools menu: external tool launches, the Tools Setting dialog and the design flow panel.
#include "mainframe/main_frame.h"
#include "mainframe/project_frame.h"
#include "mainframe/ui_context.h"
#include "project/kst_doc.h"
#include "system/user_prompts.h"
#include "tools/design_flow_dialog.h"
#include "tools/qt_tool_runner.h"
#include "tools/tool_settings_dialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace kestra {

void CMainFrame::ConnectToolCommands() {
    const CMainActions& a = m_actions;
    connect(a.synthesizer, &QAction::triggered, this, &CMainFrame::LaunchSynthesizer);
    connect(a.implementer, &QAction::triggered, this, &CMainFrame::LaunchImplementer);
    connect(a.vhdlSimulator, &QAction::triggered, this, &CMainFrame::LaunchVhdlSimulator);
    connect(a.functionalSimulator, &QAction::triggered, this, &CMainFrame::LaunchFunctionalSimulator);
    connect(a.timingSimulator, &QAction::triggered, this, &CMainFrame::LaunchTimingSimulator);
    connect(a.toolSettings, &QAction::triggered, this, &CMainFrame::OnToolSettings);
    connect(a.designFlow, &QAction::triggered, this, &CMainFrame::OnDesignFlow);
}

void CMainFrame::LaunchTool(ExternalTool tool) {
    C3SplitFrame* project = ActiveProject();
    const LaunchOutcome outcome =
        LaunchExternalTool(m_ui.settings, m_ui.tools, tool, project != nullptr ? &project->Doc() : nullptr);
    if (outcome != LaunchOutcome::Started)
        ShowToolMessage(outcome);
}

void CMainFrame::ShowToolMessage(LaunchOutcome outcome) {
    m_ui.prompts.ShowMessage(kDefaultPromptTitle, LaunchMessage(outcome), PromptIcon::Warning);
}

void CMainFrame::OnToolSettings() {
    CToolSettingsDialog dialog(m_ui.settings, this);
    m_ui.ExecDialog(dialog);
}

void CMainFrame::OnDesignFlow() {
    // The panel stands alone on the desktop: it has no parent, so it stays when the main
    // window is minimized.
    CDesignFlowDialog dialog([this](ExternalTool tool) { LaunchTool(tool); });
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.adjustSize();
    if (const QScreen* screen =
            this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    const Qt::WindowStates before = windowState();
    setWindowState(before | Qt::WindowMinimized);
    m_ui.ExecDialog(dialog);
    setWindowState(before & ~Qt::WindowMinimized);
    if (!isVisible())
        show();
    activateWindow();
}

} // namespace kestra
