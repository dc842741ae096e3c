#include "analysis/architecture_structure.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kestra {
namespace {

std::string At(const std::string& text, std::size_t start, std::size_t end) {
    return text.substr(start, end - start);
}

const InstanceStructure& Instance(const ArchitectureStructure& structure, std::string_view label) {
    const InstanceStructure* instance = structure.FindInstance(label);
    if (instance == nullptr)
        throw std::runtime_error("no instance " + std::string(label));
    return *instance;
}

// The architecture of the entity asked for, with its parts where the text holds them; an
// architecture of another entity before it and words in comments are passed over.
TEST(ArchitectureStructure, HeaderPartsAndSignals) {
    const std::string text = "entity other is end;\n"
                             "architecture a of other is begin end a;\n"
                             "-- architecture fake of top is\n"
                             "entity top is port (x : in bit); end top;\n"
                             "architecture Rtl of TOP is\n"
                             "  signal a, b : std_logic_vector(3 downto 0) := (others => '0'); -- pair\n"
                             "  constant k : string := \"signal z : bit;\";\n"
                             "  signal c : bit;\n"
                             "  -- the parts\n"
                             "  component child is port (p : in bit); end component;\n"
                             "  component other is end component;\n"
                             "begin\n"
                             "end architecture;\n";
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    ASSERT_TRUE(structure);
    EXPECT_EQ(structure->name, "Rtl");
    EXPECT_EQ(structure->entity, "TOP");
    EXPECT_EQ(text.substr(structure->declarations - 2, 2), "is");
    EXPECT_EQ(text.substr(structure->declarations, 3), "\n  ");
    EXPECT_EQ(text.substr(structure->begin, 7), "begin\ne");
    EXPECT_EQ(text.substr(structure->end, 16), "end architecture");
    EXPECT_EQ(text.substr(structure->firstComponent, 15), "component child");
    ASSERT_EQ(structure->declaredSignals.size(), 3u);
    EXPECT_EQ(structure->declaredSignals[0].shape.name, "a");
    EXPECT_EQ(structure->declaredSignals[1].shape.name, "b");
    EXPECT_EQ(structure->declaredSignals[1].shape.type, "std_logic_vector(3 downto 0)");
    EXPECT_EQ(structure->declaredSignals[0].start, structure->declaredSignals[1].start);
    EXPECT_EQ(At(text, structure->declaredSignals[1].start, structure->declaredSignals[1].semicolon + 1),
              "signal a, b : std_logic_vector(3 downto 0) := (others => '0');");
    EXPECT_EQ(At(text, structure->declaredSignals[2].start, structure->declaredSignals[2].semicolon + 1),
              "signal c : bit;");

    const std::optional<ArchitectureStructure> any = ReadArchitectureStructure(text, "");
    ASSERT_TRUE(any);
    EXPECT_EQ(any->name, "a");
    EXPECT_FALSE(ReadArchitectureStructure(text, "missing"));
    EXPECT_FALSE(ReadArchitectureStructure("architecture r of top is begin", "top")); // never closed
}

// Every form of instantiation, with the positions of its parts, its maps and their
// associations; "port map" in comments and strings is no instance.
TEST(ArchitectureStructure, InstancesOfEveryForm) {
    const std::string text = "architecture rtl of top is\nbegin\n"
                             "  -- u0: child port map (a, b);\n"
                             "  s <= \"u0: child port map (a);\";\n"
                             "  U1 : child port map (a, b, open);\n"
                             "  u2: child\n"
                             "    generic map (W => 8, D => \"x;)\")\n"
                             "    port map (\n"
                             "      P_A => a,   -- first, port map (q)\n"
                             "      p_b => \\ext name\\\n"
                             "    );\n"
                             "  u3: child port map (a, P_B => b);\n"
                             "  u4: entity work.leaf(beh) port map (x => y);\n"
                             "  u5: component child port map (p_a => a);\n"
                             "  u6: lib.pkg.child generic map (W => 4);\n"
                             "  u7: child(a);\n"
                             "end rtl;\n";
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    ASSERT_TRUE(structure);
    ASSERT_EQ(structure->instances.size(), 6u); // u7 calls a procedure
    const InstanceStructure& u1 = Instance(*structure, "u1");
    EXPECT_EQ(u1.label, "U1");
    EXPECT_EQ(u1.unit, "child");
    EXPECT_TRUE(u1.positional);
    EXPECT_FALSE(u1.entity);
    EXPECT_EQ(At(text, u1.start, u1.semicolon + 1), "U1 : child port map (a, b, open);");
    EXPECT_EQ(At(text, u1.portMapOpen, u1.portMapClose + 1), "(a, b, open)");
    ASSERT_EQ(u1.ports.size(), 3u);
    EXPECT_EQ(u1.ports[1].formal, "");
    EXPECT_EQ(At(text, u1.ports[1].start, u1.ports[1].end), "b");
    EXPECT_EQ(u1.ports[2].kind, ActualKind::Open);

    const InstanceStructure& u2 = Instance(*structure, "U2");
    EXPECT_FALSE(u2.positional);
    ASSERT_EQ(u2.generics.size(), 2u);
    EXPECT_EQ(u2.generics[1].actual, "\"x;)\"");
    EXPECT_EQ(u2.generics[1].kind, ActualKind::Other);
    ASSERT_EQ(u2.ports.size(), 2u);
    EXPECT_EQ(At(text, u2.ports[0].start, u2.ports[0].end), "P_A => a");
    EXPECT_EQ(u2.ports[1].formal, "p_b");
    EXPECT_EQ(u2.ports[1].actual, "\\ext name\\");
    EXPECT_EQ(u2.ports[1].kind, ActualKind::Name);

    const InstanceStructure& u3 = Instance(*structure, "u3");
    EXPECT_TRUE(u3.positional);
    EXPECT_EQ(u3.ports[1].formal, "P_B");

    const InstanceStructure& u4 = Instance(*structure, "u4");
    EXPECT_TRUE(u4.entity);
    EXPECT_EQ(u4.unit, "leaf");
    EXPECT_EQ(u4.architecture, "beh");

    EXPECT_EQ(Instance(*structure, "u5").unit, "child");
    const InstanceStructure& u6 = Instance(*structure, "u6");
    EXPECT_EQ(u6.unit, "child");
    EXPECT_EQ(u6.generics.size(), 1u);
    EXPECT_TRUE(u6.ports.empty());
    EXPECT_EQ(u6.portMapOpen, std::string_view::npos);
    EXPECT_EQ(text[u6.semicolon], ';');
    EXPECT_EQ(structure->FindInstance("u7"), nullptr);
}

// What the diagram can follow: simple names and open; everything else is Other. Formals stay
// as written.
TEST(ArchitectureStructure, KindsOfActualsAndFormals) {
    const std::string text = "architecture rtl of top is begin\n"
                             "u: child port map (\n"
                             "  a => s(3 downto 0), b => s(i), c => (others => '0'), d => x and y,\n"
                             "  e => r.f, f => '1', g => to_unsigned(n, 4), F(3) => t,\n"
                             "  to_integer(h) => u, i => OPEN, j => plain, k => \\ext\\, l => \"01\");\n"
                             "end;\n";
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    ASSERT_TRUE(structure);
    ASSERT_EQ(structure->instances.size(), 1u);
    const std::vector<MapAssociation>& ports = structure->instances[0].ports;
    ASSERT_EQ(ports.size(), 13u);
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(ports[i].kind, i == 7 || i == 8 ? ActualKind::Name : ActualKind::Other) << ports[i].actual;
    EXPECT_EQ(ports[0].actual, "s(3 downto 0)");
    EXPECT_EQ(ports[3].actual, "x and y");
    EXPECT_EQ(ports[7].formal, "F(3)");
    EXPECT_EQ(ports[8].formal, "to_integer(h)");
    EXPECT_EQ(ports[9].kind, ActualKind::Open);
    EXPECT_EQ(ports[10].kind, ActualKind::Name);
    EXPECT_EQ(ports[11].kind, ActualKind::Name);
    EXPECT_EQ(ports[12].kind, ActualKind::Other);
}

// Instances inside generate statements and blocks at any depth, with the innermost generate;
// processes and what they hold are passed over.
TEST(ArchitectureStructure, GeneratesBlocksAndProcesses) {
    const std::string text =
        "architecture rtl of top is\n"
        "begin\n"
        "  p: process (clk) is\n"
        "    procedure q is begin end;\n"
        "  begin\n"
        "    if rising_edge(clk) then v: for i in 0 to 1 loop x(i) <= y; end loop; end if;\n"
        "  end process p;\n"
        "  g1: if WIDE generate\n"
        "    signal t : bit;\n"
        "  begin\n"
        "    g2: for i in 0 to (N - 1) generate\n"
        "      a: child port map (s(i), open);\n"
        "    end generate g2;\n"
        "    b: child port map (p_a => t);\n"
        "  elsif NARROW generate\n"
        "    c: child port map (p_a => t);\n"
        "  else alt: generate\n"
        "    d: child port map (p_a => t);\n"
        "  end alt;\n"
        "  end generate;\n"
        "  g3: case MODE generate\n"
        "    when 1 | 2 =>\n"
        "      e: child port map (p_a => t);\n"
        "    when others =>\n"
        "      blk: block (en = '1') is\n"
        "        signal w : bit;\n"
        "      begin\n"
        "        inner: block begin f: entity work.leaf port map (w); end block inner;\n"
        "        z <= guarded w when en = '1' else '0';\n"
        "      end block;\n"
        "  end generate g3;\n"
        "  h: child port map (p_a => t);\n"
        "end architecture rtl;\n";
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(text, "top");
    ASSERT_TRUE(structure);
    std::string seen;
    for (const InstanceStructure& instance : structure->instances) {
        seen += instance.label + ":" + instance.generateLabel + ":" +
                std::to_string(static_cast<int>(instance.generate)) + " ";
    }
    EXPECT_EQ(seen, "a:g2:1 b:g1:2 c:g1:2 d:g1:2 e:g3:3 f:g3:3 h::0 ");
    EXPECT_EQ(text.substr(structure->end, 20), "end architecture rtl");
}

} // namespace
} // namespace kestra
