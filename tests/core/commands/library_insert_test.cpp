#include "library/library_chooser.h"
#include "library/library_store.h"
#include "project/analysis_status.h"
#include "project/project_observer.h"
#include "support/ghdl.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

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

} // namespace
} // namespace kestra
