#pragma once

#include "system/application_paths.h"

#include <functional>

class QDialog;

namespace kestra {

class CDesktopShell;
class CQtToolRunner;
class COpenProjects;
class CSettingsStore;
class CUserPrompts;

// What the windows of one running application share: the settings store, the prompts, the
// open projects (with the tree clipboard), the desktop shell, the external tools, the start-up folders, and
// the way modal dialogs are run (tests answer them without a modal loop). Everything is owned outside the
// windows.
struct UiContext {
    CSettingsStore& settings;
    CUserPrompts& prompts;
    COpenProjects& projects;
    CDesktopShell& shell;
    // The external tools started from the window; they may outlive a project window.
    CQtToolRunner& tools;
    ApplicationPaths paths;
    // Runs a modal dialog and returns its result code; exec() unless a test says otherwise.
    std::function<int(QDialog&)> execDialog;

    int ExecDialog(QDialog& dialog) const;
};

} // namespace kestra
