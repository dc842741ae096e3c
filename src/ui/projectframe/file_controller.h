#pragma once

#include "actions/action_table.h"
#include "projectframe/recent_file_list.h"

#include <QObject>
#include <functional>
#include <string>

class QMainWindow;

namespace kestra {

class CProjectWindows;
struct CMainActions;
struct UiContext;

// The File menu's project commands: New, Open and the recent projects, Save, Save As, Close
// and Properties, over the project windows of the main window; and Open the Example Project,
// which opens a copy of the installed example in a folder the user chooses.
class CFileController : public QObject {
    Q_OBJECT

public:
    CFileController(QMainWindow& window, const UiContext& ui, CMainActions& actions, CProjectWindows& windows,
                    std::function<void()> changed);

    CRecentFileList& RecentFiles() { return m_recentFiles; }
    // Opens the project (or brings its window forward when it is open already).
    bool OpenProjectFile(const std::string& path);
    void UpdateActions() const { m_rules.Update(); }

private:
    void OnNewProject();
    void OnOpenProject();
    void OnOpenRecentFile(int index);
    void OnOpenExample();
    void OnSaveProjectAs();
    void OnCloseProject();
    void OnProperties();
    void UpdateRecentFileActions();

    QMainWindow& m_window;
    const UiContext& m_ui;
    CMainActions& m_actions;
    CProjectWindows& m_windows;
    CRecentFileList m_recentFiles;
    CActionRules m_rules;
};

} // namespace kestra
