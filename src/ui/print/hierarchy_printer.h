#pragma once

#include "system/outcome.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

class QPainter;
class QPrinter;

namespace kestra {

class CHierarchyItem;

// One line of the hierarchy picture: an item as the tree pane shows it.
struct HierarchyRow {
    const CHierarchyItem* item = nullptr;
    int depth = 0;
    bool bold = false;
};

// Draws the visible part of a hierarchy as a picture: connecting lines, status and kind
// images and names, one row per item. The same drawing serves Copy View and printing;
// printed pages carry a heading and a "Page %d/%d" footer.
class CHierarchyPrinter {
public:
    CHierarchyPrinter(std::vector<HierarchyRow> rows, const QFont& font);

    int RowHeight() const;
    int PictureWidth() const;
    // The whole picture on white.
    QImage Picture() const;
    // Draws rows [first, first + count) with their top-left corner at the painter's origin.
    void PaintRows(QPainter& painter, int first, int count) const;
    // Prints the rows over as many pages as needed, those of the printer's chosen range; returns
    // the number of pages printed, or why printing stopped.
    Result<int> Print(QPrinter& printer, const QString& heading) const;
    // How many pages a page body of that height (in picture pixels) needs.
    int PageCount(int bodyHeight) const;

private:
    std::vector<HierarchyRow> m_rows;
    QFont m_font;
};

} // namespace kestra
