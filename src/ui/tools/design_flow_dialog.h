#pragma once

#include "tools/external_tools.h"

#include <QDialog>
#include <functional>
#include <map>

class QToolButton;

namespace kestra {

// "KESTRA - Design Flow": the design flow drawn as buttons joined by arrows, from design entry
// through VHDL simulation, synthesis, functional simulation and implementation to timing
// simulation. A tool button starts the tool and, when it started, shows its step as visited;
// Entry (also Enter) closes the panel. The visited marks last while the panel is open.
class CDesignFlowDialog : public QDialog {
    Q_OBJECT

public:
    // Starts the tool; true when it started.
    using Launch = std::function<bool(ExternalTool)>;
    explicit CDesignFlowDialog(Launch launch, QWidget* parent = nullptr);

    QToolButton* EntryButton() const { return m_entry; }
    QToolButton* ToolButton(ExternalTool tool) const { return m_buttons.at(tool); }
    bool IsVisited(ExternalTool tool) const { return m_visited.at(tool); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* MakeStep(const QString& text, const QString& picture);
    void OnTool(ExternalTool tool);

    Launch m_launch;
    QToolButton* m_entry = nullptr;
    std::map<ExternalTool, QToolButton*> m_buttons;
    std::map<ExternalTool, bool> m_visited;
};

} // namespace kestra
