#pragma once

#include "system/settings_store.h"

#include <QString>
#include <memory>

class QSettings;

namespace kestra {

// The settings store on QSettings: the user's settings of organisation "Orvalle Software",
// application "KESTRA", one group per section. Text is passed through as Latin-1 so that
// every byte of a value comes back as it was written.
class CQtSettingsStore : public CSettingsStore {
public:
    CQtSettingsStore();
    // Settings kept in the given INI file instead.
    explicit CQtSettingsStore(const QString& iniFile);
    ~CQtSettingsStore() override;

    std::string ReadSetting(const std::string& section, const std::string& key,
                            const std::string& defaultValue = {}) const override;
    // Written through to the file at once; false when the store cannot be written.
    bool WriteSetting(const std::string& section, const std::string& key, const std::string& text) override;

    QString FileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kestra
