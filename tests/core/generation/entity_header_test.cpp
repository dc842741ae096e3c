#include "generation/entity_header.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

const std::string kModule =
    "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
    "entity M is\r\n"
    "\tgeneric (OLD : integer := 1);\r\n"
    "\tport (\r\n\t\tCLK : in std_logic; -- clock\r\n\t\tQ : out std_logic\r\n\t);\r\n"
    "\tconstant GONE : integer := 3;\r\n"
    "end M;\r\n\r\n"
    "architecture M_arch of M is\r\nbegin\r\n\tQ <= CLK;\r\nend M_arch;\r\n";

TEST(EntityHeader, RebuiltFromParameters) {
    CKSTObject object;
    object.SetEntryCount(5);
    object.SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    object.SetEntry(1, EntryKind::Numeric, "N", "16");
    object.SetEntry(2, EntryKind::Logic, "EN", "'1'");
    const std::vector<std::string> logic{"'0'", "'1'"};
    object.SetChoiceList(2, &logic);
    object.SetEntry(3, EntryKind::Link, "F", "init.txt");
    object.SetEntry(4, EntryKind::Style, "S", "fast");
    const std::vector<std::string> styles{"slow", "fast"};
    object.SetChoiceList(4, &styles);

    EXPECT_EQ(RewriteEntityHeader(kModule, "m", object),
              "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
              "entity M is\r\n"
              "\tgeneric (\r\n"
              "\t\tN: integer := 16;\r\n"
              "\t\tEN: STD_LOGIC := '1';\r\n"
              "\t\tF: file := \"init.txt\" \r\n"
              "\t);\r\n"
              "\tport (\r\n\t\tCLK : in std_logic; -- clock\r\n\t\tQ : out std_logic\r\n\t);\r\n"
              "\ttype ENUM_S is (slow, fast);\r\n"
              "\tconstant S: ENUM_S := fast;\r\n"
              "end M;\r\n\r\n"
              "architecture M_arch of M is\r\nbegin\r\n\tQ <= CLK;\r\nend M_arch;\r\n");

    // No generic kinds: the old generic clause and the other declarations go.
    CKSTObject bare;
    bare.SetEntryCount(1);
    bare.SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    const std::string rewritten = RewriteEntityHeader(kModule, "M", bare);
    EXPECT_NE(rewritten.find("entity M is\r\n\tport (\r\n\t\tCLK"), std::string::npos) << rewritten;
    EXPECT_EQ(rewritten.find("OLD"), std::string::npos);
    EXPECT_EQ(rewritten.find("GONE"), std::string::npos);
    EXPECT_EQ(RewriteEntityHeader(rewritten, "M", bare), rewritten);

    // Unclosed parentheses and a missing entity leave the text alone.
    const std::string unclosed = "entity M is generic (A : integer := (1; end M;";
    EXPECT_EQ(RewriteEntityHeader(unclosed, "M", object), unclosed);
    EXPECT_EQ(RewriteEntityHeader(kModule, "OTHER", object), kModule);
}

} // namespace
} // namespace kestra
