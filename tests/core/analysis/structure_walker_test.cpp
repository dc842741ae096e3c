#include "analysis/structure_walker.h"
#include "analysis/token_reader.h"
#include "text/word_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestra {
namespace {

// The texts of the tokens of a text, with their kinds as one letter.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    CTokenReader reader(text);
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        const char kind = "EWXNSCUP"[static_cast<int>(token.kind)];
        tokens.push_back(std::string(1, kind) + ":" + text.substr(token.start, token.end - token.start));
    }
    return tokens;
}

TEST(TokenReader, StringsAndCommentsAreNotCode) {
    EXPECT_EQ(Tokens("report \"a -- b; end\" & \"say \"\"hi\"\"\"; -- end;\nx"),
              (std::vector<std::string>{"W:report", "S:\"a -- b; end\"", "P:&", "S:\"say \"\"hi\"\"\"", "P:;",
                                        "W:x"}));
    EXPECT_EQ(Tokens("a /* end; \n begin */ b"), (std::vector<std::string>{"W:a", "W:b"}));
    EXPECT_EQ(Tokens("s <= \"open\nend;"),
              (std::vector<std::string>{"W:s", "P:<", "P:=", "U:\"open", "W:end", "P:;"}));
}

TEST(TokenReader, CharacterLiteralsAndAttributeTicks) {
    // After a name or ')' a tick is an attribute's; elsewhere 'c' is a character, even '(' or '"'.
    EXPECT_EQ(Tokens("v'range when '(' => '\"'"),
              (std::vector<std::string>{"W:v", "P:'", "W:range", "W:when", "C:'('", "P:=", "P:>", "C:'\"'"}));
    EXPECT_EQ(Tokens("t'('a') f(x)'length"),
              (std::vector<std::string>{"W:t", "P:'", "P:(", "C:'a'", "P:)", "W:f", "P:(", "W:x", "P:)",
                                        "P:'", "W:length"}));
    EXPECT_EQ(Tokens("others => '0'"), (std::vector<std::string>{"W:others", "P:=", "P:>", "C:'0'"}));
}

TEST(TokenReader, NumbersExtendedNamesAndKeywords) {
    EXPECT_EQ(
        Tokens("16#FF# 1.0e-3 2_000 \\a\\\\b\\ x\"0F\""),
        (std::vector<std::string>{"N:16#FF#", "N:1.0e-3", "N:2_000", "X:\\a\\\\b\\", "W:x", "S:\"0F\""}));
    EXPECT_EQ(KeywordOf("ARCHITECTURE"), VhdlKeyword::Architecture);
    EXPECT_EQ(KeywordOf("End"), VhdlKeyword::End);
    EXPECT_EQ(KeywordOf("ending"), VhdlKeyword::None);
    EXPECT_EQ(KeywordOf("en_d"), VhdlKeyword::None);
    EXPECT_TRUE(IsVhdlReservedWord("WHEN"));
    EXPECT_FALSE(IsVhdlReservedWord("whenever"));
}

// Where an Item walk from the text's start stops: the text after its ';'.
std::string AfterItem(const std::string& text) {
    const StructureStop stop = WalkStructure(text, 0, StructureScope::Item);
    EXPECT_EQ(stop.what, StructureStop::What::Semicolon) << text;
    return text.substr(stop.position + 1);
}

TEST(StructureWalker, ItemsThatHoldTheirOwnEnd) {
    EXPECT_EQ(AfterItem("type r is record a : bit; b : bit; end record r; X"), " X");
    EXPECT_EQ(AfterItem("type p is protected procedure inc; impure function get return natural; "
                        "end protected; X"),
              " X");
    EXPECT_EQ(AfterItem("type t is range 0 to 9 units ps; ns = 1000 ps; end units; X"), " X");
    EXPECT_EQ(AfterItem("component c is port (a : in bit; b : out bit); end component c; X"), " X");
    EXPECT_EQ(AfterItem("package p is constant k : natural := 1; end package; X"), " X");
    EXPECT_EQ(AfterItem("function f(a : bit; b : bit) return bit is begin if a = '1' then return b; end if; "
                        "return a; end; X"),
              " X");
    EXPECT_EQ(AfterItem("constant s : string := \"a;b\"; X"), " X");
    EXPECT_EQ(AfterItem("attribute foreign of f : function is \"x\"; X"), " X");
}

TEST(StructureWalker, SkipSubprogram) {
    struct Case {
        const char* text; // after the word function or procedure
        const char* rest;
    };
    const Case cases[] = {
        {" f(a : bit; b : bit) return bit; X", " X"},                     // a declaration
        {" g is new work.pkg.generic_g generic map (T => bit); X", " X"}, // an instantiation
        {" p is begin loop exit; end loop; end procedure p; X", " X"},    // a body
        {" p is procedure q is begin null; end; begin q; end; X", " X"},  // nested bodies
        {" f return bit is begin case s is when others => null; end case; end function; X", " X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = c.text;
        EXPECT_EQ(text.substr(SkipSubprogram(text, 0)), c.rest);
    }
}

// The text from the "end" that closes the statement part of architecture "rtl".
std::string ClosingOf(const std::string& statements) {
    const StructureStop stop =
        WalkStructure(statements, 0, StructureScope::Statements, StructureUnit{"architecture", "rtl"});
    if (stop.what != StructureStop::What::End)
        return "<none>";
    return statements.substr(stop.position);
}

TEST(StructureWalker, ClosingOfAStatementPart) {
    // Bare "end;" inside a process's subprogram and in a generate alternative close only those.
    EXPECT_EQ(ClosingOf("p: process procedure q is begin null; end; begin q; end process;\nend;"), "end;");
    EXPECT_EQ(ClosingOf("g: if a: c generate x <= y; end a; else b: generate x <= z; end b; end generate;\n"
                        "end architecture;"),
              "end architecture;");
    EXPECT_EQ(
        ClosingOf("g: case m generate when 0 => x <= y; when others => x <= z; end generate g;\nend rtl;"),
        "end rtl;");
    EXPECT_EQ(ClosingOf("b: block begin end block; l: for i in 0 to 1 generate end generate; end RTL;"),
              "end RTL;");
    // A closing that names another unit is not this one's.
    EXPECT_EQ(ClosingOf("x <= y; end other;"), "<none>");
    // "end architecture" closes the unit even where the nesting was lost.
    EXPECT_EQ(ClosingOf("process begin if a then end; end architecture rtl;"), "end architecture rtl;");
}

TEST(StructureWalker, DeclarativePartEndsAtItsOwnBegin) {
    const std::string text = "procedure p is begin null; end; type t is protected body end protected body;\n"
                             "signal s : bit; begin x <= s; end;";
    const StructureStop stop = WalkStructure(text, 0, StructureScope::Declarations, {"architecture", "rtl"});
    ASSERT_EQ(stop.what, StructureStop::What::Begin);
    EXPECT_EQ(stop.position, text.find("begin x"));
}

TEST(StructureWalker, LastClosingBeforeTheNextUnit) {
    const std::string text = "p: process begin wait; end;\nend rtl; -- done\n\nentity next_one is end;";
    const auto stop = LastClosingBeforeNextUnit(text, 0, {"architecture", "rtl"});
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->position, text.find("end rtl"));
    EXPECT_FALSE(LastClosingBeforeNextUnit("x; end process;\nentity e is end;", 0, {"architecture", "rtl"}));
    EXPECT_FALSE(LastClosingBeforeNextUnit("x; end other;", 0, {"architecture", "rtl"}));
}

} // namespace
} // namespace kestra
