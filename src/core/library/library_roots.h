#pragma once

#include "system/outcome.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kestra {

class CSettingsStore;

// The two module libraries: library modules (whole sub-hierarchies) and predefined modules.
enum class LibraryKind { Library, Predefined };

// The settings key that holds the library's root folder.
const char* LibraryPathKey(LibraryKind kind);
// The text of the library tree's root item: "Library module" or "Predefined module".
const char* LibraryRootText(LibraryKind kind);

// A root folder as text from the settings, usable as a path: '\' read as '/', trailing
// separators removed (a lone "/" stays).
std::filesystem::path LibraryRootFromText(std::string_view settingText);

// The library's root folder from the settings. A missing or empty value gets the default (the
// user's data folder followed by "/Library/" or "/Predefined/"), which is written back; a
// relative value is taken from the user's data folder too. The folder is created when missing;
// the path comes with the outcome of that, and is the same when the folder could not be made.
struct LibraryRootFolder {
    std::filesystem::path path;
    Outcome created;
};
[[nodiscard]] LibraryRootFolder OpenLibraryRoot(CSettingsStore& settings, LibraryKind kind,
                                                const std::filesystem::path& userDataFolder);

} // namespace kestra
