#include "system/application_paths.h"

#include "system/file_system.h"
#include "system/path_text.h"
#include "system/settings_store.h"

namespace kestra {

namespace {

std::string ReadOrDefault(CSettingsStore& settings, const char* key, const std::string& fallback,
                          bool create) {
    std::string value = settings.ReadSetting(kSettingsSection, key);
    if (!value.empty())
        return value;
    settings.WriteSetting(kSettingsSection, key, fallback);
    if (create)
        CreateFolders(NormalizeSeparators(fallback));
    return fallback;
}

} // namespace

ApplicationPaths InitialiseApplicationPaths(CSettingsStore& settings,
                                            const std::filesystem::path& startFolder) {
    std::string start = startFolder.string();
    while (start.size() > 1 && start.back() == '/')
        start.pop_back();
    ApplicationPaths paths;
    paths.applicationPath = ReadOrDefault(settings, kApplicationPathKey, start, false);
    const std::string prefix = start == "/" ? std::string() : start;
    paths.libraryPath = ReadOrDefault(settings, kLibraryPathKey, prefix + "/Library/", true);
    paths.predefinedPath = ReadOrDefault(settings, kPredefinedPathKey, prefix + "/Predefined/", true);
    return paths;
}

std::filesystem::path UserManualPath(const ApplicationPaths& paths) {
    return ResolvePath(NormalizeSeparators(paths.applicationPath), "KESTRA.pdf");
}

std::filesystem::path TutorialPath(const ApplicationPaths& paths) {
    return ResolvePath(NormalizeSeparators(paths.applicationPath), "Tutorial/Tutorial.html");
}

} // namespace kestra
