#include "analysis/scanner.h"
#include "generation/packages.h"
#include "support/ghdl.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

std::size_t ContextStartOfSecondEntity(const std::string& text) {
    const CScanner scanner(text);
    const std::size_t keyword = text.find("entity B");
    return FindContextStart(scanner, keyword, 0);
}

TEST(ContextStart, ClausesInFrontOfAUnit) {
    const std::string withClauses =
        "-- file\r\nlibrary ieee;\r\nuse ieee.std_logic_1164.all;\r\n"
        "entity A is end A;\r\n"
        "library ieee; -- again\r\nuse ieee.numeric_std.all;\r\nentity B is end B;\r\n";
    EXPECT_EQ(ContextStartOfSecondEntity(withClauses), withClauses.find("library ieee; -- again"));

    const std::string withoutClauses = "library ieee;\r\nentity A is end A;\r\n\r\nentity B is end B;";
    EXPECT_EQ(ContextStartOfSecondEntity(withoutClauses), withoutClauses.find("entity B"));

    // The first unit of a file carries everything in front of it.
    const std::string first =
        "-- header\r\nlibrary ieee;\r\nuse ieee.std_logic_1164.all;\r\nentity B is end B;";
    EXPECT_EQ(ContextStartOfSecondEntity(first), 0u);
    const std::string bare = "  -- header\r\nentity B is end B;";
    EXPECT_EQ(ContextStartOfSecondEntity(bare), 0u);
}

const char* const kTwoPackages = "library ieee;\r\n"
                                 "use ieee.std_logic_1164.all;\r\n"
                                 "package P is\r\n"
                                 "\ttype R is record a : integer; end record;\r\n"
                                 "\tfunction f(x : integer) return integer;\r\n"
                                 "end P;\r\n"
                                 "package body P is\r\n"
                                 "\tfunction f(x : integer) return integer is\r\n"
                                 "\tbegin\r\n"
                                 "\t\tif x > 0 then return x; end if;\r\n"
                                 "\t\treturn 0;\r\n"
                                 "\tend;\r\n"
                                 "end package body P;\r\n"
                                 "entity E is end E;\r\n"
                                 "architecture a of E is begin end a;\r\n";

TEST(ExtractPackages, DeclarationAndBodyWithNestedEnds) {
    AnalysisContext context;
    const std::string packages = ExtractPackages(kTwoPackages, context);
    EXPECT_EQ(context.errorCode, AnalysisErrorCode::NoError);
    const std::string text = kTwoPackages;
    const std::size_t bodyEnd = text.find("end package body P;") + 19;
    EXPECT_EQ(packages, text.substr(0, text.find("end P;") + 6) + "\r\n\r\n" +
                            text.substr(text.find("package body"), bodyEnd - text.find("package body")) +
                            "\r\n\r\n");
}

TEST(ExtractPackages, PackagesAnalyzeUnderGhdl) {
    KESTRA_REQUIRE_GHDL();
    AnalysisContext context;
    const auto result = test::GhdlAnalyze({ExtractPackages(kTwoPackages, context)});
    EXPECT_TRUE(result.ok) << result.output;
}

TEST(ExtractPackages, ErrorsKeepWhatWasCollected) {
    struct Case {
        const char* text;
        int error;
        int line;
        bool keepsFirst;
    };
    const Case cases[] = {
        {"package A is end A;\r\npackage B\r\nconstant", 2, 3, true},
        {"package A is end A;\r\npackage B is\r\n  constant c : integer := 1;\r\n", 1, 2, true},
        {"package A is\r\nend A\r\n", 4, 3, false},
        {"x; -- package A is end A;\r\n", 0, 0, false},
        {"use package_x.all; end package B;", 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AnalysisContext context;
        const std::string packages = ExtractPackages(c.text, context);
        EXPECT_EQ(static_cast<int>(context.errorCode), c.error);
        EXPECT_EQ(context.errorLine, c.line);
        EXPECT_EQ(packages, c.keepsFirst ? "package A is end A;\r\n\r\n" : "");
    }
}

} // namespace
} // namespace kestra
