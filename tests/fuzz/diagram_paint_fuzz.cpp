// Loads arbitrary bytes as a stored block diagram into the live diagram, paints a window's
// worth of it at a scroll position the bytes choose, and writes it back: blocks of any size and
// sign, any colours and names, lines with any number of points.
#include "diagram/block_diagram.h"
#include "diagram/diagram_record.h"
#include "model/archive.h"
#include "model/block_data.h"
#include "picture/diagram_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// The font configuration library keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libfreetype\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    static constexpr int kVersions[] = {102, 104, 106, 110};
    const int scrollX = data[1] * 40;
    const int scrollY = data[2] * 40;
    kestra::CArchive archive = kestra::CArchive::ForLoading(
        std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3), kVersions[data[0] % 4]);
    kestra::CBlockData record;
    if (!record.Serialize(archive))
        return 0;
    kestra::CBlockDiagram diagram;
    diagram.Blocks().SetClientSize(400, 300);
    kestra::LoadDiagramRecord(diagram, &record, {{"A", kestra::HierarchyKind::Normal}}, nullptr);
    diagram.Blocks().ScrollTo(scrollX, scrollY);
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-diagram.Blocks().ScrollX(), -diagram.Blocks().ScrollY());
    const kestra::CPixelRect area{diagram.Blocks().ScrollX(), diagram.Blocks().ScrollY(),
                                  diagram.Blocks().ScrollX() + 400, diagram.Blocks().ScrollY() + 300};
    kestra::CDiagramPainter(diagram, QGuiApplication::font(), kestra::CDiagramPainter::Look::Screen)
        .Paint(painter, area);
    painter.end();
    diagram.SetDiagramChanged(true);
    kestra::WriteDiagramRecord(diagram, &record);
    return 0;
}
