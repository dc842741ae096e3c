#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// What a kept work folder of the check knows about one file of its last check: the library it
// went into, its content's hash, whether it was analysed without error, and the design units it
// declares and uses (lower case names, whatever library they are in: a unit of the same name
// elsewhere only costs an analysis too many).
struct ManifestFile {
    std::string path;
    std::string library;
    std::uint64_t hash = 0;
    bool passed = false;
    std::vector<std::string> declares;
    std::vector<std::string> uses;
};

// The record of a kept work folder: the analyser and the options its libraries were made with,
// and the files of the check in their order.
struct CheckManifest {
    std::string program;
    std::vector<std::string> options;
    std::vector<ManifestFile> files;
};

// The manifest's file name in the work folder.
inline constexpr const char* kCheckManifestName = "kestra-check.manifest";

// The manifest as a text file, and back; a text that is not a whole manifest gives none.
std::string ManifestText(const CheckManifest& manifest);
[[nodiscard]] std::optional<CheckManifest> ParseManifest(std::string_view text);

// The units a VHDL text declares and the units it uses: packages of its use clauses, entities of
// its architectures and configurations, the packages of its package bodies, and what its
// instances stand for.
struct SourceUnits {
    std::vector<std::string> declares;
    std::vector<std::string> uses;
};
SourceUnits UnitsOfSource(std::string_view text);

// Which files of a check are analysed again. Without a last manifest, or when the analyser, its
// options or the set of files changed (a file left out may still have units in the libraries),
// the folder is cleared and every file analysed. Otherwise a file is analysed when it is new,
// changed (content or library) or did not pass last time, and so is, in job order, every file
// that uses a unit one of those declares (before or after its change).
struct CheckPlan {
    bool clearFolder = false;
    std::vector<bool> analyze;
};
CheckPlan PlanCheck(const std::optional<CheckManifest>& last, const CheckManifest& now);

// The kept work folders of a project's checks: <cache>/kestra/check/<16 hex digits of a hash of
// the project file's absolute path>, the cache being $XDG_CACHE_HOME when it is an absolute path,
// else $HOME/.cache. Empty for a project not saved yet, when neither is set, or when the folder
// would lie inside the project's own folder (nothing is written there).
std::filesystem::path CheckWorkFolderFor(const std::filesystem::path& projectPath,
                                         std::string_view xdgCacheHome, std::string_view home);
// The same with the values of this process's environment.
std::filesystem::path CheckWorkFolderFor(const std::filesystem::path& projectPath);

// 16 hex digits of a hash of the text.
std::string HexHash(std::string_view text);

} // namespace kestra
