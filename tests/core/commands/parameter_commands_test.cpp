#include "operations/analyze_module.h"
#include "project/analysis_status.h"
#include "project/project_observer.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

using test::ProjectFixture;

class ReloadCounter : public CProjectObserver {
public:
    void ReloadPanes(CHierarchyItem* /*item*/, int panes) override {
        if ((panes & kParameterList) != 0)
            ++listReloads;
    }
    int listReloads = 0;
};

// M has a Numeric, a DataType and two architectures, so its object ends in an architecture
// entry: VHDL M, NUM N 4, TYP T bit, ARCH M FAST.
const std::string kModule = "entity M is\r\n"
                            "\tgeneric (N : integer := 4; T : type := bit);\r\n"
                            "\tport (A : in bit; Q : out bit);\r\n"
                            "end M;\r\n\r\n"
                            "architecture FAST of M is\r\nbegin\r\n\tQ <= A;\r\nend FAST;\r\n\r\n"
                            "architecture SMALL of M is\r\nbegin\r\n\tQ <= A;\r\nend SMALL;\r\n";

struct ParameterProject : ProjectFixture {
    ParameterProject() : commands(doc, &observer), parameters(commands.session) {
        top = AddModule(Root(), "TOP", "entity TOP is end TOP;\r\narchitecture a of TOP is begin end a;\r\n");
        m = AddModule(top, "M", kModule);
        EXPECT_EQ(AnalyzeModule(doc, m, commands.session.Context()), 0) << log.Text();
        EXPECT_EQ(AnalyzeModule(doc, top, commands.session.Context()), 0) << log.Text();
        commands.session.Select(m);
        log.ClearLog();
    }
    CKSTObject& Object() { return *m->Object(); }
    std::string Entries() {
        std::string text;
        for (int i = 1; i < Object().GetEntryCount(); ++i)
            text += (i == 1 ? "" : "|") + Object().FormatEntry(i);
        return text;
    }
    // Analyses the rewritten source again: what the user set must come back from the file.
    void Reanalyze() { ASSERT_EQ(AnalyzeModule(doc, m, commands.session.Context()), 0) << log.Text(); }

    ReloadCounter observer;
    ProjectCommands commands;
    CParameterCommands parameters;
    CHierarchyItem* top = nullptr;
    CHierarchyItem* m = nullptr;
};

TEST(ParameterCommands, InvokeActionsAndPermissionsByKind) {
    CKSTObject object;
    object.SetEntryCount(14);
    for (int kind = 0; kind < 14; ++kind)
        object.SetEntry(kind, static_cast<EntryKind>(kind), "E", "v");
    // One letter per kind 0..13 (None, Text, Choice, Hdl, Folder, Link), then for kind 2 with
    // choices and for a module row without a file name.
    auto actions = [&](int column, bool force) {
        std::string letters;
        for (int row = 0; row < 14; ++row)
            letters += "NTCHFL"[static_cast<int>(InvokeAction(object, row, column, force))];
        return letters;
    };
    EXPECT_EQ(actions(1, false), "HTTCTHHFLCHTCT");
    EXPECT_EQ(actions(0, false), "HTTCTHHFTTHTTT");
    EXPECT_EQ(actions(1, true), actions(0, false));
    const std::vector<std::string> choices{"a", "b"};
    object.SetChoiceList(2, &choices);
    object.SetEntryText(0, EntryField::Value, "");
    EXPECT_EQ(actions(1, false), "NTCCTHHFLCHTCT");
    EXPECT_EQ(actions(1, true), "NTTCTHHFTTHTTT");
    EXPECT_EQ(InvokeAction(object, 14, 1, false), ParameterAction::None);
    EXPECT_EQ(InvokeAction(object, 1, 2, false), ParameterAction::None);

    std::string copyable;
    std::string removable;
    for (int kind = 0; kind < 14; ++kind) {
        copyable += CanCopyParameterKind(static_cast<EntryKind>(kind)) ? '1' : '0';
        removable += CanRemoveParameter(1, static_cast<EntryKind>(kind)) ? '1' : '0';
    }
    EXPECT_EQ(copyable, "01100000110110");
    EXPECT_EQ(removable, "01100000110111");
    EXPECT_FALSE(CanRemoveParameter(0, EntryKind::Numeric));
}

TEST(ParameterCommands, AddPlacesDefaultsAfterTheFocusedRowAndRewritesTheSource) {
    ParameterProject project;
    CParameterCommands& parameters = project.parameters;
    EXPECT_EQ(parameters.OnAdd(EntryKind::Logic, 1), 2);
    EXPECT_EQ(parameters.OnAdd(EntryKind::Style, -1), 5);
    EXPECT_EQ(parameters.OnAdd(EntryKind::Numeric, 99), 6);
    EXPECT_EQ(parameters.OnAdd(EntryKind::Note, 0), 1);
    EXPECT_EQ(parameters.OnAdd(EntryKind::Architecture, 1), -1);
    EXPECT_EQ(project.Entries(),
              "NOTE\tNote\t<Your note>|NUM\tN\t4|LOGIC\tLogic\t'0'\t'0'\t'1'|TYP\tT\tbit|"
              "ARCH\tM\tFAST\tFAST\tSMALL|STYLE\tStyle\tStyle1\tStyle1\tStyle2|NUM\tNumeric\t8");
    EXPECT_EQ(project.observer.listReloads, 4);
    EXPECT_TRUE(project.doc.IsModified());
    EXPECT_EQ(project.top->Status(), AnalysisStatus::NeedsAnalysis);
    const std::string source = project.ReadSource("M");
    EXPECT_NE(
        source.find("\t\tNote: note := \"<Your note>\";\r\n\t\tN: integer := 4;\r\n"
                    "\t\tLogic: STD_LOGIC := '0';\r\n\t\tT: type := bit;\r\n\t\tNumeric: integer := 8 \r\n"),
        std::string::npos)
        << source;
    EXPECT_NE(
        source.find("\ttype ENUM_Style is (Style1, Style2);\r\n\tconstant Style: ENUM_Style := Style1;"),
        std::string::npos);
    project.Reanalyze();
    EXPECT_EQ(project.Object().FindEntry("Numeric"), 5);
    EXPECT_EQ(project.Object().FormatEntry(project.Object().FindEntry("Style")),
              "STYLE\tStyle\tStyle1\tStyle1\tStyle2");

    // With no row focused a parameter goes to the end; an object without its own entry takes none.
    project.commands.session.Select(project.Root());
    const int count = project.Root()->Object()->GetEntryCount();
    EXPECT_EQ(parameters.OnAdd(EntryKind::Link, -1), count);
    project.Root()->Object()->SetEntryCount(0);
    EXPECT_EQ(parameters.OnAdd(EntryKind::Link, -1), -1);
}

TEST(ParameterCommands, RemoveAndMoveKeepTheFixedRows) {
    ParameterProject project;
    CParameterCommands& parameters = project.parameters;
    EXPECT_EQ(parameters.OnRemove(1), -1); // nothing queued: the default answer is No
    ASSERT_EQ(project.prompts.Messages().size(), 1u);
    EXPECT_EQ(project.prompts.Messages()[0].title, "ENQUIRY");
    EXPECT_EQ(project.prompts.Messages()[0].text, "Confirm remove N ?");
    // The module row and the architecture are never removed, moved or copied.
    EXPECT_EQ(parameters.OnRemove(0), -1);
    EXPECT_EQ(parameters.OnRemove(3), -1);
    EXPECT_EQ(project.prompts.Messages().size(), 1u);
    EXPECT_EQ(parameters.CopyText(3), "");
    const std::pair<int, MoveCommand> refused[] = {{2, MoveCommand::Down}, {2, MoveCommand::Bottom},
                                                   {1, MoveCommand::Up},   {1, MoveCommand::Top},
                                                   {3, MoveCommand::Up},   {0, MoveCommand::Down}};
    for (const auto& [row, command] : refused)
        EXPECT_EQ(parameters.OnMove(row, command), -1) << row;
    EXPECT_EQ(project.observer.listReloads, 0);

    // The moving entry takes its choices along; the others shift by one place.
    const std::vector<std::string> levels{"LOW", "HIGH"};
    project.Object().SetChoiceList(1, &levels);
    EXPECT_EQ(parameters.OnMove(1, MoveCommand::Bottom), 2);
    EXPECT_EQ(project.Entries(), "TYP\tT\tbit|NUM\tN\t4\tLOW\tHIGH|ARCH\tM\tFAST\tFAST\tSMALL");
    EXPECT_NE(project.ReadSource("M").find("\t\tT: type := bit;\r\n\t\tN: integer := 4 \r\n"),
              std::string::npos);
    parameters.OnAdd(EntryKind::Note, 3);
    EXPECT_EQ(parameters.OnMove(4, MoveCommand::Top), 1);
    EXPECT_EQ(parameters.OnMove(2, MoveCommand::Up), 1);
    EXPECT_EQ(project.Entries(),
              "TYP\tT\tbit|NOTE\tNote\t<Your note>|NUM\tN\t4\tLOW\tHIGH|ARCH\tM\tFAST\tFAST\tSMALL");
    const std::string moved = project.Entries();
    project.Reanalyze();
    EXPECT_EQ(project.Entries(), moved);

    project.prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(parameters.OnRemove(3), 3);
    EXPECT_EQ(project.ReadSource("M").find("N: integer"), std::string::npos);
    parameters.OnAdd(EntryKind::Note, -1);
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(parameters.OnRemove(4), 3); // the last row went: the new last row follows
}

TEST(ParameterCommands, CopyCutPasteAndListText) {
    ParameterProject project;
    CParameterCommands& parameters = project.parameters;
    EXPECT_EQ(parameters.ListText(), "KESTRA Parameter List\nVHDL\tM\tM.vhd\r\nNUM\tN\t4\r\n"
                                     "TYP\tT\tbit\r\nARCH\tM\tFAST\tFAST\tSMALL\r\n");
    EXPECT_EQ(parameters.CopyText(0), "");
    // Only Logic and Style parameters carry their choices through the clipboard.
    const std::vector<std::string> choices{"4", "8"};
    project.Object().SetChoiceList(1, &choices);
    const std::string numeric = parameters.CopyText(1);
    EXPECT_EQ(numeric, "NUM\tN\t4\t4\t8");
    EXPECT_FALSE(CParameterCommands::CanPaste(numeric));
    EXPECT_EQ(parameters.OnPaste(numeric, 1), -1);

    const std::string logic = "LOGIC\tRST\t'1'\t'0'\t'1'";
    EXPECT_EQ(parameters.OnPaste(logic, 1), 2);
    EXPECT_EQ(project.Object().FormatEntry(2), logic);
    EXPECT_NE(project.ReadSource("M").find("\t\tRST: STD_LOGIC := '1';\r\n"), std::string::npos);
    project.Reanalyze();
    EXPECT_EQ(project.Object().GetEntryValue(2), "'1'");

    // Cut hands out the text only when the row went.
    EXPECT_EQ(parameters.OnCut(2), "");
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(parameters.OnCut(2).substr(0, 10), "LOGIC\tRST\t");
    EXPECT_EQ(project.Object().FindEntry("RST"), -1);
}

// U uses the constants of the project's package SIZES; its generics are BASE and WIDTH.
struct NumericProject : ProjectFixture {
    NumericProject() : commands(doc) {
        CHierarchyItem* top =
            AddModule(Root(), "TOP", "entity TOP is end TOP;\r\narchitecture a of TOP is begin end a;\r\n");
        AddModule(top, "SIZES", "package SIZES is\r\n\tconstant WIDTH_MAX : integer := 32;\r\nend SIZES;\r\n",
                  HierarchyKind::Package);
        u = AddModule(top, "U",
                      "use work.SIZES.all;\r\n\r\nentity U is\r\n\tgeneric (BASE : integer := 2; WIDTH : "
                      "integer := 8);\r\n"
                      "\tport (A : in bit);\r\nend U;\r\n\r\narchitecture a of U is\r\nbegin\r\nend a;\r\n");
        EXPECT_EQ(AnalyzeModule(doc, u, commands.session.Context()), 0) << log.Text();
        commands.session.Select(u);
        log.ClearLog();
    }
    bool Set(const std::string& name, const std::string& value) {
        return commands.parameters.EndParameterEdit(u, u->Object()->FindEntry(name), 1, value);
    }
    ProjectCommands commands;
    CHierarchyItem* u = nullptr;
};

// A Numeric value is an integer expression of numbers and the names its generic can see: the
// generics before it and the constants of the packages the module uses. Typed or pasted,
// anything else is refused with the reason and never reaches the source.
TEST(ParameterCommands, NumericValuesAreExpressionsOfWhatTheGenericSees) {
    NumericProject project;
    const std::string before = project.ReadSource("U");
    EXPECT_FALSE(project.Set("WIDTH", "abc"));
    const std::string unknown = "Invalid parameter value: \"abc\" is no name this value can use: a generic "
                                "declared before this one, or a constant of a package the module uses.";
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: " + unknown);
    EXPECT_EQ(project.commands.session.LastRefusal(), unknown);
    EXPECT_FALSE(project.Set("BASE", "WIDTH")); // declared after BASE
    EXPECT_EQ(project.ReadSource("U"), before);

    for (const char* value : {"2**8", "WIDTH_MAX - 1", "16#FF#", "(8)", "BASE * sizes.width_max"}) {
        EXPECT_TRUE(project.Set("WIDTH", value)) << value << project.log.Text();
        EXPECT_NE(project.ReadSource("U").find(std::string("WIDTH: integer := ") + value), std::string::npos)
            << project.ReadSource("U");
    }

    const int count = project.u->Object()->GetEntryCount();
    project.log.ClearLog();
    EXPECT_EQ(project.commands.parameters.OnPaste("NUM\tDEPTH\t4; end U", -1), -1);
    EXPECT_EQ(project.log.Text(),
              "\r\nWARNING: Invalid parameter value: a value cannot hold ';', '--' or '\"'.");
    EXPECT_EQ(project.commands.parameters.OnPaste("NUM\tDEPTH\tabc", -1), -1);
    EXPECT_EQ(project.commands.parameters.OnPaste("NUM\tsignal\t4", -1), -1);
    EXPECT_EQ(project.commands.parameters.OnPaste("STYLE\tS\tA\tA\tB;", -1), -1);
    EXPECT_EQ(project.u->Object()->GetEntryCount(), count);
    EXPECT_EQ(project.commands.parameters.OnPaste("NUM\tDEPTH\tWIDTH * 2", -1), count);
}

TEST(ParameterCommands, ProjectRowsFollowTheDocument) {
    ParameterProject project;
    project.commands.session.Select(project.Root());
    CKSTObject& root = *project.Root()->Object();
    const std::string before = root.GetEntryValue(1);
    EXPECT_FALSE(project.parameters.OnChooseDestinationFolder(0)); // the library row
    for (const std::filesystem::path& folder :
         {project.folder.Path() / "", project.doc.GetModuleFolderPath()}) {
        project.prompts.QueueChoice(folder.string());
        EXPECT_FALSE(project.parameters.OnChooseDestinationFolder(1));
        EXPECT_EQ(project.log.Text(),
                  "\r\nWARNING: Setting destination folder to source folder is prohibited.");
        project.log.ClearLog();
    }
    EXPECT_FALSE(project.parameters.OnChooseDestinationFolder(1)); // cancelled
    EXPECT_EQ(root.GetEntryValue(1), before);
    ASSERT_EQ(project.prompts.FileRequests().size(), 3u);
    EXPECT_EQ(project.prompts.FileRequests()[0].title, "Select Destination Folder");
    EXPECT_EQ(project.prompts.FileRequests()[0].initialPath, project.folder.Path().string());
    EXPECT_EQ(project.prompts.FolderRequests()[0].prompt, "Choose folder to save generated VHDL files:");

    const std::string out = (project.folder / "out").string();
    project.prompts.QueueChoice(out);
    EXPECT_TRUE(project.parameters.OnChooseDestinationFolder(1));
    EXPECT_EQ(root.GetEntryValue(1), out);
    EXPECT_EQ(project.doc.GetDestinationFolder(), out);
    EXPECT_EQ(project.observer.listReloads, 1);

    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(project.Root(), 0, 1, "CHIPLIB"));
    EXPECT_EQ(project.doc.GetLibraryName(), "CHIPLIB");
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(project.Root(), 0, 0, "Library"));
    EXPECT_EQ(project.doc.GetLibraryName(), "CHIPLIB");
}

TEST(ParameterCommands, LinkFileIsCopiedBesideTheModules) {
    ParameterProject project;
    const std::filesystem::path moduleFolder = project.doc.GetModuleFolderPath();
    const std::filesystem::path elsewhere = project.folder / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    test::WriteBytes(elsewhere / "table.txt", "0 1 2");
    const int link = project.parameters.OnAdd(EntryKind::Link, 2);
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(1));    // not a link row
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(link)); // cancelled
    EXPECT_EQ(project.Object().GetEntryValue(link), "<Filename>");
    ASSERT_EQ(project.prompts.FileRequests().size(), 1u);
    const FileChoice& request = project.prompts.FileRequests()[0];
    EXPECT_EQ(request.title + "|" + request.filters.at(0).label + "|" + request.filters.at(0).pattern,
              "Select Link File|All Files|*");
    EXPECT_EQ(request.initialPath, moduleFolder.string());

    project.prompts.QueueChoice((elsewhere / "table.txt").string());
    EXPECT_TRUE(project.parameters.OnChooseLinkFile(link));
    EXPECT_EQ(project.Object().GetEntryValue(link), "table.txt");
    EXPECT_EQ(test::ReadBytes(moduleFolder / "table.txt"), "0 1 2");
    EXPECT_NE(project.ReadSource("M").find("Link: file := \"table.txt\""), std::string::npos);

    // A file that already is in the module folder keeps its contents.
    test::WriteBytes(moduleFolder / "own.txt", "keep me");
    project.prompts.QueueChoice((moduleFolder / "own.txt").string());
    EXPECT_TRUE(project.parameters.OnChooseLinkFile(link));
    project.prompts.QueueChoice((moduleFolder / "." / "own.txt").string());
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(link)); // the same value
    EXPECT_EQ(test::ReadBytes(moduleFolder / "own.txt"), "keep me");

    // A failed copy and a name that cannot stand in a VHDL string change nothing.
    const std::string missing = (project.folder / "missing.txt").string();
    project.prompts.QueueChoice(missing);
    project.log.ClearLog();
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(link));
    EXPECT_EQ(project.log.Text().rfind("\r\nERROR: Cannot copy " + missing + " (", 0), 0u)
        << project.log.Text();
    EXPECT_TRUE(project.log.Text().ends_with(")."));
    test::WriteBytes(elsewhere / "a\"b.txt", "x");
    project.prompts.QueueChoice((elsewhere / "a\"b.txt").string());
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(link));
    EXPECT_FALSE(std::filesystem::exists(moduleFolder / "a\"b.txt"));
    EXPECT_EQ(project.Object().GetEntryValue(link), "own.txt");

    // A file below the module folder is named from there and copied nowhere.
    std::filesystem::create_directory(moduleFolder / "docs");
    test::WriteBytes(moduleFolder / "docs" / "sheet.txt", "sheet");
    project.prompts.QueueChoice((moduleFolder / "docs" / "sheet.txt").string());
    EXPECT_TRUE(project.parameters.OnChooseLinkFile(link));
    EXPECT_EQ(project.Object().GetEntryValue(link), "docs/sheet.txt");
    EXPECT_FALSE(std::filesystem::exists(moduleFolder / "sheet.txt"));
    // The chooser opens at the linked file.
    EXPECT_FALSE(project.parameters.OnChooseLinkFile(link));
    EXPECT_EQ(project.prompts.FileRequests().back().initialPath,
              (moduleFolder / "docs" / "sheet.txt").string());
}

TEST(ParameterCommands, TheProjectsLinkNamesAFileInItsFolderFromThereAndOthersInFull) {
    ParameterProject project;
    project.commands.session.Select(project.Root());
    const int synthesis = project.Root()->Object()->FindEntry("Synthesis");
    const std::filesystem::path inside = project.folder / "syn";
    std::filesystem::create_directory(inside);
    test::WriteBytes(inside / "design.prj", "x");
    project.prompts.QueueChoice((inside / "design.prj").string());
    EXPECT_TRUE(project.parameters.OnChooseLinkFile(synthesis));
    EXPECT_EQ(project.prompts.FileRequests().back().initialPath, project.doc.GetProjectFolder().string());
    EXPECT_EQ(project.Root()->Object()->GetEntryValue(synthesis), "syn/design.prj");

    test::TempFolder elsewhere;
    test::WriteBytes(elsewhere / "other.prj", "y");
    project.prompts.QueueChoice((elsewhere / "other.prj").string());
    EXPECT_TRUE(project.parameters.OnChooseLinkFile(synthesis));
    EXPECT_EQ(project.prompts.FileRequests().back().initialPath, (inside / "design.prj").string());
    EXPECT_EQ(project.Root()->Object()->GetEntryValue(synthesis), (elsewhere / "other.prj").string());
    // Nothing is copied for the project item.
    EXPECT_FALSE(std::filesystem::exists(project.folder / "other.prj"));
}

} // namespace
} // namespace kestra
