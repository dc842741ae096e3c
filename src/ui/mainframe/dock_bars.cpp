#include "mainframe/dock_bars.h"

#include "system/settings_store.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QToolBar>

namespace kestra {

namespace {

constexpr const char* kStateKey = "State";

// A bar's pane until the bar's own view exists: empty, but it can hold the focus.
class CEmptyPane : public QWidget {
public:
    CEmptyPane(QSize hint, QWidget* parent) : QWidget(parent), m_hint(hint) {
        setFocusPolicy(Qt::StrongFocus);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
    }
    QSize sizeHint() const override { return m_hint; }

private:
    QSize m_hint;
};

} // namespace

CDockBars::CDockBars(QMainWindow& frame, QToolBar& mainToolBar, CSettingsStore& settings)
    : QObject(&frame), m_frame(frame), m_mainToolBar(mainToolBar), m_settings(settings),
      m_library(CreateBar(QStringLiteral("MODULE LIBRARY"), QStringLiteral("LibraryBar"), 188, 300)),
      m_diagram(CreateBar(QStringLiteral("BLOCK DIAGRAM"), QStringLiteral("BlockDiagramBar"), 500, 210)),
      m_signals(CreateBar(QStringLiteral("SIGNAL LIST"), QStringLiteral("SignalListBar"), 500, 210)),
      m_editor(CreateBar(QStringLiteral("VHDL EDITOR"), QStringLiteral("VhdlEditorBar"), 560, 400)) {}

QDockWidget* CDockBars::CreateBar(const QString& title, const QString& name, int width, int height) {
    auto* bar = new QDockWidget(title, &m_frame);
    bar->setObjectName(name);
    bar->setAllowedAreas(Qt::AllDockWidgetAreas);
    bar->setWidget(new CEmptyPane(QSize(width, height), bar));
    return bar;
}

QWidget* CDockBars::BlockDiagramPane() const {
    return m_diagram->widget();
}

QWidget* CDockBars::SignalListPane() const {
    return m_signals->widget();
}

void CDockBars::RestoreLayout() {
    m_frame.addDockWidget(Qt::LeftDockWidgetArea, m_library);
    m_frame.addDockWidget(Qt::BottomDockWidgetArea, m_diagram);
    m_frame.splitDockWidget(m_diagram, m_signals, Qt::Horizontal);
    m_frame.resizeDocks({m_library}, {188}, Qt::Horizontal);
    m_frame.resizeDocks({m_diagram, m_signals}, {500, 500}, Qt::Horizontal);
    m_frame.resizeDocks({m_diagram}, {210}, Qt::Vertical);
    // The editor stands beside the project windows, where a source's lines have room; it shows
    // when a source opens.
    m_frame.addDockWidget(Qt::RightDockWidgetArea, m_editor);
    m_frame.resizeDocks({m_editor}, {560}, Qt::Horizontal);
    m_library->hide();
    m_editor->hide();
    const QByteArray state =
        QByteArray::fromBase64(QByteArray::fromStdString(m_settings.ReadSetting(kStateSection, kStateKey)));
    if (!state.isEmpty())
        m_frame.restoreState(state);
    HideDropDowns();
}

void CDockBars::SetDiagramToolBars(QToolBar* toolbar, const QList<QToolBar*>& dropDowns) {
    m_diagramToolBar = toolbar;
    m_dropDowns = dropDowns;
}

void CDockBars::HideDropDowns() {
    for (QToolBar* toolbar : m_dropDowns)
        toolbar->hide();
}

void CDockBars::SaveLayout() {
    m_settings.WriteSetting(kStateSection, kStateKey, m_frame.saveState().toBase64().toStdString());
}

void CDockBars::SetDiagramMaximized(bool maximized) {
    if (maximized == m_maximized)
        return;
    if (maximized) {
        SaveLayout();
        m_maximized = true;
        // The menu bar stays: View > Maximize Block Diagram is the way back, and every command
        // stays at hand.
        m_mainToolBar.hide();
        m_library->hide();
        m_signals->hide();
        m_editor->hide();
        m_diagram->show();
        if (m_diagramToolBar != nullptr) {
            m_frame.addToolBar(Qt::TopToolBarArea, m_diagramToolBar);
            m_diagramToolBar->show();
        }
        // The diagram bar takes the whole client area while the project windows stand aside.
        if (m_frame.centralWidget() != nullptr)
            m_frame.centralWidget()->hide();
        return;
    }
    m_maximized = false;
    if (m_frame.centralWidget() != nullptr)
        m_frame.centralWidget()->show();
    const QByteArray state =
        QByteArray::fromBase64(QByteArray::fromStdString(m_settings.ReadSetting(kStateSection, kStateKey)));
    if (!state.isEmpty()) {
        m_frame.restoreState(state);
    } else {
        m_mainToolBar.show();
        if (m_diagramToolBar != nullptr)
            m_frame.addToolBar(Qt::BottomToolBarArea, m_diagramToolBar);
    }
    HideDropDowns();
    BlockDiagramPane()->setFocus();
}

} // namespace kestra
