#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "generation/module_template.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"
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

TEST(ModuleTemplate, AnalyzesUnderGhdl) {
    KESTRA_REQUIRE_GHDL();
    const auto result = test::GhdlAnalyze({NewModuleTemplateText("ADDER")}, "ADDER");
    EXPECT_TRUE(result.ok) << result.output;
}

TEST(ModuleTemplate, AnalyzesWithOnePortAndOneArchitecture) {
    const std::string text = NewModuleTemplateText("ADDER");
    AnalysisContext context;
    context.moduleName = "ADDER";
    const CScanner scanner(text, &context);
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, "ADDER", "ADDER.vhd");
    CVHDLSignal signals;
    std::size_t cursor = 0;
    AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &object, &signals);
    AnalyzeArchitectures(scanner, &object);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_EQ(object.GetEntryCount(), 1);
    ASSERT_EQ(signals.GetSignalCount(), 1);
    EXPECT_EQ(signals.GetSignalText(0, 0), "CLK");
    EXPECT_EQ(signals.GetSignalText(0, 1), "in");
    EXPECT_EQ(signals.GetSignalText(0, 2), "STD_LOGIC");
}

} // namespace
} // namespace kestra
