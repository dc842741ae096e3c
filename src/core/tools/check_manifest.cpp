#include "tools/check_manifest.h"

#include "analysis/design_units.h"
#include "system/file_stamp.h"
#include "system/file_system.h"
#include "text/char_class.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <set>

namespace kestra {

namespace {

constexpr std::string_view kFirstLine = "KESTRA check manifest 2";

std::string JoinWords(std::string_view key, const std::vector<std::string>& words) {
    std::string line(key);
    for (const std::string& word : words)
        line += " " + word;
    return line + "\n";
}

// The words of a line after its key ("uses a b" gives a, b); none when the key differs.
std::optional<std::vector<std::string>> WordsAfter(std::string_view line, std::string_view key) {
    if (!line.starts_with(key) || (line.size() > key.size() && line[key.size()] != ' '))
        return std::nullopt;
    std::vector<std::string> words;
    std::size_t start = key.size();
    while (start < line.size()) {
        const std::size_t begin = line.find_first_not_of(' ', start);
        if (begin == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find(' ', begin), line.size());
        words.emplace_back(line.substr(begin, end - begin));
        start = end;
    }
    return words;
}

// "file <passed> <hash> <library> <path>", the path taking the rest of the line.
std::optional<ManifestFile> ParseFileLine(std::string_view line) {
    if (!line.starts_with("file "))
        return std::nullopt;
    std::string_view rest = line.substr(5);
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t space = rest.find(' ');
        if (space == std::string_view::npos || space == 0)
            return std::nullopt;
        field = rest.substr(0, space);
        rest.remove_prefix(space + 1);
    }
    ManifestFile file;
    if ((fields[0] != "0" && fields[0] != "1") || rest.empty())
        return std::nullopt;
    file.passed = fields[0] == "1";
    const auto [end, error] =
        std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), file.hash, 16);
    if (error != std::errc() || end != fields[1].data() + fields[1].size())
        return std::nullopt;
    file.library = std::string(fields[2]);
    file.path = std::string(rest);
    return file;
}

const ManifestFile* FindFile(const CheckManifest& manifest, const std::string& path) {
    const auto found = std::find_if(manifest.files.begin(), manifest.files.end(),
                                    [&path](const ManifestFile& file) { return file.path == path; });
    return found == manifest.files.end() ? nullptr : &*found;
}

void AddLower(std::vector<std::string>& names, std::string_view name) {
    if (name.empty())
        return;
    std::string lower = ToLowerAscii(name);
    if (std::find(names.begin(), names.end(), lower) == names.end())
        names.push_back(std::move(lower));
}

bool SameFileSet(const CheckManifest& last, const CheckManifest& now) {
    if (last.files.size() != now.files.size())
        return false;
    return std::all_of(now.files.begin(), now.files.end(),
                       [&last](const ManifestFile& file) { return FindFile(last, file.path) != nullptr; });
}

} // namespace

std::string ManifestText(const CheckManifest& manifest) {
    std::string text = std::string(kFirstLine) + "\nprogram " + manifest.program + "\n";
    text += JoinWords("options", manifest.options);
    for (const ManifestFile& file : manifest.files) {
        char hash[17] = {};
        const auto written = std::to_chars(hash, hash + 16, file.hash, 16);
        text += "file " + std::string(file.passed ? "1 " : "0 ") + std::string(hash, written.ptr) + " " +
                file.library + " " + file.path + "\n";
        text += JoinWords("declares", file.declares);
        text += JoinWords("uses", file.uses);
    }
    return text + "end\n";
}

std::optional<CheckManifest> ParseManifest(std::string_view text) {
    const std::vector<std::string_view> lines = TextLines(text);
    if (lines.size() < 4 || lines.front() != kFirstLine || lines.back() != "end" ||
        !lines[1].starts_with("program "))
        return std::nullopt;
    CheckManifest manifest;
    manifest.program = std::string(lines[1].substr(8));
    std::optional<std::vector<std::string>> options = WordsAfter(lines[2], "options");
    if (!options)
        return std::nullopt;
    manifest.options = std::move(*options);
    std::size_t index = 3;
    for (; index + 2 < lines.size(); index += 3) {
        std::optional<ManifestFile> file = ParseFileLine(lines[index]);
        std::optional<std::vector<std::string>> declares = WordsAfter(lines[index + 1], "declares");
        std::optional<std::vector<std::string>> uses = WordsAfter(lines[index + 2], "uses");
        if (!file || !declares || !uses)
            return std::nullopt;
        file->declares = std::move(*declares);
        file->uses = std::move(*uses);
        manifest.files.push_back(std::move(*file));
    }
    if (index != lines.size() - 1)
        return std::nullopt;
    return manifest;
}

SourceUnits UnitsOfSource(std::string_view text) {
    SourceUnits units;
    for (const DesignUnit& unit : ReadDesignUnits(text).units) {
        for (const UseClause& use : unit.context.uses)
            AddLower(units.uses, use.package);
        switch (unit.kind) {
        case DesignUnitKind::Entity:
        case DesignUnitKind::Package:
            AddLower(units.declares, unit.name);
            break;
        case DesignUnitKind::PackageBody:
            AddLower(units.uses, unit.name);
            break;
        case DesignUnitKind::Architecture:
        case DesignUnitKind::Configuration:
            // An architecture is stored with its entity; a configuration is a unit of its own.
            if (unit.kind == DesignUnitKind::Configuration)
                AddLower(units.declares, unit.name);
            AddLower(units.uses, unit.entity);
            break;
        }
        for (const InstanceBinding& instance : unit.instances) {
            AddLower(units.uses, instance.unit);
            AddLower(units.uses, instance.boundEntity);
            AddLower(units.uses, instance.boundConfiguration);
        }
    }
    return units;
}

CheckPlan PlanCheck(const std::optional<CheckManifest>& last, const CheckManifest& now) {
    CheckPlan plan;
    plan.analyze.assign(now.files.size(), true);
    if (!last || last->program != now.program || last->options != now.options || !SameFileSet(*last, now)) {
        plan.clearFolder = true;
        return plan;
    }
    std::set<std::string> changedUnits;
    auto markChanged = [&changedUnits](const ManifestFile& file) {
        changedUnits.insert(file.declares.begin(), file.declares.end());
    };
    for (std::size_t i = 0; i < now.files.size(); ++i) {
        const ManifestFile& file = now.files[i];
        const ManifestFile* before = FindFile(*last, file.path);
        plan.analyze[i] = !before->passed || before->hash != file.hash || before->library != file.library;
        if (plan.analyze[i]) {
            markChanged(*before);
            markChanged(file);
        }
    }
    // A file may use what a later one declares: go round until nothing more is added.
    for (bool added = true; added;) {
        added = false;
        for (std::size_t i = 0; i < now.files.size(); ++i) {
            const std::vector<std::string>& uses = now.files[i].uses;
            if (plan.analyze[i] ||
                std::none_of(uses.begin(), uses.end(), [&changedUnits](const std::string& unit) {
                    return changedUnits.count(unit) != 0;
                }))
                continue;
            plan.analyze[i] = true;
            markChanged(now.files[i]);
            added = true;
        }
    }
    return plan;
}

std::string HexHash(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::uint64_t hash = ContentHash(text);
    std::string hex(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return hex;
}

std::filesystem::path CheckWorkFolderFor(const std::filesystem::path& projectPath,
                                         std::string_view xdgCacheHome, std::string_view home) {
    std::filesystem::path cache;
    if (projectPath.empty())
        return {};
    if (!xdgCacheHome.empty() && std::filesystem::path(xdgCacheHome).is_absolute())
        cache = std::filesystem::path(xdgCacheHome);
    else if (!home.empty())
        cache = std::filesystem::path(home) / ".cache";
    else
        return {};
    const std::filesystem::path project = AbsolutePath(projectPath);
    std::filesystem::path folder =
        (cache / "kestra" / "check" / HexHash(project.string())).lexically_normal();
    const std::filesystem::path inProject = folder.lexically_relative(project.parent_path());
    if (!inProject.empty() && *inProject.begin() != "..")
        return {};
    return folder;
}

std::filesystem::path CheckWorkFolderFor(const std::filesystem::path& projectPath) {
    const char* xdgCacheHome = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    return CheckWorkFolderFor(projectPath, xdgCacheHome == nullptr ? "" : xdgCacheHome,
                              home == nullptr ? "" : home);
}

} // namespace kestra
