#include "print/signal_list_printer.h"

#include "panes/signal_grid.h"
#include "print/picture_pages.h"
#include "print/row_pages.h"
#include "signallist/signal_list_model.h"
#include "strings/qt_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace kestra {

namespace {

constexpr int kTextMargin = 3;
constexpr int kMaximumPictureHeight = 32767;

QColor FromColourRef(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

} // namespace

CSignalListPrinter::CSignalListPrinter(const CSignalGrid& grid, const QFont& font,
                                       const std::array<int, 5>& widths, int rowHeight)
    : m_grid(grid), m_font(PictureFont(font)), m_widths(widths), m_rowHeight(std::max(rowHeight, 1)) {}

QSize CSignalListPrinter::Size() const {
    int width = 0;
    for (const int columnWidth : m_widths)
        width += columnWidth;
    // The frame adds one pixel on each side.
    return QSize(width + 2, (m_grid.RowCount() + 1) * m_rowHeight + 2);
}

void CSignalListPrinter::Paint(QPainter& painter, const QRect& area) const {
    const QSize size = Size();
    const QFontMetrics metrics(m_font);
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    painter.translate(-area.topLeft());
    painter.fillRect(area, Qt::white);
    painter.setFont(m_font);

    auto drawRow = [&](int top, const QColor& fill, const auto& text, const QPixmap* status,
                       Qt::Alignment rangeAlignment) {
        int left = 1;
        for (int column = 0; column < 5; ++column) {
            const QRect cell(left, top, m_widths[static_cast<std::size_t>(column)], m_rowHeight);
            left += cell.width();
            if (!cell.intersects(area))
                continue;
            painter.fillRect(cell, column == 0 ? QColor(0xe8, 0xe8, 0xe8) : fill);
            painter.setPen(QColor(0xa0, 0xa0, 0xa0));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            if (column == 0) {
                if (status != nullptr)
                    painter.drawPixmap(cell.left() + (cell.width() - status->width()) / 2,
                                       cell.top() + (cell.height() - status->height()) / 2, *status);
                continue;
            }
            const QRect inner = cell.adjusted(kTextMargin, 0, -kTextMargin, 0);
            painter.setPen(Qt::black);
            const Qt::Alignment alignment = column == 4 ? rangeAlignment : Qt::AlignLeft | Qt::AlignVCenter;
            painter.drawText(
                inner, alignment | Qt::TextSingleLine,
                metrics.elidedText(text(column - 1), Qt::ElideRight, std::max(inner.width(), 0)));
        }
    };

    static const char* const kTitles[] = {"Name", "Mode", "Data Type", "Range"};
    drawRow(
        1, QColor(0xe8, 0xe8, 0xe8), [](int column) { return QString::fromLatin1(kTitles[column]); }, nullptr,
        Qt::AlignLeft | Qt::AlignVCenter);
    const int first = std::max(0, (area.top() - 1) / m_rowHeight - 1);
    const int last = std::min(m_grid.RowCount() - 1, (area.bottom() - 1) / m_rowHeight);
    for (int row = first; row <= last; ++row) {
        const CSignalGrid::Row& signal = m_grid.RowAt(row);
        const QPixmap status = CSignalListModel::StatusImage(signal.status);
        drawRow(
            1 + (row + 1) * m_rowHeight, FromColourRef(signal.colour),
            [&signal](int column) { return TextToQt(signal.cells[static_cast<std::size_t>(column)]); },
            &status, Qt::AlignCenter);
    }
    painter.setPen(Qt::black);
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    painter.restore();
}

QImage CSignalListPrinter::Picture() const {
    const QSize size = Size();
    QImage picture(size.width(), std::min(size.height(), kMaximumPictureHeight), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    Paint(painter, picture.rect());
    return picture;
}

Result<int> CSignalListPrinter::Print(QPrinter& printer, const QString& caption) const {
    return PrintPicturePages(printer, caption + QStringLiteral(" Signal List"), Size(), m_font,
                             [this](QPainter& painter, const QRect& area) { Paint(painter, area); });
}

} // namespace kestra
