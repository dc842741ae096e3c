#include "generation/connection_edit.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

// CNT has a generic WIDTH and an output as wide; INV an input and an output of one bit.
const UnitInterface* Units(std::string_view unit) {
    static const UnitInterface counter{
        {{"CLK", "in", "std_logic"}, {"Q", "out", "std_logic_vector(WIDTH - 1 downto 0)"}}, {{"WIDTH", "8"}}};
    static const UnitInterface inverter{{{"D", "in", "std_logic"}, {"Y", "out", "std_logic"}}, {}};
    static const UnitInterface sink{{{"V", "in", "std_logic_vector(3 downto 0)"}}, {}};
    if (unit == "CNT")
        return &counter;
    if (unit == "SINK")
        return &sink;
    return unit == "INV" ? &inverter : nullptr;
}

const char kTop[] =
    "entity TOP is\n  port (A : in std_logic; Y : out std_logic);\nend TOP;\n"
    "architecture rtl of TOP is\nbegin\n"
    "  U1: CNT generic map (WIDTH => 4) port map (CLK => A, Q => open);\n"
    "  U2: SINK port map (V => open);\n"
    "  G: for i in 0 to 1 generate\n    U3: INV port map (D => A, Y => open);\n  end generate;\n"
    "  U4: INV port map (D => A, Y => open);\n"
    "end rtl;\n";

Result<std::string> Connect(const char* a, const char* b, const char* text = kTop) {
    return ConnectInSource(text, "TOP", Units, *ParseConnectionEnd(a), *ParseConnectionEnd(b));
}

TEST(ConnectionEdit, SignalsAreTypedWithTheInstancesGenericsAndCopiesNeverDriveOneSignal) {
    // Two pins: the new signal takes the driver's type with the instance's generic value put in.
    const Result<std::string> joined = Connect("U2.V", "U1.Q");
    ASSERT_TRUE(joined) << joined.Reason();
    EXPECT_NE(joined->find("signal U1_Q : std_logic_vector((4) - 1 downto 0);"), std::string::npos)
        << *joined;
    EXPECT_NE(joined->find("Q => U1_Q"), std::string::npos) << *joined;
    EXPECT_NE(joined->find("V => U1_Q"), std::string::npos) << *joined;

    // An output inside a for-generate is one output per copy: refused, as a signal or as a port.
    for (const char* other : {"Y", "U4.D"}) {
        const Result<std::string> copies = Connect("U3.Y", other);
        ASSERT_FALSE(copies) << other;
        EXPECT_NE(copies.Reason().find("for-generate G"), std::string::npos) << copies.Reason();
    }
    // Its input may read a port like any other pin; an output joins the module's output once.
    EXPECT_FALSE(Connect("U3.D", "A")); // connected already
    const Result<std::string> out = Connect("U4.Y", "Y");
    ASSERT_TRUE(out) << out.Reason();
    EXPECT_FALSE(Connect("U1.CLK", "Y", out->c_str())); // reading an output of the module
    const Result<std::string> twice = Connect("U4.Y", "U2.V", out->c_str());
    ASSERT_FALSE(twice);
    EXPECT_NE(twice.Reason().find("std_logic_vector"), std::string::npos) << twice.Reason();

    // Names that are no identifiers are no ends.
    EXPECT_FALSE(ParseConnectionEnd("U1.2Q"));
    EXPECT_FALSE(ParseConnectionEnd("U 1.Q"));
    EXPECT_EQ(TypeMarkOf(" IEEE.STD_LOGIC_VECTOR (7 downto 0)"), "std_logic_vector");
    EXPECT_EQ(TypeMarkOf("integer range 0 to 9"), "integer");
}

} // namespace
} // namespace kestra
