#include "diagram/block_diagram.h"
#include "diagram/block_pins.h"
#include "model/vhdl_signal.h"

#include <gtest/gtest.h>
#include <map>

namespace kestra {
namespace {

CVHDLSignal Ports(const std::vector<std::array<std::string, 2>>& rows) {
    CVHDLSignal ports;
    ports.SetSignalCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        ports.SetSignal(static_cast<int>(i), rows[i][0], rows[i][1], "std_logic");
    return ports;
}

// The ports of children by name, as the pane answers.
struct ChildPorts : IModulePorts {
    std::map<std::string, CVHDLSignal> children;
    const CVHDLSignal* PortsOf(const std::string& childName) const override {
        const auto found = children.find(childName);
        return found != children.end() ? &found->second : nullptr;
    }
};

TEST(BlockPins, SidesOrderAndSpacingFollowTheGrid) {
    const CVHDLSignal ports = Ports({{"CLK", "in"},
                                     {"Q", "out"},
                                     {"DATA", "inout"},
                                     {"RST", "IN"},
                                     {"TAP", "linkage"},
                                     {"", "in"},
                                     {"FLAG", "buffer"},
                                     {"BAD", "sideways"}});
    const CPixelRect rect{100, 50, 300, 250};
    const std::vector<PinPlace> pins = PinsOf(rect, ports);
    ASSERT_EQ(pins.size(), 6u); // an unnamed row and an unknown mode give no pin
    const std::vector<std::string> names{"CLK", "Q", "DATA", "RST", "TAP", "FLAG"};
    const std::vector<PinSide> sides{PinSide::Left, PinSide::Right, PinSide::Right,
                                     PinSide::Left, PinSide::Left,  PinSide::Right};
    const std::vector<int> ys{80, 80, 100, 100, 120, 120}; // each side in port order, a pin per 20
    for (std::size_t i = 0; i < pins.size(); ++i) {
        const PinPlace& pin = pins[i];
        SCOPED_TRACE(pin.name);
        EXPECT_EQ(pin.name, names[i]);
        EXPECT_EQ(pin.side, sides[i]);
        EXPECT_EQ(pin.anchor.y, ys[i]);
        EXPECT_EQ(pin.anchor.y % kGridStep, 0);
        EXPECT_EQ(pin.stubEnd.y, pin.anchor.y);
        // Anchors on the edge, stubs and names inside the block.
        EXPECT_EQ(pin.anchor.x, pin.side == PinSide::Left ? rect.left : rect.right);
        EXPECT_EQ(pin.stubEnd.x, pin.side == PinSide::Left ? rect.left + kPinStub : rect.right - kPinStub);
        EXPECT_TRUE(pin.label.left >= rect.left + kPinStub && pin.label.right <= rect.right - kPinStub);
        EXPECT_EQ(pin.label.Width(), LabelWidth(pin.name));
        EXPECT_EQ(pin.label.Centre().y, pin.anchor.y);
    }
    EXPECT_EQ(pins[2].kind, BlockKind::InoutPort);
    EXPECT_EQ(pins[5].kind, BlockKind::BufferPort);
}

TEST(BlockPins, MinimumSizeMakesRoomForTheNameAndEveryPin) {
    // Unnamed blocks need nothing; a named block without pins a small square.
    EXPECT_EQ(MinimumModuleBlockSize("", nullptr), (CPixelSize{}));
    EXPECT_EQ(MinimumModuleBlockSize("U", nullptr), (CPixelSize{40, 40}));
    // A long name is never cut.
    const std::string name = "A_RATHER_LONG_MODULE_NAME";
    const CPixelSize named = MinimumModuleBlockSize(name, nullptr);
    EXPECT_GE(named.width, LabelWidth(name) + 2 * kGridStep);
    EXPECT_EQ(named.width % kGridStep, 0);

    // Three pins on the right side make it three pitches tall under the name band; the two
    // sides' names fit beside each other without touching.
    const CVHDLSignal ports = Ports({{"A", "in"}, {"RESULT_VALUE", "out"}, {"C", "out"}, {"D", "buffer"}});
    const CPixelSize size = MinimumModuleBlockSize("ALU", &ports);
    EXPECT_EQ(size.height, kPinTop + 3 * kPinSpacing);
    const CPixelRect rect = CPixelRect::FromSize(0, 0, size.width, size.height);
    const std::vector<PinPlace> pins = PinsOf(rect, ports);
    ASSERT_EQ(pins.size(), 4u);
    EXPECT_LT(pins[0].label.right, pins[1].label.left);
    for (const PinPlace& pin : pins)
        EXPECT_TRUE(pin.label.top >= rect.top + kNameBandHeight && pin.label.bottom <= rect.bottom)
            << pin.name;
    EXPECT_EQ(size.width % kGridStep, 0);
}

TEST(BlockPins, PinsFollowTheChildsPortsAndBlocksGrowWithoutMoving) {
    ChildPorts source;
    source.children["CNT"] = Ports({{"CLK", "in"}});
    CBlockDiagram diagram;
    diagram.SetModulePorts(&source);
    const int cnt = diagram.AddBlock(30, 40, 30, 20, "CNT", 0, -1, BlockKind::Module);
    const int note = diagram.AddBlock(300, 40, 30, 20, "CNT", 0, -1, BlockKind::TextBlock);
    ASSERT_EQ(diagram.PinsOf(cnt).size(), 1u);
    EXPECT_TRUE(diagram.PinsOf(note).empty()); // only module blocks have pins

    // The child's ports change: the pins are what the ports are now.
    CVHDLSignal& ports = source.children["CNT"];
    ports.SetSignal(ports.AddSignal() - 1, "COUNT_VALUE", "out", "std_logic_vector");
    ports.SetSignal(ports.AddSignal() - 1, "ENABLE", "in", "std_logic");
    const std::vector<PinPlace> pins = diagram.PinsOf(cnt);
    ASSERT_EQ(pins.size(), 3u);
    EXPECT_EQ(pins[1].name, "COUNT_VALUE");
    EXPECT_EQ(pins[1].side, PinSide::Right);
    EXPECT_EQ(pins[2].anchor, (CPixelPoint{30, 40 + kPinTop + kPinSpacing}));

    // Too small for its name and pins, the block grows; its top-left corner stays.
    diagram.SetDiagramChanged(false);
    EXPECT_TRUE(diagram.FitModuleBlocks());
    EXPECT_TRUE(diagram.DiagramChanged());
    const CPixelRect grown = diagram.BlockRect(cnt);
    EXPECT_EQ(grown, GrownTo(CPixelRect{30, 40, 60, 60}, MinimumModuleBlockSize("CNT", &ports)));
    EXPECT_EQ(diagram.BlockRect(note), (CPixelRect{300, 40, 330, 60}));
    EXPECT_EQ(diagram.Blocks().BlockAt({grown.right - 1, grown.bottom - 1}), cnt); // hit where drawn
    diagram.SetDiagramChanged(false);
    EXPECT_FALSE(diagram.FitModuleBlocks()); // large enough now
    EXPECT_FALSE(diagram.DiagramChanged());
}

} // namespace
} // namespace kestra
