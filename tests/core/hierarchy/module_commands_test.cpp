#include "analysis/analyze_module.h"
#include "hierarchy/analysis_status.h"
#include "hierarchy/hierarchy_commands.h"
#include "hierarchy/project_observer.h"
#include "hierarchy/tree_clipboard.h"
#include "support/project_fixture.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

using test::ProjectFixture;
using test::SimpleModule;

class EditingObserver : public CProjectObserver {
public:
    void StartNameEditing(CHierarchyItem* item) override { editing = item; }
    CHierarchyItem* editing = nullptr;
};

struct Commands : ProjectFixture {
    explicit Commands(CTreeClipboard* shared = nullptr)
        : commands(doc, &observer, shared != nullptr ? shared : &clipboard) {
        commands.Select(Root());
    }

    // Adds a module under the parent and names it, as the user does.
    CHierarchyItem* Add(CHierarchyItem* parent, const std::string& name) {
        commands.Select(parent);
        CHierarchyItem* item = commands.OnAddModule();
        if (item != nullptr) {
            EXPECT_TRUE(commands.EndNameEdit(item, name)) << log.Text();
        }
        return item;
    }
    std::string Children(const CHierarchyItem* parent) {
        std::string names;
        for (int i = 0; i < parent->ChildCount(); ++i)
            names += (i == 0 ? "" : ",") + parent->Child(i)->Text();
        return names;
    }

    EditingObserver observer;
    CMemoryTreeClipboard clipboard;
    CHierarchyCommands commands;
};

TEST(ModuleCommands, AddAndNameModules) {
    Commands project;
    CHierarchyItem* item = project.commands.OnAddModule();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Text(), "<New Object>");
    EXPECT_EQ(item->Status(), kStatusNew);
    EXPECT_EQ(project.observer.editing, item);
    EXPECT_FALSE(project.commands.EndNameEdit(item, "two words"));
    EXPECT_EQ(item->Text(), "<New Object>");
    ASSERT_TRUE(project.commands.EndNameEdit(item, "ADDER"));
    EXPECT_EQ(project.log.Text(), "\r\nNew module added.\r\nSet module name as ADDER."
                                  "\r\nADDER analyzed. No error encountered.");
    EXPECT_EQ(project.ReadSource("ADDER").substr(0, 10), "-- ADDER\r\n");
    EXPECT_EQ(item->Status(), kStatusAnalysed);
    EXPECT_EQ(item->Object()->FormatEntry(0), "VHDL\tADDER\tADDER.vhd");

    CHierarchyItem* child = project.Add(item, "SUB");
    EXPECT_EQ(child->Parent(), item);

    // Nothing is added under a library module.
    project.commands.Select(child);
    ASSERT_TRUE(project.commands.OnSetKind(kItemLibrary));
    project.commands.Select(child);
    EXPECT_EQ(project.commands.OnAddModule(), nullptr);
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
    project.commands.Select(top);
    ASSERT_TRUE(project.commands.OnAnalyzeModule());
    EXPECT_NE(project.ReadSource("TOP").find("U_ADDER: ADDER"), std::string::npos);
    top->BlockData()->Resize(1);
    top->BlockData()->SetBlock(0, "ADDER", 7, {0, 0, 60, 40}, 0);

    for (const char* taken : {"OTHER", "other", "Top"}) {
        project.log.ClearLog();
        project.prompts.ClearRecord();
        EXPECT_FALSE(project.commands.EndNameEdit(adder, taken));
        EXPECT_EQ(adder->Text(), "ADDER");
        EXPECT_EQ(project.log.Text(), "\r\nWARNING: New module name in use, specify other name.");
        ASSERT_EQ(project.prompts.Messages().size(), 1u);
        EXPECT_EQ(project.prompts.Messages()[0].title, "WARNING");
    }

    project.log.ClearLog();
    ASSERT_TRUE(project.commands.EndNameEdit(adder, "SUM"));
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("ADDER")));
    const std::string sum = project.ReadSource("SUM");
    EXPECT_NE(sum.find("entity SUM is"), std::string::npos);
    EXPECT_NE(sum.find("architecture SUM_arch of SUM"), std::string::npos);
    const std::string parent = project.ReadSource("TOP");
    EXPECT_NE(parent.find("U_SUM: SUM"), std::string::npos);
    EXPECT_EQ(parent.find("ADDER"), std::string::npos);
    EXPECT_EQ(adder->Object()->FormatEntry(0), "VHDL\tSUM\tSUM.vhd");
    EXPECT_EQ(top->BlockData()->FindBlockByName("SUM"), 0);
    EXPECT_EQ(top->Status(), kStatusNeedsAnalysis);

    // Predefined modules keep their name.
    project.commands.Select(adder);
    ASSERT_TRUE(project.commands.OnSetKind(kItemPredefined));
    EXPECT_FALSE(project.commands.EndNameEdit(adder, "NEWNAME"));
}

TEST(ModuleCommands, RootRename) {
    Commands project;
    std::filesystem::create_directory(project.folder / "Taken");
    EXPECT_FALSE(project.commands.EndNameEdit(project.Root(), "Taken"));
    EXPECT_EQ(project.Root()->Text(), "ProjectA");
    EXPECT_EQ(project.log.Text(), "\r\nWARNING: New project name in use, specify other name.");
    EXPECT_EQ(project.observer.editing, project.Root());
    project.Add(project.Root(), "M");
    ASSERT_TRUE(project.commands.EndNameEdit(project.Root(), "Chip"));
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

    project.commands.Select(a);
    project.prompts.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(project.commands.OnRemove());
    ASSERT_EQ(project.prompts.Messages().back().text, "Confirm remove A and all its child objects?");
    EXPECT_EQ(project.prompts.Messages().back().title, "ENQUIRY");

    project.log.ClearLog();
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.OnRemove());
    EXPECT_EQ(project.Root()->ChildCount(), 0);
    EXPECT_EQ(project.log.Text(), "\r\nA deleted.\r\nB deleted.");
    EXPECT_EQ(ReadWholeFile(project.doc.GetModuleFolderPath() / "A.bak"), aText);
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("A")));
    EXPECT_TRUE(std::filesystem::exists(project.doc.GetModuleFolderPath() / "B.bak"));

    // Two items of one predefined module share its file.
    project.WriteSource("P", SimpleModule("P", "", "x : in bit"));
    CHierarchyItem* first = project.AddModule(project.Root(), "P", "", kItemPredefined);
    project.AddModule(project.Root(), "P", "", kItemPredefined);
    project.commands.Select(first);
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.OnRemove());
    EXPECT_TRUE(std::filesystem::exists(project.SourcePath("P")));
    project.commands.Select(project.Root()->Child(0));
    project.prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(project.commands.OnRemove());
    EXPECT_FALSE(std::filesystem::exists(project.SourcePath("P")));

    project.commands.Select(project.Root());
    EXPECT_FALSE(project.commands.OnRemove());
}

TEST(ModuleCommands, MoveAmongSiblings) {
    Commands project;
    for (const char* name : {"A", "B", "C", "D"})
        project.Add(project.Root(), name);
    CHierarchyItem* root = project.Root();
    project.commands.Select(root->Child(0));
    project.commands.OnMove(MoveCommand::Up);
    EXPECT_EQ(project.Children(root), "A,B,C,D");
    project.commands.OnMove(MoveCommand::Down);
    EXPECT_EQ(project.Children(root), "B,A,C,D");
    project.commands.OnMove(MoveCommand::Bottom);
    EXPECT_EQ(project.Children(root), "B,C,D,A");
    project.commands.OnMove(MoveCommand::Down);
    EXPECT_EQ(project.Children(root), "B,C,D,A");
    project.commands.Select(root->Child(2));
    project.commands.OnMove(MoveCommand::Top);
    EXPECT_EQ(project.Children(root), "D,B,C,A");
}

TEST(ModuleCommands, SetKindRules) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    project.Add(a, "B");
    project.commands.Select(a);
    EXPECT_FALSE(project.commands.OnSetKind(kItemPackage)); // it has children
    CHierarchyItem* b = a->Child(0);
    project.commands.Select(b);
    EXPECT_FALSE(project.commands.OnSetKind(kItemNormal)); // already normal
    project.log.ClearLog();
    ASSERT_TRUE(project.commands.OnSetKind(kItemPackage));
    EXPECT_EQ(b->Signals(), nullptr);
    EXPECT_EQ(b->Object()->GetEntryKind(0), kKindPackage);
    EXPECT_EQ(project.log.Text().substr(0, 28), "\r\nModule is set as package.\r");
    ASSERT_TRUE(project.commands.OnSetKind(kItemLibrary));
    ASSERT_NE(b->Signals(), nullptr);
    EXPECT_EQ(b->Object()->GetEntryKind(0), kKindComponent);
}

TEST(ModuleCommands, CopyPasteTwiceAndCutPaste) {
    Commands project;
    CHierarchyItem* a = project.Add(project.Root(), "A");
    project.Add(a, "B");
    CHierarchyItem* c = project.Add(project.Root(), "C");

    project.commands.Select(a);
    ASSERT_TRUE(project.commands.OnCopy());
    project.commands.Select(a);
    EXPECT_FALSE(project.commands.CanPaste()); // the target is marked itself
    project.commands.Select(c);
    ASSERT_TRUE(project.commands.OnPaste()) << project.log.Text();
    project.commands.Select(c);
    ASSERT_TRUE(project.commands.OnPaste());
    EXPECT_EQ(project.Children(c), "A_2,A_3");
    EXPECT_EQ(project.Children(c->Child(0)), "B_2");
    EXPECT_EQ(project.Children(c->Child(1)), "B_3");
    EXPECT_NE(project.ReadSource("A_3").find("entity A_3 is"), std::string::npos);
    EXPECT_EQ(c->Child(1)->Object()->GetEntryValue(0), "A_3.vhd");
    EXPECT_TRUE(a->HasCopyMark());

    project.commands.Select(c->Child(0));
    ASSERT_TRUE(project.commands.OnCut());
    project.commands.Select(a);
    ASSERT_TRUE(project.commands.OnPaste());
    EXPECT_EQ(project.Children(c), "A_3");
    EXPECT_EQ(project.Children(a), "B,A_2");
    EXPECT_TRUE(std::filesystem::exists(project.SourcePath("A_2"))); // same pane: same file
    EXPECT_NE(project.log.Text().find("\r\nModule A_2 is cut."), std::string::npos);
    EXPECT_FALSE(project.commands.CanPaste());
}

TEST(ModuleCommands, PasteBetweenProjectsBringsLinkedFiles) {
    Commands target;
    Commands source(&target.clipboard);
    CHierarchyItem* m = source.Add(source.Root(), "M");
    ASSERT_TRUE(ReplaceFileSafely(source.doc.GetModuleFolderPath() / "table.txt", "data"));
    std::string text = source.ReadSource("M");
    text.replace(text.find("entity M is"), 11, "entity M is\r\n\tgeneric (F : file := \"table.txt\");");
    source.WriteSource("M", text);
    AnalyzeModule(source.doc, m, source.commands.Context());
    ASSERT_EQ(m->Object()->FormatEntry(1), "LINK\tF\ttable.txt");
    target.Add(target.Root(), "M"); // the name is taken in the target

    source.commands.Select(m);
    ASSERT_TRUE(source.commands.OnCut());
    target.commands.Select(target.Root());
    ASSERT_TRUE(target.commands.OnPaste()) << target.log.Text();
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
        CHierarchyCommands pane(source.doc, nullptr, &target.clipboard);
        pane.Select(m);
        ASSERT_TRUE(pane.OnCopy());
        target.commands.Select(target.Root());
        EXPECT_TRUE(target.commands.CanPaste());
        CHierarchyCommands other(source.doc, nullptr, &target.clipboard);
    } // another pane closing leaves the clipboard; the source pane closing empties it
    EXPECT_FALSE(target.clipboard.Pane().has_value());
    EXPECT_FALSE(target.commands.CanPaste());
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
    ASSERT_EQ(AnalyzeModule(project.doc, m, project.commands.Context()), 0) << project.log.Text();
    const int n = m->Object()->FindEntry("N");
    const int t = m->Object()->FindEntry("T");
    const int sty = m->Object()->FindEntry("STY");
    ASSERT_GT(sty, 0);

    EXPECT_TRUE(project.commands.EndParameterEdit(m, n, 1, "16"));
    EXPECT_NE(project.ReadSource("M").find("N: integer := 16"), std::string::npos);
    EXPECT_FALSE(project.commands.EndParameterEdit(m, n, 1, "16"));
    EXPECT_FALSE(project.commands.EndParameterEdit(m, n, 1, "1; x"));
    EXPECT_FALSE(project.commands.EndParameterEdit(m, n, 1, "1 -- c"));
    EXPECT_FALSE(project.commands.EndParameterEdit(m, n, 1, ""));
    EXPECT_TRUE(project.commands.EndParameterEdit(m, t, 1, "unsigned"));
    EXPECT_EQ(m->Object()->GetEntryValue(t), "UNSIGNED");
    EXPECT_TRUE(project.commands.EndParameterEdit(m, n, 0, "bus width"));
    EXPECT_EQ(m->Object()->GetEntryName(n), "bus_width");
    EXPECT_TRUE(project.commands.EndParameterEdit(m, sty, 1, "SMALL extra"));
    EXPECT_EQ(m->Object()->GetEntryValue(sty), "SMALL_extra");
    EXPECT_FALSE(project.commands.EndParameterEdit(m, 0, 0, "X")); // the module row
    ASSERT_EQ(AnalyzeModule(project.doc, m, project.commands.Context()), 0) << project.log.Text();
    EXPECT_EQ(m->Object()->GetEntryValue(m->Object()->FindEntry("bus_width")), "16");
}

} // namespace
} // namespace kestra
