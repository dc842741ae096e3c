#include "analysis/numeric_expression.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

const std::vector<std::string> kVisible = {"WIDTH_MAX", "PKG.DEPTH"};

TEST(NumericExpression, NumbersOperatorsAndVisibleNamesPass) {
    for (const char* text :
         {"8", "(8)", "2**8", "WIDTH_MAX - 1", "width_max*2", "16#FF#", "2#1010_0101#", "1E3", "1_000",
          "-3 + abs (WIDTH_MAX) mod 4 rem 3 / 2", "pkg.depth", "work.PKG.DEPTH", "16#f#e1", " ( ( 1 ) ) "}) {
        const Outcome checked = CheckNumericExpression(text, kVisible);
        EXPECT_TRUE(checked) << text << ": " << checked.Reason();
    }
}

TEST(NumericExpression, AnythingElseIsRefusedWithWhatIsWrong) {
    const std::string parts = "a numeric value is made of numbers, names the module can see, parentheses and "
                              "the operators + - * / ** mod rem abs.";
    const std::pair<const char*, std::string> cases[] = {
        {"abc", "\"abc\" is no name this value can use: a generic declared before this one, or a constant of "
                "a package "
                "the module uses."},
        {"8abc", "\"8abc\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"1.5", "\"1.5\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"1E-3", "\"1E-3\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"16#FG#", "\"16#FG#\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"17#1#", "\"17#1#\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"1__0", "\"1__0\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3)."},
        {"2 +", "a number or a name is missing at the end; " + parts},
        {"", "a number or a name is missing at the end; " + parts},
        {"(8", "a \"(\" is not closed."},
        {"8)", "\")\" has no \"(\" before it."},
        {"WIDTH_MAX(3)", "\"(\" cannot stand there: " + parts},
        {"2 ** ** 3", "\"**\" cannot stand there: " + parts},
        {"8 & 1", "\"&\" cannot stand there: " + parts},
        {"WIDTH_MAX'high", "\"'\" cannot stand there: " + parts},
        {"downto", "\"downto\" cannot stand there: " + parts},
        {"other.DEPTH", "\"other.DEPTH\" is no name this value can use: a generic declared before this one, "
                        "or a constant of a "
                        "package the module uses."},
    };
    const std::string deep = std::string(101, '(') + "1" + std::string(101, ')');
    EXPECT_EQ(CheckNumericExpression(deep, kVisible).Reason(), "parentheses nest more than 100 deep.");
    for (const auto& [text, reason] : cases) {
        const Outcome checked = CheckNumericExpression(text, kVisible);
        EXPECT_FALSE(checked) << text;
        EXPECT_EQ(checked.Reason(), reason) << text;
    }
}

} // namespace
} // namespace kestra
