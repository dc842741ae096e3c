#include "analysis/scanner.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(Scanner, SkipBlanksAndComments) {
    const CScanner s(" \t\r\n-- note ; x\r\n  -x");
    std::size_t cursor = 0;
    EXPECT_EQ(s.SkipBlanksAndComments(cursor), 19u);
    EXPECT_EQ(s.At(cursor), '-'); // a single '-' is code
    EXPECT_EQ(s.SkipBlanksAndComments(cursor), 0u);

    const CScanner tail("a -- no line end");
    cursor = 1;
    tail.SkipBlanksAndComments(cursor);
    EXPECT_EQ(cursor, tail.End());
}

TEST(Scanner, ReadIdentifierRules) {
    struct Case {
        const char* text;
        const char* expected;
        std::size_t cursorAfter;
    };
    const Case cases[] = {
        {"  Clk_Div2 :", "Clk_Div2", 10},
        {"a__b", "", 1},
        {"ab_ ", "", 3},
        {"_ab", "", 0},
        {"3ab", "", 0},
        {"-- c\nx1", "x1", 7},
        {"\\ext\\", "", 0},
        {"", "", 0},
        {"q\xe9t", "q", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CScanner s(c.text);
        std::size_t cursor = 0;
        EXPECT_EQ(s.ReadIdentifier(cursor), c.expected);
        EXPECT_EQ(cursor, c.cursorAfter);
    }
}

TEST(Scanner, ReadWordNeedsASeparator) {
    const CScanner s("entity X-- top\nis\nentity(x");
    std::size_t cursor = 0;
    EXPECT_EQ(s.ReadIdentifier(cursor), "entity");
    EXPECT_EQ(s.ReadWord(cursor), "X");
    EXPECT_EQ(s.ReadWord(cursor), "is"); // the comment is skipped by the next read
    EXPECT_EQ(s.ReadWord(cursor), "entity");
    const std::size_t before = cursor;
    EXPECT_EQ(s.ReadWord(cursor), "");
    EXPECT_EQ(cursor, before);
    EXPECT_EQ(s.ReadChar(cursor), '(');
}

TEST(Scanner, ReadCharAndDigits) {
    const CScanner s("  -- c\n 123abc;");
    std::size_t cursor = 0;
    EXPECT_EQ(s.ReadDigits(cursor), "123");
    EXPECT_EQ(s.ReadIdentifier(cursor), "abc");
    EXPECT_EQ(s.ReadChar(cursor), ';');
    EXPECT_EQ(s.ReadChar(cursor), '\0');
    EXPECT_EQ(cursor, s.End());
    EXPECT_EQ(s.ReadDigits(cursor), "");
}

struct ValueCase {
    const char* text;
    const char* value;
    char nextChar; // what ReadChar gives after the value
    int error;
};

TEST(Scanner, ReadValue) {
    const ValueCase cases[] = {
        {"8 );", "8", ')', 0},
        {"f(a, b);", "f(a, b)", ';', 0},
        {"\"c:/work/x.vhd\" ;", "c:/work/x.vhd", ';', 0},
        {"\"abc   \";", "abc", '"', 0},
        {";", "", ';', 15},
        {"x & \"y\";", "", '\0', 15},
        {"\"open", "", '\0', 15},
        {"8 -- width\n);", "8 -- width", ')', 0},
        {"2 -- x; y\n;", "2 -- x; y", ';', 0},
        {"  (a + b) * 2 ", "(a + b) * 2", '\0', 0},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.text);
        AnalysisContext context;
        const CScanner s(c.text, &context);
        std::size_t cursor = 0;
        EXPECT_EQ(s.ReadValue(cursor), c.value);
        EXPECT_EQ(static_cast<int>(context.errorCode), c.error);
        EXPECT_EQ(context.errorLine, 0);
        if (c.error == 0) {
            EXPECT_EQ(s.ReadChar(cursor), c.nextChar);
        }
    }
}

TEST(Scanner, QuotedPathLeavesCursorAfterClosingQuote) {
    const CScanner s("\"lib/a.txt\" ;");
    std::size_t cursor = 0;
    EXPECT_EQ(s.ReadValue(cursor), "lib/a.txt");
    EXPECT_EQ(cursor, 11u);
}

TEST(Scanner, CommentTests) {
    const CScanner s("a := 1; -- c ; d\r\n  b;");
    EXPECT_FALSE(s.IsInComment(6));
    EXPECT_FALSE(s.IsInComment(7));
    ASSERT_TRUE(s.IsInComment(8)); // the first '-'
    EXPECT_EQ(*s.IsInComment(13), 20u);
    EXPECT_FALSE(s.IsInComment(16)); // CR
    EXPECT_FALSE(s.IsInComment(17)); // LF
    EXPECT_EQ(*s.CodeEndBeforeComment(13), 6u);
    EXPECT_FALSE(s.CodeEndBeforeComment(20));

    const CScanner lines("x;\n-- only\n\n  -- more\n--last");
    EXPECT_EQ(*lines.CodeEndBeforeComment(lines.End() - 1), 1u);
    EXPECT_EQ(*lines.IsInComment(lines.End() - 1), lines.End());
}

TEST(Scanner, BackSkips) {
    const CScanner s("end; -- x\n  \n  -- y\n   word");
    const std::size_t word = s.Text().find("word");
    EXPECT_EQ(s.BackSkipBlanksAndComments(word), 3u);
    EXPECT_EQ(s.BackSkipBlanks(word), s.Text().find("y"));
    EXPECT_EQ(s.BackSkipBlanksAndComments(2), 1u);
    const CScanner onlyComments("  -- a\n word");
    EXPECT_EQ(onlyComments.BackSkipBlanksAndComments(onlyComments.Text().find("word")), 0u);
}

TEST(Scanner, WholeWordSearch) {
    const CScanner s("myentity entity_1 -- entity\nEntity x; ENTITY");
    EXPECT_EQ(*s.FindWord(0, "entity"), s.Text().find("entity\n"));
    EXPECT_EQ(*s.FindWordOutsideComments(0, "entity"), s.Text().find("Entity"));
    EXPECT_EQ(*s.FindWordOutsideComments(s.Text().find("Entity") + 1, "ENTITY"), s.Text().find("ENTITY"));
    EXPECT_FALSE(s.FindWordOutsideComments(s.Text().find("ENTITY") + 1, "entity"));
    EXPECT_TRUE(SameTextNoCase("Entity", "eNTITY"));
    EXPECT_FALSE(SameTextNoCase("entity", "entity1"));

    const CScanner t("x -- a;b\n y;b");
    EXPECT_EQ(*t.FindTextOutsideComments(0, ";b"), t.Text().find(";b", 8));
    // A "--" inside a string literal starts a comment all the same.
    EXPECT_FALSE(CScanner("x := \"s--\"; y;b").FindTextOutsideComments(0, ";b"));
}

TEST(Scanner, Statements) {
    const CScanner s("a -- ; no\n; b;  -- z\n c; d -- ;\n");
    EXPECT_EQ(*s.NextStatement(0), s.Text().find("b;"));
    EXPECT_EQ(*s.NextStatement(s.Text().find("b;")), s.Text().find("c;"));
    EXPECT_EQ(*s.NextStatement(s.Text().find("c;")), s.Text().find("d "));
    EXPECT_FALSE(s.NextStatement(s.Text().find("d "))); // only a comment ';' remains
    EXPECT_FALSE(CScanner("x; -- end\n  ").NextStatement(0));

    EXPECT_EQ(*s.StatementStartBefore(s.Text().find("c;") + 1, 0), s.Text().find("c;"));
    EXPECT_EQ(*s.StatementStartBefore(s.Text().find("b;") + 1, 0), s.Text().find("b;"));
    EXPECT_EQ(*s.StatementStartBefore(s.Text().find("; b"), 0), 0u); // the first statement
    EXPECT_FALSE(s.StatementStartBefore(s.Text().find("; b") - 1, 0));
    // The ';' after "--" on the last line is not a statement end.
    EXPECT_EQ(*s.StatementStartBefore(s.End(), 0), s.Text().find("c;"));
}

TEST(Scanner, LineOfPosition) {
    AnalysisContext context;
    const CScanner s("a\r\nb\nc\r\r\nd", &context);
    EXPECT_EQ(s.LineOfPosition(0), 1);
    EXPECT_EQ(s.LineOfPosition(3), 2);
    EXPECT_EQ(s.LineOfPosition(5), 3);
    EXPECT_EQ(s.LineOfPosition(s.Text().find('d')), 5); // CR CR LF is two breaks
    context.textStart = 3;
    EXPECT_EQ(s.LineOfPosition(2), 0);
    EXPECT_EQ(s.LineOfPosition(5), 2);
}

TEST(Scanner, TextEndsAtFirstNul) {
    const std::string text("abc\0def", 7);
    const CScanner s(text);
    EXPECT_EQ(s.End(), 3u);
    std::size_t cursor = 0;
    EXPECT_EQ(s.ReadIdentifier(cursor), "abc");
    EXPECT_EQ(s.ReadChar(cursor), '\0');
    EXPECT_FALSE(s.FindWord(0, "def"));
}

TEST(AnalysisContext, KeepsTheFirstError) {
    AnalysisContext context;
    context.SetError(AnalysisErrorCode::WrongExpression);
    context.SetError(AnalysisErrorCode::MissingIdentifier, 12);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::WrongExpression);
    EXPECT_EQ(context.errorLine, 0);
    context.Reset();
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
}

} // namespace
} // namespace kestra

namespace kestra {
namespace {

TEST(Scanner, StartsStatement) {
    const CScanner s("-- head\r\nentity A is end entity A; x entity; \r\n -- c\r\n entity");
    EXPECT_TRUE(s.StartsStatement(s.Text().find("entity A")));
    EXPECT_FALSE(s.StartsStatement(s.Text().find("entity A;")));
    EXPECT_FALSE(s.StartsStatement(s.Text().find("entity;")));
    EXPECT_TRUE(s.StartsStatement(s.Text().rfind("entity")));
    EXPECT_TRUE(s.StartsStatement(0));
    EXPECT_FALSE(CScanner("x entity").StartsStatement(2));
}

} // namespace
} // namespace kestra
