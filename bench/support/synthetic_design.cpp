#include "support/synthetic_design.h"

#include <fstream>

namespace kestra::bench {

namespace {

const char* const kContext = "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n"
                             "use work.core_types.all;\nuse work.core_util.all;\n\n";
const char* const kPorts = "  port (\n    clk  : in  std_logic;\n    rst  : in  std_logic;\n"
                           "    din  : in  uop_t;\n    dout : out result_t\n  );\n";

std::string N(int value) {
    return std::to_string(value);
}

std::string TypesPackage(int functions) {
    std::string text =
        "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n"
        "-- Records and functions every module of the design uses.\npackage core_types is\n"
        "  constant DATA_WIDTH : integer := 32;\n"
        "  subtype word_t is std_logic_vector(DATA_WIDTH - 1 downto 0);\n"
        "  subtype tag_t is unsigned(5 downto 0);\n"
        "  type op_t is (OP_ADD, OP_SUB, OP_AND, OP_OR, OP_XOR, OP_PASS);\n"
        "  type uop_t is record\n    valid : std_logic;\n    op    : op_t;\n    a     : word_t;\n"
        "    b     : word_t;\n    tag   : tag_t;\n  end record;\n"
        "  type result_t is record\n    valid : std_logic;\n    value : word_t;\n"
        "    tag   : tag_t;\n  end record;\n"
        "  constant UOP_NONE : uop_t := ('0', OP_PASS, (others => '0'), (others => '0'), "
        "(others => '0'));\n"
        "  function execute(u : uop_t) return result_t;\n"
        "  function to_uop(r : result_t; op : op_t) return uop_t;\n";
    for (int k = 0; k < functions; ++k)
        text += "  function f_" + N(k) + "(w : word_t) return word_t;\n";
    text += "end package core_types;\n\npackage body core_types is\n"
            "  function execute(u : uop_t) return result_t is\n    variable r : result_t;\n  begin\n"
            "    r.valid := u.valid;\n    r.tag := u.tag;\n    case u.op is\n"
            "      when OP_ADD => r.value := std_logic_vector(unsigned(u.a) + unsigned(u.b));\n"
            "      when OP_SUB => r.value := std_logic_vector(unsigned(u.a) - unsigned(u.b));\n"
            "      when OP_AND => r.value := u.a and u.b;\n      when OP_OR => r.value := u.a or u.b;\n"
            "      when OP_XOR => r.value := u.a xor u.b;\n      when OP_PASS => r.value := u.a;\n"
            "    end case;\n    return r;\n  end function execute;\n\n"
            "  function to_uop(r : result_t; op : op_t) return uop_t is\n    variable u : uop_t;\n  begin\n"
            "    u.valid := r.valid;\n    u.op := op;\n    u.a := r.value;\n    u.b := not r.value;\n"
            "    u.tag := r.tag;\n    return u;\n  end function to_uop;\n";
    for (int k = 0; k < functions; ++k) {
        const int turn = k % 7 + 1;
        text +=
            "\n  -- Rotates the word by " + N(turn) + " and mixes in a constant of its own.\n  function f_" +
            N(k) + "(w : word_t) return word_t is\n    variable v : word_t;\n  begin\n" +
            "    v := w(DATA_WIDTH - 1 - " + N(turn) + " downto 0) & w(DATA_WIDTH - 1 downto DATA_WIDTH - " +
            N(turn) + ");\n    v := v xor std_logic_vector(to_unsigned(" + N(k * 7919 % 65536) +
            ", DATA_WIDTH));\n    return v;\n  end function f_" + N(k) + ";\n";
    }
    return text + "end package body core_types;\n";
}

std::string UtilPackage(int functions) {
    std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n"
                       "use work.core_types.all;\n\npackage core_util is\n"
                       "  function mix(w : word_t; k : natural) return word_t;\n"
                       "  function next_tag(t : tag_t) return tag_t;\n";
    for (int k = 0; k < functions; ++k)
        text += "  function g_" + N(k) + "(u : uop_t) return uop_t;\n";
    text += "end package core_util;\n\npackage body core_util is\n"
            "  function mix(w : word_t; k : natural) return word_t is\n  begin\n    case k mod 4 is\n"
            "      when 0 => return f_0(w);\n      when 1 => return f_1(w) xor w;\n"
            "      when 2 => return not w;\n      when others => return w(15 downto 0) & w(31 downto 16);\n"
            "    end case;\n  end function mix;\n\n"
            "  function next_tag(t : tag_t) return tag_t is\n  begin\n    return t + 1;\n"
            "  end function next_tag;\n";
    for (int k = 0; k < functions; ++k) {
        text += "\n  -- One step of the pipeline: both operands changed, the operation kept.\n  function g_" +
                N(k) + "(u : uop_t) return uop_t is\n    variable v : uop_t := u;\n  begin\n    v.a := f_" +
                N(k) + "(u.a);\n    v.b := mix(u.b, " + N(k) +
                ");\n    if u.op = OP_PASS then\n      v.op := OP_ADD;\n"
                "    end if;\n    return v;\n  end function g_" +
                N(k) + ";\n";
    }
    return text + "end package body core_util;\n";
}

// Signals s0..s<stages> and a clocked stage between each two; s0 is the input.
std::string Pipeline(int stages, int seed, int functions) {
    std::string text;
    for (int i = 0; i < stages; ++i) {
        const std::string in = "s" + N(i);
        const std::string out = "s" + N(i + 1);
        text += "\n  -- Stage " + N(i) + ": the operation moves on, its tag counts the stages it passed.\n" +
                "  stage_" + N(i) +
                " : process (clk)\n  begin\n    if rising_edge(clk) then\n"
                "      if rst = '1' then\n        " +
                out + " <= UOP_NONE;\n      else\n        " + out + " <= g_" + N((i + seed) % functions) +
                "(" + in + ");\n        " + out + ".tag <= next_tag(" + in +
                ".tag);\n      end if;\n    end if;\n  end process stage_" + N(i) + ";\n";
    }
    return text;
}

std::string Signals(int stages) {
    std::string text;
    for (int i = 0; i <= stages; ++i)
        text += "  signal s" + N(i) + " : uop_t;\n";
    return text;
}

std::string Entity(const std::string& name) {
    return std::string(kContext) + "entity " + name + " is\n" + kPorts + "end entity " + name + ";\n";
}

std::string LeafArchitecture(const std::string& name, int stages, int seed, int functions) {
    return std::string(kContext) + "architecture rtl of " + name + " is\n" + Signals(stages) +
           "begin\n  s0 <= din;\n" + Pipeline(stages, seed, functions) + "\n  dout <= execute(s" + N(stages) +
           ");\nend architecture rtl;\n";
}

// A module that runs its own pipeline, then its children one after the other; the first child
// through a component, the others as entities.
std::string Parent(const std::string& name, const std::vector<std::string>& children, int stages, int seed,
                   int functions) {
    std::string text = Entity(name) + "\narchitecture rtl of " + name + " is\n" + Signals(stages);
    text += "  component " + children[0] + " is\n" + kPorts + "  end component;\n";
    for (std::size_t c = 0; c < children.size(); ++c)
        text += "  signal in" + N(static_cast<int>(c)) + " : uop_t;\n  signal out" + N(static_cast<int>(c)) +
                " : result_t;\n";
    text += "begin\n  s0 <= din;\n" + Pipeline(stages, seed, functions) + "\n  in0 <= s" + N(stages) + ";\n";
    for (std::size_t c = 0; c < children.size(); ++c) {
        const std::string i = N(static_cast<int>(c));
        if (c > 0)
            text += "  in" + i + " <= to_uop(out" + N(static_cast<int>(c) - 1) + ", OP_XOR);\n";
        text += "  u" + i + " : " + (c == 0 ? "" : "entity work.") + children[c] +
                "\n    port map (clk => clk, rst => rst, din => in" + i + ", dout => out" + i + ");\n";
    }
    return text + "  dout <= out" + N(static_cast<int>(children.size()) - 1) + ";\nend architecture rtl;\n";
}

std::filesystem::path Write(const std::filesystem::path& folder, const std::string& name,
                            const std::string& text) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

SyntheticDesign WriteSyntheticDesign(const std::filesystem::path& folder,
                                     const SyntheticDesignOptions& options) {
    SyntheticDesign design;
    const int functions = options.packageFunctions;
    design.files.push_back(Write(folder, "core_types.vhd", TypesPackage(functions)));
    design.files.push_back(Write(folder, "core_util.vhd", UtilPackage(functions)));
    auto leaf = [](int k) { return "leaf_" + std::to_string(k); };
    for (int k = 0; k < options.leaves; ++k) {
        const std::string architecture = LeafArchitecture(leaf(k), options.stagesPerLeaf, k, functions);
        if (k < options.leavesWithSeparateArchitecture) {
            design.files.push_back(Write(folder, leaf(k) + "_ent.vhd", Entity(leaf(k))));
            design.files.push_back(Write(folder, leaf(k) + "_rtl.vhd", architecture));
        } else {
            design.files.push_back(Write(folder, leaf(k) + ".vhd", Entity(leaf(k)) + "\n" + architecture));
            design.leafFile = design.files.back();
        }
    }
    auto middle = [](int m) { return "middle_" + std::to_string(m); };
    for (int m = 0; m < options.middles; ++m) {
        std::vector<std::string> children;
        for (int j = 0; j < 3; ++j)
            children.push_back(leaf((m * 3 + j) % options.leaves));
        design.files.push_back(Write(folder, middle(m) + ".vhd",
                                     Parent(middle(m), children, options.stagesPerParent, m, functions)));
    }
    std::vector<std::string> uppers;
    for (int u = 0; u < options.uppers; ++u) {
        uppers.push_back("upper_" + std::to_string(u));
        const std::vector<std::string> children{middle((2 * u) % options.middles),
                                                middle((2 * u + 1) % options.middles)};
        design.files.push_back(Write(folder, uppers.back() + ".vhd",
                                     Parent(uppers.back(), children, options.stagesPerParent, u, functions)));
    }
    design.top = "core_top";
    design.files.push_back(
        Write(folder, "core_top.vhd", Parent(design.top, uppers, options.stagesPerParent, 0, functions)));
    return design;
}

} // namespace kestra::bench
