// Comment tests remember the line they last looked at; whatever order the tests come in, the
// answers must be those of a fresh look back to the start of the line.
#include "analysis/scanner.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace kestra {
namespace {

std::optional<std::size_t> FirstDashOnLine(const std::string& text, std::size_t pos, std::size_t textStart) {
    if (pos >= text.size() || text[pos] == '\r' || text[pos] == '\n')
        return std::nullopt;
    std::size_t lineStart = pos;
    while (lineStart > textStart && text[lineStart - 1] != '\r' && text[lineStart - 1] != '\n')
        --lineStart;
    for (std::size_t j = lineStart; j <= pos; ++j) {
        if (text[j] == '-' && j + 1 < text.size() && text[j + 1] == '-')
            return j;
    }
    return std::nullopt;
}

TEST(ScannerLineCache, AnswersMatchAFreshLookInAnyOrder) {
    std::mt19937 random(99);
    const std::string alphabet = "ab -;\r\n";
    for (int round = 0; round < 200; ++round) {
        std::string text(1 + random() % 120, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        const CScanner scanner(text);
        std::size_t textStart = 0;
        for (int query = 0; query < 300; ++query) {
            if (random() % 50 == 0)
                textStart = random() % text.size();
            // Mostly small steps either way, as searches and back skips make them.
            std::size_t pos = random() % (text.size() + 2);
            SCOPED_TRACE(text + " @" + std::to_string(pos) + " from " + std::to_string(textStart));
            ASSERT_EQ(scanner.CommentStart(pos, textStart), FirstDashOnLine(text, pos, textStart));
        }
        for (std::size_t pos = 0; pos <= text.size(); ++pos)
            ASSERT_EQ(scanner.CommentStart(pos), FirstDashOnLine(text, pos, 0));
        for (std::size_t pos = text.size() + 1; pos-- > 0;)
            ASSERT_EQ(scanner.CommentStart(pos), FirstDashOnLine(text, pos, 0));
    }
}

TEST(ScannerLineCache, ForwardAndBackwardWalksOnOneLine) {
    const std::string text = "a; b -- c; d\nx; -- y\r\n z;";
    const CScanner scanner(text);
    EXPECT_FALSE(scanner.CommentStart(3));
    EXPECT_EQ(scanner.CommentStart(9), 5u);
    EXPECT_FALSE(scanner.CommentStart(4));    // back before the comment on the same line
    EXPECT_EQ(scanner.CommentStart(17), 16u); // on to the next line
    EXPECT_FALSE(scanner.CommentStart(14));
    EXPECT_EQ(scanner.CommentStart(11), 5u); // back to the first line
    EXPECT_FALSE(scanner.CommentStart(text.size() - 1));
    EXPECT_EQ(*scanner.NextStatement(0), 3u);
    EXPECT_EQ(*scanner.NextStatement(3), text.find("z;"));
    EXPECT_EQ(scanner.BackSkipBlanksAndComments(text.find("x;")), 3u);
}

} // namespace
} // namespace kestra
