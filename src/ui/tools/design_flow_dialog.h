#pragma once

#include "tools/external_tools.h"

#include <QDialog>
#include <functional>
#include <map>

class QToolButton;

namespace kestra {

// "KESTRA - Design Flow": the design flow drawn as buttons joined by arrows, from design entry
// through VHDL simulation, synthesis, functional simulation and implementation to timing
// simulation. A tool button starts the tool and, when it started, shows its step as visited,
// and as failed when its flow fails (ShowResult); Wave opens the latest simulation's waveform;
// Entry (also Enter) closes the panel. The marks last while the panel is open.
class CDesignFlowDialog : public QDialog {
    Q_OBJECT

public:
    // Starts the tool; true when it started.
    using Launch = std::function<bool(ExternalTool)>;
    CDesignFlowDialog(Launch launch, std::function<void()> viewWaveform, QWidget* parent = nullptr);

    QToolButton* EntryButton() const { return m_entry; }
    QToolButton* ToolButton(ExternalTool tool) const { return m_buttons.at(tool); }
    QToolButton* WaveButton() const { return m_wave; }
    bool IsVisited(ExternalTool tool) const { return m_visited.at(tool); }
    bool IsFailed(ExternalTool tool) const { return m_failed.at(tool); }
    // The flow the tool's button started ended: a failed one shows its step failed, not visited.
    void ShowResult(ExternalTool tool, bool passed);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* MakeStep(const QString& text, const QString& picture);
    void OnTool(ExternalTool tool);
    void ShowStep(ExternalTool tool);

    Launch m_launch;
    QToolButton* m_entry = nullptr;
    QToolButton* m_wave = nullptr;
    std::map<ExternalTool, QToolButton*> m_buttons;
    std::map<ExternalTool, bool> m_visited;
    std::map<ExternalTool, bool> m_failed;
};

} // namespace kestra
