#include "analysis/design_units.h"

#include <gtest/gtest.h>

namespace kestra {

namespace {

std::string UnitList(const FileDesignUnits& file) {
    static const char* const kinds[] = {"entity", "architecture", "package", "body", "configuration"};
    std::string list;
    for (const DesignUnit& unit : file.units) {
        list += std::string(kinds[static_cast<int>(unit.kind)]) + " " + unit.name;
        if (!unit.entity.empty())
            list += " of " + unit.entity;
        list += ":" + std::to_string(unit.line);
        for (const std::string& library : unit.context.libraries)
            list += " lib " + library;
        for (const UseClause& use : unit.context.uses)
            list +=
                " use " + use.library + "|" + use.package + "|" + use.item + "@" + std::to_string(use.line);
        list += "\n";
    }
    return list;
}

// Units in text order with the context clauses just in front of each; the ends of entities with
// statements, package bodies, configurations and VHDL-2008 contexts are found by their nesting,
// and words in comments and strings are never read as units.
TEST(DesignUnits, UnitsInTextOrderWithTheirContext) {
    const std::string text =
        "library ieee, mylib; use ieee.numeric_std.all, mylib.defs;\n"
        "use defs.WIDTH;\n"
        "entity e is port (a : in bit);\n"
        "begin\n"
        "  assert a = '1' report \"end e; entity fake is\" severity note;\n"
        "end entity e;\n"
        "/* architecture x of e is */\n"
        "context ctx is library ieee; end context;\n"
        "use work.p.all;\n"
        "architecture rtl of e is begin end architecture;\n"
        "package p is function f return bit; end;\n"
        "package body p is function f return bit is begin return '1'; end; end package body p;\n"
        "package q is new work.gen_pkg generic map (N => 2);\n"
        "configuration c of e is for rtl end for; end c;\n"
        "architecture broken of e is begin\n";
    const FileDesignUnits file = ReadDesignUnits(text);
    EXPECT_EQ(UnitList(file), "entity e:3 lib ieee lib mylib use ieee|numeric_std|all@1 use mylib|defs|@1"
                              " use |defs|WIDTH@2\n"
                              "architecture rtl of e:10 use work|p|all@9\n"
                              "package p:11\n"
                              "body p:12\n"
                              "package q:13\n"
                              "configuration c of e:14\n"
                              "architecture broken of e:15\n");
    EXPECT_EQ(file.unclosedLines, std::vector<int>{15});
}

// Two architectures of one entity in one file: each has its own instances.
TEST(DesignUnits, EachArchitectureHasItsOwnInstances) {
    const std::string text = "architecture a of e is begin\n  u1: entity work.x;\nend;\n"
                             "architecture b of e is\n  for all : c use entity work.z(fast);\nbegin\n"
                             "  u2: entity lib.y(rtl);\n  u3: c;\nend;\n";
    const FileDesignUnits file = ReadDesignUnits(text);
    ASSERT_EQ(file.units.size(), 2u);
    ASSERT_EQ(file.units[1].instances.size(), 2u);
    const InstanceBinding& u2 = file.units[1].instances[0];
    EXPECT_EQ(u2.label + " " + u2.boundEntity + " " + u2.boundArchitecture + " " + std::to_string(u2.line),
              "u2 y rtl 7");
    const InstanceBinding& u3 = file.units[1].instances[1];
    EXPECT_EQ(u3.unit + " " + u3.boundEntity + " " + u3.boundArchitecture, "c z fast");
    ASSERT_EQ(file.units[0].instances.size(), 1u);
    EXPECT_EQ(file.units[0].instances[0].boundEntity, "x");
}

TEST(DesignUnits, LineIndex) {
    const CLineIndex lines("a\nbc\n\nd");
    EXPECT_EQ(lines.LineOf(0), 1);
    EXPECT_EQ(lines.LineOf(1), 1);
    EXPECT_EQ(lines.LineOf(2), 2);
    EXPECT_EQ(lines.LineOf(5), 3);
    EXPECT_EQ(lines.LineOf(6), 4);
}

} // namespace
} // namespace kestra
