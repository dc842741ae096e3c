#pragma once

#include "diagram/block_diagram.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kestra {

// The free space a picture of a diagram (Copy View, export) leaves around the drawing, in
// diagram units.
inline constexpr int kPictureMargin = 10;

// The text above a module block: its instance label, and the generate statement it stands in.
std::string InstanceLabelText(const CDiagramBlock& block);

// The part of the diagram a picture of it shows: everything drawn (blocks, lines, the labels
// above module blocks and the frames of generate statements, the stubs of pins with their
// actuals) with kPictureMargin on every side; from (0, 0) to the diagram's extent when nothing
// is drawn.
CPixelRect PictureBounds(const CBlockDiagram& diagram);

// The files a block diagram's picture is written as: SVG and PDF as vector pictures (texts stay
// text, lines stay lines), PNG as an image of one pixel per diagram unit.
enum class DiagramFileFormat { Svg, Pdf, Png };

// The format the file name's extension asks for (any letter case); none for another one.
[[nodiscard]] std::optional<DiagramFileFormat> DiagramFormatOf(const std::filesystem::path& path);

} // namespace kestra
