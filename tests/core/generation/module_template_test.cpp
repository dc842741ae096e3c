#include "generation/module_template.h"
#include "support/ghdl.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(ModuleTemplate, SeventeenLines) {
    const std::string text = NewModuleTemplateText("ADDER");
    EXPECT_EQ(text, "-- ADDER\r\n"
                    "library IEEE;\r\n"
                    "use IEEE.std_logic_1164.all;\r\n"
                    "use IEEE.std_logic_arith.all;\r\n"
                    "\r\n"
                    "entity ADDER is\r\n"
                    "\tport (\r\n"
                    "\t\t-- Enter port list here\r\n"
                    "\t\tCLK : in STD_LOGIC\r\n"
                    "\t);\r\n"
                    "end ADDER;\r\n"
                    "\r\n"
                    "architecture ADDER_arch of ADDER is\r\n"
                    "begin\r\n"
                    "\t-- Enter concurrent statements here\r\n"
                    "end ADDER_arch;\r\n"
                    "\r\n");
}

TEST(ModuleTemplate, AnalysesUnderGhdl) {
    KESTRA_REQUIRE_GHDL();
    const auto result = test::GhdlAnalyse({NewModuleTemplateText("ADDER")}, "ADDER");
    EXPECT_TRUE(result.ok) << result.output;
}

} // namespace
} // namespace kestra
