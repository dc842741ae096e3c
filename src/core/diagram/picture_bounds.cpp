#include "diagram/picture_bounds.h"

#include "diagram/block_pins.h"
#include "diagram/diagram_zoom.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

namespace {

CPixelRect Joined(const CPixelRect& a, const CPixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The label band above a module block and the dashed frame of a generate statement, as the
// painter draws them.
CPixelRect InstanceArea(const CDiagramBlock& block) {
    const CPixelRect& rect = block.rect;
    const int width = std::max(rect.Width(), LabelWidth(InstanceLabelText(block)));
    const CPixelRect band{rect.left, rect.top - kLabelHeight - 4, rect.left + width, rect.top - 4};
    return block.generate.empty() ? band : Joined(band, rect.Inflate(3, 3));
}

// A stub out of the pin and its actual written above it, on the side the pin faces.
CPixelRect StubArea(const PinPlace& pin, const std::string& label) {
    const int reach = std::max(LabelWidth(label) + 3, 2 * kGridStep);
    const int top = pin.anchor.y - kLabelHeight - 1;
    if (pin.side == PinSide::Left)
        return {pin.anchor.x - reach, top, pin.anchor.x, pin.anchor.y + 1};
    return {pin.anchor.x, top, pin.anchor.x + reach, pin.anchor.y + 1};
}

} // namespace

std::string InstanceLabelText(const CDiagramBlock& block) {
    if (block.generate.empty())
        return block.instance;
    return block.instance + "  (" + block.generate + " generate)";
}

CPixelRect PictureBounds(const CBlockDiagram& diagram) {
    const std::optional<CPixelRect> drawing = DrawingBounds(diagram);
    if (!drawing)
        return {0, 0, diagram.Width(), diagram.Height()};
    CPixelRect bounds = *drawing;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (block.kind == BlockKind::Module && !block.instance.empty())
            bounds = Joined(bounds, InstanceArea(block));
    }
    for (const PinStub& stub : diagram.Stubs()) {
        for (const PinPlace& pin : diagram.PinsOf(stub.block)) {
            if (pin.name == stub.pin) {
                bounds = Joined(bounds, StubArea(pin, stub.label));
                break;
            }
        }
    }
    // A picture frames a block along its right and bottom edges, one pixel past its rectangle.
    bounds.right += 1;
    bounds.bottom += 1;
    return bounds.Inflate(kPictureMargin, kPictureMargin);
}

std::optional<DiagramFileFormat> DiagramFormatOf(const std::filesystem::path& path) {
    const std::string extension = ToLowerAscii(path.extension().string());
    if (extension == ".svg")
        return DiagramFileFormat::Svg;
    if (extension == ".pdf")
        return DiagramFileFormat::Pdf;
    if (extension == ".png")
        return DiagramFileFormat::Png;
    return std::nullopt;
}

} // namespace kestra
