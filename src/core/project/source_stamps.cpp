#include "project/source_stamps.h"

#include <charconv>
#include <sstream>

namespace kestra {

namespace {

constexpr std::string_view kFirstLine = "KESTRA source stamps 2";

std::string Key(const std::filesystem::path& source) {
    return source.lexically_normal().string();
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// "modified<TAB>size<TAB>hash<TAB>path" into the stamp and the path; false for a damaged line.
bool ReadStampLine(std::string_view line, FileStamp& stamp, std::string& path) {
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return false;
        field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    path = std::string(line);
    return !path.empty() && ReadNumber(fields[0], stamp.modified) && ReadNumber(fields[1], stamp.size) &&
           ReadNumber(fields[2], stamp.hash);
}

} // namespace

const FileStamp* CSourceStamps::Find(const std::filesystem::path& source) const {
    const auto found = m_stamps.find(Key(source));
    return found != m_stamps.end() ? &found->second : nullptr;
}

void CSourceStamps::Set(const std::filesystem::path& source, std::optional<FileStamp> stamp) {
    if (stamp)
        m_stamps[Key(source)] = *stamp;
    else
        m_stamps.erase(Key(source));
}

std::string CSourceStamps::Store(const std::filesystem::path& projectFolder,
                                 std::uint64_t projectHash) const {
    std::ostringstream out;
    out << kFirstLine << '\n' << "project\t" << projectHash << '\n';
    for (const auto& [path, stamp] : m_stamps) {
        const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(projectFolder);
        const bool below = !relative.empty() && *relative.begin() != "..";
        out << stamp.modified << '\t' << stamp.size << '\t' << stamp.hash << '\t'
            << (below ? relative.generic_string() : path) << '\n';
    }
    return out.str();
}

bool CSourceStamps::Load(std::string_view text, const std::filesystem::path& projectFolder,
                         std::uint64_t projectHash) {
    m_stamps.clear();
    std::istringstream in{std::string(text)};
    std::string line;
    std::uint64_t storedHash = 0;
    if (!std::getline(in, line) || line != kFirstLine || !std::getline(in, line) ||
        line.rfind("project\t", 0) != 0 || !ReadNumber(std::string_view(line).substr(8), storedHash) ||
        storedHash != projectHash)
        return false;
    std::map<std::string, FileStamp> read;
    while (std::getline(in, line)) {
        FileStamp stamp;
        std::string path;
        if (!ReadStampLine(line, stamp, path))
            return false;
        read[Key(std::filesystem::path(path).is_absolute() ? std::filesystem::path(path)
                                                           : projectFolder / path)] = stamp;
    }
    m_stamps = std::move(read);
    return true;
}

std::filesystem::path StampsFilePath(const std::filesystem::path& project) {
    std::filesystem::path stamps = project;
    stamps += ".stamps";
    return stamps;
}

} // namespace kestra
