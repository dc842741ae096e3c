#include "picture/diagram_painter.h"

#include "diagram/block_text_layout.h"
#include "diagram/line_drawing.h"
#include "diagram/picture_bounds.h"
#include "strings/qt_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>
#include <algorithm>

namespace kestra {

namespace {

constexpr int kMaximumPictureSide = 8192;

QPolygon ShapeOf(const CDiagramBlock& block) {
    QPolygon polygon;
    for (const CPixelPoint& p : BlockShape(block.kind, block.rect.Width(), block.rect.Height()))
        polygon << QPoint(block.rect.left + p.x, block.rect.top + p.y);
    return polygon;
}

QRect ToQRect(const CPixelRect& r) {
    return QRect(r.left, r.top, std::max(r.Width(), 0), std::max(r.Height(), 0));
}

// Pin names are written a little smaller than block texts, in the same family and the same
// unit (an SVG file keeps point sizes as they are).
QFont LabelFontOf(const QFont& font) {
    constexpr double kLabelScale = 0.9;
    QFont label(font);
    if (font.pointSizeF() > 0)
        label.setPointSizeF(font.pointSizeF() * kLabelScale);
    else if (font.pixelSize() > 0)
        label.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * kLabelScale)));
    return label;
}

// Writes the text on one line in the box; a font wider than the core reckons with is squeezed
// to the box's width rather than cut.
void DrawFittedText(QPainter& painter, const QRect& box, const QString& text, Qt::Alignment alignment) {
    const int advance = painter.fontMetrics().horizontalAdvance(text);
    if (advance <= box.width() || box.width() <= 0 || advance <= 0) {
        painter.drawText(box, alignment | Qt::AlignVCenter | Qt::TextDontClip, text);
        return;
    }
    painter.save();
    const double factor = static_cast<double>(box.width()) / advance;
    painter.translate(box.left(), box.top());
    painter.scale(factor, 1.0);
    painter.drawText(QRect(0, 0, advance, box.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                     text);
    painter.restore();
}

} // namespace

QColor CDiagramPainter::ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t CDiagramPainter::FromQColor(const QColor& colour) {
    return Rgb(static_cast<std::uint32_t>(colour.red()), static_cast<std::uint32_t>(colour.green()),
               static_cast<std::uint32_t>(colour.blue()));
}

CDiagramPainter::CDiagramPainter(const CBlockDiagram& diagram, const QFont& font, Look look)
    : m_diagram(diagram), m_font(font), m_labelFont(LabelFontOf(font)), m_look(look) {}

QColor CDiagramPainter::Fill(std::uint32_t colour) const {
    if (m_look == Look::Picture && colour == m_diagram.ButtonFaceColour())
        return Qt::white;
    return ToQColor(colour);
}

QSize CDiagramPainter::PictureSize() const {
    return QSize(std::clamp(m_diagram.Width(), 1, kMaximumPictureSide),
                 std::clamp(m_diagram.Height(), 1, kMaximumPictureSide));
}

CPixelRect CDiagramPainter::PictureArea() const {
    const CPixelRect bounds = PictureBounds(m_diagram);
    return {bounds.left, bounds.top, bounds.left + std::clamp(bounds.Width(), 1, kMaximumPictureSide),
            bounds.top + std::clamp(bounds.Height(), 1, kMaximumPictureSide)};
}

QImage CDiagramPainter::Picture() const {
    const CPixelRect area = PictureArea();
    QImage picture(area.Width(), area.Height(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.translate(-area.left, -area.top);
    Paint(painter, area);
    return picture;
}

void CDiagramPainter::Paint(QPainter& painter, const CPixelRect& area) const {
    painter.save();
    const QRect clip = ToQRect(area);
    painter.setClipRect(clip);
    painter.fillRect(clip, Fill(m_diagram.ButtonFaceColour()));
    painter.setFont(m_font);
    const auto& blocks = m_diagram.Blocks().Blocks();
    for (const auto& entry : blocks) {
        const CDiagramBlock& block = entry.second;
        if (block.kind != BlockKind::TextBlock && block.rect.Intersects(area))
            PaintBlock(painter, block);
    }
    PaintLines(painter, area);
    PaintStubs(painter, area);
    for (const auto& entry : blocks) {
        const CDiagramBlock& block = entry.second;
        if (block.kind == BlockKind::Module && !block.instance.empty() &&
            block.rect.Inflate(0, kLabelHeight + 4).Intersects(area))
            PaintInstance(painter, block);
    }
    if (!m_diagram.Notice().empty()) {
        painter.setPen(QColor(0xB0, 0x00, 0x00));
        painter.drawText(QPoint(m_diagram.Blocks().ScrollX() + 6, m_diagram.Blocks().ScrollY() + 14),
                         TextToQt(m_diagram.Notice()));
    }
    for (const auto& entry : blocks) {
        const CDiagramBlock& block = entry.second;
        if (block.kind == BlockKind::TextBlock && block.rect.Intersects(area))
            PaintBlock(painter, block);
    }
    painter.restore();
}

void CDiagramPainter::PaintBlock(QPainter& painter, const CDiagramBlock& block) const {
    const QPolygon shape = ShapeOf(block);
    if (shape.size() < 3)
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Fill(block.colour));
    painter.drawPolygon(shape);
    const bool framed = block.kind != BlockKind::TextBlock;
    if (framed && m_look == Look::Picture) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolygon(shape);
    } else if (framed) {
        // A raised frame: light edges facing up or left, dark ones facing down or right; the
        // pressed (selected) look swaps them.
        const QColor light = block.pressed ? QColor(0x60, 0x60, 0x60) : QColor(Qt::white);
        const QColor dark = block.pressed ? QColor(Qt::white) : QColor(0x60, 0x60, 0x60);
        long long area2 = 0;
        for (int i = 0; i < shape.size(); ++i) {
            const QPoint a = shape[i];
            const QPoint b = shape[(i + 1) % shape.size()];
            area2 += static_cast<long long>(a.x()) * b.y() - static_cast<long long>(b.x()) * a.y();
        }
        for (int i = 0; i < shape.size(); ++i) {
            const QPoint a = shape[i];
            const QPoint b = shape[(i + 1) % shape.size()];
            // The outward normal of edge a-b; y grows downwards.
            const int nx = area2 > 0 ? (b.y() - a.y()) : (a.y() - b.y());
            const int ny = area2 > 0 ? (a.x() - b.x()) : (b.x() - a.x());
            painter.setPen(QPen(nx + ny < 0 ? light : dark, 1));
            // The frame lies inside the block: the right and bottom edges one pixel in.
            painter.drawLine(QPoint(a.x() - (a.x() >= block.rect.right ? 1 : 0),
                                    a.y() - (a.y() >= block.rect.bottom ? 1 : 0)),
                             QPoint(b.x() - (b.x() >= block.rect.right ? 1 : 0),
                                    b.y() - (b.y() >= block.rect.bottom ? 1 : 0)));
        }
    }
    const int shift = framed && block.pressed && m_look == Look::Screen ? 1 : 0;
    if (block.kind == BlockKind::Module)
        PaintModuleText(painter, block, shift);
    else
        PaintBlockText(painter, block, shift);
    if (!framed && block.pressed && m_look == Look::Screen) {
        // A selected text block has no frame to sink: a dotted outline shows the selection.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(ToQRect(block.rect).adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void CDiagramPainter::PaintBlockText(QPainter& painter, const CDiagramBlock& block, int shift) const {
    if (block.text.empty())
        return;
    const QFontMetrics metrics(m_font);
    const std::vector<std::string> lines = LayoutBlockText(
        block.text, block.rect.Width(), block.rect.Height(), std::max(metrics.height(), 1),
        [&metrics](std::string_view text) { return metrics.horizontalAdvance(TextToQt(text)); });
    const int lineHeight = metrics.height();
    int top =
        block.rect.top + (block.rect.Height() - static_cast<int>(lines.size()) * lineHeight) / 2 + shift;
    painter.setPen(Qt::black);
    for (const std::string& line : lines) {
        const QString text = TextToQt(line);
        painter.drawText(QRect(block.rect.left + shift, top, block.rect.Width(), lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, text);
        top += lineHeight;
    }
}

void CDiagramPainter::PaintModuleText(QPainter& painter, const CDiagramBlock& block, int shift) const {
    if (block.text.empty())
        return;
    painter.save();
    painter.translate(shift, shift);
    painter.setPen(Qt::black);
    DrawFittedText(painter, ToQRect(ModuleNameBand(block.rect)), TextToQt(block.text), Qt::AlignHCenter);
    painter.setFont(m_labelFont);
    for (const PinPlace& pin : m_diagram.PinsOf(block.id)) {
        painter.setPen(QPen(Qt::black, 1));
        // The stub ends on the block's frame, which lies one pixel inside on the right.
        const int edge = pin.side == PinSide::Right ? pin.anchor.x - 1 : pin.anchor.x;
        painter.drawLine(QPoint(edge, pin.anchor.y), QPoint(pin.stubEnd.x, pin.stubEnd.y));
        DrawFittedText(painter, ToQRect(pin.label), TextToQt(pin.name),
                       pin.side == PinSide::Left ? Qt::AlignLeft : Qt::AlignRight);
    }
    int top = block.rect.bottom - static_cast<int>(block.details.size()) * kLabelHeight - kGridStep / 2;
    for (const std::string& detail : block.details) {
        DrawFittedText(
            painter,
            QRect(block.rect.left + kGridStep, top, block.rect.Width() - 2 * kGridStep, kLabelHeight),
            TextToQt(detail), Qt::AlignHCenter);
        top += kLabelHeight;
    }
    painter.restore();
}

void CDiagramPainter::PaintLines(QPainter& painter, const CPixelRect& area) const {
    // Lines never show over a block that stands in their way.
    QRegion visible(ToQRect(area));
    for (const auto& entry : m_diagram.Blocks().Blocks()) {
        const CDiagramBlock& block = entry.second;
        if (IsObstacleKind(block.kind) && block.rect.Intersects(area))
            visible -= QRegion(ShapeOf(block));
    }
    painter.save();
    painter.setClipRegion(visible, Qt::IntersectClip);
    const int selected = m_look == Look::Screen ? m_diagram.SelectedLine() : -1;
    auto draw = [&painter](const CLineDrawing& drawing, bool dashed, bool stale = false) {
        QPolygon polyline;
        for (const LinePoint& p : drawing.polyline)
            polyline << QPoint(p.x, p.y);
        const QColor colour = ToQColor(drawing.colour);
        QPen pen(colour, drawing.penWidth, stale ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(polyline);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (const auto& head : drawing.arrowheads)
            painter.drawPolygon(QPolygon(
                {QPoint(head[0].x, head[0].y), QPoint(head[1].x, head[1].y), QPoint(head[2].x, head[2].y)}));
        if (dashed) {
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(Qt::white);
            painter.setPen(QPen(colour, 1, Qt::DotLine));
            painter.drawPolyline(polyline);
            painter.setBackgroundMode(Qt::TransparentMode);
        }
    };
    for (const auto& [id, line] : m_diagram.Lines().Lines()) {
        if (id == selected || line.points.empty())
            continue;
        draw(DrawLine(line, false), false, IsStaleDrawing(id, line));
    }
    if (const LineRecord* line = m_diagram.Lines().Find(selected); line != nullptr && !line->points.empty())
        draw(DrawLine(*line, true), true);
    painter.restore();
}

bool CDiagramPainter::IsStaleDrawing(int id, const LineRecord& line) const {
    if (!m_diagram.ConnectionsKnown() || m_diagram.ConnectionOf(id) != nullptr || line.points.size() < 2)
        return false;
    return !m_diagram.PinAt(static_cast<int>(line.fromId), line.points.front()).empty() ||
           !m_diagram.PinAt(static_cast<int>(line.toId), line.points.back()).empty();
}

void CDiagramPainter::PaintInstance(QPainter& painter, const CDiagramBlock& block) const {
    painter.save();
    painter.setFont(m_labelFont);
    painter.setPen(Qt::black);
    const std::string label = InstanceLabelText(block);
    if (!block.generate.empty()) {
        // A generate statement: a dashed frame around the block stands for its copies or its condition.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 1, Qt::DashLine));
        painter.drawRect(ToQRect(block.rect.Inflate(3, 3)).adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
    }
    const QRect band(block.rect.left, block.rect.top - kLabelHeight - 4,
                     std::max(block.rect.Width(), LabelWidth(label)), kLabelHeight);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignBottom, TextToQt(label));
    painter.restore();
}

void CDiagramPainter::PaintStubs(QPainter& painter, const CPixelRect& area) const {
    painter.save();
    painter.setFont(m_labelFont);
    for (const PinStub& stub : m_diagram.Stubs()) {
        for (const PinPlace& pin : m_diagram.PinsOf(stub.block)) {
            if (pin.name != stub.pin)
                continue;
            const int out = pin.side == PinSide::Left ? -2 * kGridStep : 2 * kGridStep;
            const QPoint from(pin.anchor.x, pin.anchor.y);
            const QPoint to(pin.anchor.x + out, pin.anchor.y);
            if (!area.Inflate(LabelWidth(stub.label) + 3 * kGridStep, kGridStep).ContainsPixel(pin.anchor))
                break;
            painter.setPen(QPen(QColor(0x40, 0x40, 0x90), 1));
            painter.drawLine(from, to);
            // The actual stands above the stub, on the diagram's background so that it stays
            // readable where it reaches a neighbour.
            const int width = LabelWidth(stub.label);
            const int left = pin.side == PinSide::Left ? pin.anchor.x - 3 - width : pin.anchor.x + 3;
            const QRect box(left, pin.anchor.y - kLabelHeight - 1, width, kLabelHeight);
            painter.fillRect(box, Fill(m_diagram.ButtonFaceColour()));
            DrawFittedText(painter, box, TextToQt(stub.label),
                           pin.side == PinSide::Left ? Qt::AlignRight : Qt::AlignLeft);
            break;
        }
    }
    painter.restore();
}

} // namespace kestra
