#pragma once

#include <string>
#include <vector>

namespace kestra {

class CSettingsStore;

// The most recently used project files, newest first, at most four, kept in the settings
// under "Recent File List" as "File1" to "File4". Paths compare as given (absolute paths).
class CRecentFileList {
public:
    static constexpr int kSize = 4;

    explicit CRecentFileList(CSettingsStore& settings);

    const std::vector<std::string>& Files() const { return m_files; }
    // Puts the path first, dropping an older entry of the same path and the oldest entry
    // beyond four, and writes the list.
    void Add(const std::string& path);
    void Remove(const std::string& path);

private:
    void Write();

    CSettingsStore& m_settings;
    std::vector<std::string> m_files;
};

} // namespace kestra
