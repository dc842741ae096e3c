// Whatever bytes a module file holds, analysis ends with success or one numbered error.
#include "analysis/analysis_errors.h"
#include "analysis/declaration_reader.h"
#include "analysis/reader_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

namespace kestra {
namespace {

using test::AnalyzeModuleSource;
using test::ModuleAnalysis;
using ::testing::ElementsAre;

const std::string kValidSource =
    "library ieee;\r\nuse ieee.std_logic_1164.all;\r\n\r\n"
    "entity m is\r\n\tgeneric (W : integer := 8; EN : std_logic := '1';\r\n"
    "\t\tT : type := word; F : file := \"a.hex\");\r\n"
    "\tport (clk, rst : in std_logic; -- clock\r\n"
    "\t\td : in T; q : out std_logic_vector(W-1 downto 0);\r\n"
    "\t\tn : buffer integer range 0 to 15);\r\n"
    "\ttype ENUM_W is (8, 16);\r\n\ttype ENUM_S is (slow, fast);\r\n"
    "\tconstant S : ENUM_S := fast;\r\nend m;\r\n\r\n"
    "architecture rtl of m is\r\n\ttype state_t is (idle, run);\r\n"
    "\tsignal st : state_t;\r\n\tsignal r : reg_t := (others => '0');\r\n"
    "\tfunction f(x : integer) return integer is begin if x > 0 then return 1; end if; "
    "return 0; end f;\r\nbegin\r\n\tq <= (others => '0');\r\nend rtl;\r\n"
    "architecture beh of m is begin end beh;\r\n";

// Runs every reader entry point over the text and checks that each ends with a known code.
void ExpectCleanOutcome(const std::string& text) {
    ModuleAnalysis result;
    AnalyzeModuleSource(text, "m", result);
    ASSERT_GE(result.context.errorCode, AnalysisErrorCode::NoError);
    ASSERT_LE(result.context.errorCode, AnalysisErrorCode::UnsupportedGeneric);
    ASSERT_GE(result.context.errorLine, 0);
    if (!result.context.HasError()) {
        ASSERT_EQ(result.context.errorLine, 0);
    }
    ASSERT_EQ(result.object.GetEntryName(0), "m");

    for (const EntityMode mode : {EntityMode::PortText, EntityMode::ConvertedPortText}) {
        AnalysisContext context;
        context.moduleName = "m";
        const CScanner scanner(text, &context);
        std::size_t cursor = 0;
        const std::string portText = AnalyzeEntity(scanner, mode, cursor, &result.object, nullptr);
        ASSERT_LE(cursor, scanner.End());
        if (context.HasError()) {
            ASSERT_TRUE(portText.empty());
        }
    }
    for (const DeclarationMode mode :
         {DeclarationMode::Ports, DeclarationMode::ArchitectureDeclarations, DeclarationMode::SkipPorts}) {
        AnalysisContext context;
        const CScanner scanner(text, &context);
        CKSTObject object;
        CVHDLSignal signals;
        std::size_t cursor = 0;
        AnalyzeDeclarationList(scanner, mode, cursor, &object, &signals);
        ASSERT_LE(cursor, scanner.End() + 1);
    }
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = 0;
    // Damaged text may end the part anywhere or nowhere; only the error code is checked.
    static_cast<void>(
        AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Merge, cursor, &result.object));
    ASSERT_LE(context.errorCode, AnalysisErrorCode::UnsupportedGeneric);
}

TEST(AnalysisRobustness, ValidSourceAnalyzes) {
    ModuleAnalysis result;
    AnalyzeModuleSource(kValidSource, "m", result);
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(),
                ElementsAre("NUM W=8 [8,16]", "LOGIC EN='1' ['0','1']", "TYP T=word", "LINK F=a.hex",
                            "STYLE S=fast [slow,fast]", "TYP reg_t=reg_t", "ARCH m=rtl [rtl,beh]"));
    EXPECT_THAT(result.Signals(),
                ElementsAre("clk in std_logic", "rst in std_logic", "d in T",
                            "q out std_logic_vector(W-1 downto 0)", "n buffer integer(0 to 15)"));
}

TEST(AnalysisRobustness, EveryPrefixOfASource) {
    for (std::size_t length = 0; length <= kValidSource.size(); ++length) {
        SCOPED_TRACE(length);
        ExpectCleanOutcome(kValidSource.substr(0, length));
    }
}

TEST(AnalysisRobustness, RandomMutationsOfASource) {
    std::mt19937 random(20240611);
    const std::string alphabet = "();:=,'\"-\r\n \tabeginendisofportsignaltype_0123456789\x80\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string text = kValidSource;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = random() % text.size();
            switch (random() % 4) {
            case 0:
                text.erase(at, 1 + random() % 8);
                break;
            case 1:
                text.insert(at, 1, alphabet[random() % alphabet.size()]);
                break;
            case 2:
                text[at] = alphabet[random() % alphabet.size()];
                break;
            default:
                text.insert(at, text.substr(random() % text.size(), random() % 40));
                break;
            }
        }
        SCOPED_TRACE(text);
        ExpectCleanOutcome(text);
    }
}

TEST(AnalysisRobustness, BinaryJunk) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 3000, '\0');
        for (char& c : text)
            c = static_cast<char>(random() % 256);
        // Keep a few VHDL keywords in the junk so that the readers get past their searches.
        text.insert(text.size() / 3, " ; entity m is port (");
        text.insert(2 * text.size() / 3, " ; architecture a of m is ");
        ExpectCleanOutcome(text);
    }
}

struct BadInput {
    const char* name;
    std::string text;
    int error;
};

TEST(AnalysisRobustness, TypicalBadInputs) {
    const std::string nested(100000, '(');
    const std::string closed = nested + std::string(100000, ')');
    const BadInput inputs[] = {
        {"unterminated comment", "entity m is -- port (a : in bit); end m;", 18},
        {"comment only", "-- entity m is", 10},
        {"unbalanced parentheses", "entity m is port (a : in t((0); end m;", 21},
        {"lone quote", "entity m is generic (S : string := \"); end m;", 9},
        {"lone quote at the end", "entity m is generic (S : string := \"", 9},
        {"nested parentheses", nested, 10},
        {"nested constraint", "entity m is port (a : in t" + nested, 21},
        {"closed nested constraint",
         "entity m is port (a : in t" + closed + "); end m; architecture a of m is begin end a;", 0},
        {"nested default", "entity m is generic (N : integer := " + nested + "; end m;", 4},
        {"nested signal value",
         "entity m is end m; architecture a of m is signal s : t := " + nested + "; begin end a;", 0},
        {"NUL inside", std::string("entity m is end m;\0architecture a of m is begin end a;", 54), 13},
        {"empty", "", 10},
    };
    for (const BadInput& input : inputs) {
        SCOPED_TRACE(input.name);
        ModuleAnalysis result;
        AnalyzeModuleSource(input.text, "m", result);
        EXPECT_EQ(static_cast<int>(result.context.errorCode), input.error);
        ExpectCleanOutcome(input.text);
    }
}

} // namespace
} // namespace kestra
