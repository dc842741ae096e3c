#pragma once

#include <string>

namespace kestra {

// Text values by section and key that outlive the program: paths, tool programs, pane sizes.
// A value that is missing or cannot be read reads as the default.
class CSettingsStore {
public:
    virtual ~CSettingsStore() = default;

    virtual std::string ReadSetting(const std::string& section, const std::string& key,
                                    const std::string& defaultValue = {}) const = 0;
    // Stores the text, creating section and key as needed. An empty text deletes the value;
    // an empty key deletes the whole section.
    virtual bool WriteSetting(const std::string& section, const std::string& key,
                              const std::string& text) = 0;

    // Integers are kept as decimal text; text that is not a whole number reads as the default.
    int ReadSettingInt(const std::string& section, const std::string& key, int defaultValue) const;
    bool WriteSettingInt(const std::string& section, const std::string& key, int value);
};

} // namespace kestra
