#include "analysis/substitution.h"
#include "model/design_object.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(Substitution, RenameUnitThreePasses) {
    std::string text = "entity ADDER is -- ADDER\r\nend ADDER;\r\narchitecture adder_arch of ADDER is\r\n"
                       "begin U_ADDER: MY_ADDER port map (ADDER_X); u_adder2 <= adderz; end ADDER_arch;";
    std::string withComments = text;
    RenameUnit(text, "ADDER", "SUM", true);
    EXPECT_EQ(text, "entity SUM is -- ADDER\r\nend SUM;\r\narchitecture SUM_arch of SUM is\r\n"
                    "begin U_SUM: MY_ADDER port map (ADDER_X); u_adder2 <= adderz; end SUM_arch;");
    RenameUnit(withComments, "ADDER", "SUM", false);
    EXPECT_EQ(withComments.substr(0, 22), "entity SUM is -- SUM\r\n");
}

TEST(Substitution, ReplaceWholeWordEdges) {
    EXPECT_EQ(ReplaceWholeWord("A a_A A1 (a) A", "a", "Bee", false), "Bee a_A A1 (Bee) Bee");
    EXPECT_EQ(ReplaceWholeWord("x -- y\ny -- y\r y", "y", "z", true), "x -- y\nz -- y\r z");
    EXPECT_EQ(ReplaceWholeWord("abc", "", "z", true), "abc");
    // A replacement that contains the word does not loop: scanning continues after it.
    EXPECT_EQ(ReplaceWholeWord("T T", "T", "T T", false), "T T T T");
}

TEST(Substitution, TypeParameters) {
    CKSTObject object;
    object.SetEntryCount(4);
    object.SetEntry(0, EntryKind::Vhdl, "M", "M.vhd");
    object.SetEntry(1, EntryKind::DataType, "T", "UNSIGNED");
    object.SetEntry(2, EntryKind::Logic, "ACTIVE", "'0'");
    object.SetEntry(3, EntryKind::DataType, "SAME", "same");
    std::string text = "signal a : T(7 downto 0); -- T stays\r\n"
                       "b <= CONV_T(c, 8); d <= MY_T; e <= ACTIVE; f : SAME;";
    SubstituteTypeParameters(text, object);
    EXPECT_EQ(text, "signal a : UNSIGNED(7 downto 0); -- T stays\r\n"
                    "b <= CONV_UNSIGNED(c, 8); d <= MY_T; e <= '0'; f : SAME;");
}

} // namespace
} // namespace kestra
