#include "generation/declarations.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

CKSTObject Parameters() {
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    auto add = [&object](EntryKind kind, const char* name, const char* value) {
        const int index = object.AddEntry() - 1;
        object.SetEntry(index, kind, name, value);
        return index;
    };
    add(EntryKind::Numeric, "WIDTH", "8");
    add(EntryKind::DataType, "T", "UNSIGNED");
    add(EntryKind::Link, "INIT_FILE", "rom.hex");
    add(EntryKind::Logic, "RST", "'1'");
    add(EntryKind::Note, "DOC", "free text");
    add(EntryKind::String, "LPM_HINT", "UNUSED");
    add(EntryKind::Architecture, "M", "rtl");
    add(EntryKind::Numeric, "DEPTH", "WIDTH*2");
    return object;
}

TEST(GenericLines, TopModuleWritesValues) {
    CKSTObject object;
    object.SetEntryCount(3);
    object.SetEntry(1, EntryKind::Numeric, "WIDTH", "8");
    object.SetEntry(2, EntryKind::Numeric, "DEPTH", "4");
    const std::string lines = BuildGenericLines(kGenericTopModule, object);
    EXPECT_EQ(lines, "\t\tWIDTH: integer := 8;\r\n\t\tDEPTH: integer := 4;\r\n");
    EXPECT_EQ(WrapGenericLines(lines, "\r\n\tgeneric (\r\n", "\t);"),
              "\r\n\tgeneric (\r\n\t\tWIDTH: integer := 8;\r\n\t\tDEPTH: integer := 4 \r\n\t);");
    EXPECT_EQ(WrapGenericLines("", "\r\n\tgeneric (\r\n", "\t);"), "");
}

TEST(GenericLines, FlagsChooseKindsAndValues) {
    const CKSTObject object = Parameters();
    EXPECT_EQ(BuildGenericLines(0, object), "\t\tWIDTH: integer := 8;\r\n"
                                            "\t\tLPM_HINT: string;\r\n"
                                            "\t\tDEPTH: integer := 1; -- Arbitrary value only\r\n");
    EXPECT_EQ(WrapGenericLines(BuildGenericLines(0, object), "", ""),
              "\t\tWIDTH: integer := 8;\r\n\t\tLPM_HINT: string;\r\n"
              "\t\tDEPTH: integer := 1  -- Arbitrary value only\r\n");
    EXPECT_EQ(BuildGenericLines(kGenericTopModule | kGenericAllKinds, object),
              "\t\tWIDTH: integer := 8;\r\n"
              "\t\tT: type := UNSIGNED;\r\n"
              "\t\tINIT_FILE: file := \"rom.hex\";\r\n"
              "\t\tRST: STD_LOGIC := '1';\r\n"
              "\t\tDOC: note := \"free text\";\r\n"
              "\t\tLPM_HINT: string := \"UNUSED\";\r\n"
              "\t\tDEPTH: integer := WIDTH*2;\r\n");
    EXPECT_EQ(BuildGenericLines(kGenericAllKinds, object),
              "\t\tWIDTH: integer := 8;\r\n"
              "\t\tT: type;\r\n"
              "\t\tINIT_FILE: file;\r\n"
              "\t\tRST: STD_LOGIC;\r\n"
              "\t\tDOC: note;\r\n"
              "\t\tLPM_HINT: string;\r\n"
              "\t\tDEPTH: integer := 1; -- Arbitrary value only\r\n");
}

TEST(StyleDeclarations, OwnAndHandedDownValues) {
    CKSTObject object;
    object.SetEntryCount(5);
    object.SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    const std::vector<std::string> speeds{"FAST", "SMALL"};
    object.SetEntry(1, EntryKind::Style, "SPEED", "SMALL");
    object.SetChoiceList(1, &speeds);
    object.SetEntry(2, EntryKind::Style, "MODE", "PARENT_MODE");
    object.SetChoiceList(2, &speeds);
    object.SetEntry(3, EntryKind::Style, "\\P:parent_mode", "FAST");
    object.SetChoiceList(3, &speeds);
    object.SetEntry(4, EntryKind::Style, "NOCHOICE", "X");
    EXPECT_EQ(BuildStyleDeclarations(object), "\ttype ENUM_SPEED is (FAST, SMALL);\r\n"
                                              "\tconstant SPEED: ENUM_SPEED := SMALL;\r\n"
                                              "\ttype ENUM_MODE is (FAST, SMALL);\r\n"
                                              "\tconstant MODE: ENUM_MODE := FAST;\r\n");
    EXPECT_EQ(object.GetEntryValue(2), "FAST"); // the handed-down value is kept

    object.SetEntryText(2, EntryField::Value, "UNKNOWN_STYLE");
    EXPECT_NE(BuildStyleDeclarations(object).find("MODE: ENUM_MODE := UNKNOWN_STYLE;"), std::string::npos);
}

} // namespace
} // namespace kestra
