// The instances the component refresh adds: a parent's name is used only where the child's port
// may be associated with it and nothing else drives it; everything else gets a signal of its own.
#include "analysis/scanner.h"
#include "generation/component_refresh.h"
#include "model/design_object.h"
#include "support/ghdl.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kestra {
namespace {

std::string Module(const std::string& name, const std::string& generics, const std::string& ports,
                   const std::string& body) {
    return "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\nentity " + name + " is\r\n" + generics +
           "\tport (" + ports + ");\r\nend " + name + ";\r\n\r\narchitecture " + name + "_arch of " + name +
           " is\r\nbegin\r\n" + body + "end " + name + "_arch;\r\n";
}

// A child as the refresh gets it: its object has the module entry and the given parameter.
ChildComponent Child(const std::string& name, const std::string& source, const std::string& parameter = {},
                     const std::string& value = {}) {
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
    if (!parameter.empty()) {
        object.SetEntryCount(2);
        object.SetEntry(1, EntryKind::Numeric, parameter, value);
    }
    AnalysisContext context;
    const std::optional<ChildComponent> child =
        ChildComponentDeclaration(name, object, source, "WORK", false, context);
    EXPECT_TRUE(child.has_value()) << static_cast<int>(context.errorCode);
    return child.value_or(ChildComponent{});
}

// OLD is instantiated already: it drives E and reads F. P drives D and its out port LED, and
// has a signal named like X's first label; nothing drives G.
const std::string kOld =
    Module("OLD", "", "E_OUT : out std_logic; F_IN : in std_logic", "\tE_OUT <= F_IN;\r\n");
const std::string kParent = Module(
    "P", "", "CLK : in std_logic; Q : in std_logic; LED : out std_logic; W : in std_logic_vector(3 downto 0)",
    "\tD <= CLK;\r\n\tU_OLD: OLD port map (E, F);\r\n\tLED <= F and U_X;\r\n");
const std::string kX =
    Module("X", "\tgeneric (N : integer := 2);\r\n",
           "clk : in std_logic; Q, D, E, F : out std_logic; LED : in std_logic; W : in std_logic;\r\n"
           "\t\tV : out std_logic_vector(N - 1 downto 0)",
           "\tQ <= clk; D <= clk; E <= clk; F <= LED and W; V <= (others => '0');\r\n");
const std::string kY = Module("Y", "", "F : out std_logic; CLK : in std_logic", "\tF <= CLK;\r\n");
const std::string kZ = Module("Z", "", "CLK, Q : in std_logic; G : out std_logic", "\tG <= Q;\r\n");

std::string ParentWithSignals() {
    std::string parent = kParent;
    parent.insert(
        parent.find("begin\r\n"),
        "\tsignal D, E : std_logic;\r\n\tsignal F : std_logic := '0';\r\n\tsignal G : std_logic;\r\n"
        "\tsignal U_X : std_logic;\r\n");
    return parent;
}

TEST(ChildInstances, OnlyFittingUndrivenNamesAreSharedAndTheRestGetsSignalsOfItsOwn) {
    const std::vector<ChildComponent> children{Child("OLD", kOld), Child("X", kX, "N", "4"), Child("Y", kY),
                                               Child("Z", kZ)};
    const std::string parent = ParentWithSignals();
    AnalysisContext context;
    context.moduleName = "P";
    const std::optional<std::string> refreshed =
        RefreshComponentDeclarations(parent, children, true, context);
    ASSERT_TRUE(refreshed.has_value()) << static_cast<int>(context.errorCode);
    const std::string& text = *refreshed;

    // X: clk reads the in port CLK and F drives the signal only OLD reads; Q is an in port, D
    // and E are driven, LED is an out port (not readable in VHDL-93) and W has another type.
    EXPECT_NE(
        text.find("\tsignal U_X : std_logic;\r\n"
                  "\tsignal U_X_2_Q : std_logic;\r\n\tsignal U_X_2_D : std_logic;\r\n"
                  "\tsignal U_X_2_E : std_logic;\r\n\tsignal U_X_2_LED : std_logic;\r\n"
                  "\tsignal U_X_2_W : std_logic;\r\n\tsignal U_X_2_V : std_logic_vector(4 - 1 downto 0);\r\n"
                  "\tsignal U_Y_F : std_logic;\r\n\r\n\t-- KESTRA component declarations\r\n"),
        std::string::npos)
        << text;
    // Y's F would be a second driver of F, which X drives now; Z fits P as it is.
    EXPECT_NE(
        text.find("begin\r\n\t-- KESTRA component instantiations\r\n"
                  "\tU_X_2: X\r\n\t\tport map (\r\n\t\t\tclk => CLK,\r\n\t\t\tQ => U_X_2_Q,\r\n"
                  "\t\t\tD => U_X_2_D,\r\n\t\t\tE => U_X_2_E,\r\n\t\t\tF => F,\r\n\t\t\tLED => U_X_2_LED,\r\n"
                  "\t\t\tW => U_X_2_W,\r\n\t\t\tV => U_X_2_V\r\n\t\t);\r\n\r\n"
                  "\tU_Y: Y\r\n\t\tport map (\r\n\t\t\tF => U_Y_F,\r\n\t\t\tCLK => CLK\r\n\t\t);\r\n\r\n"
                  "\tU_Z: Z\r\n\t\tport map (CLK, Q, G);\r\n\r\n\tD <= CLK;"),
        std::string::npos)
        << text;

    // Analysed again, the parent stays as it is.
    EXPECT_EQ(RefreshComponentDeclarations(text, children, true, context), text);
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({kOld, kX, kY, kZ, text}, "P");
        EXPECT_TRUE(result.ok) << result.output << "\n" << text;
    }
}

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A mark the user moved above a signal (tool's form), and a mark with nothing below it (a
// source edited in place): the refresh writes below the one mark there is.
TEST(ChildInstances, TheDeclarationsMarkStandsOnce) {
    const std::vector<ChildComponent> children{Child("Z", kZ)};
    const std::string header = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
                               "entity P is\r\n\tport (CLK : in std_logic);\r\nend P;\r\n\r\n";
    const std::string toolForm = header +
                                 "architecture a of P is\r\n\r\n\t-- KESTRA component declarations\r\n"
                                 "\tsignal S : std_logic;\r\n\tcomponent Z\r\n\tend component;\r\n"
                                 "begin\r\nend a;\r\n";
    std::string inPlace =
        header + "architecture a of P is\r\n  -- KESTRA component declarations\r\nbegin\r\nend a;\r\n";
    inPlace.erase(std::remove(inPlace.begin(), inPlace.end(), '\r'), inPlace.end());
    for (const std::string& parent : {toolForm, inPlace}) {
        AnalysisContext context;
        context.moduleName = "P";
        const std::string text = RefreshComponentDeclarations(parent, children, true, context).value_or("");
        const std::size_t mark = text.find("-- KESTRA component declarations");
        EXPECT_EQ(CountOf(text, "-- KESTRA component declarations"), 1u) << text;
        EXPECT_LT(text.find("signal U_Z_Q"), mark) << text;
        EXPECT_LT(mark, text.find("component Z")) << text;
        if (test::GhdlAvailable()) {
            const auto result = test::GhdlAnalyze({kZ, text}, "P");
            EXPECT_TRUE(result.ok) << result.output << "\n" << text;
        }
    }
}

} // namespace
} // namespace kestra
