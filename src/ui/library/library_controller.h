#pragma once

#include "actions/action_table.h"
#include "library/library_roots.h"

#include <QObject>
#include <filesystem>
#include <functional>

class QMainWindow;

namespace kestra {

class CDiagramPane;
class CDockBars;
class CLibraryBar;
class CProjectWindows;
struct CMainActions;
struct UiContext;

// The module library in the main window: the library bar, and the commands that insert modules
// from the libraries below the active project's selection and store modules into them through
// the Browse Library dialog (also when an unnamed library block is drawn in the diagram).
class CLibraryController : public QObject {
    Q_OBJECT

public:
    CLibraryController(QMainWindow& window, CDockBars& bars, CMainActions& actions, const UiContext& ui,
                       CProjectWindows& windows, CDiagramPane& diagram, const std::function<void()>& changed);

    CLibraryBar* Bar() const { return m_bar; }
    void UpdateActions() const { m_rules.Update(); }

private:
    void OnInsertLibraryModule(bool predefined);
    void OnCreateLibraryModule(bool predefined);
    void OnLibraryModuleClicked(const std::filesystem::path& file);
    // An unnamed library or predefined module block in the diagram starts the insertion.
    void OnDiagramLibraryInsertion(LibraryKind kind);

    QMainWindow& m_window;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    CDiagramPane& m_diagram;
    std::function<void()> m_changed;
    CActionRules m_rules;
    CLibraryBar* m_bar;
};

} // namespace kestra
