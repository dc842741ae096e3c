#include "print/row_pages.h"

#include "print/page_run.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace kestra {

namespace {

constexpr double kPictureDpi = 96.0;

} // namespace

QFont PictureFont(const QFont& font) {
    QFont picture = font;
    if (font.pixelSize() <= 0)
        picture.setPixelSize(std::max(1, qRound(font.pointSizeF() * kPictureDpi / 72.0)));
    return picture;
}

CRowPages::CRowPages(const QFont& font, int rowCount, int rowHeight, int headerRows)
    : m_font(PictureFont(font)), m_rowCount(rowCount), m_rowHeight(std::max(rowHeight, 1)),
      m_headerRows(headerRows) {}

int CRowPages::RowsPerPage(int bodyHeight) const {
    return std::max(1, bodyHeight / m_rowHeight - m_headerRows);
}

int CRowPages::PageCount(int bodyHeight) const {
    const int perPage = RowsPerPage(bodyHeight);
    return std::max(1, (m_rowCount + perPage - 1) / perPage);
}

Result<int> CRowPages::Print(QPrinter& printer, const QString& heading,
                             const PaintRowsFunction& paintRows) const {
    const double scale = printer.resolution() / kPictureDpi;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int pageWidth = static_cast<int>(page.width() / scale);
    const int pageHeight = static_cast<int>(page.height() / scale);
    QFont headingFont = m_font;
    headingFont.setBold(true);
    headingFont.setPixelSize(qRound(m_font.pixelSize() * 1.2));
    const int headingHeight = QFontMetrics(headingFont).height() * 2;
    const int footerHeight = QFontMetrics(m_font).height() * 2;
    const int bodyHeight = pageHeight - headingHeight - footerHeight;
    const int pages = PageCount(bodyHeight);
    const int perPage = RowsPerPage(bodyHeight);

    return RunPrintJob(printer, pages, [&](QPainter& painter, int number) {
        painter.scale(scale, scale);
        painter.setFont(headingFont);
        painter.drawText(QRect(0, 0, pageWidth, headingHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, heading);
        painter.setFont(m_font);
        painter.drawText(QRect(0, pageHeight - footerHeight, pageWidth, footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, QString::asprintf("Page %d/%d", number, pages));
        painter.translate(0, headingHeight);
        const int first = (number - 1) * perPage;
        paintRows(painter, first, std::min(perPage, m_rowCount - first));
    });
}

} // namespace kestra
