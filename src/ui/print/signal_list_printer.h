#pragma once

#include "system/outcome.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <array>

class QPainter;
class QPrinter;

namespace kestra {

class CSignalGrid;

// Draws the signal list as the pane shows it, at full size: the header row, then one row per
// signal with its status image, its colour and its four cells, in a 1-pixel black frame on
// white. The same drawing serves Copy View and printing; a page draws only its own piece, so a
// module with many ports never needs the whole picture in memory.
class CSignalListPrinter {
public:
    // widths: the status column and the four cell columns, in pixels.
    CSignalListPrinter(const CSignalGrid& grid, const QFont& font, const std::array<int, 5>& widths,
                       int rowHeight);

    QSize Size() const;
    // Draws the part `area` of the picture with its top-left corner at the painter's origin.
    void Paint(QPainter& painter, const QRect& area) const;
    // Copy View's picture; as tall as a picture may be at most (32767 pixels).
    QImage Picture() const;
    // Prints the picture cut into pages, each with the heading "<caption> Signal List" and the
    // footer "Page %d/%d" (with the page's place among several pages), those of the printer's
    // chosen range; returns the number of pages printed, or why printing stopped.
    Result<int> Print(QPrinter& printer, const QString& caption) const;

private:
    const CSignalGrid& m_grid;
    QFont m_font;
    std::array<int, 5> m_widths;
    int m_rowHeight;
};

} // namespace kestra
