#pragma once

#include <QList>
#include <QObject>

class QDockWidget;
class QMainWindow;
class QToolBar;
class QWidget;

namespace kestra {

class CSettingsStore;

// The main window's docking bars, "MODULE LIBRARY", "BLOCK DIAGRAM", "SIGNAL LIST" and "VHDL EDITOR",
// their default places and sizes, the layout kept under "DockBarState", and the block diagram
// maximizing toggle (the diagram bar with its toolbar and the menu bar fill the window). The main window puts
// the views into the bars; a bar whose view does not exist yet holds an empty pane.
class CDockBars : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kStateSection = "DockBarState";

    CDockBars(QMainWindow& frame, QToolBar& mainToolBar, CSettingsStore& settings);

    QDockWidget* LibraryBar() const { return m_library; }
    QDockWidget* BlockDiagramBar() const { return m_diagram; }
    QDockWidget* SignalListBar() const { return m_signals; }
    QDockWidget* EditorBar() const { return m_editor; }
    QWidget* BlockDiagramPane() const;
    QWidget* SignalListPane() const;

    // Lays the bars out at their default places and sizes, then applies the saved layout.
    void RestoreLayout();
    void SaveLayout();

    // The block diagram's toolbar (docked at the top while maximized) and its four drop-down
    // toolbars (hidden again after a saved layout is applied).
    void SetDiagramToolBars(QToolBar* toolbar, const QList<QToolBar*>& dropDowns);

    bool IsDiagramMaximized() const { return m_maximized; }
    void SetDiagramMaximized(bool maximized);

private:
    QDockWidget* CreateBar(const QString& title, const QString& name, int width, int height);
    void HideDropDowns();

    QMainWindow& m_frame;
    QToolBar& m_mainToolBar;
    CSettingsStore& m_settings;
    QDockWidget* m_library;
    QDockWidget* m_diagram;
    QDockWidget* m_signals;
    QDockWidget* m_editor;
    QToolBar* m_diagramToolBar = nullptr;
    QList<QToolBar*> m_dropDowns;
    bool m_maximized = false;
};

} // namespace kestra
