// What the VHDL editor offers and follows in a module's source: the names the module can use,
// the child a word names, the instantiation of a child, and a source read and written byte for
// byte.
#include "operations/analyze_module.h"
#include "operations/child_instantiation.h"
#include "operations/edited_source.h"
#include "operations/source_names.h"
#include "support/ghdl.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectFixture;
using test::SimpleModule;

const char* const kPackage =
    "package SIZES is\r\n\tconstant DEPTH : integer := 16;\r\nend package SIZES;\r\n";

const char* const kTopBody = "\tsignal s_sum : std_logic;\r\n"
                             "begin\r\n"
                             "\tu_adder: ADDER port map (A => CLK, B => CLK, Y => s_sum);\r\n";

// TOP (generic N, port CLK, signal s_sum, using the package SIZES) instantiates ADDER
// (generic W, ports A, B, Y) as u_adder; every module analysed.
class SourceNames : public ::testing::Test {
protected:
    SourceNames() {
        std::string top = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\nuse work.SIZES.all;\r\n\r\n"
                          "entity TOP is\r\n\tgeneric (N : integer := 4);\r\n\tport (CLK : in std_logic);\r\n"
                          "end TOP;\r\n\r\narchitecture rtl of TOP is\r\n"
                          "\tcomponent ADDER\r\n\t\tgeneric (W : integer := 8);\r\n"
                          "\t\tport (A, B : in std_logic; Y : out std_logic);\r\n\tend component;\r\n";
        top += kTopBody;
        top += "end rtl;\r\n";
        m_top = project.AddModule(project.Root(), "TOP", top);
        m_sizes = project.AddModule(m_top, "SIZES", kPackage, HierarchyKind::Package);
        m_adder =
            project.AddModule(m_top, "ADDER",
                              SimpleModule("ADDER", "W : integer := 8",
                                           "A, B : in std_logic; Y : out std_logic", "\tY <= A xor B;\r\n"));
        AnalysisContext context;
        for (CHierarchyItem* item : {m_sizes, m_adder, m_top})
            EXPECT_EQ(AnalyzeModule(project.doc, item, context), 0) << item->Text();
    }

    ProjectFixture project;
    CHierarchyItem* m_top = nullptr;
    CHierarchyItem* m_sizes = nullptr;
    CHierarchyItem* m_adder = nullptr;
};

// Generics, ports, signals, children, their ports and the package's constants, each once and
// sorted without letter case; a child's generic is not the parent's to use.
TEST_F(SourceNames, CompletionOffersWhatTheModuleCanUse) {
    const std::string text = ReadWholeFile(project.SourcePath("TOP")).ValueOr("");
    const std::vector<std::string> names = CompletionNames(project.doc, *m_top, text);
    const std::vector<std::string> expected = {"A", "ADDER", "B",     "CLK",         "DEPTH",
                                               "N", "s_sum", "SIZES", "SIZES.DEPTH", "Y"};
    EXPECT_EQ(names, expected);
}

// A word names a child by its module name or by the label of its instance, in any letter case;
// other words name none.
TEST_F(SourceNames, AWordNamesAChildByModuleOrInstance) {
    const std::string text = ReadWholeFile(project.SourcePath("TOP")).ValueOr("");
    EXPECT_EQ(ChildNamedBy(*m_top, text, "adder"), m_adder);
    EXPECT_EQ(ChildNamedBy(*m_top, text, "U_ADDER"), m_adder);
    EXPECT_EQ(ChildNamedBy(*m_top, text, "Sizes"), m_sizes);
    EXPECT_EQ(ChildNamedBy(*m_top, text, "s_sum"), nullptr);
    EXPECT_EQ(ChildNamedBy(*m_top, text, ""), nullptr);
}

// Where the architecture declares the child's component the instantiation takes its form, with
// a label the text does not have yet; without the declaration it is in entity form. GHDL
// analyses the parent with the instantiation inserted.
TEST_F(SourceNames, AnInstantiationTakesAFreeLabelAndTheDeclaredForm) {
    const std::string text = ReadWholeFile(project.SourcePath("TOP")).ValueOr("");
    const Result<std::string> component =
        ChildInstantiationText(project.doc, *m_top, *m_adder, text, "\r\n", "\t");
    ASSERT_TRUE(component) << component.Reason();
    EXPECT_EQ(component->substr(0, 18), "u_ADDER_2: ADDER\r\n");
    const Result<std::string> entity = ChildInstantiationText(
        project.doc, *m_top, *m_adder, "architecture rtl of TOP is begin end;", "\n", "");
    ASSERT_TRUE(entity);
    EXPECT_EQ(entity->substr(0, 30), "u_ADDER: entity work.ADDER\n\tge");

    KESTRA_REQUIRE_GHDL();
    std::string parent = text;
    parent.insert(parent.find("end rtl;"), "\t" + *component + "\r\n");
    parent.insert(parent.find("begin"), "\tsignal A, B, Y : std_logic;\r\n");
    const test::GhdlResult result =
        test::GhdlAnalyze({kPackage, ReadWholeFile(project.SourcePath("ADDER")).ValueOr(""), parent}, "TOP");
    EXPECT_TRUE(result.ok) << result.output << parent;
}

// The editor's text is the file's bytes: CR LF and a Latin-1 letter kept, NUL bytes read-only,
// a save written whole; a file of no module names no module.
TEST(EditedSource, BytesLineEndsAndTheModulesOfAFile) {
    ProjectFixture project;
    CHierarchyItem* top = project.AddModule(project.Root(), "TOP", "entity TOP is\r\nend TOP;\r\n\xe9\r\n");
    const Result<EditableSource> read = ReadSourceForEditing(project.SourcePath("TOP"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->lineEnds, LineEnds::CrLf);
    EXPECT_FALSE(read->readOnly);
    EXPECT_EQ(read->text, "entity TOP is\r\nend TOP;\r\n\xe9\r\n");
    EXPECT_EQ(LineEndsOf("a\nb\r\n"), LineEnds::Lf);

    ASSERT_TRUE(WriteEditedSource(&project.doc, project.SourcePath("TOP"), "entity TOP is end;\r\n"));
    EXPECT_EQ(project.ReadSource("TOP"), "entity TOP is end;\r\n");
    EXPECT_EQ(ModulesOfSource(project.doc, project.SourcePath("TOP")), std::vector<CHierarchyItem*>{top});
    EXPECT_TRUE(ModulesOfSource(project.doc, project.folder / "other.vhd").empty());

    ASSERT_TRUE(ReplaceFileSafely(project.folder / "bin.vhd", std::string("ab\0cd", 5)));
    const Result<EditableSource> binary = ReadSourceForEditing(project.folder / "bin.vhd");
    ASSERT_TRUE(binary);
    EXPECT_TRUE(binary->readOnly);
    EXPECT_FALSE(ReadSourceForEditing(project.folder / "missing.vhd"));
}

} // namespace
} // namespace kestra
