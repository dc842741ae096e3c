#pragma once

#include "actions/action_table.h"
#include "tools/external_tools.h"
#include "tools/fpga_flow.h"

#include <QObject>
#include <functional>

class QMainWindow;

namespace kestra {

class C3SplitFrame;
class CDesignFlowDialog;
class CFlowRunner;
class CProjectWindows;
struct CMainActions;
struct UiContext;

// The Tools menu: the external tools launched in the active project's destination folder with
// its link parameter (with the tool message when nothing starts), the Tools Setting dialog and
// the design flow panel. Where the synthesizer, the implementation tool or the VHDL simulator is
// the open toolchain's and the project names no file of its own for it, the launch runs the
// project's flow instead (generate, then the tools, in the background): a failed flow marks its
// step failed in the open panel, a passed simulation opens its waveform in the waveform viewer
// (View Waveform opens the latest again).
class CToolsController : public QObject {
    Q_OBJECT

public:
    CToolsController(QMainWindow& window, const UiContext& ui, CMainActions& actions,
                     CProjectWindows& windows, std::function<void()> changed);

    // True when the tool (or its flow) started; otherwise the user is told why.
    bool LaunchTool(ExternalTool tool);
    CFlowRunner& Flows() const { return *m_flows; }
    // The waveform viewer on the newest waveform of the active project's flows; false (told)
    // without one or without the viewer.
    bool ViewWaveform();
    void UpdateActions() const { m_rules.Update(); }

private:
    // Why a tool did not start.
    void ShowToolMessage(LaunchOutcome outcome, ExternalTool tool);
    void OnToolSettings();
    // The active project's FPGA Flow Settings dialog.
    void OnFlowSettings();
    // The design flow panel, modal; the main window is minimized while it is open.
    void OnDesignFlow();
    bool StartFlow(FlowKind kind, C3SplitFrame& project);
    void OnFlowFinished(FlowKind kind, bool passed, const QString& result);
    bool OpenWaveform(const std::filesystem::path& waveform, CKSTDoc& project);

    QMainWindow& m_window;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    CActionRules m_rules;
    CFlowRunner* m_flows;
    // The panel while it is open, which shows how a flow it started ended.
    CDesignFlowDialog* m_flowPanel = nullptr;
};

} // namespace kestra
