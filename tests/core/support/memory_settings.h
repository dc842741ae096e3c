#pragma once

#include "system/settings_store.h"

#include <map>
#include <string>
#include <utility>

namespace kestra {

// Settings held in memory only.
class CMemorySettings : public CSettingsStore {
public:
    std::string ReadSetting(const std::string& section, const std::string& key,
                            const std::string& defaultValue = {}) const override;
    bool WriteSetting(const std::string& section, const std::string& key, const std::string& text) override;

    bool Contains(const std::string& section, const std::string& key) const;
    std::size_t Size() const { return m_values.size(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

inline std::string CMemorySettings::ReadSetting(const std::string& section, const std::string& key,
                                                const std::string& defaultValue) const {
    const auto found = m_values.find({section, key});
    return found != m_values.end() ? found->second : defaultValue;
}

inline bool CMemorySettings::WriteSetting(const std::string& section, const std::string& key,
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

inline bool CMemorySettings::Contains(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}

} // namespace kestra
