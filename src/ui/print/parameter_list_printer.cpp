#include "print/parameter_list_printer.h"

#include "paramlist/parameter_icons.h"
#include "print/row_pages.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace kestra {

namespace {

constexpr int kTextMargin = 4;

void DrawCellText(QPainter& painter, const QFontMetrics& metrics, const QRect& cell, const QString& text) {
    painter.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(text, Qt::ElideRight, std::max(cell.width() - 2 * kTextMargin, 0)));
}

} // namespace

CParameterListPrinter::CParameterListPrinter(std::vector<ParameterRow> rows, const QFont& font, int itemWidth,
                                             int parameterWidth)
    : m_rows(std::move(rows)), m_font(PictureFont(font)), m_itemWidth(std::max(itemWidth, 1)),
      m_parameterWidth(std::max(parameterWidth, 1)) {}

int CParameterListPrinter::RowHeight() const {
    return std::max(CParameterIcons::kHeight, QFontMetrics(m_font).height()) + 4;
}

QImage CParameterListPrinter::Picture() const {
    const int rowHeight = RowHeight();
    QImage picture(Width(), (static_cast<int>(m_rows.size()) + 1) * rowHeight + 1, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    PaintHeader(painter);
    painter.translate(0, rowHeight);
    PaintRows(painter, 0, static_cast<int>(m_rows.size()));
    return picture;
}

void CParameterListPrinter::PaintHeader(QPainter& painter) const {
    const int rowHeight = RowHeight();
    const QFontMetrics metrics(m_font);
    painter.save();
    painter.setFont(m_font);
    const QRect cells[] = {QRect(0, 0, m_itemWidth, rowHeight),
                           QRect(m_itemWidth, 0, m_parameterWidth, rowHeight)};
    const QString titles[] = {QStringLiteral("Item"), QStringLiteral("Parameter")};
    for (int column = 0; column < 2; ++column) {
        painter.fillRect(cells[column], QColor(0xe8, 0xe8, 0xe8));
        painter.setPen(Qt::gray);
        painter.drawRect(cells[column].adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        DrawCellText(painter, metrics, cells[column], titles[column]);
    }
    painter.restore();
}

void CParameterListPrinter::PaintRows(QPainter& painter, int first, int count) const {
    const int rowHeight = RowHeight();
    const QFontMetrics metrics(m_font);
    const int last = std::min(first + count, static_cast<int>(m_rows.size()));
    painter.save();
    painter.setFont(m_font);
    for (int i = std::max(first, 0); i < last; ++i) {
        const ParameterRow& row = m_rows[static_cast<std::size_t>(i)];
        const int top = (i - first) * rowHeight;
        painter.drawPixmap(2, top + (rowHeight - CParameterIcons::kHeight) / 2,
                           CParameterIcons::KindImage(row.kind));
        painter.setPen(Qt::black);
        const int nameLeft = 2 + CParameterIcons::kWidth;
        DrawCellText(painter, metrics, QRect(nameLeft, top, m_itemWidth - nameLeft, rowHeight), row.name);
        DrawCellText(painter, metrics, QRect(m_itemWidth, top, m_parameterWidth, rowHeight), row.value);
        painter.setPen(QColor(0xdd, 0xdd, 0xdd));
        painter.drawLine(0, top + rowHeight - 1, Width() - 1, top + rowHeight - 1);
    }
    painter.restore();
}

Result<int> CParameterListPrinter::Print(QPrinter& printer, const QString& heading) const {
    const int rowHeight = RowHeight();
    // Every page repeats the column header above its rows.
    return CRowPages(m_font, static_cast<int>(m_rows.size()), rowHeight, 1)
        .Print(printer, heading, [this, rowHeight](QPainter& painter, int first, int count) {
            PaintHeader(painter);
            painter.translate(0, rowHeight);
            PaintRows(painter, first, count);
        });
}

} // namespace kestra
