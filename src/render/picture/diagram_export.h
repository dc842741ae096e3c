#pragma once

#include "system/outcome.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kestra {

class CBlockDiagram;

// The files a block diagram's picture is written as: SVG and PDF as vector pictures (texts stay
// text, lines stay lines), PNG as an image of one pixel per diagram unit.
enum class DiagramFileFormat { Svg, Pdf, Png };

// The format the file name's extension asks for (any letter case); none for another one.
[[nodiscard]] std::optional<DiagramFileFormat> DiagramFormatOf(const std::filesystem::path& path);

// Writes the picture Copy View draws (white background, blocks framed, the drawing with a margin
// around it) into the file, in the format of its extension; a PDF page has the picture's size. The file is
// replaced only when the whole picture was made. Needs a QGuiApplication (fonts). Fails with the reason when
// the format is unknown or the file cannot be written.
Outcome ExportDiagram(const CBlockDiagram& diagram, const std::filesystem::path& path);

} // namespace kestra
