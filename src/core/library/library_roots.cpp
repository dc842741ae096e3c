#include "library/library_roots.h"

#include "system/application_paths.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "system/settings_store.h"

namespace kestra {

const char* LibraryPathKey(LibraryKind kind) {
    return kind == LibraryKind::Library ? kLibraryPathKey : kPredefinedPathKey;
}

const char* LibraryRootText(LibraryKind kind) {
    return kind == LibraryKind::Library ? "Library module" : "Predefined module";
}

std::filesystem::path LibraryRootFromText(std::string_view settingText) {
    std::string text = NormalizeSeparators(settingText);
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

LibraryRootFolder OpenLibraryRoot(CSettingsStore& settings, LibraryKind kind,
                                  const std::filesystem::path& userDataFolder) {
    std::string value = settings.ReadSetting(kSettingsSection, LibraryPathKey(kind));
    if (value.empty()) {
        std::string start = userDataFolder.string();
        while (!start.empty() && start.back() == '/')
            start.pop_back();
        value = start + (kind == LibraryKind::Library ? "/Library/" : "/Predefined/");
        settings.WriteSetting(kSettingsSection, LibraryPathKey(kind), value);
    }
    std::filesystem::path root = ResolvePath(userDataFolder, LibraryRootFromText(value).string());
    Outcome created = CreateFolders(root);
    return {std::move(root), std::move(created)};
}

} // namespace kestra
