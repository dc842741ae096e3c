#include "diagram/block_text_layout.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using Lines = std::vector<std::string>;

// Every character 6 pixels wide; a block of width 2 + 6n holds n characters a line.
int Measure(std::string_view text) {
    return static_cast<int>(text.size()) * 6;
}

Lines Layout(std::string_view text, int chars, int lines = 10) {
    return LayoutBlockText(text, 2 + 6 * chars, 12 * lines, 12, Measure);
}

TEST(BlockTextLayout, WholeTextOnOneLineWhenItFits) {
    EXPECT_EQ(Layout("Hello", 6), (Lines{"Hello"}));
    EXPECT_EQ(Layout("  _Hello", 6), (Lines{"Hello"}));
    EXPECT_EQ(Layout(" _\t\r\n", 6), Lines{});
    EXPECT_EQ(Layout("", 6), Lines{});
}

TEST(BlockTextLayout, BreaksAtTheLastSeparatorAndDropsIt) {
    EXPECT_EQ(Layout("ab cdefgh", 6), (Lines{"ab", "cdefgh"}));
    EXPECT_EQ(Layout("count_enable_in", 8), (Lines{"count", "enable", "in"}));
    // The character just after the fitting prefix counts as well.
    EXPECT_EQ(Layout("abcdef ghi", 6), (Lines{"abcdef", "ghi"}));
    // A separator in the first two characters does not end a line.
    EXPECT_EQ(Layout("a bcdefgh", 6), (Lines{"a ", "bcdefg", "h"}));
}

TEST(BlockTextLayout, BreaksAtWordBoundariesWithoutSeparators) {
    EXPECT_EQ(Layout("CounterEnable", 8), (Lines{"Counter", "Enable"}));
    EXPECT_EQ(Layout("data16bit", 7), (Lines{"data16", "bit"})); // digit to letter
    // The boundary nearest the end of the fitting prefix wins.
    EXPECT_EQ(Layout("abc+defgh", 6), (Lines{"abc+", "defgh"})); // other to letter
    EXPECT_EQ(Layout("abcde+fg", 5), (Lines{"abcde", "+fg"}));   // letter to other
    EXPECT_EQ(Layout("ab12+3x", 5), (Lines{"ab12+", "3x"}));     // other to digit
    EXPECT_EQ(Layout("ab-12345", 6), (Lines{"ab-", "12345"}));
    EXPECT_EQ(Layout("x1234+5", 5), (Lines{"x1234", "+5"}));   // digit to other
    EXPECT_EQ(Layout("abcd123", 5), (Lines{"abcd1", "23"}));   // letter to digit: none, hard cut
    EXPECT_EQ(Layout("ABCDEfgh", 6), (Lines{"ABCDEf", "gh"})); // upper to lower: none
}

TEST(BlockTextLayout, StopsAtTheHeightOrWhenNothingFits) {
    EXPECT_EQ(Layout("one two three", 5, 2), (Lines{"one", "two"}));
    EXPECT_EQ(LayoutBlockText("one two", 50, 11, 12, Measure), Lines{});
    EXPECT_EQ(LayoutBlockText("wide", 7, 40, 12, Measure), Lines{});
    // A proportional font: "W" is wide.
    auto proportional = [](std::string_view text) {
        int width = 0;
        for (char c : text)
            width += c == 'W' ? 12 : 4;
        return width;
    };
    EXPECT_EQ(LayoutBlockText("aWWa bb", 30, 40, 12, proportional), (Lines{"aWW", "a bb"}));
}

} // namespace
} // namespace kestra
