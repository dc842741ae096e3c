#include "mainframe/application.h"

#include "desktop/desktop_shell.h"
#include "desktop/qt_user_prompts.h"
#include "desktop/system_tree_clipboard.h"
#include "mainframe/main_frame.h"
#include "mainframe/ui_context.h"
#include "session/project_session.h"
#include "system/application_paths.h"
#include "tools/qt_tool_runner.h"

#include <QApplication>
#include <QScreen>
#include <filesystem>

namespace kestra {

std::unique_ptr<CMainFrame> StartMainFrame(const UiContext& ui, const std::vector<std::string>& arguments,
                                           const std::function<void(CMainFrame&)>& created) {
    auto frame = std::make_unique<CMainFrame>(ui);
    if (created)
        created(*frame);
    if (!arguments.empty() && !frame->OpenProjectFile(arguments.front()))
        return nullptr;
    // Without a window manager a maximised window keeps its size: cover the work area first.
    if (const QScreen* screen = frame->screen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    return frame;
}

int RunWindowedApplication(const std::vector<std::string>& arguments, CSettingsStore& settings,
                           const StartupFolders& folders) {
    CQtUserPrompts prompts;
    CSystemTreeClipboard clipboard;
    COpenProjects projects(clipboard);
    CDesktopShell shell;
    CQtToolRunner tools;
    const UiContext ui{
        settings, prompts, projects, shell, tools, InitialiseApplicationPaths(settings, folders), {}};
    std::unique_ptr<CMainFrame> frame =
        StartMainFrame(ui, arguments, [&prompts](CMainFrame& created) { prompts.SetParent(&created); });
    if (!frame)
        return 1;
    const int status = QApplication::exec();
    prompts.SetParent(nullptr);
    return status;
}

} // namespace kestra
