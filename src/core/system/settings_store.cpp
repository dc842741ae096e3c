#include "system/settings_store.h"

#include <charconv>

namespace kestra {

int CSettingsStore::ReadSettingInt(const std::string& section, const std::string& key,
                                   int defaultValue) const {
    const std::string text = ReadSetting(section, key);
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + start, end, value);
    if (error != std::errc() || stop == text.data() + start)
        return defaultValue;
    for (const char* rest = stop; rest != end; ++rest) {
        if (*rest != ' ' && *rest != '\t')
            return defaultValue;
    }
    return value;
}

bool CSettingsStore::WriteSettingInt(const std::string& section, const std::string& key, int value) {
    return WriteSetting(section, key, std::to_string(value));
}

std::string CMemorySettings::ReadSetting(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
    const auto found = m_values.find({section, key});
    return found != m_values.end() ? found->second : defaultValue;
}

bool CMemorySettings::WriteSetting(const std::string& section, const std::string& key,
                                   const std::string& text) {
    if (section.empty())
        return false;
    if (key.empty()) {
        auto it = m_values.lower_bound({section, std::string()});
        while (it != m_values.end() && it->first.first == section)
            it = m_values.erase(it);
        return true;
    }
    if (text.empty()) {
        m_values.erase({section, key});
        return true;
    }
    m_values[{section, key}] = text;
    return true;
}

bool CMemorySettings::Contains(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}

} // namespace kestra
