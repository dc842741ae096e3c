#include "model/block_colours.h"

#include "text/word_reader.h"

#include <string>

namespace kestra {

namespace {

struct PortEntry {
    BlockKind kind;
    const char* mode;
    std::uint32_t colour;
};

constexpr PortEntry kPorts[] = {
    {BlockKind::InPort, "in", Rgb(190, 190, 255)},
    {BlockKind::OutPort, "out", Rgb(190, 255, 190)},
    {BlockKind::InoutPort, "inout", Rgb(230, 230, 175)},
    {BlockKind::BufferPort, "buffer", Rgb(255, 190, 190)},
    {BlockKind::LinkagePort, "linkage", Rgb(230, 175, 230)},
};

} // namespace

const std::array<PaletteColour, 40> kColourPalette = {{
    {"Black", Rgb(0, 0, 0)},
    {"Brown", Rgb(165, 42, 0)},
    {"Dark Olive Green", Rgb(0, 64, 64)},
    {"Dark Green", Rgb(0, 85, 0)},
    {"Dark Teal", Rgb(0, 0, 94)},
    {"Dark blue", Rgb(0, 0, 139)},
    {"Indigo", Rgb(75, 0, 130)},
    {"Dark grey", Rgb(40, 40, 40)},
    {"Dark red", Rgb(139, 0, 0)},
    {"Orange", Rgb(255, 104, 32)},
    {"Dark yellow", Rgb(139, 139, 0)},
    {"Green", Rgb(0, 147, 0)},
    {"Teal", Rgb(56, 142, 142)},
    {"Blue", Rgb(0, 0, 255)},
    {"Blue-grey", Rgb(123, 123, 192)},
    {"Grey - 40", Rgb(102, 102, 102)},
    {"Red", Rgb(255, 0, 0)},
    {"Light orange", Rgb(255, 173, 91)},
    {"Lime", Rgb(50, 205, 50)},
    {"Sea green", Rgb(60, 179, 113)},
    {"Aqua", Rgb(127, 255, 212)},
    {"Light blue", Rgb(125, 158, 192)},
    {"Violet", Rgb(128, 0, 128)},
    {"Grey - 50", Rgb(127, 127, 127)},
    {"Pink", Rgb(255, 192, 203)},
    {"Gold", Rgb(255, 215, 0)},
    {"Yellow", Rgb(255, 255, 0)},
    {"Bright green", Rgb(0, 255, 0)},
    {"Turquoise", Rgb(64, 224, 208)},
    {"Skyblue", Rgb(192, 255, 255)},
    {"Plum", Rgb(72, 0, 72)},
    {"Light grey", Rgb(192, 192, 192)},
    {"Rose", Rgb(255, 228, 225)},
    {"Tan", Rgb(210, 180, 140)},
    {"Light yellow", Rgb(255, 255, 224)},
    {"Pale green ", Rgb(152, 251, 152)},
    {"Pale turquoise", Rgb(175, 238, 238)},
    {"Pale blue", Rgb(104, 131, 139)},
    {"Lavender", Rgb(230, 230, 250)},
    {"White", Rgb(255, 255, 255)},
}};

std::uint32_t ModuleColour(HierarchyKind hierarchyKind) {
    switch (hierarchyKind) {
    case HierarchyKind::Normal:
        return Rgb(230, 230, 100);
    case HierarchyKind::Root:
        return Rgb(187, 187, 186);
    case HierarchyKind::Library:
        return Rgb(120, 255, 180);
    case HierarchyKind::Predefined:
        return Rgb(152, 153, 255);
    case HierarchyKind::Package:
        return Rgb(62, 62, 255);
    }
    return kWhite;
}

std::uint32_t PortColour(BlockKind kind) {
    for (const PortEntry& port : kPorts) {
        if (port.kind == kind)
            return port.colour;
    }
    return 0;
}

BlockKind PortKindFromColour(std::uint32_t colour) {
    for (const PortEntry& port : kPorts) {
        if (port.colour == colour)
            return port.kind;
    }
    return BlockKind::TextBlock;
}

BlockKind BlockKindFromMode(std::string_view mode) {
    const CWordReader scanner(mode);
    std::size_t cursor = 0;
    const std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
    scanner.SkipBlanksAndComments(cursor);
    if (cursor < scanner.End())
        return BlockKind::TextBlock;
    for (const PortEntry& port : kPorts) {
        if (word == port.mode)
            return port.kind;
    }
    return BlockKind::TextBlock;
}

const char* ModeFromBlockKind(BlockKind kind) {
    for (const PortEntry& port : kPorts) {
        if (port.kind == kind)
            return port.mode;
    }
    return "";
}

bool IsPortKind(BlockKind kind) {
    return kind >= BlockKind::InoutPort && kind <= BlockKind::LinkagePort;
}

} // namespace kestra
