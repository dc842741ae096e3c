#include "strings/qt_text.h"

#include <QFile>
#include <QStringDecoder>

namespace kestra {

QString TextToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string TextFromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

QString PathToQt(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path PathFromQt(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString SettingToQt(std::string_view value) {
    return QFile::decodeName(QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

std::string SettingFromQt(const QString& value) {
    return QFile::encodeName(value).toStdString();
}

QString MessageToQt(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (decoder.hasError())
        return TextToQt(text);
    return decoded;
}

std::string MessageFromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace kestra
