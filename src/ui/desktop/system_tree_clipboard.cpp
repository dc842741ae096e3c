#include "desktop/system_tree_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kestra {

namespace {

QString FormatName() {
    return QString::fromLatin1(kTreeClipboardFormat);
}

} // namespace

void CSystemTreeClipboard::SetPane(std::uint32_t paneId) {
    QByteArray block(4, '\0');
    for (int i = 0; i < 4; ++i)
        block[i] = static_cast<char>((paneId >> (8 * i)) & 0xFFu);
    auto* data = new QMimeData();
    data->setData(FormatName(), block);
    m_placed = data;
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::uint32_t> CSystemTreeClipboard::Pane() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || m_placed.isNull() || data != m_placed.data() || !data->hasFormat(FormatName()))
        return std::nullopt;
    const QByteArray block = data->data(FormatName());
    if (block.size() != 4)
        return std::nullopt;
    std::uint32_t paneId = 0;
    for (int i = 0; i < 4; ++i)
        paneId |= static_cast<std::uint32_t>(static_cast<unsigned char>(block[i])) << (8 * i);
    return paneId;
}

void CSystemTreeClipboard::Clear() {
    if (Pane())
        QGuiApplication::clipboard()->clear();
    m_placed.clear();
}

} // namespace kestra
