#pragma once

#include "model/item_kind.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kestra {

// The kind of a block in a live diagram. It is never stored; loading derives it from the
// stored name prefix, the signal modes and the stored colour.
enum class BlockKind : int {
    Module = 3,
    InoutPort = 5,
    InPort = 6,
    OutPort = 7,
    BufferPort = 8,
    LinkagePort = 9,
    TextBlock = 10,
    CustomBlock = 11,
};

// Colours are 0x00BBGGRR: red in the low byte.
constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

inline constexpr std::uint32_t kDefaultLineColour = Rgb(128, 64, 0);
inline constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
inline constexpr std::uint32_t kCustomBlockColour = kWhite;

// Fill of a module block by the child's hierarchy kind (0 normal, 4 library, 6 predefined, ...).
std::uint32_t ModuleColour(HierarchyKind hierarchyKind);

// Fill of a port block; 0 for kinds that are not ports (text blocks take the system's
// button-face colour, which only the window layer knows).
std::uint32_t PortColour(BlockKind kind);

// The port kind whose fill is the colour; `TextBlock` for any other colour.
BlockKind PortKindFromColour(std::uint32_t colour);

// "in", "out", "inout", "buffer", "linkage" (as the signal list accepts them: any letter case,
// blanks and a trailing comment allowed) give the port kinds; any other text `TextBlock`.
BlockKind BlockKindFromMode(std::string_view mode);

// The mode text of a port kind; empty for other kinds.
const char* ModeFromBlockKind(BlockKind kind);

bool IsPortKind(BlockKind kind);

struct PaletteColour {
    const char* name;
    std::uint32_t colour;
};

// The named colours of the diagram's colour picker, in menu order.
extern const std::array<PaletteColour, 40> kColourPalette;
inline constexpr const char* kPaletteDefaultName = "Default";
inline constexpr const char* kPaletteMoreName = "More Colours...";

} // namespace kestra
