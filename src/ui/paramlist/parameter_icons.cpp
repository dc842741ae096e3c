#include "paramlist/parameter_icons.h"

#include "hierarchy/hierarchy_icons.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"
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
    const EntryKindFacts& facts = FactsOf(kind);
    return {facts.iconTag, qRgb(qRed(facts.iconColour), qGreen(facts.iconColour), qBlue(facts.iconColour))};
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
    const EntryKindFacts& facts = FactsOf(kind);
    if (facts.icon == EntryIcon::Module)
        return DrawModule(facts.iconModule);
    if (facts.icon == EntryIcon::Folder)
        return DrawFolder();
    return DrawTag(TagOf(kind));
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
