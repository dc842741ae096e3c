#include "tools/tools_controller.h"

#include "mainframe/main_actions.h"
#include "mainframe/ui_context.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "projectframe/project_frame.h"
#include "projectframe/project_windows.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"
#include "tools/design_flow_dialog.h"
#include "tools/flow_runner.h"
#include "tools/flow_settings_dialog.h"
#include "tools/qt_tool_runner.h"
#include "tools/tool_settings_dialog.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace kestra {

CToolsController::CToolsController(QMainWindow& window, const UiContext& ui, CMainActions& actions,
                                   CProjectWindows& windows, std::function<void()> changed)
    : m_window(window), m_ui(ui), m_windows(windows), m_rules(std::move(changed)),
      m_flows(new CFlowRunner(this)) {
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
        {actions.viewWaveform, [this] { static_cast<void>(ViewWaveform()); }},
        {actions.flowSettings, [this] { OnFlowSettings(); },
         [this] { return m_windows.Active() != nullptr; }},
    });
    connect(m_flows, &CFlowRunner::finished, this, &CToolsController::OnFlowFinished);
    // A project that closes stops its flow first.
    connect(&windows, &CProjectWindows::added, this, [this](C3SplitFrame* frame) {
        connect(frame, &C3SplitFrame::sessionEnding, this, [this](CProjectSession* session) {
            if (m_flows->Session() == session)
                m_flows->Stop();
        });
    });
}

bool CToolsController::LaunchTool(ExternalTool tool) {
    C3SplitFrame* project = m_windows.Active();
    if (project != nullptr) {
        const auto find = [this](std::string_view name) { return m_ui.tools.FindProgram(name); };
        if (const std::optional<FlowKind> kind = OwnFlowOf(tool, m_ui.settings, project->Doc(), find))
            return StartFlow(*kind, *project);
    }
    const LaunchOutcome outcome =
        LaunchExternalTool(m_ui.settings, m_ui.tools, tool, project != nullptr ? &project->Doc() : nullptr);
    if (outcome != LaunchOutcome::Started)
        ShowToolMessage(outcome, tool);
    return outcome == LaunchOutcome::Started;
}

bool CToolsController::StartFlow(FlowKind kind, C3SplitFrame& project) {
    if (m_flows->IsRunning()) {
        m_ui.prompts.ShowMessage(kDefaultPromptTitle, "A flow is running already: wait for its end.",
                                 PromptIcon::Information);
        return false;
    }
    CProjectSession& session = project.Session();
    const auto find = [this](std::string_view name) { return m_ui.tools.FindProgram(name); };
    Result<FlowPlan> plan = PrepareFlow(session, FlowTopOf(session.Selected()), kind, find);
    emit project.commandStateChanged(); // Generate changed the project
    if (!plan) {
        session.Doc().Log().AppendError(std::string(FlowTitle(kind)) + " was not started: " + plan.Reason());
        m_ui.prompts.ShowMessage(kDefaultPromptTitle, plan.Reason(), PromptIcon::Warning);
        return false;
    }
    m_flows->Start(std::move(*plan), session);
    return true;
}

void CToolsController::OnFlowFinished(FlowKind kind, bool passed, const QString& result) {
    const ExternalTool tool = kind == FlowKind::Simulation  ? ExternalTool::VhdlSimulator
                              : kind == FlowKind::Synthesis ? ExternalTool::Synthesizer
                                                            : ExternalTool::Implementer;
    if (m_flowPanel != nullptr)
        m_flowPanel->ShowResult(tool, passed);
    C3SplitFrame* project = m_windows.Active();
    if (kind != FlowKind::Simulation || !passed || project == nullptr)
        return;
    if (!m_ui.tools.FindProgram(kWaveformViewer).empty())
        static_cast<void>(OpenWaveform(PathFromQt(result), project->Doc()));
    else
        project->Doc().Log().AppendLog(std::string(kLogNewLine) + kNoWaveformViewer);
}

bool CToolsController::ViewWaveform() {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return false;
    const std::filesystem::path waveform = LatestWaveform(project->Doc());
    if (waveform.empty()) {
        m_ui.prompts.ShowMessage(
            kDefaultPromptTitle,
            "There is no waveform yet: run VHDL Simulation (Tools > VHDL Simulator) first.",
            PromptIcon::Information);
        return false;
    }
    return OpenWaveform(waveform, project->Doc());
}

bool CToolsController::OpenWaveform(const std::filesystem::path& waveform, CKSTDoc& project) {
    const std::string viewer = m_ui.tools.FindProgram(kWaveformViewer);
    if (viewer.empty()) {
        m_ui.prompts.ShowMessage(kDefaultPromptTitle, kNoWaveformViewer, PromptIcon::Warning);
        return false;
    }
    const ToolProcess process{"Waveform viewer", viewer, {waveform.string()}, waveform.parent_path()};
    if (m_ui.tools.Start(process, &project.Log()))
        return true;
    m_ui.prompts.ShowMessage(kDefaultPromptTitle, kCannotLaunchMessage, PromptIcon::Warning);
    return false;
}

void CToolsController::ShowToolMessage(LaunchOutcome outcome, ExternalTool tool) {
    m_ui.prompts.ShowMessage(kDefaultPromptTitle, LaunchMessage(outcome, tool), PromptIcon::Warning);
}

void CToolsController::OnFlowSettings() {
    C3SplitFrame* project = m_windows.Active();
    if (project == nullptr)
        return;
    const QString folder = PathToQt(std::filesystem::path(project->Doc().GetPathName()).parent_path());
    CFlowSettingsDialog dialog(
        project->Doc(),
        [this, folder](const QString& title, const QString& filter) {
            return QFileDialog::getOpenFileName(&m_window, title, folder, filter);
        },
        &m_window);
    if (m_ui.ExecDialog(dialog) != QDialog::Accepted)
        return;
    // The root's parameter list shows the settings.
    if (CHierarchyItem* selected = project->Session().Selected())
        project->Session().Observer().ReloadPanes(selected);
    emit project->commandStateChanged();
}

void CToolsController::OnToolSettings() {
    CToolSettingsDialog dialog(m_ui.settings, &m_window);
    m_ui.ExecDialog(dialog);
}

void CToolsController::OnDesignFlow() {
    // The panel stands alone on the desktop: it has no parent, so it stays when the main
    // window is minimized.
    CDesignFlowDialog dialog([this](ExternalTool tool) { return LaunchTool(tool); },
                             [this] { static_cast<void>(ViewWaveform()); });
    m_flowPanel = &dialog;
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
    m_flowPanel = nullptr;
    m_window.setWindowState(before & ~Qt::WindowMinimized);
    if (!m_window.isVisible())
        m_window.show();
    m_window.activateWindow();
}

} // namespace kestra
