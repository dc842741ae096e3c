#include "library/library_store.h"
#include "operations/analyze_module.h"
#include "project/analysis_status.h"
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

// Records what it was handed, as the store dialog would see it, and answers as told.
class RecordingStore : public CLibraryStore {
public:
    bool StoreModule(const fs::path& moduleFile, LibraryKind kind,
                     const std::vector<std::string>& companions) override {
        ++calls;
        file = moduleFile;
        text = ReadWholeFile(moduleFile).ValueOr("<missing>");
        storedKind = kind;
        companionNames = companions;
        filesBeside = ListFiles(moduleFile.parent_path());
        return answer;
    }

    bool answer = true;
    int calls = 0;
    fs::path file;
    std::string text;
    LibraryKind storedKind = LibraryKind::Library;
    std::vector<std::string> companionNames;
    std::vector<std::string> filesBeside;
};

struct ExportProject : ProjectFixture {
    ExportProject() : commands(doc) {}

    void AnalyzeAll(CHierarchyItem* item) {
        commands.session.Select(item);
        ASSERT_TRUE(commands.analysis.OnAnalyzeModule()) << log.Text();
        log.ClearLog();
    }
    // The parameter list's value of an entry, without the source rewrite that an edit makes:
    // the export itself must carry it into the file.
    static void SetValue(CHierarchyItem* item, const std::string& name, const std::string& value) {
        CKSTObject& object = *item->Object();
        const int entry = object.FindEntry(name);
        ASSERT_GE(entry, 0) << name;
        object.SetEntryText(entry, EntryField::Value, value);
    }

    ProjectCommands commands;
};

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t start = text.find(from);
    const std::size_t end = text.find(to, start);
    if (start == std::string::npos || end == std::string::npos)
        return "<not found>";
    return text.substr(start, end - start);
}

// TOP -> A -> C, TOP -> B -> P (predefined).
struct HierarchyExport : ExportProject {
    HierarchyExport() {
        const std::string io = "I : in std_logic; O : out std_logic";
        top = AddModule(Root(), "TOP",
                        SimpleModule("TOP", "WIDTH : integer := 8", io,
                                     "\tU_A: A port map (I => I, O => open);\r\n"
                                     "\tU_B: B port map (I => I, O => O);\r\n"));
        a = AddModule(top, "A",
                      SimpleModule("A", "N : integer := 1", io, "\tU_C: C port map (I => I, O => O);\r\n"));
        AddModule(a, "C", SimpleModule("C", "", io, "\tO <= I;\r\n"));
        b = AddModule(top, "B", SimpleModule("B", "", io, "\tU_P: P port map (I => I, O => O);\r\n"));
        AddModule(b, "P", SimpleModule("P", "", io, "\tO <= not I;\r\n"), HierarchyKind::Predefined);
        AnalyzeAll(top);
    }
    CHierarchyItem* top = nullptr;
    CHierarchyItem* a = nullptr;
    CHierarchyItem* b = nullptr;
};

TEST(LibraryExport, SubHierarchyInPreOrderWithOnlyTheTopRewritten) {
    HierarchyExport project;
    ExportProject::SetValue(project.top, "WIDTH", "16");
    ExportProject::SetValue(project.a, "N", "5");
    RecordingStore store;
    project.commands.session.Select(project.top);
    ASSERT_TRUE(project.commands.library.CanCreateLibraryModule());
    ASSERT_TRUE(project.commands.library.OnCreateLibraryModule(store)) << project.log.Text();
    ASSERT_EQ(store.calls, 1);
    EXPECT_EQ(store.storedKind, LibraryKind::Library);
    EXPECT_EQ(store.file.filename(), "TOP.vhd");
    EXPECT_EQ(project.log.Text(), "\r\nLibrary module TOP created successfully.");

    const std::string& text = store.text;
    const std::string opening = "-- TOP: Library module created by KESTRA\r\n--\r\n";
    const std::string closing = "-- TOP: Library module ended here\r\n\r\n";
    ASSERT_EQ(text.substr(0, opening.size()), opening);
    ASSERT_EQ(text.substr(text.size() - closing.size()), closing);
    const std::string body = text.substr(opening.size(), text.size() - opening.size() - closing.size());
    // The children follow the top exactly as stored, in pre-order, and P is left out.
    const std::string children = project.ReadSource("A") + project.ReadSource("C") + project.ReadSource("B");
    ASSERT_GT(body.size(), children.size());
    EXPECT_EQ(body.substr(body.size() - children.size()), children);
    EXPECT_EQ(body.find("entity P is"), std::string::npos);
    EXPECT_NE(children.find("N : integer := 1"), std::string::npos);
    // The top carries the value the user chose.
    const std::string topPart = body.substr(0, body.size() - children.size());
    EXPECT_NE(topPart.find("\tgeneric (\r\n\t\tWIDTH: integer := 16 \r\n\t);"), std::string::npos) << topPart;
    EXPECT_EQ(topPart.find(":= 8"), std::string::npos) << topPart;
    EXPECT_NE(topPart.find("architecture TOP_arch of TOP is"), std::string::npos);

    // The temporary folder of the export is gone afterwards; the project's files are untouched.
    EXPECT_FALSE(fs::exists(store.file.parent_path()));
    EXPECT_NE(project.ReadSource("TOP").find("WIDTH : integer := 8"), std::string::npos);

    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({text});
        EXPECT_TRUE(result.ok) << result.output << "\n" << text;
    }
}

TEST(LibraryExport, RefusedUnlessEverythingBelowIsAnalyzed) {
    HierarchyExport project;
    RecordingStore store;
    // C changes on disk after its analysis.
    project.WriteSource("C", SimpleModule("C", "", "I : in std_logic; O : out std_logic", "\tO <= '0';\r\n"));
    ASSERT_TRUE(SetLastWriteTime(project.SourcePath("C"), 1));
    UpdateAnalysisStatus(project.doc, project.a->Child(0));
    project.commands.session.Select(project.top);
    EXPECT_FALSE(project.commands.library.OnCreateLibraryModule(store));
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Object is not completely analyzed yet.");
    EXPECT_EQ(store.calls, 0);

    // A source that vanished after its analysis stops the export with its name.
    project.AnalyzeAll(project.top);
    fs::remove(project.SourcePath("B"));
    project.commands.session.Select(project.top);
    EXPECT_FALSE(project.commands.library.OnCreateLibraryModule(store));
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Cannot open source file (" + project.SourcePath("B").string() +
                                      "). Failed to create library module.");
    EXPECT_EQ(store.calls, 0);
}

TEST(LibraryExport, EnablingFollowsKindAndChildren) {
    HierarchyExport project;
    RecordingStore store;
    project.commands.session.Select(project.Root());
    EXPECT_FALSE(project.commands.library.CanCreateLibraryModule());
    EXPECT_FALSE(project.commands.library.CanCreatePredefinedModule());
    // A module with children cannot be a predefined module: nothing happens at all.
    project.commands.session.Select(project.top);
    EXPECT_FALSE(project.commands.library.CanCreatePredefinedModule());
    EXPECT_FALSE(project.commands.library.OnCreatePredefinedModule(store));
    // A predefined module is exported again as one, but is no library module.
    CHierarchyItem* p = project.b->Child(0);
    project.commands.session.Select(p);
    EXPECT_FALSE(project.commands.library.CanCreateLibraryModule());
    EXPECT_FALSE(project.commands.library.OnCreateLibraryModule(store));
    EXPECT_EQ(store.calls, 0);
    EXPECT_EQ(project.log.Text(), "");
    ASSERT_TRUE(project.commands.library.CanCreatePredefinedModule());
    EXPECT_TRUE(project.commands.library.OnCreatePredefinedModule(store));
    EXPECT_EQ(store.storedKind, LibraryKind::Predefined);
    EXPECT_EQ(project.log.Text(), "\r\nPredefined module P created successfully.");

    // The store's answer decides the success line.
    store.answer = false;
    project.log.ClearLog();
    EXPECT_FALSE(project.commands.library.OnCreatePredefinedModule(store));
    EXPECT_EQ(project.log.Text(), "");
}

const char* const kStyled = "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
                            "entity FILTER is\r\n"
                            "\tgeneric (TAPS : integer := 4);\r\n"
                            "\tport (D : in std_logic; Q : out std_logic);\r\n"
                            "\ttype ENUM_Style is (FAST, SMALL);\r\n"
                            "\tconstant Style: ENUM_Style := SMALL;\r\n"
                            "end FILTER;\r\n\r\n"
                            "architecture FILTER_arch of FILTER is\r\nbegin\r\n"
                            "\tQ <= D;\r\nend FILTER_arch;\r\n";

TEST(LibraryExport, PredefinedModuleCarriesStyleAndChoicesBackIntoAnalysis) {
    ExportProject project;
    CHierarchyItem* filter = project.AddModule(project.Root(), "FILTER", kStyled);
    project.AnalyzeAll(filter);
    ASSERT_EQ(filter->Object()->FormatEntry(filter->Object()->FindEntry("Style")),
              "STYLE\tStyle\tSMALL\tFAST\tSMALL");
    ExportProject::SetValue(filter, "Style", "FAST");
    ExportProject::SetValue(filter, "TAPS", "6");

    RecordingStore store;
    project.commands.session.Select(filter);
    ASSERT_TRUE(project.commands.library.OnCreatePredefinedModule(store)) << project.log.Text();
    const std::string& text = store.text;
    EXPECT_EQ(text.rfind("-- FILTER: Predefined module created by KESTRA\r\n--\r\n", 0), 0u);
    EXPECT_TRUE(text.ends_with("end FILTER_arch;\r\n-- FILTER: Predefined module ended here\r\n\r\n"))
        << text;
    EXPECT_EQ(Between(text, "\ttype ENUM_Style", "end FILTER;"),
              "\ttype ENUM_Style is (FAST, SMALL);\r\n\tconstant Style: ENUM_Style := FAST;\r\n");
    EXPECT_EQ(text.find("SMALL;"), std::string::npos) << text;

    // Analysing the exported module gives back the user's values and choices.
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Predefined, "FILTER", "FILTER.vhd");
    CVHDLSignal signals;
    AnalysisContext context;
    context.moduleName = "FILTER";
    AnalyzeModuleText(nullptr, nullptr, HierarchyKind::Predefined, text, {}, object, &signals, context);
    ASSERT_EQ(context.errorCode, AnalysisErrorCode::NoError);
    EXPECT_EQ(object.FormatEntry(object.FindEntry("Style")), "STYLE\tStyle\tFAST\tFAST\tSMALL");
    EXPECT_EQ(object.GetEntryValue(object.FindEntry("TAPS")), "6");
    EXPECT_EQ(signals.GetSignalCount(), 2);

    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({text});
        EXPECT_TRUE(result.ok) << result.output << "\n" << text;
    }
}

TEST(LibraryExport, PredefinedModuleMustBeAnalyzed) {
    ExportProject project;
    CHierarchyItem* filter = project.AddModule(project.Root(), "FILTER", kStyled);
    RecordingStore store;
    project.commands.session.Select(filter);
    EXPECT_FALSE(project.commands.library.OnCreatePredefinedModule(store));
    EXPECT_EQ(project.log.Text(), "\r\nERROR: Object is not analyzed yet.");
    EXPECT_EQ(store.calls, 0);
}

// A module with three Link parameters: a file that is there, one that is missing and one
// that names a file outside the module folder.
struct LinkedExport : ExportProject {
    LinkedExport() {
        std::string source = SimpleModule("M", "", "I : in std_logic");
        source.replace(source.find("entity M is"), 11,
                       "entity M is\r\n\tgeneric (T : file := \"table.txt\"; G : file := \"gone.txt\"; "
                       "E : file := \"../outside.txt\");");
        m = AddModule(Root(), "M", source);
        EXPECT_TRUE(ReplaceFileSafely(doc.GetModuleFolderPath() / "table.txt", "table"));
        EXPECT_TRUE(ReplaceFileSafely(doc.GetProjectFolder() / "outside.txt", "outside"));
        AnalyzeAll(m);
    }
    CHierarchyItem* m = nullptr;
};

TEST(LibraryExport, LinkedFilesGoAlongWhenPresentAndNeverFromOutside) {
    LinkedExport project;
    ASSERT_EQ(project.m->Object()->FormatEntry(3), "LINK\tE\t../outside.txt");
    const fs::path temp = fs::temp_directory_path();
    const bool outsideWasThere = fs::exists(temp / "outside.txt");

    RecordingStore store;
    project.commands.session.Select(project.m);
    ASSERT_TRUE(project.commands.library.OnCreateLibraryModule(store)) << project.log.Text();
    EXPECT_EQ(store.filesBeside, (std::vector<std::string>{"M.vhd", "table.txt"}));
    EXPECT_EQ(store.companionNames, (std::vector<std::string>{"table.txt", "gone.txt"}));
    if (!outsideWasThere) {
        EXPECT_FALSE(fs::exists(temp / "outside.txt"));
    }

    // Stored into a library folder, the module takes its companion along and nothing else.
    const fs::path library = project.folder / "Library";
    fs::create_directories(library / "sub");
    CFolderLibraryStore folderStore(library / "sub", project.prompts);
    ASSERT_TRUE(project.commands.library.OnCreateLibraryModule(folderStore));
    EXPECT_EQ(ListFiles(library / "sub"), (std::vector<std::string>{"M.vhd", "table.txt"}));
    EXPECT_EQ(ListFiles(library), std::vector<std::string>{});
    EXPECT_EQ(ReadWholeFile(project.doc.GetProjectFolder() / "outside.txt"), "outside");
    EXPECT_EQ(ReadWholeFile(project.doc.GetModuleFolderPath() / "table.txt"), "table");
}

// Lets the folder store run and looks at both files before the export cleans up.
class CheckingStore : public CLibraryStore {
public:
    explicit CheckingStore(CFolderLibraryStore& inner) : m_inner(inner) {}
    bool StoreModule(const fs::path& moduleFile, LibraryKind kind,
                     const std::vector<std::string>& companions) override {
        const bool stored = m_inner.StoreModule(moduleFile, kind, companions);
        exportedLeft.reset();
        if (Result<std::string> left = ReadWholeFile(moduleFile))
            exportedLeft = std::move(*left);
        return stored;
    }
    std::optional<std::string> exportedLeft;

private:
    CFolderLibraryStore& m_inner;
};

TEST(LibraryExport, OverwriteAnsweredNoLeavesBothFiles) {
    LinkedExport project;
    const fs::path library = project.folder / "Library";
    fs::create_directories(library);
    ASSERT_TRUE(ReplaceFileSafely(library / "M.vhd", "older M"));
    CFolderLibraryStore folderStore(library, project.prompts);
    CheckingStore store(folderStore);

    project.prompts.QueueAnswer(PromptAnswer::No);
    project.commands.session.Select(project.m);
    EXPECT_FALSE(project.commands.library.OnCreateLibraryModule(store));
    EXPECT_EQ(ReadWholeFile(library / "M.vhd"), "older M");
    ASSERT_TRUE(store.exportedLeft.has_value());
    EXPECT_EQ(store.exportedLeft->rfind("-- M: Library module created by KESTRA", 0), 0u);
    ASSERT_EQ(project.prompts.Messages().size(), 1u);
    EXPECT_EQ(project.prompts.Messages()[0].title, "Overwrite");
    EXPECT_EQ(project.prompts.Messages()[0].text, "M.vhd already exists.\nDo you want to replace it?");
    EXPECT_EQ(project.log.Text(), "");

    project.prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(project.commands.library.OnCreateLibraryModule(store));
    EXPECT_FALSE(store.exportedLeft.has_value());
    EXPECT_EQ(ReadWholeFile(library / "M.vhd").ValueOr("").rfind("-- M: Library module created by KESTRA", 0),
              0u);
    EXPECT_EQ(project.log.Text(), "\r\nLibrary module M created successfully.");
}

} // namespace
} // namespace kestra
