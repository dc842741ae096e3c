#pragma once

#include "diagram/picture_bounds.h"
#include "system/outcome.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kestra {

class CBlockDiagram;

// Writes the picture Copy View draws (white background, blocks framed, the drawing with a margin
// around it) into the file, in the format of its extension; a PDF page has the picture's size. The file is
// replaced only when the whole picture was made. Needs a QGuiApplication (fonts). Fails with the reason when
// the format is unknown or the file cannot be written.
Outcome ExportDiagram(const CBlockDiagram& diagram, const std::filesystem::path& path);

} // namespace kestra
