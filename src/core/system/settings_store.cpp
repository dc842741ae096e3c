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

} // namespace kestra
