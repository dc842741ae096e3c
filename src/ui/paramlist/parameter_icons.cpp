#include "paramlist/parameter_icons.h"

#include "hierarchy/hierarchy_icons.h"
#include "model/design_object.h"
#include "project/hierarchy_item.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

namespace kestra {

namespace {

struct Tag {
    const char* text;
    QRgb colour;
};

// Parameter kinds: a coloured tag with a short mark, so kinds are told apart at a glance.
Tag TagOf(EntryKind kind) {
    switch (kind) {
    case EntryKind::Numeric:
        return {"#", qRgb(0x1f, 0x6f, 0xc0)};
    case EntryKind::DataType:
        return {"T", qRgb(0x7a, 0x3f, 0xb0)};
    case EntryKind::Architecture:
        return {"A", qRgb(0x2e, 0x8b, 0x57)};
    case EntryKind::Library:
        return {"L", qRgb(0x8b, 0x5a, 0x2b)};
    case EntryKind::Link:
        return {"@", qRgb(0x00, 0x80, 0x80)};
    case EntryKind::Logic:
        return {"01", qRgb(0xc0, 0x39, 0x2b)};
    case EntryKind::Note:
        return {"i", qRgb(0xb0, 0x8a, 0x00)};
    case EntryKind::Style:
        return {"S", qRgb(0xd3, 0x54, 0x00)};
    case EntryKind::Generic:
        return {"G", qRgb(0x3f, 0x6e, 0x2a)};
    default:
        return {"\"\"", qRgb(0x55, 0x5b, 0x66)};
    }
}

QPixmap DrawTag(const Tag& tag) {
    QPixmap picture(CParameterIcons::kWidth, CParameterIcons::kHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(tag.colour));
    painter.drawRoundedRect(QRectF(2.5, 1.5, 15, 13), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2, 1, 16, 14), Qt::AlignCenter, QString::fromLatin1(tag.text));
    return picture;
}

// The destination folder row: a folder.
QPixmap DrawFolder() {
    QPixmap picture(CParameterIcons::kWidth, CParameterIcons::kHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x8a, 0x6d, 0x1f), 1));
    painter.setBrush(QColor(0xf2, 0xc9, 0x4c));
    QPainterPath path;
    path.moveTo(2.5, 3.5);
    path.lineTo(8.5, 3.5);
    path.lineTo(10.5, 5.5);
    path.lineTo(17.5, 5.5);
    path.lineTo(17.5, 13.5);
    path.lineTo(2.5, 13.5);
    path.closeSubpath();
    painter.drawPath(path);
    return picture;
}

// Module rows: the hierarchy's image of the item kind, centred in the wider cell.
QPixmap DrawModule(HierarchyKind itemKind) {
    QPixmap picture(CParameterIcons::kWidth, CParameterIcons::kHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap((CParameterIcons::kWidth - CHierarchyIcons::kImageSize) / 2,
                       (CParameterIcons::kHeight - CHierarchyIcons::kImageSize) / 2,
                       CHierarchyIcons::KindImage(static_cast<int>(itemKind), false));
    return picture;
}

QPixmap Make(EntryKind kind) {
    switch (kind) {
    case EntryKind::Vhdl:
        return DrawModule(HierarchyKind::Normal);
    case EntryKind::Component:
        return DrawModule(HierarchyKind::Library);
    case EntryKind::Predefined:
        return DrawModule(HierarchyKind::Predefined);
    case EntryKind::Package:
        return DrawModule(HierarchyKind::Package);
    case EntryKind::Directory:
        return DrawFolder();
    default:
        return DrawTag(TagOf(kind));
    }
}

} // namespace

QPixmap CParameterIcons::KindImage(EntryKind kind) {
    if (static_cast<int>(kind) < static_cast<int>(EntryKind::Vhdl) ||
        static_cast<int>(kind) > static_cast<int>(EntryKind::Generic))
        kind = EntryKind::String;
    const QString key = QStringLiteral("kestra-parameter-%1").arg(static_cast<int>(kind));
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = Make(kind);
        QPixmapCache::insert(key, picture);
    }
    return picture;
}

} // namespace kestra
