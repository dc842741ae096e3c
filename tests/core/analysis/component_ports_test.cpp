// The ports of a component an architecture declares, for the pins of units that are no module.
#include "analysis/component_ports.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(ComponentPorts, AComponentDeclarationReadsAsTheEntityItStandsFor) {
    const std::string text = "architecture rtl of top is\n"
                             "  component IO_BUF is\n"
                             "    generic (DRIVE : integer := 8);\n"
                             "    port (I : in std_logic; O : out std_logic_vector(3 downto 0));\n"
                             "  end component;\n"
                             "  component BROKEN port (x in bit); end component;\n"
                             "  signal s : std_logic;\n"
                             "begin\n"
                             "  u : IO_BUF port map (I => s, O => open);\n"
                             "end rtl;\n";
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    ASSERT_TRUE(structure);
    const std::optional<CVHDLSignal> ports = ComponentPorts(text, *structure, "io_buf");
    ASSERT_TRUE(ports);
    ASSERT_EQ(ports->GetSignalCount(), 2);
    EXPECT_EQ(ports->GetSignalText(0, CVHDLSignal::kName), "I");
    EXPECT_EQ(ports->GetSignalText(1, CVHDLSignal::kMode), "out");
    EXPECT_EQ(ports->GetSignalText(1, CVHDLSignal::kRange), "3 downto 0");
    // A declaration that does not read, and a unit the part does not declare, give none.
    EXPECT_FALSE(ComponentPorts(text, *structure, "BROKEN"));
    EXPECT_FALSE(ComponentPorts(text, *structure, "top"));
}

} // namespace
} // namespace kestra
