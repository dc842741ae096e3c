#include "system/application_paths.h"

#include "system/file_system.h"
#include "system/path_text.h"
#include "system/settings_store.h"

namespace kestra {

namespace {

constexpr const char* kUserManualFile = "docs/manual.md";
constexpr const char* kTutorialFile = "docs/tutorial.md";
constexpr const char* kExampleProjectFile = "examples/blinker/Blinker.kst";

std::string WithoutTrailingSeparators(std::string text) {
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// A library root: the stored value, or the named folder in the user's data folder, written
// back and created.
std::string LibraryPathOrDefault(CSettingsStore& settings, const char* key, const std::string& dataFolder,
                                 const char* name) {
    std::string value = settings.ReadSetting(kSettingsSection, key);
    if (!value.empty())
        return value;
    value = (dataFolder == "/" ? std::string() : dataFolder) + "/" + name + "/";
    settings.WriteSetting(kSettingsSection, key, value);
    // Start-up goes on without it: opening the library makes the folder again and says why not.
    static_cast<void>(CreateFolders(value));
    return value;
}

} // namespace

ApplicationPaths InitialiseApplicationPaths(CSettingsStore& settings, const StartupFolders& folders) {
    ApplicationPaths paths;
    paths.userDataFolder = WithoutTrailingSeparators(folders.userData.string());
    const std::string dataFolder = paths.userDataFolder.string();

    paths.applicationPath = settings.ReadSetting(kSettingsSection, kApplicationPathKey);
    if (paths.applicationPath.empty() || !FileExists(UserManualPath(paths))) {
        const std::string found = WithoutTrailingSeparators(folders.application.string());
        if (found != paths.applicationPath) {
            paths.applicationPath = found;
            settings.WriteSetting(kSettingsSection, kApplicationPathKey, found);
        }
    }
    paths.libraryPath = LibraryPathOrDefault(settings, kLibraryPathKey, dataFolder, "Library");
    paths.predefinedPath = LibraryPathOrDefault(settings, kPredefinedPathKey, dataFolder, "Predefined");
    return paths;
}

std::filesystem::path UserManualPath(const ApplicationPaths& paths) {
    return ResolvePath(NormalizeSeparators(paths.applicationPath), kUserManualFile);
}

std::filesystem::path TutorialPath(const ApplicationPaths& paths) {
    return ResolvePath(NormalizeSeparators(paths.applicationPath), kTutorialFile);
}

std::filesystem::path ExampleProjectPath(const ApplicationPaths& paths) {
    return ResolvePath(NormalizeSeparators(paths.applicationPath), kExampleProjectFile);
}

} // namespace kestra
