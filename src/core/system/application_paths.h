#pragma once

#include <filesystem>
#include <string>

namespace kestra {

class CSettingsStore;

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kApplicationPathKey = "Application path";
inline constexpr const char* kLibraryPathKey = "Library path";
inline constexpr const char* kPredefinedPathKey = "Predefined path";

// The folders the application knows from start-up on, as the settings hold them (they may
// have been written on another system, so resolve them before use), and the user's data
// folder that relative library paths and the library defaults start from.
struct ApplicationPaths {
    std::string applicationPath;
    std::string libraryPath;
    std::string predefinedPath;
    std::filesystem::path userDataFolder;
};

// Where the program is, as the platform finds it: the folder of its own installed files (the
// user manual and the tutorial below "docs"), and the user's data folder for the program (on
// Linux ~/.local/share/<organisation>/KESTRA). The current folder plays no part.
struct StartupFolders {
    std::filesystem::path application;
    std::filesystem::path userData;
};

// Reads the three start-up folders. A missing or empty library path gets "Library" or
// "Predefined" in the user's data folder, which is written back and created. A stored library
// path is kept as it is. The stored "Application path" is kept while it still holds the user
// manual (it may name a folder an older version or another installation left behind);
// otherwise the program's own folder is written there. Nothing is created outside the user's
// data folder. A folder that cannot be created is not reported here.
ApplicationPaths InitialiseApplicationPaths(CSettingsStore& settings, const StartupFolders& folders);

// The user manual and the tutorial below the application path (Markdown, with their pictures
// in "docs/images").
std::filesystem::path UserManualPath(const ApplicationPaths& paths);
std::filesystem::path TutorialPath(const ApplicationPaths& paths);
// The example project installed with the program (examples/blinker/Blinker.kst below the
// application path). The installed copy may be read-only: open a copy of it.
std::filesystem::path ExampleProjectPath(const ApplicationPaths& paths);

} // namespace kestra
