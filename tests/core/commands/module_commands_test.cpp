#include "model/vhdl_signal.h"
#include "operations/analyze_module.h"
#include "project/analysis_status.h"
#include "project/project_observer.h"
#include "session/tree_clipboard.h"
#include "support/project_commands.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectCommands;

using test::ProjectFixture;
using test::SimpleModule;

class EditingObserver : public CProjectObserver {
public:
    void StartNameEditing(CHierarchyItem* item) override { editing = item; }
    CHierarchyItem* editing = nullptr;
};

struct Commands : ProjectFixture {
    explicit Commands(COpenProjects* shared = nullptr) : commands(doc, &observer, shared) {
        commands.session.Select(Root());
    }

    // Adds a module under the parent and names it, as the user does.
    CHierarchyItem* Add(CHierarchyItem* parent, const std::string& name) {
        commands.session.Select(parent);
        CHierarchyItem* item = commands.modules.OnAddModule();
        if (item != nullptr) {
            EXPECT_TRUE(commands.modules.EndNameEdit(item, name)) << log.Text();
        }
        return item;
    }
    std::string Children(const CHierarchyItem* parent) {
        std::string names;
        for (int i = 0; i < parent->ChildCount(); ++i)
            names += (i == 0 ? "" : ",") + parent->Child(i)->Text();
        return names;
    }

    COpenProjects& Projects() { return commands.session.Projects(); }

    EditingObserver observer;
    ProjectCommands commands;
};

TEST(ModuleCommands, AddAndNameModules) {
    Commands project;
    CHierarchyItem* item = project.commands.modules.OnAddModule();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Text(), "<New Object>");
    EXPECT_EQ(item->Status(), AnalysisStatus::New);
    EXPECT_EQ(project.observer.editing, item);
    EXPECT_FALSE(project.commands.modules.EndNameEdit(item, "two words"));
    EXPECT_EQ(item->Text(), "<New Object>");
    ASSERT_TRUE(project.commands.modules.EndNameEdit(item, "ADDER"));
    EXPECT_EQ(project.log.Text(), "\r\nNew module added.\r\nWARNING: Invalid module name: a VHDL identifier "
                                  "begins with a letter and holds letters, digits and single underscores."
                                  "\r\nSet module name as ADDER.\r\nADDER analyzed. No error encountered.");
    EXPECT_EQ(project.ReadSource("ADDER").substr(0, 10), "-- ADDER\r\n");
    EXPECT_EQ(item->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(item->Object()->FormatEntry(0), "VHDL\tADDER\tADDER.vhd");

    CHierarchyItem* child = project.Add(item, "SUB");
    EXPECT_EQ(child->Parent(), item);

    // Nothing is added under a library module.
    project.commands.session.Select(child);
    ASSERT_TRUE(project.commands.modules.OnSetKind(HierarchyKind::Library));
    project.commands.session.Select(child);
    EXPECT_EQ(project.commands.modules.OnAddModule(), nullptr);
}

TEST(ModuleCommands, NamingAfterAnExistingFileImportsIt) {
    Commands project;
    project.WriteSource("ALU", SimpleModule("ALU", "W : integer := 4", "A : in bit"));
    CHierarchyItem* item = project.Add(project.Root(), "ALU");
    EXPECT_NE(project.log.Text().find("\r\nImport existing VHDL file."), std::string::npos);
    EXPECT_EQ(item->Object()->FormatEntry(1), "NUM\tW\t4");
}

TEST(ModuleCommands, RenameFollowsFilesAndRefusesTakenNames) {
    Commands project;
    CHierarchyItem* top = project.Add(project.Root(), "TOP");
    CHierarchyItem* adder = project.Add(top, "ADDER");
    project.Add(top, "OTHER");
    project.commands.session.Select(top);
    ASSERT_TRUE(project.commands.analysis.OnAnalyzeModule());
    EXPECT_NE(project.ReadSource("TOP").find("U_ADDER: ADDER"), std::string::npos);
    top->BlockData()->Resize(1);
    top->BlockData()->SetBlock(0, "ADDER", 7, {0, 0, 60, 40}, 0);

    for (const char* taken : {"OTHER", "other", "Top"}) {
        project.log.ClearLog();
        project.prompts.ClearRecord();
        EXPECT_FALSE(project.commands.modules.EndNameEdit(adder, taken));
        EXPECT_EQ(adder->Text(), "ADDER");
        EXPECT_EQ(project.log.Text(), "\r\nWARNING: New module name in use, specify other name.");
        ASSERT_EQ(project.prompts.Messages().size(), 1u);
        EXPECT_EQ(project.prompts.Messages()[0].title, "WARNING");
    }

    project.log.ClearLog();
    ASSERT_TRUE(project.commands.modules.EndNameEdit(adder, "SUM"));
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("ADDER")));
    const std::string sum = project.ReadSource("SUM");
    EXPECT_NE(sum.find("entity SUM is"), std::string::npos);
    EXPECT_NE(sum.find("architecture SUM_arch of SUM"), std::string::npos);
    const std::string parent = project.ReadSource("TOP");
    EXPECT_NE(parent.find("U_SUM: SUM"), std::string::npos);
    EXPECT_EQ(parent.find("ADDER"), std::string::npos);
    EXPECT_EQ(adder->Object()->FormatEntry(0), "VHDL\tSUM\tSUM.vhd");
    EXPECT_EQ(top->BlockData()->FindBlockByName("SUM"), 0);
    EXPECT_EQ(top->Status(), AnalysisStatus::NeedsAnalysis);

    // Predefined modules keep their name.
    project.commands.session.Select(adder);
    ASSERT_TRUE(project.commands.modules.OnSetKind(HierarchyKind::Predefined));
    EXPECT_FALSE(project.commands.modules.EndNameEdit(adder, "NEWNAME"));
}

TEST(ModuleCommands, RootRename) {
    Commands project;
    std::filesystem::create_directory(project.folder / "Taken");
    EXPECT_FALSE(project.commands.modules.EndNameEdit(project.Root(), "Taken"));
    EXPECT_EQ(project.Root()->Text(), "ProjectA");
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: New project name in use, specify other name.");
    EXPECT_EQ(project.observer.editing, project.Root());
    project.Add(project.Root(), "M");
    ASSERT_TRUE(project.commands.modules.EndNameEdit(project.Root(), "Chip"));
    EXPECT_EQ(project.doc.Tree().GetModuleFolder(), "Chip/");
    EXPECT_TRUE(std::filesystem::exists(project.folder / "Chip" / "M.vhd"));
    EXPECT_NE(project.log.Text().find("\r\nRename project to Chip"), std::string::npos);
}

TEST(ModuleCommands, RemoveSetsFilesAsideAndSharesPredefinedFiles) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    project.Add(a, "B");
    ASSERT_TRUE(ReplaceFileSafely(project.doc.GetModuleFolderPath() / "A.bak", "old backup"));
    const std::string aText = project.ReadSource("A");

    project.commands.session.Select(a);
    project.prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(project.commands.modules.OnRemove());
    ASSERT_EQ(project.prompts.Messages().back().text, "Confirm remove A and all its child objects?");
    EXPECT_EQ(project.prompts.Messages().back().title, "ENQUIRY");

    project.log.ClearLog();
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.modules.OnRemove());
    EXPECT_EQ(project.Root()->ChildCount(), 0);
    EXPECT_EQ(project.log.Text(), "\r\nA deleted.\r\nB deleted.");
    EXPECT_EQ(ReadWholeFile(project.doc.GetModuleFolderPath() / "A.bak"), aText);
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("A")));
    EXPECT_TRUE(std::filesystem::exists(project.doc.GetModuleFolderPath() / "B.bak"));

    // Two items of one predefined module share its file.
    project.WriteSource("P", SimpleModule("P", "", "x : in bit"));
    CHierarchyItem* first = project.AddModule(project.Root(), "P", "", HierarchyKind::Predefined);
    project.AddModule(project.Root(), "P", "", HierarchyKind::Predefined);
    project.commands.session.Select(first);
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.modules.OnRemove());
    EXPECT_TRUE(std::filesystem::exists(project.SourcePath("P")));
    project.commands.session.Select(project.Root()->Child(0));
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.modules.OnRemove());
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("P")));

    project.commands.session.Select(project.Root());
    EXPECT_FALSE(project.commands.modules.OnRemove());
}

TEST(ModuleCommands, RemoveSaysWhenTheFileCannotBeSetAside) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    const std::string aText = project.ReadSource("A");
    // A folder where the backup should go: the rename cannot replace it.
    const std::filesystem::path backup = project.doc.GetModuleFolderPath() / "A.bak";
    std::filesystem::create_directory(backup);
    ASSERT_TRUE(ReplaceFileSafely(backup / "inside", "kept"));
    project.log.ClearLog();
    project.commands.session.Select(a);
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.modules.OnRemove());
    EXPECT_EQ(project.Root()->ChildCount(), 0);
    EXPECT_EQ(project.ReadSource("A"), aText);
    EXPECT_EQ(ReadWholeFile(backup / "inside"), "kept");
    EXPECT_NE(
        project.log.Text().find("\r\nWARNING: Cannot rename A.vhd to A.bak, the file stays in the module "
                                "folder. Is a directory."),
        std::string::npos)
        << project.log.Text();
}

TEST(ModuleCommands, MoveAmongSiblings) {
    Commands project;
    for (const char* name : {"A", "B", "C", "D"})
        project.Add(project.Root(), name);
    CHierarchyItem* root = project.Root();
    project.commands.session.Select(root->Child(0));
    project.commands.modules.OnMove(MoveCommand::Up);
    EXPECT_EQ(project.Children(root), "A,B,C,D");
    project.commands.modules.OnMove(MoveCommand::Down);
    EXPECT_EQ(project.Children(root), "B,A,C,D");
    project.commands.modules.OnMove(MoveCommand::Bottom);
    EXPECT_EQ(project.Children(root), "B,C,D,A");
    project.commands.modules.OnMove(MoveCommand::Down);
    EXPECT_EQ(project.Children(root), "B,C,D,A");
    project.commands.session.Select(root->Child(2));
    project.commands.modules.OnMove(MoveCommand::Top);
    EXPECT_EQ(project.Children(root), "D,B,C,A");
}

TEST(ModuleCommands, SetKindRules) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    project.Add(a, "B");
    project.commands.session.Select(a);
    EXPECT_FALSE(project.commands.modules.OnSetKind(HierarchyKind::Package)); // it has children
    CHierarchyItem* b = a->Child(0);
    project.commands.session.Select(b);
    EXPECT_FALSE(project.commands.modules.OnSetKind(HierarchyKind::Normal)); // already normal
    project.log.ClearLog();
    ASSERT_TRUE(project.commands.modules.OnSetKind(HierarchyKind::Package));
    EXPECT_EQ(b->Signals(), nullptr);
    EXPECT_EQ(b->Object()->GetEntryKind(0), EntryKind::Package);
    EXPECT_EQ(project.log.Text().substr(0, 28), "\r\nModule is set as package.\r");
    ASSERT_TRUE(project.commands.modules.OnSetKind(HierarchyKind::Library));
    ASSERT_NE(b->Signals(), nullptr);
    EXPECT_EQ(b->Object()->GetEntryKind(0), EntryKind::Component);
}

TEST(ModuleCommands, CopyPasteTwiceAndCutPaste) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    project.Add(a, "B");
    CHierarchyItem* c = project.Add(project.Root(), "C");

    project.commands.session.Select(a);
    ASSERT_TRUE(project.commands.clipboard.OnCopy());
    project.commands.session.Select(a);
    EXPECT_FALSE(project.commands.clipboard.CanPaste()); // the target is marked itself
    project.commands.session.Select(c);
    ASSERT_TRUE(project.commands.clipboard.OnPaste()) << project.log.Text();
    project.commands.session.Select(c);
    ASSERT_TRUE(project.commands.clipboard.OnPaste());
    EXPECT_EQ(project.Children(c), "A_2,A_3");
    EXPECT_EQ(project.Children(c->Child(0)), "B_2");
    EXPECT_EQ(project.Children(c->Child(1)), "B_3");
    EXPECT_NE(project.ReadSource("A_3").find("entity A_3 is"), std::string::npos);
    EXPECT_EQ(c->Child(1)->Object()->GetEntryValue(0), "A_3.vhd");
    EXPECT_TRUE(a->HasCopyMark());

    project.commands.session.Select(c->Child(0));
    ASSERT_TRUE(project.commands.clipboard.OnCut());
    project.commands.session.Select(a);
    ASSERT_TRUE(project.commands.clipboard.OnPaste());
    EXPECT_EQ(project.Children(c), "A_3");
    EXPECT_EQ(project.Children(a), "B,A_2");
    EXPECT_TRUE(std::filesystem::exists(project.SourcePath("A_2"))); // same pane: same file
    EXPECT_NE(project.log.Text().find("\r\nModule A_2 is cut."), std::string::npos);
    EXPECT_FALSE(project.commands.clipboard.CanPaste());
}

TEST(ModuleCommands, PasteBetweenProjectsBringsLinkedFiles) {
    Commands target;
    Commands source(&target.Projects());
    CHierarchyItem* m = source.Add(source.Root(), "M");
    ASSERT_TRUE(ReplaceFileSafely(source.doc.GetModuleFolderPath() / "table.txt", "data"));
    std::string text = source.ReadSource("M");
    text.replace(text.find("entity M is"), 11, "entity M is\r\n\tgeneric (F : file := \"table.txt\");");
    source.WriteSource("M", text);
    AnalyzeModule(source.doc, m, source.commands.session.Context());
    ASSERT_EQ(m->Object()->FormatEntry(1), "LINK\tF\ttable.txt");
    target.Add(target.Root(), "M"); // the name is taken in the target

    source.commands.session.Select(m);
    ASSERT_TRUE(source.commands.clipboard.OnCut());
    target.commands.session.Select(target.Root());
    ASSERT_TRUE(target.commands.clipboard.OnPaste()) << target.log.Text();
    EXPECT_EQ(target.Children(target.Root()), "M,M_2");
    EXPECT_EQ(ReadWholeFile(target.doc.GetModuleFolderPath() / "table.txt"), "data");
    EXPECT_FALSE(std::filesystem::exists(source.doc.GetModuleFolderPath() / "table.txt"));
    EXPECT_EQ(source.Root()->ChildCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(source.doc.GetModuleFolderPath() / "M.bak"));
    EXPECT_NE(source.log.Text().find("\r\nModule M is cut."), std::string::npos);
    EXPECT_NE(target.log.Text().find("\r\nModule M_2 is pasted."), std::string::npos);
}

TEST(ModuleCommands, ClosingTheSourcePaneEmptiesTheClipboard) {
    Commands target;
    Commands source;
    CHierarchyItem* m = source.Add(source.Root(), "M");
    {
        ProjectCommands pane(source.doc, nullptr, &target.Projects());
        pane.session.Select(m);
        ASSERT_TRUE(pane.clipboard.OnCopy());
        target.commands.session.Select(target.Root());
        EXPECT_TRUE(target.commands.clipboard.CanPaste());
        ProjectCommands other(source.doc, nullptr, &target.Projects());
    } // another pane closing leaves the clipboard; the source pane closing empties it
    EXPECT_FALSE(target.Projects().Clipboard().Pane().has_value());
    EXPECT_FALSE(target.commands.clipboard.CanPaste());
}

TEST(ParameterEdit, NormalisesRefusesAndRewrites) {
    Commands project;
    CHierarchyItem* m = project.Add(project.Root(), "M");
    std::string text = project.ReadSource("M");
    text.replace(text.find("entity M is"), 11,
                 "entity M is\r\n\tgeneric (N : integer := 1; T : type := bit; S : string := \"x\");");
    text.replace(text.find("\t);\r\nend M;"), 11,
                 "\t);\r\n\ttype ENUM_STY is (FAST, SMALL);\r\n\tconstant STY: ENUM_STY := FAST;\r\nend M;");
    project.WriteSource("M", text);
    ASSERT_EQ(AnalyzeModule(project.doc, m, project.commands.session.Context()), 0) << project.log.Text();
    const int n = m->Object()->FindEntry("N");
    const int t = m->Object()->FindEntry("T");
    const int sty = m->Object()->FindEntry("STY");
    ASSERT_GT(sty, 0);

    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(m, n, 1, "16"));
    EXPECT_NE(project.ReadSource("M").find("N: integer := 16"), std::string::npos);
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, n, 1, "16"));
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, n, 1, "1; x"));
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, n, 1, "1 -- c"));
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, n, 1, ""));
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(m, t, 1, "unsigned"));
    EXPECT_EQ(m->Object()->GetEntryValue(t), "UNSIGNED");
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(m, n, 0, "bus width"));
    EXPECT_EQ(m->Object()->GetEntryName(n), "bus_width");
    EXPECT_TRUE(project.commands.parameters.EndParameterEdit(m, sty, 1, "SMALL extra"));
    EXPECT_EQ(m->Object()->GetEntryValue(sty), "SMALL_extra");
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, 0, 0, "X")); // the module row
    ASSERT_EQ(AnalyzeModule(project.doc, m, project.commands.session.Context()), 0) << project.log.Text();
    EXPECT_EQ(m->Object()->GetEntryValue(m->Object()->FindEntry("bus_width")), "16");
}

// Names VHDL reserves are refused for modules, the project, parameters and signals, in any
// letter case, and every refusal says why in the log.
TEST(NamingRules, ReservedWordsAreRefusedWithTheirReason) {
    Commands project;
    CHierarchyItem* m = project.Add(project.Root(), "M");
    ASSERT_NE(m, nullptr);
    project.log.ClearLog();
    EXPECT_FALSE(project.commands.modules.EndNameEdit(m, "Signal"));
    EXPECT_EQ(m->Text(), "M");
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: Invalid module name: \"Signal\" is a VHDL reserved word.");
    EXPECT_EQ(project.observer.editing, m); // editing starts again
    project.log.ClearLog();
    EXPECT_FALSE(project.commands.modules.EndNameEdit(m, "1abc"));
    EXPECT_NE(project.log.Text().find("Invalid module name: a VHDL identifier begins with a letter"),
              std::string::npos);
    EXPECT_FALSE(project.commands.modules.EndNameEdit(project.Root(), "ENTITY"));
    EXPECT_NE(project.log.Text().find("Invalid project name: \"ENTITY\" is a VHDL reserved word."),
              std::string::npos);
    EXPECT_EQ(project.commands.session.LastRefusal(),
              "Invalid project name: \"ENTITY\" is a VHDL reserved word.");

    m->Object()->SetEntryCount(2);
    m->Object()->SetEntry(1, EntryKind::Numeric, "N", "1");
    project.log.ClearLog();
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, 1, 0, "Process"));
    EXPECT_EQ(m->Object()->GetEntryName(1), "N");
    EXPECT_NE(project.log.Text().find("Invalid parameter name: \"Process\" is a VHDL reserved word."),
              std::string::npos);
    EXPECT_FALSE(project.commands.parameters.EndParameterEdit(m, 1, 1, "\"8\""));
    EXPECT_NE(project.log.Text().find("Invalid parameter value: a value cannot hold ';', '--' or '\"'."),
              std::string::npos);

    EXPECT_EQ(CVHDLSignal::CheckSignal("Out", "out", "bit", ""), SignalCheck::Invalid);
    EXPECT_EQ(CVHDLSignal::CheckSignal("dout", "out", "bit", ""), SignalCheck::Valid);
}

} // namespace
} // namespace kestra
