#include "print/picture_pages.h"

#include "print/page_run.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace kestra {

namespace {

constexpr double kPictureDpi = 96.0;

} // namespace

PageGrid CutIntoPages(QSize picture, QSize page) {
    const auto pieces = [](int length, int pageLength) {
        return pageLength <= 0 ? 1 : std::max(1, (length + pageLength - 1) / pageLength);
    };
    return PageGrid{pieces(picture.width(), page.width()), pieces(picture.height(), page.height())};
}

Result<int> PrintPicturePages(QPrinter& printer, const QString& heading, QSize picture, const QFont& font,
                              const PaintPictureArea& paint) {
    const double scale = printer.resolution() / kPictureDpi;
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const int pageWidth = static_cast<int>(printable.width() / scale);
    const int pageHeight = static_cast<int>(printable.height() / scale);
    const QSize piece(std::max(pageWidth - 80, 1), std::max(pageHeight - 128, 1));
    const PageGrid pages = CutIntoPages(picture, piece);
    QFont lineFont = font;
    lineFont.setPixelSize(16);
    lineFont.setBold(false);

    return RunPrintJob(printer, pages.Count(), [&](QPainter& painter, int number) {
        const int column = (number - 1) % pages.columns;
        const int row = (number - 1) / pages.columns;
        painter.scale(scale, scale);
        QString head = heading;
        QString foot = QString::asprintf("Page %d/%d", number, pages.Count());
        if (pages.Count() > 1) {
            head += QString::asprintf(" (%d x %d)", pages.columns, pages.rows);
            foot += QString::asprintf(" (%d,%d)", column + 1, row + 1);
        }
        painter.setFont(lineFont);
        painter.setPen(Qt::black);
        const int lineWidth = std::max(pageWidth - 80, 1);
        painter.drawText(QRect(40, 32, lineWidth, 16), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         head);
        painter.drawText(QRect(40, pageHeight - 48, lineWidth, 16), Qt::AlignHCenter | Qt::AlignVCenter,
                         foot);
        painter.translate(40, 64);
        const QRect area(QPoint(column * piece.width(), row * piece.height()),
                         QSize(std::min(piece.width(), picture.width() - column * piece.width()),
                               std::min(piece.height(), picture.height() - row * piece.height())));
        painter.setClipRect(QRect(QPoint(0, 0), area.size()));
        paint(painter, area);
    });
}

} // namespace kestra
