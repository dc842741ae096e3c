#include "mainframe/start_panel.h"

#include "mainframe/main_actions.h"

#include <QAction>
#include <QCommandLinkButton>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kestra {

namespace {

QLabel* Heading(const QString& text, double scale, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    return label;
}

} // namespace

CStartPanel::CStartPanel(const CMainActions& actions, QWidget& area)
    : QFrame(&area), m_actions(actions), m_area(area),
      m_recentTitle(Heading(QStringLiteral("Recent projects"), 1.1, this)) {
    setObjectName(QStringLiteral("startPanel"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto* start = new QVBoxLayout;
    start->addWidget(Heading(QStringLiteral("Start"), 1.1, this));
    start->addWidget(AddButton(actions.newProject, QStringLiteral("New Project..."),
                               QStringLiteral("A project file and the folder of its modules")));
    start->addWidget(AddButton(actions.openProject, QStringLiteral("Open Project..."),
                               QStringLiteral("A project file (.kst) you have")));
    start->addWidget(AddButton(actions.openExample, QStringLiteral("Open the Example Project..."),
                               QStringLiteral("A copy of the blinking LEDs design, in a folder you choose")));
    start->addWidget(AddButton(actions.tutorial, QStringLiteral("Tutorial"),
                               QStringLiteral("A first design step by step, in about fifteen minutes")));
    start->addStretch(1);

    auto* recent = new QVBoxLayout;
    recent->addWidget(m_recentTitle);
    for (QAction* action : actions.recentFiles) {
        m_recent << AddButton(action, QString(), QString());
        recent->addWidget(m_recent.back());
        connect(action, &QAction::changed, this, &CStartPanel::UpdateRecent);
    }
    recent->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(start);
    columns->addSpacing(24);
    columns->addLayout(recent);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(Heading(QStringLiteral("KESTRA"), 1.6, this));
    layout->addWidget(new QLabel(QStringLiteral("Design entry for VHDL module hierarchies"), this));
    layout->addSpacing(12);
    layout->addLayout(columns);

    UpdateRecent();
    area.installEventFilter(this);
    Place();
}

QCommandLinkButton* CStartPanel::AddButton(QAction* action, const QString& title,
                                           const QString& description) {
    auto* button = new QCommandLinkButton(title, description, this);
    button->setMinimumWidth(300);
    connect(button, &QCommandLinkButton::clicked, action, &QAction::trigger);
    return button;
}

// A recent project shows its file's name, and its folder below.
void CStartPanel::UpdateRecent() {
    bool any = false;
    for (qsizetype i = 0; i < m_recent.size(); ++i) {
        QAction* action = m_actions.recentFiles[i];
        const QFileInfo file(action->data().toString());
        m_recent[i]->setText(file.fileName());
        m_recent[i]->setDescription(file.absolutePath());
        m_recent[i]->setVisible(action->isVisible() && !file.fileName().isEmpty());
        any = any || !m_recent[i]->isHidden();
    }
    m_recentTitle->setVisible(any);
    adjustSize();
    Place();
}

void CStartPanel::Place() {
    resize(sizeHint());
    move(std::max(0, (m_area.width() - width()) / 2), std::max(0, (m_area.height() - height()) / 2));
}

bool CStartPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_area && event->type() == QEvent::Resize)
        Place();
    return QFrame::eventFilter(watched, event);
}

} // namespace kestra
