#include "tools/design_flow_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace kestra {

namespace {

constexpr int kPictureSize = 48;

struct FlowStep {
    ExternalTool tool;
    const char* text;
    const char* picture;
    int row;
    int column;
};

// Entry at the top left; each tool step beside or below the step it follows.
constexpr FlowStep kSteps[] = {
    {ExternalTool::VhdlSimulator, "VHDL", "vhdl", 0, 2},
    {ExternalTool::Synthesizer, "Syn", "syn", 2, 0},
    {ExternalTool::FunctionalSimulator, "Func", "func", 2, 2},
    {ExternalTool::Implementer, "Implem", "implem", 4, 0},
    {ExternalTool::TimingSimulator, "Timing", "timing", 4, 2},
};

// The step's picture: not visited, visited, or failed.
QIcon FlowPicture(const char* picture, bool visited, bool failed) {
    const QString state =
        failed ? QStringLiteral("-failed") : (visited ? QStringLiteral("-visited") : QString());
    return QIcon(QStringLiteral(":/icons/flow-%1%2.svg").arg(QLatin1String(picture), state));
}

QLabel* Arrow(bool down) {
    auto* arrow = new QLabel;
    const QString name =
        down ? QStringLiteral(":/icons/flow-arrow-down.svg") : QStringLiteral(":/icons/flow-arrow-right.svg");
    arrow->setPixmap(QIcon(name).pixmap(down ? QSize(16, 32) : QSize(32, 16)));
    arrow->setAlignment(Qt::AlignCenter);
    return arrow;
}

} // namespace

CDesignFlowDialog::CDesignFlowDialog(Launch launch, std::function<void()> viewWaveform, QWidget* parent)
    : QDialog(parent), m_launch(std::move(launch)) {
    setWindowTitle(QStringLiteral("KESTRA - Design Flow"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestra.svg")));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    grey.setColor(QPalette::Button, QColor(192, 192, 192));
    setPalette(grey);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(16, 16, 16, 16);
    m_entry = MakeStep(QStringLiteral("Entry"), QStringLiteral(":/icons/flow-entry.svg"));
    m_entry->setToolTip(QStringLiteral("Back to design entry"));
    connect(m_entry, &QToolButton::clicked, this, &QDialog::accept);
    grid->addWidget(m_entry, 0, 0);
    for (const FlowStep& step : kSteps) {
        QToolButton* button = MakeStep(QString::fromLatin1(step.text), QString());
        button->setIcon(FlowPicture(step.picture, false, false));
        button->setToolTip(QStringLiteral("Start the %1").arg(QString::fromLatin1(ToolRow(step.tool).title)));
        const ExternalTool tool = step.tool;
        connect(button, &QToolButton::clicked, this, [this, tool] { OnTool(tool); });
        grid->addWidget(button, step.row, step.column);
        m_buttons[tool] = button;
        m_visited[tool] = false;
        m_failed[tool] = false;
    }
    // The simulation's waveform, after VHDL simulation.
    m_wave = MakeStep(QStringLiteral("Wave"), QStringLiteral(":/icons/flow-wave.svg"));
    m_wave->setToolTip(QStringLiteral("View the latest simulation's waveform"));
    connect(m_wave, &QToolButton::clicked, this, [viewWaveform = std::move(viewWaveform)] {
        if (viewWaveform)
            viewWaveform();
    });
    grid->addWidget(Arrow(false), 0, 3);
    grid->addWidget(m_wave, 0, 4);
    // Entry -> VHDL simulation, Entry -> synthesis -> implementation, each followed by its
    // simulation on the right.
    for (int row : {0, 2, 4})
        grid->addWidget(Arrow(false), row, 1);
    grid->addWidget(Arrow(true), 1, 0);
    grid->addWidget(Arrow(true), 3, 0);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QToolButton* CDesignFlowDialog::MakeStep(const QString& text, const QString& picture) {
    auto* button = new QToolButton;
    button->setText(text);
    if (!picture.isEmpty())
        button->setIcon(QIcon(picture));
    button->setIconSize(QSize(kPictureSize, kPictureSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(80);
    return button;
}

void CDesignFlowDialog::OnTool(ExternalTool tool) {
    if (!m_launch || !m_launch(tool))
        return;
    m_visited[tool] = true;
    m_failed[tool] = false;
    ShowStep(tool);
}

void CDesignFlowDialog::ShowResult(ExternalTool tool, bool passed) {
    m_failed[tool] = !passed;
    m_visited[tool] = passed;
    ShowStep(tool);
}

void CDesignFlowDialog::ShowStep(ExternalTool tool) {
    for (const FlowStep& step : kSteps) {
        if (step.tool == tool)
            m_buttons[tool]->setIcon(FlowPicture(step.picture, m_visited[tool], m_failed[tool]));
    }
}

void CDesignFlowDialog::keyPressEvent(QKeyEvent* event) {
    // Entry is the default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kestra
