#include "analysis/source_form.h"
#include "library/library_chooser.h"
#include "library/library_store.h"
#include "project/analysis_status.h"
#include "project/project_observer.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

namespace fs = std::filesystem;
using test::ProjectFixture;
using test::SimpleModule;

class InsertObserver : public CProjectObserver {
public:
    void ModuleInserted(CHierarchyItem* parent, CHierarchyItem* item) override {
        inserted.emplace_back(parent, item);
    }
    std::vector<std::pair<CHierarchyItem*, CHierarchyItem*>> inserted;
};

// Answers the library dialog from a queue; an empty queue is a cancel.
class QueuedChooser : public CLibraryChooser {
public:
    std::optional<fs::path> ChooseModule(LibraryKind kind) override {
        kinds.push_back(kind);
        if (choices.empty())
            return std::nullopt;
        const fs::path choice = choices.front();
        choices.erase(choices.begin());
        return choice;
    }
    std::vector<fs::path> choices;
    std::vector<LibraryKind> kinds;
};

const std::string kIo = "I : in std_logic; O : out std_logic";

struct InsertProject : ProjectFixture {
    InsertProject() : commands(doc, &observer) {
        fs::create_directories(library);
        fs::create_directories(predefined);
        EXPECT_TRUE(ReplaceFileSafely(library / "COUNTER.vhd",
                                      "-- COUNTER: Library module created by KESTRA\r\n--\r\n" +
                                          SimpleModule("COUNTER", "N : integer := 4", kIo, "\tO <= I;\r\n") +
                                          "-- COUNTER: Library module ended here\r\n\r\n"));
        EXPECT_TRUE(ReplaceFileSafely(predefined / "P.vhd", SimpleModule("P", "", kIo, "\tO <= not I;\r\n")));
    }

    CHierarchyItem* InsertFile(CHierarchyItem* parent, const fs::path& file) {
        commands.session.Select(parent);
        return commands.library.InsertLibraryModule(LibraryInsertMode::LibraryFile, file.string());
    }
    CHierarchyItem* InsertPredefined(CHierarchyItem* parent, const fs::path& file) {
        chooser.choices.push_back(file);
        commands.session.Select(parent);
        return commands.library.InsertLibraryModule(LibraryInsertMode::ChoosePredefined, {}, &chooser);
    }
    // A normal module under the root, analysed.
    CHierarchyItem* AddNormal(const std::string& name) {
        CHierarchyItem* item = AddModule(Root(), name, SimpleModule(name, "", kIo, "\tO <= I;\r\n"));
        commands.session.Select(item);
        EXPECT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
        log.ClearLog();
        return item;
    }

    fs::path library = folder / "Library";
    fs::path predefined = folder / "Predefined";
    InsertObserver observer;
    QueuedChooser chooser;
    ProjectCommands commands;
};

TEST(LibraryInsert, LibraryModuleTwiceGetsAFreeNameAndItsOwnFile) {
    InsertProject project;
    CHierarchyItem* first = project.InsertFile(project.Root(), project.library / "COUNTER.vhd");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(project.log.Text(),
              "\r\nCOUNTER analyzed. No error encountered.\r\nLibrary module COUNTER added.");
    CHierarchyItem* second = project.InsertFile(project.Root(), project.library / "COUNTER.vhd");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(project.log.Text().find("\r\nOriginal module name COUNTER is in use, new module is renamed to "
                                      "COUNTER_2."),
              std::string::npos);
    EXPECT_TRUE(project.log.Text().ends_with("\r\nLibrary module COUNTER_2 added.")) << project.log.Text();

    EXPECT_EQ(first->Text(), "COUNTER");
    EXPECT_EQ(second->Text(), "COUNTER_2");
    EXPECT_EQ(second, project.Root()->Child(1));
    for (CHierarchyItem* item : {first, second}) {
        EXPECT_EQ(item->Kind(), HierarchyKind::Library);
        EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);
        EXPECT_EQ(item->Object()->FormatEntry(0), "COMP\t" + item->Text() + "\t" + item->Text() + ".vhd");
        EXPECT_EQ(item->Object()->FormatEntry(1), "NUM\tN\t4");
        EXPECT_EQ(item->Signals()->GetSignalCount(), 2);
    }
    EXPECT_NE(project.ReadSource("COUNTER_2").find("entity COUNTER_2 is"), std::string::npos);
    EXPECT_EQ(project.ReadSource("COUNTER_2").find("entity COUNTER is"), std::string::npos);
    EXPECT_EQ(project.ReadSource("COUNTER"), ReadWholeFile(project.library / "COUNTER.vhd"));
    ASSERT_EQ(project.observer.inserted.size(), 2u);
    EXPECT_EQ(project.observer.inserted[1], std::make_pair(project.Root(), second));
}

TEST(LibraryInsert, TheParentNeedsAnalysisAgain) {
    InsertProject project;
    CHierarchyItem* top = project.AddNormal("TOP");
    ASSERT_EQ(top->Status(), AnalysisStatus::Analyzed);
    CHierarchyItem* item = project.InsertFile(top, project.library / "COUNTER.vhd");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Parent(), top);
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(top->Status(), AnalysisStatus::NeedsAnalysis);
    EXPECT_TRUE(project.doc.IsModified());
}

TEST(LibraryInsert, PredefinedModuleOncePerParentSharingOneFile) {
    InsertProject project;
    CHierarchyItem* top = project.AddNormal("TOP");
    CHierarchyItem* other = project.AddNormal("OTHER");
    CHierarchyItem* first = project.InsertPredefined(top, project.predefined / "P.vhd");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Kind(), HierarchyKind::Predefined);
    EXPECT_EQ(first->Object()->FormatEntry(0), "PRE\tP\tP.vhd");
    EXPECT_TRUE(project.log.Text().ends_with("\r\nPredefined module P added."));
    EXPECT_EQ(project.chooser.kinds, std::vector<LibraryKind>{LibraryKind::Predefined});

    project.log.ClearLog();
    EXPECT_EQ(project.InsertPredefined(top, project.predefined / "P.vhd"), nullptr);
    EXPECT_EQ(project.log.Text(), "\r\nPredefined module already exist in the same hierarchy.");
    EXPECT_EQ(top->ChildCount(), 1);

    // Under another parent the module shares the one file, which the library's copy replaces.
    const std::string newer = SimpleModule("P", "", kIo, "\tO <= I;\r\n");
    ASSERT_TRUE(ReplaceFileSafely(project.predefined / "P.vhd", newer));
    CHierarchyItem* second = project.InsertPredefined(other, project.predefined / "P.vhd");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Text(), "P");
    EXPECT_EQ(project.ReadSource("P"), newer);
    EXPECT_FALSE(fs::exists(project.SourcePath("P_2")));
}

TEST(LibraryInsert, NothingWithoutAChoiceOrOnTheWrongSelection) {
    InsertProject project;
    project.commands.session.Select(project.Root());
    EXPECT_EQ(
        project.commands.library.InsertLibraryModule(LibraryInsertMode::ChooseLibrary, {}, &project.chooser),
        nullptr);
    EXPECT_EQ(project.chooser.kinds, std::vector<LibraryKind>{LibraryKind::Library});
    EXPECT_EQ(project.commands.library.InsertLibraryModule(LibraryInsertMode::ChooseLibrary, {}, nullptr),
              nullptr);
    // The dialog closed by OK with a folder selected returns the empty path.
    project.chooser.choices.push_back(fs::path());
    EXPECT_EQ(
        project.commands.library.InsertLibraryModule(LibraryInsertMode::ChooseLibrary, {}, &project.chooser),
        nullptr);
    EXPECT_EQ(project.commands.library.InsertLibraryModule(LibraryInsertMode::LibraryFile, {}), nullptr);
    EXPECT_EQ(project.log.Text(), "");
    EXPECT_EQ(project.Root()->ChildCount(), 0);

    CHierarchyItem* counter = project.InsertFile(project.Root(), project.library / "COUNTER.vhd");
    project.commands.session.Select(counter);
    EXPECT_FALSE(project.commands.library.CanInsertLibraryModule());
    EXPECT_EQ(project.InsertFile(counter, project.library / "COUNTER.vhd"), nullptr);
    EXPECT_EQ(counter->ChildCount(), 0);
}

TEST(LibraryInsert, AFileThatCannotBeCopiedLeavesAnItemWithoutSource) {
    InsertProject project;
    CHierarchyItem* existing = project.AddNormal("COUNTER");
    const std::string before = project.ReadSource("COUNTER");
    CHierarchyItem* item = project.InsertFile(project.Root(), project.library / "gone" / "COUNTER.vhd");
    ASSERT_NE(item, nullptr);
    EXPECT_NE(project.log.Text().find("\r\nERROR: Cannot copy module file "), std::string::npos);
    // The new item does not take over the file of the module already there.
    EXPECT_EQ(item->Text(), "COUNTER_2");
    EXPECT_EQ(item->Status(), AnalysisStatus::SourceMissing);
    EXPECT_EQ(existing->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(project.ReadSource("COUNTER"), before);
}

TEST(LibraryInsert, CompanionFilesComeAlongButNothingFromOutsideTheLibraryFolder) {
    InsertProject project;
    // The library lies one level deeper than the project, so that "../" from either folder
    // names a different file.
    const fs::path library = project.folder / "shelf" / "Library";
    fs::create_directories(library);
    std::string source = SimpleModule("M", "", "I : in std_logic");
    source.replace(source.find("entity M is"), 11,
                   "entity M is\r\n\tgeneric (T : file := \"table.txt\"; E : file := \"../outside.txt\");");
    ASSERT_TRUE(ReplaceFileSafely(library / "M.vhd", source));
    ASSERT_TRUE(ReplaceFileSafely(library / "table.txt", "table"));
    ASSERT_TRUE(ReplaceFileSafely(project.folder / "shelf" / "outside.txt", "outside"));
    ASSERT_EQ(project.doc.GetProjectFolder(), project.folder.Path());

    CHierarchyItem* item = project.InsertFile(project.Root(), library / "M.vhd");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Object()->FormatEntry(2), "LINK\tE\t../outside.txt");
    EXPECT_EQ(ReadWholeFile(project.doc.GetModuleFolderPath() / "table.txt"), "table");
    EXPECT_FALSE(fs::exists(project.folder / "outside.txt"));
    EXPECT_EQ(ReadWholeFile(project.folder / "shelf" / "outside.txt"), "outside");
    EXPECT_EQ(ReadWholeFile(library / "table.txt"), "table");
}

// The whole round: a module with a child exported from one project into a library folder,
// inserted into another project below a module that instantiates it, and generated there.
TEST(LibraryInsert, ExportedModuleInsertedIntoAnotherProjectGenerates) {
    ProjectFixture source;
    ProjectCommands sourceCommands(source.doc);
    CHierarchyItem* counter =
        source.AddModule(source.Root(), "COUNTER",
                         SimpleModule("COUNTER", "STEP : integer := 1", kIo,
                                      "\tU_DIGIT: DIGIT port map (I => I, O => O);\r\n"));
    source.AddModule(counter, "DIGIT", SimpleModule("DIGIT", "", kIo, "\tO <= I;\r\n"));
    sourceCommands.session.Select(counter);
    ASSERT_TRUE(sourceCommands.analysis.OnAnalyzeModule()) << source.log.Text();
    ASSERT_TRUE(sourceCommands.parameters.EndParameterEdit(counter, 1, 1, "3")) << source.log.Text();
    ASSERT_TRUE(sourceCommands.analysis.OnAnalyzeModule()) << source.log.Text();

    InsertProject target;
    fs::create_directories(target.library / "counters");
    CFolderLibraryStore store(target.library / "counters", source.prompts);
    sourceCommands.session.Select(counter);
    ASSERT_TRUE(sourceCommands.library.OnCreateLibraryModule(store)) << source.log.Text();
    const fs::path stored = target.library / "counters" / "COUNTER.vhd";
    ASSERT_TRUE(fs::exists(stored));

    CHierarchyItem* main =
        target.AddModule(target.Root(), "MAIN",
                         SimpleModule("MAIN", "", "A : in std_logic; Y : out std_logic",
                                      "\tU_COUNTER: COUNTER port map (I => A, O => Y);\r\n"));
    CHierarchyItem* item = target.InsertFile(main, stored);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed) << target.log.Text();
    EXPECT_EQ(item->Object()->FormatEntry(1), "NUM\tSTEP\t3");

    target.commands.session.Select(main);
    ASSERT_TRUE(target.commands.generation.OnGenerate()) << target.log.Text();
    const std::string generated =
        ReadWholeFile(target.doc.ResolvePath(target.doc.GetDestinationFolder()) / "MAIN.vhd").ValueOr("");
    for (const char* unit : {"entity MAIN is", "entity COUNTER is", "entity DIGIT is"})
        EXPECT_NE(generated.find(unit), std::string::npos) << unit << "\n" << generated;
    EXPECT_NE(generated.find("STEP: integer := 3"), std::string::npos) << generated;
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({generated}, "MAIN");
        EXPECT_TRUE(result.ok) << result.output << "\n" << generated;
    }
}

// An eight-bit counter of the library whose ports the parents below lack in part: en and q.
const std::string kCounter8 =
    "-- CNT8: counts while en is high\r\n"
    "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\nuse IEEE.numeric_std.all;\r\n\r\n"
    "entity CNT8 is\r\n\tgeneric (WIDTH : integer := 8);\r\n"
    "\tport (CLK, rst : in std_logic; en : in std_logic;\r\n"
    "\t\tq : out std_logic_vector(WIDTH - 1 downto 0));\r\nend CNT8;\r\n\r\n"
    "architecture rtl of CNT8 is\r\n\tsignal count : unsigned(WIDTH - 1 downto 0);\r\n"
    "begin\r\n\tprocess (CLK, rst)\r\n\tbegin\r\n"
    "\t\tif rst = '1' then\r\n\t\t\tcount <= (others => '0');\r\n"
    "\t\telsif rising_edge(CLK) and en = '1' then\r\n\t\t\tcount <= count + 1;\r\n"
    "\t\tend if;\r\n\tend process;\r\n\tq <= std_logic_vector(count);\r\nend rtl;\r\n";

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Inserts CNT8 from the library below the parent twice, analysing the parent after each, and
// checks what the parent's source then holds: one mark of each kind, the two instances with
// their own signals for en and q (declared once, associated once, driven by nothing else), the
// same text after another analysis, and a parent that GHDL analyses with its children, the
// others' sources given first.
void InsertCounterTwiceAndCheck(ProjectCommands& commands, CKSTDoc& doc, CMemoryLog& log,
                                CHierarchyItem* parent, const std::vector<std::string>& before) {
    const fs::path library = fs::path(doc.GetProjectFolder()) / "Library";
    fs::create_directories(library);
    ASSERT_TRUE(ReplaceFileSafely(library / "CNT8.vhd", kCounter8));
    const fs::path parentPath = doc.GetModuleFolderPath() / (parent->Text() + ".vhd");
    for (int round = 0; round < 2; ++round) {
        commands.session.Select(parent);
        ASSERT_NE(commands.library.InsertLibraryModule(LibraryInsertMode::LibraryFile,
                                                       (library / "CNT8.vhd").string()),
                  nullptr);
        commands.session.Select(parent);
        ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
    }
    const std::string text = ReadWholeFile(parentPath).ValueOr("");
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
    EXPECT_EQ(ReadWholeFile(parentPath).ValueOr(""), text);
    const std::string lineEnd = text.find("\r\n") == std::string::npos ? "\n" : "\r\n";
    EXPECT_EQ(CountOf(text, "-- KESTRA component declarations"), 1u) << text;
    EXPECT_EQ(CountOf(text, "-- KESTRA component instantiations"), 1u) << text;
    std::string second = "\tU_CNT8_2: CNT8_2\r\n\t\tport map (\r\n\t\t\tCLK => CLK,\r\n\t\t\trst => RST,\r\n"
                         "\t\t\ten => U_CNT8_2_EN,\r\n\t\t\tq => U_CNT8_2_Q\r\n\t\t);\r\n";
    EXPECT_NE(text.find(WithLineEnds(second, lineEnd)), std::string::npos) << text;
    for (const std::string label : {"U_CNT8", "U_CNT8_2"}) {
        EXPECT_NE(text.find("\tsignal " + label + "_Q : std_logic_vector(8 - 1 downto 0);"),
                  std::string::npos)
            << text;
        for (const std::string port : {"_EN", "_Q"}) {
            EXPECT_EQ(CountOf(text, label + port + " "), 1u) << label + port << "\n" << text;
            EXPECT_EQ(CountOf(text, "=> " + label + port), 1u) << label + port << "\n" << text;
        }
    }
    if (!test::GhdlAvailable())
        return;
    std::vector<std::string> sources = before;
    for (const char* name : {"CNT8", "CNT8_2"})
        sources.push_back(
            ReadWholeFile(doc.GetModuleFolderPath() / (std::string(name) + ".vhd")).ValueOr(""));
    sources.push_back(text);
    const auto result = test::GhdlAnalyze(sources, parent->Text());
    EXPECT_TRUE(result.ok) << result.output << "\n" << text;
}

// The example's top module, which has CLK and RST but no en or q.
TEST(LibraryInsert, TwiceIntoTheExamplesTopEachInstanceGetsSignalsOfItsOwn) {
    test::TempFolder folder;
    fs::copy(fs::path(KESTRA_EXAMPLES) / "blinker", folder.Path(), fs::copy_options::recursive);
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc(prompts, log);
    ASSERT_TRUE(doc.OnOpenDocument((folder / "Blinker.kst").string())) << log.Text();
    doc.OnFirstUpdate();
    ProjectCommands commands(doc);
    commands.session.Select(doc.Tree().GetRootItem());
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
    CHierarchyItem* top = doc.Tree().GetRootItem()->Child(0);
    ASSERT_EQ(top->Text(), "BLINKER");
    std::vector<std::string> others;
    for (const char* name : {"BLINK_PKG", "DIVIDER", "CHANNEL_A", "CHANNEL_B"})
        others.push_back(ReadWholeFile(doc.GetModuleFolderPath() / (std::string(name) + ".vhd")).ValueOr(""));
    InsertCounterTwiceAndCheck(commands, doc, log, top, others);
}

// A parent written elsewhere (LF line ends, blanks for indentation), whose earlier analysis
// declared its child below the mark already.
TEST(LibraryInsert, TwiceIntoASourceNotInTheToolsFormKeepsItsMarkAndLineEnds) {
    ProjectFixture project;
    ProjectCommands commands(project.doc);
    CHierarchyItem* blink = project.AddModule(
        project.Root(), "BLINK",
        "-- BLINK: an LED that follows the counter's TICK\nlibrary IEEE;\nuse IEEE.std_logic_1164.all;\n\n"
        "entity BLINK is\n  port (CLK : in std_logic; RST : in std_logic; LED : out std_logic);\nend "
        "BLINK;\n\n"
        "architecture BLINK_arch of BLINK is\n  signal tick : std_logic;\n  signal state : "
        "std_logic;\nbegin\n"
        "  U_COUNTER : COUNTER port map (CLK => CLK, RST => RST, TICK => tick);\n"
        "  process (CLK, RST)\n  begin\n    if RST = '1' then\n      state <= '0';\n"
        "    elsif rising_edge(CLK) and tick = '1' then\n      state <= not state;\n    end if;\n"
        "  end process;\n  LED <= state;\nend BLINK_arch;\n");
    CHierarchyItem* counter = project.AddModule(
        blink, "COUNTER",
        SimpleModule("COUNTER", "", "CLK : in std_logic; RST : in std_logic; TICK : out std_logic",
                     "\tTICK <= CLK and not RST;\r\n"));
    commands.session.Select(counter);
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << project.log.Text();
    commands.session.Select(blink);
    ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << project.log.Text();
    ASSERT_EQ(CountOf(project.ReadSource("BLINK"), "-- KESTRA component declarations"), 1u);

    InsertCounterTwiceAndCheck(commands, project.doc, project.log, blink, {project.ReadSource("COUNTER")});
    const std::string text = project.ReadSource("BLINK");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // The new declarations follow the one below the mark; the signals stand before it.
    EXPECT_LT(text.find("component COUNTER"), text.find("component CNT8\n"));
    EXPECT_LT(text.find("signal U_CNT8_2_Q"), text.find("-- KESTRA component declarations"));
}

} // namespace
} // namespace kestra
