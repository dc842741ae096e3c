#include "analysis/package_names.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

// Constants of package declarations only: parameters of subprograms, generics of components and
// a body's own constants are seen by no other unit.
TEST(PackageNames, ConstantsOfPackageDeclarations) {
    const std::string text = "package SIZES is\n"
                             "  constant WIDTH_MAX, DEPTH : integer := 16; -- constant NOT_ME\n"
                             "  constant LATE : integer;\n"
                             "  type pair is record a : integer; end record;\n"
                             "  function ones(constant n : integer) return bit_vector;\n"
                             "  component c generic (constant g : integer); end component;\n"
                             "end package SIZES;\n"
                             "package body SIZES is\n"
                             "  constant LATE : integer := 3;\n"
                             "  constant HIDDEN : integer := 1;\n"
                             "end SIZES;\n"
                             "package MORE is constant EXTRA : natural := 1; end;\n"
                             "package INST is new work.GEN generic map (constant_g => 1);\n";
    const std::vector<PackageConstants> packages = ReadPackageConstants(text);
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0].package, "SIZES");
    EXPECT_EQ(packages[0].constants, (std::vector<std::string>{"WIDTH_MAX", "DEPTH", "LATE"}));
    EXPECT_EQ(packages[1].package, "MORE");
    EXPECT_EQ(packages[1].constants, std::vector<std::string>{"EXTRA"});
}

TEST(PackageNames, UseClausesInFrontOfTheEntity) {
    const std::string text = "library IEEE; use IEEE.std_logic_1164.all;\n"
                             "use work.SIZES.WIDTH_MAX, work.MORE;\n"
                             "entity M is generic (N : integer := 1); end M;\n"
                             "architecture a of M is\n"
                             "  use work.LATER.all;\n"
                             "begin end a;\n";
    const std::vector<UsedPackageItem> used = ReadUseClausesBeforeEntity(text, "m");
    std::string listed;
    for (const UsedPackageItem& item : used)
        listed += item.package + "." + item.item + " ";
    EXPECT_EQ(listed, "std_logic_1164.all SIZES.WIDTH_MAX work.MORE MORE. ");

    // In a file of several units, the clauses of the units before the entity do not reach it.
    const std::vector<UsedPackageItem> second =
        ReadUseClausesBeforeEntity(text + "use work.OWN.all;\nentity N is end N;\n", "N");
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].package, "OWN");
}

} // namespace
} // namespace kestra
