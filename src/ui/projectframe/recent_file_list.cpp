#include "projectframe/recent_file_list.h"

#include "system/settings_store.h"

#include <algorithm>

namespace kestra {

namespace {

constexpr const char* kSection = "Recent File List";

std::string KeyOf(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

CRecentFileList::CRecentFileList(CSettingsStore& settings) : m_settings(settings) {
    for (int i = 0; i < kSize; ++i) {
        const std::string path = m_settings.ReadSetting(kSection, KeyOf(i));
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(path);
    }
}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<std::size_t>(kSize))
        m_files.resize(kSize);
    Write();
}

void CRecentFileList::Remove(const std::string& path) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    Write();
}

void CRecentFileList::Write() {
    for (int i = 0; i < kSize; ++i)
        m_settings.WriteSetting(kSection, KeyOf(i),
                                i < static_cast<int>(m_files.size()) ? m_files[static_cast<std::size_t>(i)]
                                                                     : std::string());
}

} // namespace kestra
