#pragma once

#include "system/outcome.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

namespace kestra {

// How a picture too large for one page is cut: into columns and rows of page-sized pieces.
struct PageGrid {
    int columns = 1;
    int rows = 1;
    int Count() const { return columns * rows; }
};
PageGrid CutIntoPages(QSize picture, QSize page);

// Draws the piece `area` of a picture (picture pixels) with the area's top-left corner at the
// painter's origin.
using PaintPictureArea = std::function<void(QPainter& painter, const QRect& area)>;

// Prints a picture laid out in screen pixels, cut into pages: each page shows its piece at
// (40, 64) under the heading line (with " (columns x rows)" when there are several pages) and
// over the footer "Page n/count" (with " (column,row)" then). Header and footer are drawn in
// the font at 16 pixels. Only the pages of the printer's chosen range are printed. Returns the
// number of pages printed, or why printing stopped.
Result<int> PrintPicturePages(QPrinter& printer, const QString& heading, QSize picture, const QFont& font,
                              const PaintPictureArea& paint);

} // namespace kestra
