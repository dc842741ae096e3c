#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestra {

class CMainFrame;
class CSettingsStore;
struct StartupFolders;
struct UiContext;

// Start-up of the windowed application on an existing QApplication: the main window with its
// saved layout, and the project named on the command line (the first word, a ".kst" path).
// Returns no window when that project cannot be opened: the application then ends. `created`
// sees the window before anything is opened (to parent the message boxes).
std::unique_ptr<CMainFrame> StartMainFrame(const UiContext& ui, const std::vector<std::string>& arguments,
                                           const std::function<void(CMainFrame&)>& created = {});

// The whole windowed run: the start-up paths from the given folders, prompts, clipboard and
// shell, the main window shown maximised, and the event loop. Returns the exit status.
int RunWindowedApplication(const std::vector<std::string>& arguments, CSettingsStore& settings,
                           const StartupFolders& folders);

} // namespace kestra
