#pragma once

#include "model/design_object.h"
#include "system/outcome.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

class QPainter;
class QPrinter;

namespace kestra {

// One row of the parameter list as the pane shows it.
struct ParameterRow {
    EntryKind kind = EntryKind::Vhdl;
    QString name;
    QString value;
};

// Draws the parameter list as the pane shows it: the "Item" and "Parameter" header, then one
// row per entry with its kind image, name and value, each cut to its column's width. The same
// drawing serves Copy View and printing.
class CParameterListPrinter {
public:
    CParameterListPrinter(std::vector<ParameterRow> rows, const QFont& font, int itemWidth,
                          int parameterWidth);

    int RowHeight() const;
    int Width() const { return m_itemWidth + m_parameterWidth; }
    // Copy View's picture: white, as wide as the list and (rows + 1) row heights + 1 pixel tall,
    // the header on top.
    QImage Picture() const;
    void PaintHeader(QPainter& painter) const;
    // Draws rows [first, first + count) with their top-left corner at the painter's origin.
    void PaintRows(QPainter& painter, int first, int count) const;
    // Prints the rows with the header at the top of each page's body, the heading and the page
    // footer, on the pages of the printer's chosen range; returns the number of pages printed,
    // or why printing stopped.
    Result<int> Print(QPrinter& printer, const QString& heading) const;

private:
    std::vector<ParameterRow> m_rows;
    QFont m_font;
    int m_itemWidth;
    int m_parameterWidth;
};

} // namespace kestra
