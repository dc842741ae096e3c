#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/declaration_reader.h"
#include "analysis/reader_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::AnalyzeModuleSource;
using test::ArchitectureText;
using test::EntityText;
using test::ModuleAnalysis;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kEntity = EntityText("m", "N : integer := 8", "clk : in std_logic");

ModuleAnalysis Analyze(const std::string& text, const CKSTObject* previous = nullptr,
                       const ArchitectureOptions& options = {}) {
    ModuleAnalysis result;
    AnalyzeModuleSource(text, "m", result, previous, options);
    return result;
}

int Code(AnalysisErrorCode code) {
    return static_cast<int>(code);
}

TEST(ArchitectureReader, TwoArchitecturesGiveAChoice) {
    const std::string text = kEntity + ArchitectureText("rtl", "M") + ArchitectureText("beh", "M");
    const ModuleAnalysis first = Analyze(text);
    EXPECT_EQ(first.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(first.Entries(), ElementsAre("NUM N=8", "ARCH M=rtl [rtl,beh]"));

    CKSTObject chosen;
    chosen.CopyFrom(first.object);
    chosen.SetEntryText(2, EntryField::Value, "beh");
    EXPECT_THAT(Analyze(text, &chosen).Entries(), ElementsAre("NUM N=8", "ARCH M=beh [rtl,beh]"));
}

TEST(ArchitectureReader, SingleArchitectureGivesNoChoice) {
    const ModuleAnalysis result = Analyze(kEntity + ArchitectureText("rtl", "m"));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=8"));
}

TEST(ArchitectureReader, ChoicesGroupByTheEntityNameAsWritten) {
    // Both belong to the module (names compare without case) but are spelt differently.
    const ModuleAnalysis apart = Analyze(kEntity + ArchitectureText("a", "M") + ArchitectureText("b", "m"));
    EXPECT_THAT(apart.Entries(), ElementsAre("NUM N=8"));
    const ModuleAnalysis three = Analyze(kEntity + ArchitectureText("a", "m") + ArchitectureText("b", "M") +
                                         ArchitectureText("c", "m"));
    EXPECT_THAT(three.Entries(), ElementsAre("NUM N=8", "ARCH m=a [a,c]"));
}

TEST(ArchitectureReader, OtherEntitiesArchitecturesAreSkipped) {
    const std::string text = EntityText("helper", "", "x : in bit") + ArchitectureText("h1", "helper") +
                             kEntity + ArchitectureText("rtl", "m") + ArchitectureText("h2", "helper");
    const ModuleAnalysis result = Analyze(text);
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=8"));
    EXPECT_THAT(result.Signals(), ElementsAre("clk in std_logic"));

    // The helper's own analysis from the same file sees only its own entity and architectures.
    ModuleAnalysis helper;
    AnalyzeModuleSource(text, "helper", helper);
    EXPECT_EQ(helper.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(helper.Entries(), ElementsAre("ARCH helper=h1 [h1,h2]"));
    EXPECT_THAT(helper.Signals(), ElementsAre("x in bit"));
}

TEST(ArchitectureReader, NoArchitectureOfTheModuleIsError13WithoutLine) {
    const ModuleAnalysis result = Analyze(kEntity + ArchitectureText("rtl", "other"));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::ArchitectureBodyNotFound);
    EXPECT_EQ(result.context.errorLine, 0);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=8")); // the entity's entries stay
}

TEST(ArchitectureReader, ClosingForms) {
    struct Case {
        const char* architecture;
        int error;
    };
    const Case cases[] = {
        {"architecture rtl of m is begin end architecture rtl;", 0},
        {"architecture rtl of m is begin end RTL;", 0},
        {"architecture rtl of m is begin end;", 0},
        {"architecture rtl of m is begin end other;", Code(AnalysisErrorCode::EndOfArchitectureBodyNotFound)},
        {"architecture rtl of m is begin end rtl;", 0},
        {"architecture RTL of m is begin end RTL;", 0},
        {"architecture rtl of m is begin end process; end rtl ;", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.architecture);
        const ModuleAnalysis result = Analyze(kEntity + c.architecture);
        EXPECT_EQ(Code(result.context.errorCode), c.error);
        EXPECT_EQ(result.context.errorLine, 0);
    }
}

TEST(ArchitectureReader, HeaderAndBodyErrorsCarryTheirLine) {
    struct Case {
        const char* architecture;
        AnalysisErrorCode error;
        int line; // counted within the architecture text, which starts on line 8
    };
    const Case cases[] = {
        {"architecture of m is begin end x;", AnalysisErrorCode::MissingKeyword, 1},
        {"architecture;\n", AnalysisErrorCode::MissingIdentifier, 1},
        {"architecture rtl\nfor m is begin end rtl;", AnalysisErrorCode::MissingKeyword, 2},
        {"architecture rtl of\n;", AnalysisErrorCode::MissingIdentifier, 2},
        {"architecture rtl of m\nbegin end rtl;", AnalysisErrorCode::MissingKeyword, 2},
        {"architecture rtl of m is\nbegin\nend rtl\n\n", AnalysisErrorCode::PunctuationError, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.architecture);
        const ModuleAnalysis result = Analyze(kEntity + c.architecture);
        EXPECT_EQ(result.context.errorCode, c.error);
        EXPECT_EQ(result.context.errorLine, 7 + c.line);
    }
}

TEST(ArchitectureReader, EndArchitectureIsNotAHeader) {
    // The "architecture" of "end architecture" is passed over; the loop goes on after it.
    const std::string text = kEntity + "architecture a of m is begin end architecture a; end a;\n"
                                       "architecture b of m is begin\nend b; -- end architecture b;\n";
    EXPECT_THAT(Analyze(text).Entries(), ElementsAre("NUM N=8", "ARCH m=a [a,b]"));
}

TEST(ArchitectureReader, SignalTypesGiveDataTypeParameters) {
    const std::string declarations = "\tsignal s, t : my_word;\n"
                                     "\ttype local_t is range 0 to 255;\n"
                                     "\tsubtype Sub_T is integer range 0 to 3;\n"
                                     "\tsignal u : LOCAL_T;\n\tsignal v : sub_t := 1;\n"
                                     "\tsignal w : std_logic_vector(3 downto 0) := (others => '0');\n"
                                     "\tsignal x : Word_T range 0 to 3 := 2;\n"
                                     "\tconstant K : other_t := 1;\n"
                                     "\tsignal y : my_word;\n";
    const ModuleAnalysis result = Analyze(kEntity + ArchitectureText("rtl", "m", declarations));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=8", "TYP my_word=my_word", "TYP Word_T=Word_T"));
}

TEST(ArchitectureReader, LocalTypeNamesBelongToOneDeclarativePart) {
    const std::string text = kEntity + ArchitectureText("a", "m", "\ttype t is (x, y);\n\tsignal s : t;\n") +
                             ArchitectureText("b", "m", "\tsignal s : T;\n");
    EXPECT_THAT(Analyze(text).Entries(), ElementsAre("NUM N=8", "TYP T=T", "ARCH m=a [a,b]"));
    // A type declared after its use does not count.
    const std::string late = kEntity + ArchitectureText("a", "m", "\tsignal s : t;\n\ttype t is (x, y);\n");
    EXPECT_THAT(Analyze(late).Entries(), ElementsAre("NUM N=8", "TYP t=t"));
}

TEST(ArchitectureReader, EntriesKeepTheirOrderAndValuesCarry) {
    const std::string text = EntityText("m", "W : integer := 8; T : type := word", "d : in port_t",
                                        "type ENUM_S is (slow, fast);\nconstant S : ENUM_S := slow;\n") +
                             ArchitectureText("rtl", "m", "signal a : sig_t;\n") +
                             ArchitectureText("beh", "m", "signal b : other_t;\n");
    const ModuleAnalysis first = Analyze(text);
    ASSERT_THAT(first.Entries(),
                ElementsAre("NUM W=8", "TYP T=word", "TYP port_t=port_t", "STYLE S=slow [slow,fast]",
                            "TYP sig_t=sig_t", "TYP other_t=other_t", "ARCH m=rtl [rtl,beh]"));
    CKSTObject chosen;
    chosen.CopyFrom(first.object);
    chosen.SetEntryText(5, EntryField::Value, "unsigned");
    chosen.SetEntryText(7, EntryField::Value, "beh");
    EXPECT_THAT(Analyze(text, &chosen).Entries(),
                ElementsAre("NUM W=8", "TYP T=word", "TYP port_t=port_t", "STYLE S=slow [slow,fast]",
                            "TYP sig_t=unsigned", "TYP other_t=other_t", "ARCH m=beh [rtl,beh]"));
}

TEST(ArchitectureReader, FunctionsAreSkippedButProceduresAreNot) {
    const std::string function = "\tfunction f(x : integer) return integer is\n\t\tvariable v : integer;\n"
                                 "\tbegin\n\t\tif x > 0 then v := 1; end if;\n\t\treturn v;\n\tend f;\n"
                                 "\tsignal a : after_function_t;\n";
    const ModuleAnalysis withFunction = Analyze(kEntity + ArchitectureText("rtl", "m", function));
    EXPECT_EQ(withFunction.context.errorCode, AnalysisErrorCode::NoError);
    // The body is found past the function; the declaration list stops at the function's own
    // "begin", so the signal after it makes no parameter.
    EXPECT_THAT(withFunction.Entries(), ElementsAre("NUM N=8"));

    const std::string procedure =
        "\tprocedure p is\n\t\tvariable v : bit;\n\tbegin\n\t\tv := '1';\n\tend p;\n\tsignal b : after_t;\n";
    const ModuleAnalysis withProcedure = Analyze(kEntity + ArchitectureText("rtl", "m", procedure));
    EXPECT_EQ(withProcedure.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(withProcedure.Entries(), ElementsAre("NUM N=8"));

    // A function whose statements start on the line of "begin" reads through for both walks.
    const std::string inline_ = "\tfunction g return integer is begin return 1; end;\n\tsignal c : seen_t;\n";
    EXPECT_THAT(Analyze(kEntity + ArchitectureText("rtl", "m", inline_)).Entries(),
                ElementsAre("NUM N=8", "TYP seen_t=seen_t"));
}

TEST(ArchitectureReader, SkipFunctionBody) {
    struct Case {
        const char* text;
        const char* restAfter; // what follows the cursor afterwards
    };
    const Case cases[] = {
        {"f return bit is begin if a then b; end if; case c is end case; end f; X", " X"},
        {"f return bit is begin loop end loop; end; X", " X"},
        {"F return bit is begin end f ; X", " X"},
        {"f return bit is begin -- end;\n end\n-- c\n;X", "X"},
        {"f return bit is begin end function f; end; X", " end; X"},
        {"f return bit is begin end if;", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AnalysisContext context;
        const CScanner scanner(c.text, &context);
        std::size_t cursor = 0;
        SkipFunctionBody(scanner, cursor);
        EXPECT_EQ(scanner.Text().substr(cursor), c.restAfter);
    }
}

TEST(ArchitectureReader, FindArchitectureBodyPositions) {
    AnalysisContext context;
    const std::string text = "signal s : bit;\nbegin\n  x <= y;\nend if; end a2; end a;  -- tail";
    const CScanner scanner(text, &context);
    ArchitectureBody body;
    ASSERT_TRUE(FindArchitectureBody(scanner, 0, "a", body));
    EXPECT_EQ(body.statementsStart, text.find("begin") + 5);
    EXPECT_EQ(body.endKeyword, text.find("end a;"));
    EXPECT_EQ(body.afterName, text.find("end a;") + 5);
    EXPECT_EQ(body.afterSemicolon, text.find("end a;") + 6);
}

TEST(ArchitectureReader, HeaderResultAndFields) {
    AnalysisContext context;
    context.moduleName = "CPU";
    const std::string text = "x; Architecture Rtl Of cpu -- c\n IS\nend architecture rtl;";
    const CScanner scanner(text, &context);
    ArchitectureHeader header;
    ASSERT_EQ(AnalyzeArchitectureHeader(scanner, text.find("Architecture"), header), HeaderFit::Module);
    EXPECT_EQ(header.name, "Rtl");
    EXPECT_EQ(header.entityName, "cpu");
    EXPECT_EQ(header.declarationsStart, text.find("IS") + 2);
    EXPECT_EQ(AnalyzeArchitectureHeader(scanner, text.find("architecture rtl;"), header), HeaderFit::Other);
    context.moduleName = "alu";
    EXPECT_EQ(AnalyzeArchitectureHeader(scanner, text.find("Architecture"), header), HeaderFit::Other);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
}

TEST(ArchitectureReader, DeclarationListWithoutBeginIsError2) {
    for (const char* text :
         {"signal s: std_logic", "signal s : std_logic;\n", "constant c : integer := 1;"}) {
        SCOPED_TRACE(text);
        AnalysisContext context;
        const CScanner scanner(text, &context);
        CKSTObject object;
        std::size_t cursor = 0;
        AnalyzeDeclarationList(scanner, DeclarationMode::ArchitectureDeclarations, cursor, &object, nullptr);
        EXPECT_EQ(context.errorCode, AnalysisErrorCode::ExpectedKeywordNotFound);
        EXPECT_EQ(context.errorLine, 0);
    }
}

TEST(ArchitectureReader, SignalDeclarationErrors) {
    struct Case {
        const char* declarations;
        AnalysisErrorCode error;
    };
    const Case cases[] = {
        {"signal(s) : bit;", AnalysisErrorCode::SyntaxError},
        {"signal : bit;", AnalysisErrorCode::MissingIdentifier},
        {"signal s bit;", AnalysisErrorCode::PunctuationError},
        {"signal s : ;", AnalysisErrorCode::MissingKeywordOrParameter},
        {"signal s : t(0 to (3);", AnalysisErrorCode::CloseBracketNotFound},
        {"signal s : integer range ;", AnalysisErrorCode::WrongExpression},
        {"signal s : bit := ;", AnalysisErrorCode::WrongExpression},
        {"signal s : string := x & \"d;", AnalysisErrorCode::WrongExpression},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declarations);
        AnalysisContext context;
        const std::string text = std::string("\n") + c.declarations + "\nbegin\n";
        const CScanner scanner(text, &context);
        CKSTObject object;
        std::size_t cursor = 0;
        AnalyzeDeclarationList(scanner, DeclarationMode::ArchitectureDeclarations, cursor, &object, nullptr);
        EXPECT_EQ(context.errorCode, c.error);
        EXPECT_EQ(context.errorLine, c.error == AnalysisErrorCode::CloseBracketNotFound ? 4 : 2);
    }
}

TEST(ArchitectureReader, RefreshHookRunsOnceAfterSuccess) {
    int calls = 0;
    ArchitectureOptions options;
    options.refreshComponents = [&calls](const CScanner& scanner) {
        ++calls;
        EXPECT_NE(scanner.Text().find("architecture"), std::string_view::npos);
    };
    const std::string text = kEntity + ArchitectureText("a", "m") + ArchitectureText("b", "m");
    const ModuleAnalysis ok = Analyze(text, nullptr, options);
    EXPECT_EQ(calls, 1);
    EXPECT_THAT(ok.Entries(), ElementsAre("NUM N=8", "ARCH m=a [a,b]")); // the hook runs after the choice

    calls = 0;
    Analyze(kEntity + ArchitectureText("a", "other"), nullptr, options);
    EXPECT_EQ(calls, 0);

    // An error that the hook sets is the analysis result.
    options.refreshComponents = [](const CScanner& scanner) {
        scanner.Context()->SetError(AnalysisErrorCode::ChildModuleNotFound);
    };
    EXPECT_EQ(Analyze(text, nullptr, options).context.errorCode, AnalysisErrorCode::ChildModuleNotFound);
}

TEST(ArchitectureReader, HeadersInsideAnotherArchitecture) {
    // Each header's body reaches the one closing "end a;" at the end, so all overlap.
    std::string few = kEntity;
    for (int i = 0; i < 3; ++i)
        few += "; architecture a of m is signal s : t" + std::to_string(i) + "; begin x;\n";
    few += "end a;\n";
    EXPECT_THAT(Analyze(few).Entries(),
                ElementsAre("NUM N=8", "TYP t0=t0", "TYP t1=t1", "TYP t2=t2", "ARCH m=a [a,a,a]"));

    // Thousands of such headers would make the walks quadratic: the bodies count as not found.
    std::string many = kEntity;
    for (int i = 0; i < 20000; ++i)
        many += "; architecture a of m is begin x;\n";
    many += "end a;\n";
    const ModuleAnalysis result = Analyze(many);
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
    EXPECT_EQ(result.context.errorLine, 0);
}

TEST(ArchitectureReader, ErrorLinesCountLfAndCrLfAlike) {
    const std::string text = kEntity +
                             ArchitectureText("rtl", "m", "\tsignal a : bit;\n\tsignal b : t(0 to 1;\n") +
                             "\n-- the end\n";
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    // The unclosed constraint runs to the end of the text, where the error is reported.
    for (const std::string* source : std::vector<const std::string*>{&text, &crlf}) {
        const ModuleAnalysis result = Analyze(*source);
        EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::CloseBracketNotFound);
        EXPECT_EQ(result.context.errorLine, 16);
    }

    const std::string bad = kEntity + "\narchitecture rtl of m is\n\tsignal s bit;\nbegin\nend rtl;\n";
    std::string badCrlf;
    for (const char c : bad)
        badCrlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Analyze(bad).context.errorLine, 10);
    EXPECT_EQ(Analyze(badCrlf).context.errorLine, 10);
}

} // namespace
} // namespace kestra
