#include "system/path_text.h"

#include "text/char_class.h"

#include <algorithm>
#include <system_error>

namespace kestra {

std::string NormalizeSeparators(std::string_view text) {
    std::string result(text);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::filesystem::path ResolvePath(const std::filesystem::path& base, std::string_view text) {
    const std::filesystem::path path(NormalizeSeparators(text));
    if (path.is_absolute())
        return path.lexically_normal();
    return (base / path).lexically_normal();
}

std::string FolderOfPath(std::string_view path) {
    const std::size_t last = path.find_last_of("/\\");
    if (last == std::string_view::npos)
        return {};
    return std::string(path.substr(0, last));
}

std::string FileNameOfPath(std::string_view path) {
    const std::size_t last = path.find_last_of("/\\");
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameTextNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string PathTextFrom(const std::filesystem::path& folder, const std::filesystem::path& file) {
    const std::filesystem::path normal = file.lexically_normal();
    if (!normal.is_absolute() || folder.empty())
        return normal.string();
    const std::filesystem::path below = normal.lexically_relative(folder.lexically_normal());
    if (below.empty() || below == "." || *below.begin() == "..")
        return normal.string();
    return below.string();
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, error);
    if (error)
        return a.lexically_normal() == b.lexically_normal();
    const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, error);
    if (error)
        return a.lexically_normal() == b.lexically_normal();
    // A trailing separator must not make two names of one folder differ.
    auto strip = [](const std::filesystem::path& path) {
        return path.has_filename() ? path : path.parent_path();
    };
    return strip(canonicalA) == strip(canonicalB);
}

std::string LibraryOfModuleFile(std::string_view fileName) {
    const std::string normal = NormalizeSeparators(fileName);
    const std::size_t slash = normal.find('/');
    if (slash == std::string::npos || slash == 0 || normal.find('/', slash + 1) != std::string::npos)
        return "work";
    return ToLowerAscii(normal.substr(0, slash));
}

} // namespace kestra
