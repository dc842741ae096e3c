#include "generation/port_map_edit.h"
#include "support/ghdl.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kestra {
namespace {

const std::vector<std::string> kChildPorts{"p_a", "p_b", "p_c"};

ArchitectureStructure Read(const std::string& text) {
    std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    if (!structure)
        throw std::runtime_error("the architecture does not read");
    return std::move(*structure);
}

std::string Edit(const std::string& text, std::string_view label, const std::vector<PortMapChange>& changes) {
    const ArchitectureStructure structure = Read(text);
    const InstanceStructure* instance = structure.FindInstance(label);
    if (instance == nullptr)
        throw std::runtime_error("no instance " + std::string(label));
    return EditPortMap(text, *instance, kChildPorts, changes);
}

std::string Architecture(const std::string& body, const std::string& lineBreak = "\r\n") {
    return "architecture rtl of top is" + lineBreak + "begin" + lineBreak + body + "end rtl;" + lineBreak;
}

// A positional or mixed map is written anew in named form, every association kept; a position
// without a port, or a structure the text no longer matches, gives nothing.
TEST(PortMapEdit, PositionalMapBecomesNamed) {
    const std::string text =
        Architecture("\tg: if true generate\r\n\t  u1 : child PORT  MAP (a, s(1 downto 0), p_c => c);\r\n"
                     "\tend generate;\r\n");
    EXPECT_EQ(Edit(text, "u1", {{"P_B", "b"}}),
              Architecture("\tg: if true generate\r\n\t  u1 : child port map (\r\n"
                           "\t  \t\tp_a => a,\r\n\t  \t\tp_b => b,\r\n\t  \t\tp_c => c\r\n\t  \t);\r\n"
                           "\tend generate;\r\n"));

    const std::string tooMany = Architecture("\tu1 : child port map (a, b, c, d);\r\n");
    EXPECT_EQ(Edit(tooMany, "u1", {}), "");
    const ArchitectureStructure structure = Read(text);
    EXPECT_EQ(EditPortMap(" " + text, structure.instances[0], kChildPorts, {{"p_a", "x"}}), "");
}

// A named map keeps its layout: an actual changes alone, new associations follow the last one
// on lines of their own when it stands on its own line, after ", " otherwise.
TEST(PortMapEdit, NamedMapChangesInPlace) {
    const std::string text = Architecture("  u2: child port map(P_A=>a ,\n"
                                          "      p_b   =>   b(0)   -- keep\n"
                                          "    );\n"
                                          "  u3: child port map (p_a => a, p_b => b);\n",
                                          "\n");
    EXPECT_EQ(Edit(text, "u2", {{"p_a", "x"}, {"p_c", "open"}, {"p_b", "y"}, {"P_C", "z"}}),
              Architecture("  u2: child port map(P_A=>x ,\n"
                           "      p_b   =>   y,\n"
                           "      p_c => z   -- keep\n"
                           "    );\n"
                           "  u3: child port map (p_a => a, p_b => b);\n",
                           "\n"));
    EXPECT_EQ(Edit(text, "u3", {{"p_c", "c"}}),
              Architecture("  u2: child port map(P_A=>a ,\n"
                           "      p_b   =>   b(0)   -- keep\n"
                           "    );\n"
                           "  u3: child port map (p_a => a, p_b => b, p_c => c);\n",
                           "\n"));
}

// An instance without a port map gets one before its ';'.
TEST(PortMapEdit, PortMapAddedWhereThereIsNone) {
    const std::string text = Architecture("\tu4: child generic map (W => 4) ;\r\n");
    EXPECT_EQ(Edit(text, "u4", {{"p_a", "a"}, {"p_b", "b"}}),
              Architecture("\tu4: child generic map (W => 4)\r\n\t\tport map (\r\n\t\t\tp_a => a,\r\n"
                           "\t\t\tp_b => b\r\n\t\t) ;\r\n"));
}

// A new signal goes after the last signal, before the component declarations and the comment
// above them, or before "begin", indented as its neighbour.
TEST(PortMapEdit, SignalDeclarationPlaces) {
    const auto add = [](const std::string& text) {
        return AddSignalDeclaration(text, Read(text), "n", "bit");
    };
    EXPECT_EQ(
        add("architecture rtl of top is\n  signal a : bit; -- first\n"
            "    signal b : bit; -- last\n  component c is end component;\nbegin\nend;\n"),
        "architecture rtl of top is\n  signal a : bit; -- first\n"
        "    signal b : bit; -- last\n    signal n : bit;\n  component c is end component;\nbegin\nend;\n");
    EXPECT_EQ(
        add("architecture rtl of top is\r\n  constant k : bit := '0';\r\n\r\n"
            "  -- components\r\n  -- of the children\r\n  component c is end "
            "component;\r\nbegin\r\nend;\r\n"),
        "architecture rtl of top is\r\n  constant k : bit := '0';\r\n\r\n  signal n : bit;\r\n"
        "  -- components\r\n  -- of the children\r\n  component c is end component;\r\nbegin\r\nend;\r\n");
    EXPECT_EQ(add("architecture rtl of top is\n  constant k : bit := '0';\nbegin\nend;\n"),
              "architecture rtl of top is\n  constant k : bit := '0';\n\tsignal n : bit;\nbegin\nend;\n");
    EXPECT_EQ(add("architecture rtl of top is begin end;"),
              "architecture rtl of top is \n\tsignal n : bit;\nbegin end;");
}

// A parent connected to its child by the edits analyses and elaborates.
TEST(PortMapEdit, EditedDesignElaborates) {
    KESTRA_REQUIRE_GHDL();
    const std::string child =
        "entity child is\r\n\tport (p_a : in bit; p_b : in bit; p_c : out bit);\r\n"
        "end child;\r\n"
        "architecture rtl of child is\r\nbegin\r\n\tp_c <= p_a and p_b;\r\nend rtl;\r\n";
    std::string parent = "entity top is\r\n\tport (i : in bit; o : out bit);\r\nend top;\r\n"
                         "architecture rtl of top is\r\n"
                         "\tcomponent child is\r\n\t\tport (p_a : in bit; p_b : in bit; p_c : out bit);\r\n"
                         "\tend component;\r\n"
                         "begin\r\n"
                         "\tu1 : child port map (i, i, open);\r\n"
                         "\tu2 : child;\r\n"
                         "\to <= link;\r\n"
                         "end rtl;\r\n";
    parent = AddSignalDeclaration(parent, Read(parent), "link", "bit");
    parent = Edit(parent, "u1", {{"p_c", "link"}});
    parent = Edit(parent, "u2", {{"p_a", "link"}, {"p_b", "i"}, {"p_c", "open"}});
    const test::GhdlResult result = test::GhdlAnalyze({child, parent}, "top");
    EXPECT_TRUE(result.ok) << result.output << parent;
}

} // namespace
} // namespace kestra
