#include "print/hierarchy_printer.h"

#include "hierarchy/hierarchy_icons.h"
#include "print/row_pages.h"
#include "project/hierarchy_item.h"
#include "strings/qt_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace kestra {

namespace {

constexpr int kIndent = 20;
constexpr int kMargin = 4;

QFont RowFont(const QFont& font, bool bold) {
    QFont rowFont = font;
    rowFont.setBold(bold);
    return rowFont;
}

// The line that joins the items of one depth runs below the middle of their parent's first image.
int LineX(int depth) {
    return (depth - 1) * kIndent + kIndent / 2 + CHierarchyIcons::kImageSize / 2;
}

} // namespace

CHierarchyPrinter::CHierarchyPrinter(std::vector<HierarchyRow> rows, const QFont& font)
    : m_rows(std::move(rows)), m_font(PictureFont(font)) {}

int CHierarchyPrinter::RowHeight() const {
    return std::max(CHierarchyIcons::kImageSize, QFontMetrics(m_font).height()) + 2;
}

int CHierarchyPrinter::PictureWidth() const {
    int width = 0;
    for (const HierarchyRow& row : m_rows) {
        const QFontMetrics metrics(RowFont(m_font, row.bold));
        const int textWidth = metrics.horizontalAdvance(TextToQt(row.item->Text()));
        width = std::max(width,
                         (row.depth + 1) * kIndent + CHierarchyIcons::ItemIconSize().width() + 4 + textWidth);
    }
    return width + 2 * kMargin;
}

QImage CHierarchyPrinter::Picture() const {
    const int height = static_cast<int>(m_rows.size()) * RowHeight() + 2 * kMargin;
    QImage picture(std::max(PictureWidth(), 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.translate(kMargin, kMargin);
    PaintRows(painter, 0, static_cast<int>(m_rows.size()));
    return picture;
}

void CHierarchyPrinter::PaintRows(QPainter& painter, int first, int count) const {
    const int rowHeight = RowHeight();
    const int last = std::min(first + count, static_cast<int>(m_rows.size()));
    painter.save();
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    for (int i = first; i < last; ++i) {
        const HierarchyRow& row = m_rows[static_cast<std::size_t>(i)];
        const int top = (i - first) * rowHeight;
        const int middle = top + rowHeight / 2;
        // Lines join each item to its parent, and run on past it for later siblings.
        if (row.depth > 0) {
            const int x = LineX(row.depth);
            painter.drawLine(x, top, x, row.item->NextSibling() != nullptr ? top + rowHeight : middle);
            painter.drawLine(x, middle, row.depth * kIndent + kIndent / 2 - 1, middle);
            int depth = row.depth - 1;
            for (const CHierarchyItem* up = row.item->Parent(); up != nullptr && depth > 0;
                 up = up->Parent(), --depth) {
                if (up->NextSibling() != nullptr) {
                    painter.drawLine(LineX(depth), top, LineX(depth), top + rowHeight);
                }
            }
        }
        const int imageX = row.depth * kIndent + kIndent / 2;
        const int imageY = top + (rowHeight - CHierarchyIcons::kImageSize) / 2;
        painter.drawPixmap(imageX, imageY,
                           CHierarchyIcons::StatusImage(static_cast<int>(row.item->Status())));
        painter.drawPixmap(imageX + CHierarchyIcons::kStatusWidth, imageY,
                           CHierarchyIcons::KindImage(row.item->Image(), false));
        painter.save();
        painter.setPen(Qt::black);
        painter.setFont(RowFont(m_font, row.bold));
        const int textX = imageX + CHierarchyIcons::ItemIconSize().width() + 4;
        painter.drawText(QRect(textX, top, 100000, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         TextToQt(row.item->Text()));
        painter.restore();
    }
    painter.restore();
}

int CHierarchyPrinter::PageCount(int bodyHeight) const {
    return CRowPages(m_font, static_cast<int>(m_rows.size()), RowHeight()).PageCount(bodyHeight);
}

Result<int> CHierarchyPrinter::Print(QPrinter& printer, const QString& heading) const {
    return CRowPages(m_font, static_cast<int>(m_rows.size()), RowHeight())
        .Print(printer, heading,
               [this](QPainter& painter, int first, int count) { PaintRows(painter, first, count); });
}

} // namespace kestra
