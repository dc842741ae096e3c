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
// have been written on another system, so resolve them before use).
struct ApplicationPaths {
    std::string applicationPath;
    std::string libraryPath;
    std::string predefinedPath;
};

// Reads the three start-up folders. A missing or empty one gets its default from the
// current folder at start-up, is written back, and (for the two libraries) created.
// A folder that cannot be created is not reported here.
ApplicationPaths InitialiseApplicationPaths(CSettingsStore& settings,
                                            const std::filesystem::path& startFolder);

// The user manual and the tutorial below the application path.
std::filesystem::path UserManualPath(const ApplicationPaths& paths);
std::filesystem::path TutorialPath(const ApplicationPaths& paths);

} // namespace kestra
