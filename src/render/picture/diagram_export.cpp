#include "picture/diagram_export.h"

#include "picture/diagram_painter.h"
#include "system/file_system.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace kestra {

Outcome ExportDiagram(const CBlockDiagram& diagram, const std::filesystem::path& path) {
    const std::optional<DiagramFileFormat> format = DiagramFormatOf(path);
    if (!format)
        return Outcome::Failed("the file name must end in .svg, .pdf or .png");
    const CDiagramPainter painter(diagram, QGuiApplication::font(), CDiagramPainter::Look::Picture);
    const CPixelRect area = painter.PictureArea();
    const QSize size(area.Width(), area.Height());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (*format) {
    case DiagramFileFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Block diagram"));
        svg.setDescription(QStringLiteral("Drawn by KESTRA"));
        QPainter target(&svg);
        target.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        target.translate(-area.left, -area.top);
        painter.Paint(target, area);
        target.end();
        break;
    }
    case DiagramFileFormat::Pdf: {
        // One point per diagram unit: the page is the diagram.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(QStringLiteral("Block diagram"));
        pdf.setCreator(QStringLiteral("KESTRA"));
        QPainter target(&pdf);
        target.translate(-area.left, -area.top);
        painter.Paint(target, area);
        target.end();
        break;
    }
    case DiagramFileFormat::Png:
        if (!painter.Picture().save(&buffer, "PNG"))
            return Outcome::Failed("the picture could not be encoded");
        break;
    }
    buffer.close();
    if (bytes.isEmpty())
        return Outcome::Failed("the picture could not be made");
    return ReplaceFileSafely(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kestra
