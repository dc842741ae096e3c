#include "editor/editor_controller.h"
#include "editor/vhdl_editor_pane.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QTest>

namespace kestra {
namespace {

class TreeViewTest : public UiTest {
protected:
    C3SplitFrame* Project(const std::string& fileName = "tree.kst") {
        if (!m_frame)
            StartFrame();
        return NewProject(fileName);
    }
    static CHierarchyItem* Root(C3SplitFrame* project) { return project->Doc().Tree().GetRootItem(); }
    std::filesystem::path ModuleFile(C3SplitFrame* project, const std::string& name) {
        return project->Doc().GetModuleFolderPath() / (name + ".vhd");
    }
    const CScriptedPrompts::Shown* LastMessage() const {
        return m_prompts.Messages().empty() ? nullptr : &m_prompts.Messages().back();
    }
};

TEST_F(TreeViewTest, AddModuleOpensTheNameEditorAndTheNameCreatesTheModule) {
    C3SplitFrame* project = Project();
    Select(project, Root(project));
    Key(&Tree(project), Qt::Key_F1);

    CHierarchyItem* added = Find(project, "<New Object>");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Status(), AnalysisStatus::New);
    EXPECT_EQ(Tree(project).SelectedItem(), added);
    ASSERT_TRUE(TypeName(project, QStringLiteral("alu")));

    EXPECT_EQ(added->Text(), "alu");
    EXPECT_TRUE(FileExists(ModuleFile(project, "alu")));
    EXPECT_EQ(added->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(LogText(project), "Open project: ProjectA\nNew module added.\nSet module name as alu.\n"
                                "alu analyzed. No error encountered.");
    // The new module is the selected, bold item and the parameter list shows it.
    const QModelIndex index = Tree(project).Model().IndexOf(added);
    EXPECT_EQ(Tree(project).currentIndex(), index);
    EXPECT_TRUE(index.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(Tree(project).Model().IndexOf(Root(project)).data(Qt::FontRole).value<QFont>().bold());
    ASSERT_GT(project->ListView()->model()->rowCount(), 0);
    EXPECT_EQ(project->ListView()->model()->index(0, 1).data().toString(), "alu.vhd");
}

TEST_F(TreeViewTest, AddModuleIsRefusedUnderALibraryModule) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(project, alu);
    ASSERT_TRUE(Trigger(m_frame->Actions().setLibrary));
    EXPECT_EQ(alu->Kind(), HierarchyKind::Library);
    Select(project, alu);
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().addModule->isEnabled());
    Key(&Tree(project), Qt::Key_F1);
    EXPECT_EQ(alu->ChildCount(), 0);
}

TEST_F(TreeViewTest, ANewModuleLeftWithoutANameGoesAgain) {
    C3SplitFrame* project = Project();
    Select(project, Root(project));
    // A refused name reopens the editor; Escape then leaves the module without a name.
    Key(&Tree(project), Qt::Key_F1);
    ASSERT_TRUE(TypeName(project, QStringLiteral("process")));
    ProcessEvents();
    QLineEdit* editor = Tree(project).NameEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    ProcessEvents();
    EXPECT_EQ(Find(project, "<New Object>"), nullptr);
    EXPECT_EQ(Tree(project).SelectedItem(), Root(project));
    EXPECT_TRUE(ListFiles(project->Doc().GetModuleFolderPath()).empty());
    // Generate no longer meets a module without a file.
    ASSERT_TRUE(Trigger(m_frame->Actions().generate));
    EXPECT_EQ(LogText(project).find("Cannot open source file"), std::string::npos);
}

TEST_F(TreeViewTest, ANameThatIsNoIdentifierReopensTheEditorOnTheTypedText) {
    C3SplitFrame* project = Project();
    Select(project, Root(project));
    Key(&Tree(project), Qt::Key_F1);
    ASSERT_TRUE(TypeName(project, QStringLiteral("3com")));
    ProcessEvents();
    QLineEdit* editor = Tree(project).NameEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "3com");
    EXPECT_NE(Find(project, "<New Object>"), nullptr);
    ASSERT_TRUE(TypeName(project, QStringLiteral("com3")));
    EXPECT_NE(Find(project, "com3"), nullptr);
}

TEST_F(TreeViewTest, RenamingToANameInUseIsRefusedWithAWarning) {
    C3SplitFrame* project = Project();
    ASSERT_NE(AddModule(project, Root(project), QStringLiteral("alu")), nullptr);
    CHierarchyItem* uart = AddModule(project, Root(project), QStringLiteral("uart"));
    ASSERT_NE(uart, nullptr);
    m_prompts.ClearRecord();

    Select(project, uart);
    Key(&Tree(project), Qt::Key_Space);
    ASSERT_TRUE(TypeName(project, QStringLiteral("ALU")));
    const auto* shown = LastMessage();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "WARNING");
    EXPECT_EQ(shown->text, "New module name in use, specify other name.");
    EXPECT_EQ(shown->icon, PromptIcon::Warning);
    EXPECT_EQ(uart->Text(), "uart");
    EXPECT_TRUE(FileExists(ModuleFile(project, "uart")));
    EXPECT_NE(LogText(project).find("\nWARNING: New module name in use, specify other name."),
              std::string::npos);
    // Editing opens again for another name.
    ProcessEvents();
    ASSERT_NE(Tree(project).NameEditor(), nullptr);
    EXPECT_TRUE(Tree(project).NameEditor()->isVisible());
    ASSERT_TRUE(TypeName(project, QStringLiteral("serial")));
    EXPECT_EQ(uart->Text(), "serial");
    EXPECT_TRUE(FileExists(ModuleFile(project, "serial")));
    EXPECT_FALSE(FileExists(ModuleFile(project, "uart")));
}

TEST_F(TreeViewTest, RenamingTheProjectToAnExistingFolderIsRefused) {
    C3SplitFrame* project = Project();
    std::filesystem::create_directory(Folder() / "Taken");
    Select(project, Root(project));
    Key(&Tree(project), Qt::Key_Space);
    ASSERT_TRUE(TypeName(project, QStringLiteral("Taken")));
    const auto* shown = LastMessage();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "WARNING");
    EXPECT_EQ(shown->text, "New project name in use, specify other name.");
    EXPECT_EQ(Root(project)->Text(), "ProjectA");
    QTest::keyClick(Tree(project).NameEditor(), Qt::Key_Escape);
    ProcessEvents();

    Key(&Tree(project), Qt::Key_Space);
    ASSERT_TRUE(TypeName(project, QStringLiteral("Renamed")));
    EXPECT_EQ(Root(project)->Text(), "Renamed");
    EXPECT_TRUE(std::filesystem::is_directory(Folder() / "Renamed"));
}

TEST_F(TreeViewTest, CutAndPasteMovesAModuleBetweenTwoProjectWindows) {
    C3SplitFrame* source = Project("source.kst");
    CHierarchyItem* alu = AddModule(source, Root(source), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    ASSERT_NE(AddModule(source, alu, QStringLiteral("adder")), nullptr);
    std::filesystem::create_directory(Folder() / "target");
    C3SplitFrame* target = NewProject("target/target.kst");
    ASSERT_NE(target, nullptr);
    ASSERT_NE(target, source);

    Select(source, alu);
    Key(&Tree(source), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(alu->HasCutMark());
    EXPECT_TRUE(alu->Child(0)->HasCutMark());
    EXPECT_TRUE(ClipboardHasTreeFormat());

    Select(target, Root(target));
    m_frame->UpdateActions();
    EXPECT_TRUE(m_frame->Actions().paste->isEnabled());
    Key(&Tree(target), Qt::Key_V, Qt::ControlModifier);

    CHierarchyItem* pasted = Find(target, "alu");
    ASSERT_NE(pasted, nullptr);
    ASSERT_EQ(pasted->ChildCount(), 1);
    EXPECT_EQ(pasted->Child(0)->Text(), "adder");
    EXPECT_TRUE(FileExists(ModuleFile(target, "alu")));
    EXPECT_TRUE(FileExists(ModuleFile(target, "adder")));
    EXPECT_EQ(Find(source, "alu"), nullptr);
    EXPECT_TRUE(FileExists(source->Doc().GetModuleFolderPath() / "alu.bak"));
    EXPECT_NE(LogText(target).find("\nModule alu is pasted."), std::string::npos);
    EXPECT_NE(LogText(source).find("\nModule alu is cut."), std::string::npos);
    // The cut is used up: nothing is left to paste.
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().paste->isEnabled());
    EXPECT_EQ(Tree(source).SelectedItem(), Root(source));
}

TEST_F(TreeViewTest, CopiedModulesPasteTwiceUnderFreeNamesUntilTheSourceWindowCloses) {
    C3SplitFrame* source = Project("source.kst");
    CHierarchyItem* alu = AddModule(source, Root(source), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(source, alu);
    ASSERT_TRUE(Trigger(m_frame->Actions().copy));
    EXPECT_TRUE(alu->HasCopyMark());
    EXPECT_FALSE(alu->HasCutMark());

    // Within the same window the module comes back under a free name, twice.
    Select(source, Root(source));
    ASSERT_TRUE(Trigger(m_frame->Actions().paste));
    Select(source, Root(source));
    ASSERT_TRUE(Trigger(m_frame->Actions().paste));
    EXPECT_NE(Find(source, "alu_2"), nullptr);
    EXPECT_NE(Find(source, "alu_3"), nullptr);
    EXPECT_TRUE(FileExists(ModuleFile(source, "alu_3")));

    std::filesystem::create_directory(Folder() / "other");
    C3SplitFrame* other = NewProject("other/other.kst");
    Select(other, Root(other));
    m_frame->UpdateActions();
    EXPECT_TRUE(m_frame->Actions().paste->isEnabled());
    Activate(source);
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    Select(other, Root(other));
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().paste->isEnabled());
    EXPECT_FALSE(ClipboardHasTreeFormat());
}

TEST_F(TreeViewTest, AnalyzeAndGenerateFromTheMenuAndFromTheKeys) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    CHierarchyItem* adder = AddModule(project, alu, QStringLiteral("adder"));
    ASSERT_NE(adder, nullptr);
    project->LogView()->ClearLog();

    Select(project, alu);
    ASSERT_TRUE(Trigger(m_frame->Actions().analyzeModule));
    EXPECT_NE(LogText(project).find("alu analyzed. No error encountered."), std::string::npos);
    EXPECT_EQ(alu->Status(), AnalysisStatus::Analyzed);

    project->LogView()->ClearLog();
    Key(&Tree(project), Qt::Key_F4);
    EXPECT_NE(LogText(project).find("alu analyzed."), std::string::npos);

    Key(&Tree(project), Qt::Key_F9);
    EXPECT_NE(LogText(project).find("Synthesizable VHDL file created successfully."), std::string::npos);
    const Result<std::string> generated = ReadWholeFile(Folder() / "alu.vhd");
    ASSERT_TRUE(generated);
    EXPECT_EQ(generated->rfind("-- Synthesizable VHDL generated by KESTRA\r\n--\r\n", 0), 0u);
    EXPECT_NE(generated->find("adder"), std::string::npos);

    std::filesystem::remove(Folder() / "alu.vhd");
    Key(&Tree(project), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_NE(LogText(project).find("Individual synthesizable VHDL file created successfully."),
              std::string::npos);
    EXPECT_TRUE(FileExists(Folder() / "alu.vhd"));

    ASSERT_TRUE(Trigger(m_frame->Actions().generate));
    EXPECT_EQ(Tree(project).SelectedItem(), alu);
}

TEST_F(TreeViewTest, RemoveAsksAndSetsTheFileAside) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    // The root cannot be removed.
    Select(project, Root(project));
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().remove->isEnabled());

    Select(project, alu);
    m_prompts.QueueAnswer(PromptAnswer::No);
    Key(&Tree(project), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_NE(LastMessage(), nullptr);
    EXPECT_EQ(LastMessage()->title, "ENQUIRY");
    EXPECT_EQ(LastMessage()->text, "Confirm remove alu ?");
    EXPECT_NE(Find(project, "alu"), nullptr);

    m_prompts.QueueAnswer(PromptAnswer::Yes);
    Key(&Tree(project), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Find(project, "alu"), nullptr);
    EXPECT_TRUE(FileExists(project->Doc().GetModuleFolderPath() / "alu.bak"));
    EXPECT_EQ(Tree(project).SelectedItem(), Root(project));
    EXPECT_EQ(Tree(project).currentIndex(), Tree(project).Model().IndexOf(Root(project)));
}

TEST_F(TreeViewTest, MoveKeysReorderOnlyWhileTheTreeHasTheFocus) {
    C3SplitFrame* project = Project();
    CHierarchyItem* first = AddModule(project, Root(project), QStringLiteral("first"));
    CHierarchyItem* second = AddModule(project, Root(project), QStringLiteral("second"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Select(project, second);
    Key(&Tree(project), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Root(project)->Child(0), second);
    EXPECT_EQ(
        Tree(project).Model().index(0, 0, Tree(project).Model().IndexOf(Root(project))).data().toString(),
        "second");

    project->LogView()->setFocus();
    ProcessEvents();
    Key(project->LogView(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Root(project)->Child(0), second);
    Tree(project).setFocus();
    Key(&Tree(project), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Root(project)->Child(1), second);
}

TEST_F(TreeViewTest, SetAsPackageChangesTheKindAndItsPicture) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(project, alu);
    const QIcon before = Tree(project).Model().IndexOf(alu).data(Qt::DecorationRole).value<QIcon>();
    ASSERT_TRUE(Trigger(m_frame->Actions().setPackage));
    EXPECT_EQ(alu->Kind(), HierarchyKind::Package);
    EXPECT_EQ(alu->Signals(), nullptr);
    EXPECT_NE(LogText(project).find("\nModule is set as package."), std::string::npos);
    const QIcon after = Tree(project).Model().IndexOf(alu).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_NE(before.pixmap(34, 16).toImage(), after.pixmap(34, 16).toImage());
}

TEST_F(TreeViewTest, ContextMenuHoldsTheCommandsInOrder) {
    C3SplitFrame* project = Project();
    Select(project, Root(project));
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            Tree(project).viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Tree(project).viewport(), &event);
    ProcessEvents();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    menu->close();
    const QStringList expected = {"&Edit VHDL\tEnter",
                                  "Re&name\tSpace",
                                  "&Remove",
                                  "Cu&t",
                                  "&Copy",
                                  "&Paste",
                                  "Copy &View",
                                  "-",
                                  "Import VHDL &Design...",
                                  "-",
                                  "&Move To Top",
                                  "Move &Up One Item",
                                  "Move &Down One Item",
                                  "Move To &Bottom",
                                  "-",
                                  "Set As &Normal Module",
                                  "Set As &Library Module",
                                  "Set As Prede&fined Module",
                                  "Set As Pac&kage"};
    EXPECT_EQ(texts, expected);
}

TEST_F(TreeViewTest, EditVhdlOpensTheSourceInTheConfiguredEditorOrTheVhdlEditor) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(project, alu);
    Key(&Tree(project), Qt::Key_Return);
    EXPECT_TRUE(m_shell.opened.empty());
    ASSERT_NE(m_frame->EditorController().Pane().Find(ModuleFile(project, "alu")), nullptr);

    m_settings->WriteSetting("Tools", "HDL Editor", "/usr/bin/myeditor");
    m_settings->WriteSetting("Tools", "HDL Editor param", "-n --wait");
    const QModelIndex index = Tree(project).Model().IndexOf(alu);
    const QRect rect = Tree(project).visualRect(index);
    // A double click on the status picture does nothing; on the name it opens the editor.
    QTest::mouseDClick(Tree(project).viewport(), Qt::LeftButton, {},
                       QPoint(rect.left() + 3, rect.center().y()));
    EXPECT_TRUE(m_shell.started.empty());
    QTest::mouseDClick(Tree(project).viewport(), Qt::LeftButton, {},
                       QPoint(rect.left() + 50, rect.center().y()));
    ASSERT_EQ(m_shell.started.size(), 1u);
    EXPECT_EQ(m_shell.started[0].program, "/usr/bin/myeditor");
    const QStringList expected = {"-n", "--wait",
                                  QString::fromStdString(ModuleFile(project, "alu").string())};
    EXPECT_EQ(m_shell.started[0].arguments, expected);

    // The project item has no source of its own.
    Select(project, Root(project));
    Key(&Tree(project), Qt::Key_Return);
    EXPECT_EQ(m_shell.started.size(), 1u);
}

TEST_F(TreeViewTest, ExpandAllCollapseAllAndCopyView) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(AddModule(project, alu, QStringLiteral("adder")), nullptr);
    ASSERT_TRUE(Trigger(m_frame->Actions().collapseAll));
    EXPECT_EQ(Tree(project).SelectedItem(), Root(project));
    EXPECT_EQ(Tree(project).VisibleRows().size(), 1u);
    ASSERT_TRUE(Trigger(m_frame->Actions().expandAll));
    EXPECT_EQ(Tree(project).VisibleRows().size(), 3u);

    ASSERT_TRUE(Trigger(m_frame->Actions().copyView));
    const QImage picture = QApplication::clipboard()->image();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.depth(), 1);
    EXPECT_GE(picture.height(),
              3 * CHierarchyPrinter(Tree(project).VisibleRows(), Tree(project).font()).RowHeight());
}

TEST_F(TreeViewTest, PrintingSpreadsALongHierarchyOverNumberedPages) {
    C3SplitFrame* project = Project();
    CModuleCommands commands(project->Session());
    for (int i = 0; i < 120; ++i) {
        project->Session().Select(Root(project));
        CHierarchyItem* item = commands.OnAddModule();
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(commands.EndNameEdit(item, "m" + std::to_string(i)));
    }
    ProcessEvents();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString((Folder() / "hierarchy.pdf").string());
    printer.setOutputFileName(pdf);
    const int pages = Tree(project).Print(printer).ValueOr(-1);
    EXPECT_GE(pages, 2);
    const Result<std::string> bytes = ReadWholeFile(Folder() / "hierarchy.pdf");
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("/Count " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(CHierarchyPrinter(Tree(project).VisibleRows(), Tree(project).font()).PageCount(10000), 1);
}

// The first hour: Rename is in the menus, a bad name says why, the tree explains its items,
// the title marks unsaved changes, and an editor that cannot start says what to set.
TEST_F(TreeViewTest, RenameFromTheMenuRefusalsTipsTheModifiedMarkAndAFailedEditor) {
    C3SplitFrame* project = Project();
    CHierarchyItem* alu = AddModule(project, Root(project), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    EXPECT_TRUE(project->isWindowModified());
    EXPECT_TRUE(m_frame->isWindowModified());
    ASSERT_TRUE(Trigger(m_frame->Actions().saveProject));
    EXPECT_FALSE(project->isWindowModified());
    EXPECT_FALSE(m_frame->isWindowModified());

    const QString tip = Tree(project).Model().IndexOf(alu).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("normal module\n"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("alu.vhd")));
    EXPECT_TRUE(tip.endsWith(QStringLiteral("\nanalysed")));

    Select(project, alu);
    ASSERT_TRUE(Trigger(m_frame->Actions().rename));
    ASSERT_TRUE(TypeName(project, QStringLiteral("begin")));
    EXPECT_EQ(alu->Text(), "alu");
    EXPECT_NE(LogText(project).find("WARNING: Invalid module name: \"begin\" is a VHDL reserved word."),
              std::string::npos);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(),
              QStringLiteral("Invalid module name: \"begin\" is a VHDL reserved word."));
    ASSERT_TRUE(TypeName(project, QStringLiteral("adder"))); // the editor opened again
    EXPECT_EQ(alu->Text(), "adder");
    EXPECT_TRUE(FileExists(ModuleFile(project, "adder")));
    EXPECT_TRUE(project->isWindowModified());

    // The Window menu writes its keys as the desktop does.
    EXPECT_EQ(m_frame->Actions().previousWindow->shortcut().toString(QKeySequence::NativeText),
              QStringLiteral("Ctrl+Shift+Tab"));

    // No editor set, no VHDL editor window and nothing on the desktop for the file: the user
    // learns what to set.
    m_shell.SetBuiltInEditor({});
    m_shell.succeed = false;
    ASSERT_TRUE(Trigger(m_frame->Actions().editVhdl));
    ASSERT_NE(LastMessage(), nullptr);
    EXPECT_NE(LastMessage()->text.find(ModuleFile(project, "adder").string()), std::string::npos);
    EXPECT_NE(LastMessage()->text.find("HDL Editor in the Tools Setting dialog"), std::string::npos);
}

} // namespace
} // namespace kestra
