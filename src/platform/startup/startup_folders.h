#pragma once

#include "system/application_paths.h"

#include <filesystem>
#include <vector>

namespace kestra {

// The program's own folder among candidates in order of preference: the first that holds the
// user manual, otherwise the first candidate (an installation without its documents still
// names its own folder). Empty with no candidates.
std::filesystem::path ChooseApplicationFolder(const std::vector<std::filesystem::path>& candidates);

// The folders of this run: the installation's data folder (the "share/kestra" folder beside the
// executable's "bin", or seen from the window program's folder below "libexec"), or, for an
// executable in the build folder, the source tree; and the
// user's data folder (QStandardPaths::AppDataLocation, so the application's and organisation's
// names must be set first). Creates nothing.
StartupFolders FindStartupFolders();

// Names the application, its organisation and version for Qt (settings, the user's folders).
void NameApplication();

} // namespace kestra
