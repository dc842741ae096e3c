#pragma once

#include "system/outcome.h"

#include <QFont>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

namespace kestra {

// The font for drawing a picture laid out in screen pixels: sized in pixels, so that a painter
// scaled to a printer's resolution draws it at the size the screen shows (a point size would
// be taken at the printer's own resolution and then scaled again).
QFont PictureFont(const QFont& font);

// Draws rows [first, first + count) with their top-left corner at the painter's origin, in
// picture pixels.
using PaintRowsFunction = std::function<void(QPainter& painter, int first, int count)>;

// Pages of a printed pane picture: the heading on one line at the top left of every page and
// "Page %d/%d" centred at the bottom; the rows fill the body between, as many per page as fit.
// Pictures are laid out in screen pixels and scaled to the printer's resolution.
class CRowPages {
public:
    // `headerRows` row heights at the top of every body are kept for the caller's column header.
    CRowPages(const QFont& font, int rowCount, int rowHeight, int headerRows = 0);

    // How many pages a page body of that height (in picture pixels) needs; at least one.
    int PageCount(int bodyHeight) const;
    // Prints the rows on the pages of the printer's chosen range; returns the number of pages
    // printed, or why printing stopped.
    Result<int> Print(QPrinter& printer, const QString& heading, const PaintRowsFunction& paintRows) const;

private:
    QFont m_font;
    int m_rowCount;
    int m_rowHeight;
    int m_headerRows;

    int RowsPerPage(int bodyHeight) const;
};

} // namespace kestra
