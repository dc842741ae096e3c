#include "analysis/scanner.h"
#include "generation/components.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(Components, BindingOnlyForAChosenArchitecture) {
    CKSTObject child;
    child.SetEntryCount(2);
    child.SetEntry(0, EntryKind::Vhdl, "ALU", "ALU.vhd");
    child.SetEntry(1, EntryKind::Numeric, "W", "8");
    EXPECT_EQ(BuildComponentBinding(child, "ALU", "WORK"), "");
    const int index = child.AddEntry() - 1;
    child.SetEntry(index, EntryKind::Architecture, "alu", "fast");
    EXPECT_EQ(BuildComponentBinding(child, "ALU", "WORK"),
              "\tfor all: ALU\r\n\t\tuse entity WORK.ALU(fast);\r\n\r\n");
}

TEST(Components, GenericsOfASpecialisedComponent) {
    CKSTObject parent;
    parent.SetEntryCount(3);
    parent.SetEntry(1, EntryKind::DataType, "T", "SIGNED");
    parent.SetEntry(2, EntryKind::Logic, "RST", "'0'");
    const std::string text = "\tgeneric (\r\n"
                             "\t\tN: natural := 4;\r\n"
                             "\t\tT: type := UNSIGNED;\r\n"
                             "\t\tRST: std_logic := '1';\r\n"
                             "\t\tFLAG: boolean := true;\r\n"
                             "\t\tMSG: string := \"hi\";\r\n"
                             "\t\tEMPTY: integer\r\n"
                             "\t);\r\n\tport (a : in bit);";
    const CScanner scanner(text);

    CKSTObject copy;
    copy.SetGeneratedName("ADD");
    std::size_t cursor = 0;
    EXPECT_EQ(BuildComponentGenerics(scanner, cursor, parent, copy),
              "\tgeneric (\r\n\t\tN: integer := 4;\r\n\t\tEMPTY: integer \r\n\t);\r\n");
    EXPECT_EQ(text.substr(cursor, 7), "\r\n\tport");
    ASSERT_EQ(copy.GetEntryCount(), 5);
    EXPECT_EQ(copy.FormatEntry(1), "TYP\tT\tSIGNED"); // the parent's value flows down
    EXPECT_EQ(copy.FormatEntry(2), "LOGIC\tRST\t'0'");
    EXPECT_EQ(copy.FormatEntry(3), "NOTE\tMSG\thi");

    CKSTObject lpm;
    lpm.SetGeneratedName("lpm_counter");
    cursor = 0;
    EXPECT_EQ(BuildComponentGenerics(scanner, cursor, parent, lpm),
              "\tgeneric (\r\n\t\tN: integer := 4;\r\n\t\tMSG: string := \"hi\";\r\n\t\tEMPTY: integer "
              "\r\n\t);\r\n");

    const CScanner noGenerics("\tport (a : in bit);");
    cursor = 0;
    EXPECT_EQ(BuildComponentGenerics(noGenerics, cursor, parent, copy), "");
    EXPECT_EQ(cursor, 0u);
}

TEST(Components, MalformedGenericClauseIsPassedOver) {
    const std::string text = "generic (N integer := (1); M: integer := 2);\r\nport (a : in bit);";
    const CScanner scanner(text);
    CKSTObject parent, copy;
    std::size_t cursor = 0;
    EXPECT_EQ(BuildComponentGenerics(scanner, cursor, parent, copy), "");
    EXPECT_EQ(text.substr(cursor, 6), "\r\nport");
}

TEST(Components, HandDownStyles) {
    CKSTObject parent, copy;
    parent.SetEntryCount(2);
    parent.SetEntry(1, EntryKind::Style, "SPEED", "FAST");
    HandDownStyles(parent, copy);
    ASSERT_EQ(copy.GetEntryCount(), 1);
    EXPECT_EQ(copy.FormatEntry(0), "STYLE\t\\P:SPEED\tFAST");
}

} // namespace
} // namespace kestra
