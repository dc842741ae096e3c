#pragma once

#include "diagram/block_diagram.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

class QPainter;

namespace kestra {

// Draws the live diagram. On screen: the button-face background, every block as its shape in
// its fill colour with a raised frame (sunken while selected) and its text laid out in lines,
// the lines with their pens and arrowheads (the selected one last, dashed over), and text
// blocks on top. A module block shows its name in the band at its top and its child's ports as
// pins: a stub from the edge inwards with the port's name beside it. As a picture (Copy View, printing):
// white background, a 1-pixel black frame along each block that is not a text block, and the button-face
// colour shown as white. Only what lies in the given area is drawn; nothing is routed or changed.
class CDiagramPainter {
public:
    enum class Look { Screen, Picture };

    CDiagramPainter(const CBlockDiagram& diagram, const QFont& font, Look look);

    // Draws `area` (diagram coordinates) with the painter's origin at the diagram's (0, 0).
    void Paint(QPainter& painter, const CPixelRect& area) const;
    // The whole diagram from (0, 0) to its extent (limited to what an image can hold), as
    // printing cuts it into pages.
    QSize PictureSize() const;
    // The part of the diagram a picture shows: the drawing with a margin around it (limited to
    // what an image can hold), in diagram coordinates.
    CPixelRect PictureArea() const;
    // The picture of PictureArea(), its top-left corner at the image's (0, 0).
    QImage Picture() const;

    static QColor ToQColor(std::uint32_t colour);
    static std::uint32_t FromQColor(const QColor& colour);

private:
    void PaintBlock(QPainter& painter, const CDiagramBlock& block) const;
    void PaintBlockText(QPainter& painter, const CDiagramBlock& block, int shift) const;
    void PaintModuleText(QPainter& painter, const CDiagramBlock& block, int shift) const;
    void PaintLines(QPainter& painter, const CPixelRect& area) const;
    // The instance label above a module block, and the frame of the generate statement around it.
    void PaintInstance(QPainter& painter, const CDiagramBlock& block) const;
    // Associations no line stands for: a short stub out of the pin with the actual beside it.
    void PaintStubs(QPainter& painter, const CPixelRect& area) const;
    // A line stored between pins that no association stands for any more is drawn dashed.
    bool IsStaleDrawing(int id, const LineRecord& line) const;
    QColor Fill(std::uint32_t colour) const;

    const CBlockDiagram& m_diagram;
    QFont m_font;
    QFont m_labelFont; // pin names
    Look m_look;
};

} // namespace kestra
