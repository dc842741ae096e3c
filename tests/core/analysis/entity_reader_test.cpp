#include "analysis/analysis_errors.h"
#include "analysis/entity_reader.h"
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

// Analyses only the entity of a module (no architecture needed).
ModuleAnalysis AnalyzeEntityOnly(const std::string& text, const std::string& module = "m",
                                 const CKSTObject* previous = nullptr) {
    ModuleAnalysis result;
    result.context.moduleName = module;
    result.context.previousObject = previous;
    result.object.SetEntryCount(1);
    result.object.SetEntry(0, EntryKind::Vhdl, module, module + ".vhd");
    const CScanner scanner(text, &result.context);
    std::size_t cursor = 0;
    EXPECT_EQ(AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &result.object, &result.signals), "");
    return result;
}

ModuleAnalysis WithGenerics(const std::string& generics, const std::string& entity = "m") {
    return AnalyzeEntityOnly(EntityText(entity, generics, "clk : in std_logic"), entity);
}

ModuleAnalysis WithPorts(const std::string& ports, const std::string& declarations = "") {
    return AnalyzeEntityOnly(EntityText("m", "", ports, declarations));
}

TEST(EntityReader, PicksTheEntityNamedLikeTheModule) {
    const std::string text = EntityText("other", "A : integer := 1", "x : in bit") +
                             EntityText("Counter", "B : integer := 2", "y : out bit");
    const ModuleAnalysis counter = AnalyzeEntityOnly(text, "counter"); // names compare without case
    EXPECT_EQ(counter.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(counter.Entries(), ElementsAre("NUM B=2"));
    EXPECT_THAT(counter.Signals(), ElementsAre("y out bit"));

    const ModuleAnalysis other = AnalyzeEntityOnly(text, "other");
    EXPECT_THAT(other.Entries(), ElementsAre("NUM A=1"));
    EXPECT_THAT(other.Signals(), ElementsAre("x in bit"));
}

TEST(EntityReader, EntityNotFoundCarriesNoLine) {
    const ModuleAnalysis result = AnalyzeEntityOnly(EntityText("other", "", "a : in bit"), "m");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::EntityNotFound);
    EXPECT_EQ(result.context.errorLine, 0);
    EXPECT_THAT(result.Entries(), IsEmpty());
}

TEST(EntityReader, OnlyStatementStartsDeclareAnEntity) {
    // "end entity m;", an instantiation "u: entity m" and a comment never start the entity.
    const std::string text = "-- entity m is\nentity x is end entity m;\n"
                             "architecture a of x is begin u: entity m port map (q); end a;\n" +
                             EntityText("m", "W : natural := 4", "");
    const ModuleAnalysis result = AnalyzeEntityOnly(text);
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM W=4"));
}

TEST(EntityReader, HeaderErrors) {
    struct Case {
        const char* text;
        AnalysisErrorCode error;
        int line;
    };
    const Case cases[] = {
        {"\nentity;", AnalysisErrorCode::MissingIdentifier, 2},
        {"entity m\n\nport (a : in bit); end m;", AnalysisErrorCode::MissingKeyword, 3},
        {"entity m is generic N : integer; end m;", AnalysisErrorCode::PunctuationError, 1},
        {"entity m is\n port a : in bit; end m;", AnalysisErrorCode::PunctuationError, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ModuleAnalysis result = AnalyzeEntityOnly(c.text);
        EXPECT_EQ(result.context.errorCode, c.error);
        EXPECT_EQ(result.context.errorLine, c.line);
    }
}

TEST(EntityReader, GenericKindsAndChoices) {
    const ModuleAnalysis result = WithGenerics("N : integer := 8; P : Positive := 1; Q : natural;\n"
                                               "\t\tT : type := unsigned; EN : std_logic := '1';\n"
                                               "\t\tF : file := \"rom.hex\"; D : note := \"text\";\n"
                                               "\t\tS : string := \"UP\"; B : boolean := true;\n"
                                               "\t\tV : std_logic_vector := \"0101\"; TM : time := 5 ns");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=8", "NUM P=1", "NUM Q=", "TYP T=unsigned",
                                              "LOGIC EN='1' ['0','1']", "LINK F=rom.hex", "NOTE D=text",
                                              "NOTE S=UP", "GEN B=true", "GEN V=\"0101\"", "GEN TM=5 ns"));
}

TEST(EntityReader, StringGenericsOfLpmEntitiesAreStringParameters) {
    EXPECT_THAT(WithGenerics("DIRECTION : string := \"UP\"", "LPM_COUNTER").Entries(),
                ElementsAre("UNKNOWN DIRECTION=UP"));
    EXPECT_EQ(WithGenerics("DIRECTION : string := \"UP\"", "lpm_add").object.GetEntryKind(1),
              EntryKind::String);
    EXPECT_THAT(WithGenerics("DIRECTION : string := \"UP\"", "LPMX").Entries(),
                ElementsAre("NOTE DIRECTION=UP"));
    EXPECT_EQ(GenericKind("STRING", "LPM"), EntryKind::Note);
    EXPECT_EQ(GenericKind("Std_Logic", "x"), EntryKind::Logic);
    EXPECT_EQ(GenericKind("", "x"), EntryKind::None);
}

TEST(EntityReader, GenericClauseErrors) {
    struct Case {
        const char* generics;
        AnalysisErrorCode error;
    };
    const Case cases[] = {
        {"N : integer : = 8", AnalysisErrorCode::PunctuationError},
        {"N : integer := 8; ", AnalysisErrorCode::MissingParameter},
        {"N : integer := ", AnalysisErrorCode::MissingParameter},
        {"N : integer := \"\"", AnalysisErrorCode::MissingParameter},
        {"N : string := \"open", AnalysisErrorCode::MissingParameter},
        {"N integer := 8", AnalysisErrorCode::PunctuationError},
        {"2N : integer", AnalysisErrorCode::MissingParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.generics);
        const ModuleAnalysis result = WithGenerics(c.generics);
        EXPECT_EQ(result.context.errorCode, c.error);
        EXPECT_EQ(result.context.errorLine, 5); // the generic clause is on line 5
    }
    // Written without a blank, ":=" is accepted.
    EXPECT_THAT(WithGenerics("N : integer:= 8").Entries(), ElementsAre("NUM N=8"));
    // The generic clause must be closed by ");".
    EXPECT_EQ(AnalyzeEntityOnly("entity m is generic (N : integer := 8) port (a : in bit); end m;")
                  .context.errorCode,
              AnalysisErrorCode::PunctuationError);
}

TEST(EntityReader, EntriesMadeBeforeAnErrorStay) {
    const ModuleAnalysis result = WithGenerics("A : integer := 1; B : integer := 2; C : integer : = 3");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::PunctuationError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM A=1", "NUM B=2"));
}

TEST(EntityReader, CarriedValuesAcrossReanalysis) {
    const std::string text = EntityText("m", "N : integer := 8; EN : std_logic := '1'", "d : in word_t");
    ModuleAnalysis first = AnalyzeEntityOnly(text);
    ASSERT_THAT(first.Entries(), ElementsAre("NUM N=8", "LOGIC EN='1' ['0','1']", "TYP word_t=word_t"));

    // The user's choices survive, matched by kind and exact name.
    CKSTObject chosen;
    chosen.CopyFrom(first.object);
    chosen.SetEntryText(1, EntryField::Value, "16");
    chosen.SetEntryText(2, EntryField::Value, "'0'");
    chosen.SetEntryText(3, EntryField::Value, "unsigned");
    EXPECT_THAT(AnalyzeEntityOnly(text, "m", &chosen).Entries(),
                ElementsAre("NUM N=16", "LOGIC EN='0' ['0','1']", "TYP word_t=unsigned"));

    // Renaming the generic to n loses the choice: carried names compare exactly.
    const std::string renamed = EntityText("m", "n : integer := 8; EN : std_logic := '1'", "d : in WORD_T");
    EXPECT_THAT(AnalyzeEntityOnly(renamed, "m", &chosen).Entries(),
                ElementsAre("NUM n=8", "LOGIC EN='0' ['0','1']", "TYP WORD_T=WORD_T"));

    // A generic whose type changed kind carries nothing either.
    const std::string retyped = EntityText("m", "N : file := \"a.txt\"", "");
    EXPECT_THAT(AnalyzeEntityOnly(retyped, "m", &chosen).Entries(), ElementsAre("LINK N=a.txt"));
}

TEST(EntityReader, PortDeclarations) {
    const ModuleAnalysis result = WithPorts("clk, RST : IN std_logic;\n"
                                            "\t\tA, B : out std_logic_vector(WIDTH-1 downto 0);\n"
                                            "\t\tn : buffer Integer range 0 to 15;\n"
                                            "\t\tio : InOut bit_vector( (W*2)-1 downto 0 );\n"
                                            "\t\tl : linkage bit -- last port\n");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Signals(),
                ElementsAre("clk in std_logic", "RST in std_logic",
                            "A out std_logic_vector(WIDTH-1 downto 0)",
                            "B out std_logic_vector(WIDTH-1 downto 0)", "n buffer Integer(0 to 15)",
                            "io inout bit_vector((W*2)-1 downto 0 )", "l linkage bit"));
    EXPECT_THAT(result.Entries(), IsEmpty()); // all types built in, any case
    EXPECT_EQ(result.signals.GetSignalText(0, 4), "");
}

TEST(EntityReader, DataTypeParametersFromPortTypes) {
    const ModuleAnalysis result =
        WithPorts("a : in MyType; b : in mytype; c : out std_ulogic_vector(3 downto 0); d : in real; "
                  "e : in STD_LOGIC_VECTOR(1 downto 0); f : in time");
    EXPECT_THAT(result.Entries(), ElementsAre("TYP MyType=MyType", "TYP std_ulogic_vector=std_ulogic_vector",
                                              "TYP real=real", "TYP time=time"));

    // An entry of any kind with the type's name, in any case, suppresses the data type entry.
    const ModuleAnalysis named =
        AnalyzeEntityOnly(EntityText("m", "mytype : integer := 1", "a : in MyType; b : in M"));
    EXPECT_THAT(named.Entries(), ElementsAre("NUM mytype=1")); // "M" is the module itself (entry 0)
}

TEST(EntityReader, PortErrors) {
    struct Case {
        const char* ports;
        AnalysisErrorCode error;
    };
    const Case cases[] = {
        {"clk : into std_logic", AnalysisErrorCode::WrongKeyword},
        {"a : in bit; b : in bit;", AnalysisErrorCode::MissingIdentifier},
        {"a, : in bit", AnalysisErrorCode::MissingIdentifier},
        {"a b : in bit", AnalysisErrorCode::PunctuationError},
        {"a : in(x) bit", AnalysisErrorCode::SyntaxError},
        {"a : out ", AnalysisErrorCode::MissingKeywordOrParameter},
        {"a : out", AnalysisErrorCode::SyntaxError}, // nothing separates the mode from ")"
        {"a : in integer range ;", AnalysisErrorCode::WrongExpression},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ports);
        const ModuleAnalysis result = WithPorts(c.ports);
        EXPECT_EQ(result.context.errorCode, c.error);
        EXPECT_EQ(result.context.errorLine, 5);
    }
}

TEST(EntityReader, UnclosedConstraint) {
    const ModuleAnalysis result = AnalyzeEntityOnly("entity m is\nport (a : in t(7 downto (0);\nend m;\n");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::CloseBracketNotFound);
    EXPECT_EQ(result.context.errorLine, 4); // the end of the text
}

TEST(EntityReader, PortClauseMustCloseWithParenthesisAndSemicolon) {
    EXPECT_EQ(AnalyzeEntityOnly("entity m is port (a : in bit) end m;").context.errorCode,
              AnalysisErrorCode::PunctuationError);
    const ModuleAnalysis trailing = AnalyzeEntityOnly("entity m is port (a : in bit;\n);\nend m;");
    EXPECT_EQ(trailing.context.errorCode, AnalysisErrorCode::MissingIdentifier);
    EXPECT_EQ(trailing.context.errorLine, 2);
    // No port clause at all is fine.
    EXPECT_EQ(AnalyzeEntityOnly("entity m is end m;").context.errorCode, AnalysisErrorCode::NoError);
}

TEST(EntityReader, EnumerationsGiveChoicesAndStyles) {
    const std::string declarations = "\ttype ENUM_N is (1, 2, 4, 8);\n"
                                     "\ttype Enum_T is (unsigned, signed);\n"
                                     "\ttype ENUM_S is (slow, fast);\n"
                                     "\tconstant S : ENUM_S := fast;\n"
                                     "\tattribute keep : boolean;\n"
                                     "\ttype level_t is (lo, hi);\n"
                                     "\tconstant LEVEL : level_t := hi;\n";
    const ModuleAnalysis result =
        AnalyzeEntityOnly(EntityText("m", "N : integer := 4; T : type := unsigned", "", declarations));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), ElementsAre("NUM N=4 [1,2,4,8]", "TYP T=unsigned [unsigned,signed]",
                                              "STYLE S=fast [slow,fast]", "STYLE LEVEL=hi [lo,hi]"));
}

TEST(EntityReader, StyleValuesAreNotCarried) {
    const std::string text =
        EntityText("m", "", "", "type ENUM_S is (slow, fast);\nconstant S : ENUM_S := fast;\n");
    CKSTObject previous = AnalyzeEntityOnly(text).object;
    previous.SetEntryText(1, EntryField::Value, "slow");
    EXPECT_THAT(AnalyzeEntityOnly(text, "m", &previous).Entries(), ElementsAre("STYLE S=fast [slow,fast]"));
}

TEST(EntityReader, EnumerationLiteralsOnLogicParametersMakeAStyle) {
    // Only Numeric, DataType and string parameters take ENUM_ choices; for the rest the type is an
    // ordinary enumeration and a following constant of that type is a Style.
    const ModuleAnalysis result = AnalyzeEntityOnly(
        EntityText("m", "EN : std_logic", "", "type ENUM_EN is (a, b);\nconstant C : ENUM_EN := b;\n"));
    EXPECT_THAT(result.Entries(), ElementsAre("LOGIC EN= ['0','1']", "STYLE C=b [a,b]"));
}

TEST(EntityReader, EntityDeclarationErrors) {
    struct Case {
        const char* declarations;
        AnalysisErrorCode error;
        int line;
    };
    const Case cases[] = {
        {"type ENUM_S is (slow, fast);\nconstant S : ENUM_S := 4;\n", AnalysisErrorCode::MissingParameter, 6},
        {"type ENUM_S is (slow, fast);\nconstant S : ENUM_S := fast;\ntype E2 is (a);\nconstant s : E2 := "
         "a;\n",
         AnalysisErrorCode::RepeatedParameterName, 0},
        // Only a constant that directly follows an enumeration type is read as a Style.
        {"type ENUM_S is (slow, fast);\nconstant S : ENUM_S := fast;\nconstant S : ENUM_S := slow;\n",
         AnalysisErrorCode::NoError, 0},
        {"type E is ('0', '1');\n", AnalysisErrorCode::MissingParameter, 5},
        {"type E is (a b);\n", AnalysisErrorCode::PunctuationError, 5},
        {"type E is (a, b)\n", AnalysisErrorCode::PunctuationError, 6},
        {"type (a);\n", AnalysisErrorCode::MissingIdentifier, 5},
        {"type E (a);\n", AnalysisErrorCode::MissingKeyword, 5},
        {"type E is (a);\nconstant : E := a;\n", AnalysisErrorCode::MissingIdentifier, 6},
        {"type E is (a);\nconstant C E := a;\n", AnalysisErrorCode::PunctuationError, 6},
        {"type E is (a);\nconstant C : E = a;\n", AnalysisErrorCode::PunctuationError, 6},
        {"type E is (a);\nconstant C : E := a\n", AnalysisErrorCode::PunctuationError, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declarations);
        const ModuleAnalysis result = AnalyzeEntityOnly(EntityText("m", "", "", c.declarations));
        EXPECT_EQ(result.context.errorCode, c.error);
        EXPECT_EQ(result.context.errorLine, c.line);
    }
    // A Style constant named like a generic is repeated too.
    const ModuleAnalysis generic = AnalyzeEntityOnly(
        EntityText("m", "s : integer", "", "type ENUM_X is (a);\nconstant S : ENUM_X := a;\n"));
    EXPECT_EQ(generic.context.errorCode, AnalysisErrorCode::RepeatedParameterName);
}

TEST(EntityReader, EntityWithoutEndIsError18) {
    const ModuleAnalysis result = AnalyzeEntityOnly("entity m is\n port (a : in bit);\n attribute x : y;\n");
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::EndOfEntityBodyNotFound);
    EXPECT_EQ(result.context.errorLine, 0);
    EXPECT_THAT(result.Signals(), ElementsAre("a in bit"));
}

TEST(EntityReader, OtherDeclarationsArePassedOver) {
    const ModuleAnalysis result =
        AnalyzeEntityOnly(EntityText("m", "", "a : in bit",
                                     "\ttype word is range 0 to 255;\n\tconstant K : integer := 3;\n\ttype E "
                                     "is (x);\n\tconstant C : word := 1;\n"
                                     "\tbegin\n\tassert true;\n"));
    EXPECT_EQ(result.context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_THAT(result.Entries(), IsEmpty());
}

TEST(EntityReader, ErrorLinesCountLfAndCrLfAlike) {
    std::string text = EntityText("m", "N : integer := 8", "a : in bit;\nb : into bit");
    const ModuleAnalysis lf = AnalyzeEntityOnly(text);
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const ModuleAnalysis withCr = AnalyzeEntityOnly(crlf);
    EXPECT_EQ(lf.context.errorCode, AnalysisErrorCode::WrongKeyword);
    EXPECT_EQ(lf.context.errorLine, 7);
    EXPECT_EQ(withCr.context.errorCode, lf.context.errorCode);
    EXPECT_EQ(withCr.context.errorLine, 7);
}

TEST(EntityReader, TextModesReturnThePortClauseAsWritten) {
    AnalysisContext context;
    context.moduleName = "child";
    const std::string text =
        "entity CHILD is generic (W : integer := 8);\n"
        "\tport ( -- ports\n\t\td : in word; q : out std_logic_vector(W-1 downto 0)   \n\t);\n"
        "end CHILD;\n";
    const CScanner scanner(text, &context);
    CKSTObject object;
    object.SetEntryCount(1);
    std::size_t cursor = 0;
    EXPECT_EQ(AnalyzeEntity(scanner, EntityMode::PortText, cursor, &object, nullptr),
              "\tport ( -- ports\n\t\td : in word; q : out std_logic_vector(W-1 downto 0)\r\n\t);\r\n");
    EXPECT_EQ(object.GetEntryCount(), 1); // nothing added
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);

    // The converting mode puts DataType parameter values in place of their names.
    object.AddEntry();
    object.SetEntry(1, EntryKind::DataType, "word", "unsigned");
    cursor = 0;
    EXPECT_EQ(AnalyzeEntity(scanner, EntityMode::ConvertedPortText, cursor, &object, nullptr),
              "\tport ( -- ports\n\t\td : in unsigned; q : out std_logic_vector(W-1 downto 0)\r\n\t);\r\n");

    // Text modes raise no "Entity not found.".
    context.moduleName = "missing";
    cursor = 0;
    EXPECT_EQ(AnalyzeEntity(scanner, EntityMode::PortText, cursor, nullptr, nullptr), "");
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
}

TEST(EntityReader, TextModesStillCheckThePorts) {
    AnalysisContext context;
    context.moduleName = "m";
    const CScanner scanner("entity m is port (a : into bit); end m;", &context);
    std::size_t cursor = 0;
    EXPECT_EQ(AnalyzeEntity(scanner, EntityMode::PortText, cursor, nullptr, nullptr), "");
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::WrongKeyword);
}

TEST(EntityReader, EntityDeclarationModes) {
    const std::string text = "\ttype ENUM_N is (1, 2);\n\ttype ENUM_S is (slow, fast);\n"
                             "\tconstant S : ENUM_S := fast;\nend m;";
    AnalysisContext context;
    const CScanner scanner(text, &context);

    // FindEnd without an object only finds the closing "end".
    std::size_t cursor = 0;
    EXPECT_EQ(AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr),
              text.find("end m"));

    // Merge applies ENUM_ choices and adds a Style only when the object lacks it.
    CKSTObject object;
    object.SetEntryCount(2);
    object.SetEntry(0, EntryKind::Vhdl, "m", "m.vhd");
    object.SetEntry(1, EntryKind::Numeric, "N", "1");
    cursor = 0;
    EXPECT_EQ(AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Merge, cursor, &object),
              text.find("end m"));
    ASSERT_EQ(object.GetEntryCount(), 3);
    EXPECT_EQ(object.GetChoiceList(1), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(object.GetEntryName(2), "S");
    object.SetEntryText(2, EntryField::Value, "slow");
    cursor = 0;
    EXPECT_TRUE(AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Merge, cursor, &object));
    EXPECT_EQ(object.GetEntryCount(), 3);
    EXPECT_EQ(object.GetEntryValue(2), "slow");
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
}

} // namespace
} // namespace kestra
