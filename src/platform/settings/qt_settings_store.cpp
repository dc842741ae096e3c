#include "settings/qt_settings_store.h"

#include <QSettings>

namespace kestra {

namespace {

// QSettings reads '/' and '\' in a name as group separators; keep them inside the name.
QString EncodeName(const std::string& name) {
    QString encoded;
    for (const char c : name) {
        if (c == '%' || c == '/' || c == '\\')
            encoded += QStringLiteral("%%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
        else
            encoded += QChar::fromLatin1(c);
    }
    return encoded;
}

QString KeyPath(const std::string& section, const std::string& key) {
    return EncodeName(section) + QLatin1Char('/') + EncodeName(key);
}

} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Orvalle Software"), QStringLiteral("KESTRA"))) {}

CQtSettingsStore::CQtSettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

CQtSettingsStore::~CQtSettingsStore() = default;

std::string CQtSettingsStore::ReadSetting(const std::string& section, const std::string& key,
                                          const std::string& defaultValue) const {
    if (section.empty() || key.empty())
        return defaultValue;
    const QVariant value = m_settings->value(KeyPath(section, key));
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString().toLatin1().toStdString();
}

bool CQtSettingsStore::WriteSetting(const std::string& section, const std::string& key,
                                    const std::string& text) {
    if (section.empty())
        return false;
    if (key.empty())
        m_settings->remove(EncodeName(section));
    else if (text.empty())
        m_settings->remove(KeyPath(section, key));
    else
        m_settings->setValue(KeyPath(section, key),
                             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString CQtSettingsStore::FileName() const {
    return m_settings->fileName();
}

} // namespace kestra
