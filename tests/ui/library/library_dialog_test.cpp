#include "diagram/block_diagram_bar.h"
#include "hierarchy/kst_tree_view.h"
#include "library/browse_library_dialog.h"
#include "library/library_bar.h"
#include "library/library_tree_model.h"
#include "mainframe/dock_bars.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "support/temp_folder.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// A small module with a width and a companion file named by its INIT parameter.
std::string CounterSource(const std::string& name, const std::string& companion) {
    return "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + name +
           " is\n\tgeneric (WIDTH : integer := 8; INIT : file := \"" + companion +
           "\");\n\tport (CLK : in std_logic; Q : out std_logic);\nend " + name +
           ";\n\narchitecture rtl of " + name + " is\nbegin\n\tQ <= CLK;\nend rtl;\n";
}

class LibraryDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        fs::create_directories(Library());
    }

    fs::path Library() const { return Folder() / "Library"; }
    static CBrowseLibraryDialog& Dialog(QDialog& dialog) {
        return *qobject_cast<CBrowseLibraryDialog*>(&dialog);
    }
    static CLibraryItem* Item(CBrowseLibraryDialog& dialog, const std::vector<std::string>& path) {
        return dialog.Browser().Tree().FindItem(path);
    }
    // Picks the item in the tree as the user would.
    static void Pick(CBrowseLibraryDialog& dialog, const std::vector<std::string>& path) {
        const QModelIndex index = dialog.TreeModel().IndexOf(Item(dialog, path));
        ASSERT_TRUE(index.isValid());
        dialog.Tree()->setCurrentIndex(index);
        ProcessEvents();
    }
    static QStringList Row(const CBrowseLibraryDialog& dialog, int row) {
        const QTreeWidgetItem* item = dialog.EntryList()->topLevelItem(row);
        return item != nullptr ? QStringList{item->text(0), item->text(1)} : QStringList();
    }
    std::unique_ptr<CBrowseLibraryDialog> OpenDialog() {
        auto dialog = std::make_unique<CBrowseLibraryDialog>(Library(), LibraryKind::Library, m_prompts);
        CheckModel(&dialog->TreeModel());
        dialog->LoadLibrary();
        dialog->show();
        ProcessEvents();
        return dialog;
    }
    std::string LastMessage() const {
        return m_prompts.Messages().empty() ? "" : m_prompts.Messages().back().text;
    }
};

TEST_F(LibraryDialogTest, ChosenModuleIsInsertedTwiceUnderFreeNamesWithItsBlockAndCompanion) {
    fs::create_directories(Library() / "Arith" / "Counters");
    WriteBytes(Library() / "Arith" / "Counters" / "COUNTER.vhd", CounterSource("COUNTER", "counter.hex"));
    WriteBytes(Library() / "Arith" / "Counters" / "counter.hex", "00 01 02");
    StartFrame();
    C3SplitFrame* project = NewProject("lib.kst");
    ASSERT_NE(project, nullptr);
    CHierarchyItem* top = AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("top"));
    ASSERT_NE(top, nullptr);
    Select(project, top);
    ASSERT_EQ(m_frame->DiagramBar()->Pane().Item(), top);

    int opened = 0;
    dialogHandler = [&](QDialog& shown) {
        CBrowseLibraryDialog& dialog = Dialog(shown);
        ++opened;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Browse Library"));
        dialog.show();
        ProcessEvents();
        Pick(dialog, {"Arith", "Counters", "COUNTER"});
        // The selected module is analysed for its entries, and the columns share the list.
        EXPECT_EQ(Row(dialog, 0), (QStringList{QStringLiteral("COUNTER"), QStringLiteral("COUNTER.vhd")}));
        EXPECT_EQ(Row(dialog, 1), (QStringList{QStringLiteral("WIDTH"), QStringLiteral("8")}));
        EXPECT_EQ(Row(dialog, 2), (QStringList{QStringLiteral("INIT"), QStringLiteral("counter.hex")}));
        dialog.EntryList()->resize(420, 200);
        ProcessEvents();
        EXPECT_GE(dialog.EntryList()->header()->sectionSize(0), 150);
        EXPECT_GE(dialog.EntryList()->header()->sectionSize(1), 150);
        if (opened == 1) {
            dialog.accept();
        } else {
            // A double click on a module acts as OK.
            QWidget* viewport = dialog.Tree()->viewport();
            const QPoint at = dialog.Tree()->visualRect(dialog.Tree()->currentIndex()).center();
            // The system's order: a click, then the double click in place of the second press.
            QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
            EXPECT_EQ(dialog.ChosenFile(), Library() / "Arith" / "Counters" / "COUNTER.vhd");
        }
        return dialog.result();
    };
    Key(&Tree(project), Qt::Key_F2);
    CHierarchyItem* first = Find(project, "COUNTER");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Parent(), top);
    EXPECT_EQ(first->Kind(), HierarchyKind::Library);
    // The new item is the selected one, and the parent's diagram got its block.
    EXPECT_EQ(Tree(project).SelectedItem(), first);
    EXPECT_GE(top->BlockData()->FindBlockByName("COUNTER"), 0);

    Select(project, top);
    ASSERT_TRUE(Trigger(m_frame->Actions().insertLibrary));
    EXPECT_EQ(opened, 2);
    CHierarchyItem* second = Find(project, "COUNTER_2");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Parent(), top);
    const fs::path modules = project->Doc().GetModuleFolderPath();
    EXPECT_TRUE(FileExists(modules / "COUNTER.vhd"));
    EXPECT_NE(ReadBytes(modules / "COUNTER_2.vhd").find("entity COUNTER_2 is"), std::string::npos);
    EXPECT_EQ(ReadBytes(modules / "counter.hex"), "00 01 02");
    EXPECT_NE(LogText(project).find("Library module COUNTER_2 added."), std::string::npos);

    // OK on a folder chooses nothing; a library module takes no modules below it.
    dialogHandler = [&](QDialog& shown) {
        CBrowseLibraryDialog& dialog = Dialog(shown);
        Pick(dialog, {"Arith"});
        dialog.accept();
        EXPECT_TRUE(dialog.ChosenFile().empty());
        return dialog.result();
    };
    Select(project, top);
    ASSERT_TRUE(Trigger(m_frame->Actions().insertLibrary));
    EXPECT_EQ(top->ChildCount(), 2);
    Select(project, second);
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().insertLibrary->isEnabled());
    EXPECT_FALSE(m_frame->Actions().insertPredefined->isEnabled());
}

TEST_F(LibraryDialogTest, StoringAsksBeforeReplacingAndSwitchesToChooseMode) {
    fs::create_directories(Library() / "cores");
    WriteBytes(Library() / "cores" / "top.vhd", "-- an older top\n");
    StartFrame();
    C3SplitFrame* project = NewProject("store.kst");
    ASSERT_NE(project, nullptr);
    CHierarchyItem* top = AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("top"));
    ASSERT_NE(top, nullptr);
    ASSERT_TRUE(Trigger(m_frame->Actions().analyzeModule));
    Select(project, top);

    fs::path exported;
    dialogHandler = [&](QDialog& shown) {
        CBrowseLibraryDialog& dialog = Dialog(shown);
        exported = dialog.Browser().StoreFile();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select folder to insert new module"));
        EXPECT_EQ(dialog.EditLabel()->text(), QStringLiteral("&New Module :"));
        EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("top.vhd"));
        EXPECT_TRUE(dialog.Edit()->isReadOnly());
        EXPECT_EQ(Row(dialog, 0).value(0), QStringLiteral("top"));

        Pick(dialog, {"cores"});
        m_prompts.QueueAnswer(PromptAnswer::No);
        dialog.CreateButton()->click();
        EXPECT_EQ(m_prompts.Messages().back().title, "Overwrite");
        EXPECT_EQ(LastMessage(), "top.vhd already exists.\nDo you want to replace it?");
        EXPECT_EQ(ReadBytes(Library() / "cores" / "top.vhd"), "-- an older top\n");
        EXPECT_TRUE(FileExists(exported));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select folder to insert new module"));

        m_prompts.QueueAnswer(PromptAnswer::Yes);
        dialog.CreateButton()->click();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Browse Library"));
        EXPECT_EQ(dialog.EditLabel()->text(), QStringLiteral("&New Folder :"));
        EXPECT_TRUE(dialog.Edit()->text().isEmpty());
        EXPECT_FALSE(dialog.Edit()->isReadOnly());
        EXPECT_EQ(dialog.Tree()->currentIndex(), dialog.TreeModel().IndexOf(Item(dialog, {"cores", "top"})));
        dialog.accept();
        return dialog.result();
    };
    Key(&Tree(project), Qt::Key_F11);
    EXPECT_NE(ReadBytes(Library() / "cores" / "top.vhd").find("top: Library module created by KESTRA"),
              std::string::npos);
    EXPECT_NE(LogText(project).find("Library module top created successfully."), std::string::npos);
}

TEST_F(LibraryDialogTest, RemovingKeepsABackupAndRefusesAFolderThatIsNotEmpty) {
    fs::create_directories(Library() / "Old");
    fs::create_directories(Library() / "Full");
    WriteBytes(Library() / "Old" / "X.vhd", CounterSource("X", "x.hex"));
    WriteBytes(Library() / "Old" / "X.bak", "an older backup");
    WriteBytes(Library() / "Old" / "x.hex", "companion");
    WriteBytes(Library() / "Full" / "A.vhd", CounterSource("A", "a.hex"));
    StartFrame();
    auto dialog = OpenDialog();

    Pick(*dialog, {"Old", "X"});
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    dialog->RemoveButton()->click();
    EXPECT_EQ(m_prompts.Messages().back().title, "CONFIRMATION");
    EXPECT_EQ(LastMessage(), "Remove the selected module?");
    EXPECT_FALSE(FileExists(Library() / "Old" / "X.vhd"));
    EXPECT_EQ(ReadBytes(Library() / "Old" / "X.bak"), CounterSource("X", "x.hex"));
    EXPECT_FALSE(FileExists(Library() / "Old" / "x.hex"));
    EXPECT_EQ(Item(*dialog, {"Old"})->ChildCount(), 0);
    EXPECT_EQ(dialog->Tree()->currentIndex(), dialog->TreeModel().IndexOf(Item(*dialog, {"Old"})));

    Pick(*dialog, {"Full"});
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    dialog->RemoveButton()->click();
    ASSERT_GE(m_prompts.Messages().size(), 2u);
    EXPECT_EQ(m_prompts.Messages()[m_prompts.Messages().size() - 2].text, "Remove the selected folder?");
    EXPECT_EQ(m_prompts.Messages().back().icon, PromptIcon::Error);
    EXPECT_EQ(LastMessage(), std::make_error_code(std::errc::directory_not_empty).message());
    EXPECT_TRUE(FolderExists(Library() / "Full"));
    EXPECT_NE(Item(*dialog, {"Full", "A"}), nullptr);
    dialog->reject();
}

TEST_F(LibraryDialogTest, DraggingAModuleMovesItsFileAndCompanionIntoTheFolder) {
    fs::create_directories(Library() / "A");
    fs::create_directories(Library() / "B");
    WriteBytes(Library() / "A" / "M.vhd", CounterSource("M", "m.hex"));
    WriteBytes(Library() / "A" / "m.hex", "table");
    StartFrame();
    auto dialog = OpenDialog();
    CLibraryTreeModel& model = dialog->TreeModel();

    const QModelIndex module = model.IndexOf(Item(*dialog, {"A", "M"}));
    EXPECT_TRUE(model.flags(module).testFlag(Qt::ItemIsDragEnabled));
    EXPECT_FALSE(model.flags(model.IndexOf(Item(*dialog, {"B"}))).testFlag(Qt::ItemIsDragEnabled));
    std::unique_ptr<QMimeData> data(model.mimeData({module}));
    ASSERT_NE(data, nullptr);
    // Dropping into its own folder means nothing.
    EXPECT_FALSE(
        model.canDropMimeData(data.get(), Qt::MoveAction, -1, -1, model.IndexOf(Item(*dialog, {"A"}))));
    model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, model.IndexOf(Item(*dialog, {"B"})));
    ProcessEvents();

    EXPECT_TRUE(FileExists(Library() / "B" / "M.vhd"));
    EXPECT_EQ(ReadBytes(Library() / "B" / "m.hex"), "table");
    EXPECT_FALSE(FileExists(Library() / "A" / "M.vhd"));
    EXPECT_FALSE(FileExists(Library() / "A" / "m.hex"));
    EXPECT_EQ(Item(*dialog, {"A"})->ChildCount(), 0);
    EXPECT_EQ(dialog->Tree()->currentIndex(), model.IndexOf(Item(*dialog, {"B", "M"})));
    dialog->reject();
}

TEST_F(LibraryDialogTest, TheNextOpeningRestoresExpandedFoldersAndTheSelection) {
    fs::create_directories(Library() / "A" / "Deep");
    fs::create_directories(Library() / "C");
    WriteBytes(Library() / "A" / "Deep" / "D.vhd", CounterSource("D", "d.hex"));
    WriteBytes(Library() / "C" / "N.vhd", CounterSource("N", "n.hex"));
    StartFrame();
    {
        auto dialog = OpenDialog();
        dialog->Tree()->expand(dialog->TreeModel().IndexOf(Item(*dialog, {"A"})));
        Pick(*dialog, {"C", "N"});
        dialog->reject();
        EXPECT_TRUE(dialog->ChosenFile().empty());
    }
    ASSERT_TRUE(FileExists(Library() / "LibraryOrg.dat"));
    auto dialog = OpenDialog();
    const CLibraryTreeModel& model = dialog->TreeModel();
    EXPECT_TRUE(dialog->Tree()->isExpanded(model.IndexOf(Item(*dialog, {"A"}))));
    EXPECT_FALSE(dialog->Tree()->isExpanded(model.IndexOf(Item(*dialog, {"A", "Deep"}))));
    EXPECT_TRUE(dialog->Tree()->isExpanded(model.IndexOf(Item(*dialog, {"C"}))));
    EXPECT_EQ(dialog->Tree()->currentIndex(), model.IndexOf(Item(*dialog, {"C", "N"})));
    EXPECT_EQ(Row(*dialog, 0).value(0), QStringLiteral("N"));
    dialog->accept();
    EXPECT_EQ(dialog->ChosenFile(), Library() / "C" / "N.vhd");
}

TEST_F(LibraryDialogTest, TheLibraryBarOpensFoldersAndInsertsWithOneClick) {
    fs::create_directories(Library() / "Arith");
    WriteBytes(Library() / "Arith" / "COUNTER.vhd", CounterSource("COUNTER", "counter.hex"));
    WriteBytes(Library() / "notes.txt", "not a module");
    StartFrame();
    m_frame->Bars().LibraryBar()->show();
    ProcessEvents();
    CLibraryBar& bar = *m_frame->LibraryBar();
    CLibraryEntryList* list = bar.List();
    const auto click = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        ProcessEvents();
    };
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Arith"));
    click(0);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("COUNTER"));
    EXPECT_TRUE(list->item(1)->toolTip().contains(QStringLiteral("COUNTER.vhd")));
    EXPECT_EQ(bar.Location()->text(), QStringLiteral("Library module \u203a Arith"));

    // Without a project the click only beeps.
    click(1);
    EXPECT_EQ(m_prompts.BeepCount(), 1);

    C3SplitFrame* project = NewProject("bar.kst");
    ASSERT_NE(project, nullptr);
    CHierarchyItem* top = AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("top"));
    ASSERT_NE(top, nullptr);
    Select(project, top);
    // A double click inserts once: its second click is not a click of its own.
    const QPoint at = list->visualItemRect(list->item(1)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), list->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
    ProcessEvents();
    CHierarchyItem* inserted = Find(project, "COUNTER");
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->Parent(), top);
    EXPECT_EQ(top->ChildCount(), 1);
    EXPECT_EQ(m_prompts.BeepCount(), 1);
    // The parent stays selected, its diagram showing the new block, ready for the next click.
    EXPECT_EQ(Tree(project).SelectedItem(), top);
    const auto& blocks = m_frame->DiagramBar()->Pane().Diagram().Blocks().Blocks();
    EXPECT_TRUE(std::any_of(blocks.begin(), blocks.end(),
                            [](const auto& entry) { return entry.second.text == "COUNTER"; }));
    click(1);
    EXPECT_NE(Find(project, "COUNTER_2"), nullptr);

    // A new folder appears when the bar is shown again; the up entry leads back.
    fs::create_directories(Library() / "Arith" / "Wide");
    m_frame->Bars().LibraryBar()->hide();
    m_frame->Bars().LibraryBar()->show();
    ProcessEvents();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Wide"));
    click(0);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(bar.Location()->text(), QStringLiteral("Library module"));

    // An empty library says where it is and how modules get there.
    fs::remove_all(Library() / "Arith");
    bar.Rescan();
    EXPECT_TRUE(list->isHidden());
    EXPECT_FALSE(bar.Hint()->isHidden());
    EXPECT_TRUE(bar.Hint()->text().contains(QString::fromStdString(Library().string())));
}

} // namespace
} // namespace kestra
