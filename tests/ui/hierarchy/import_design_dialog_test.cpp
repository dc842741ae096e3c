#include "hierarchy/import_design_dialog.h"
#include "hierarchy/kst_tree_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "support/temp_folder.h"
#include "ui_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::WriteBytes;

const char* const kChild = "library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                           "entity child is\n  port (a : in std_logic; y : out std_logic);\nend entity;\n\n"
                           "architecture rtl of child is\nbegin\n  y <= not a;\nend architecture;\n";

// The top instantiates the child; with `ghost` also an entity that no file declares (line 11).
std::string TopSource(bool ghost) {
    return std::string("library ieee;\nuse ieee.std_logic_1164.all;\n\n"
                       "entity top is\n  port (a : in std_logic; y : out std_logic);\nend entity;\n\n"
                       "architecture rtl of top is\nbegin\n  u_child: entity work.child port map (a => a, y "
                       "=> y);\n") +
           (ghost ? "  u_ghost: entity work.ghost port map (a => a);\n" : "") + "end architecture;\n";
}

QImage IconImage(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

class ImportDesignDialogTest : public UiTest {
protected:
    // A folder of the design: top.vhd and child.vhd, and the further files given.
    fs::path Design(const std::string& name, bool ghost = false) {
        const fs::path folder = Folder() / name;
        fs::create_directories(folder);
        WriteBytes(folder / "top.vhd", TopSource(ghost));
        WriteBytes(folder / "child.vhd", kChild);
        return folder;
    }
    static int TopIndex(CImportDesignDialog& dialog, const QString& name) {
        return dialog.TopBox()->findText(name);
    }
};

TEST_F(ImportDesignDialogTest, NothingIsImportedBeforeFilesAreChosen) {
    CImportDesignDialog dialog(Folder());
    EXPECT_FALSE(dialog.ImportButton()->isEnabled());
    EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
    EXPECT_FALSE(dialog.Preview().CanImport());
    EXPECT_TRUE(dialog.Preview().files.empty());
    EXPECT_EQ(dialog.Summary()->text(), "Add the design's VHDL files, or the folders that hold them.");
    ASSERT_EQ(dialog.TopBox()->count(), 1);
    EXPECT_EQ(dialog.TopBox()->itemText(0), "(each entity no other instantiates)");
}

TEST_F(ImportDesignDialogTest, AFolderPreviewsItsTopAndTheModulesTheImportAdds) {
    const fs::path folder = Design("design");
    CImportDesignDialog dialog(Folder());
    dialog.AddPaths({folder});

    ASSERT_EQ(dialog.PathList()->count(), 1);
    EXPECT_EQ(dialog.PathList()->item(0)->text().toStdString(), folder.string());
    EXPECT_EQ(dialog.Preview().files.size(), 2u);
    EXPECT_EQ(dialog.Summary()->text(),
              "2 files, 2 entities, 0 packages; the import adds 2 modules.<br>Top: <b>top</b>");
    EXPECT_TRUE(dialog.ImportButton()->isEnabled());
    EXPECT_EQ(dialog.ProblemList()->count(), 0);
    // The entities found can be chosen as the top, alphabetically after the choice of every top.
    ASSERT_EQ(dialog.TopBox()->count(), 3);
    EXPECT_EQ(dialog.TopBox()->itemText(1), "child");
    EXPECT_EQ(dialog.TopBox()->itemText(2), "top");
    EXPECT_EQ(dialog.TopBox()->currentIndex(), 0);
}

TEST_F(ImportDesignDialogTest, ChoosingTheTopPreviewsItsSubtreeOnly) {
    CImportDesignDialog dialog(Folder());
    dialog.AddPaths({Design("design")});
    const int child = TopIndex(dialog, QStringLiteral("child"));
    ASSERT_GT(child, 0);
    dialog.TopBox()->setCurrentIndex(child);
    emit dialog.TopBox()->activated(child);

    EXPECT_EQ(dialog.Preview().plan.tops, std::vector<std::string>{"child"});
    EXPECT_EQ(dialog.Summary()->text(),
              "2 files, 2 entities, 0 packages; the import adds 1 module.<br>Top: <b>child</b>");
    // The choice stays while files are added.
    WriteBytes(Folder() / "extra.vhd", "entity extra is end;\narchitecture a of extra is begin end;\n");
    dialog.AddPaths({Folder() / "extra.vhd"});
    EXPECT_EQ(dialog.TopBox()->currentText(), "child");
    EXPECT_EQ(dialog.Preview().plan.tops, std::vector<std::string>{"child"});
    EXPECT_EQ(dialog.Preview().files.size(), 3u);
}

TEST_F(ImportDesignDialogTest, ProblemsShowTheirPlaceAndSeverity) {
    const fs::path folder = Design("design", true);
    WriteBytes(folder / "child_copy.vhd", "entity CHILD is end;\n");
    CImportDesignDialog dialog(Folder());
    dialog.AddPaths({folder / "top.vhd", folder / "child.vhd", folder / "child_copy.vhd"});

    EXPECT_TRUE(dialog.ImportButton()->isEnabled());
    ASSERT_EQ(dialog.ProblemList()->count(), 2);
    const QListWidgetItem* error = nullptr;
    const QListWidgetItem* warning = nullptr;
    for (int row = 0; row < dialog.ProblemList()->count(); ++row) {
        const QListWidgetItem* item = dialog.ProblemList()->item(row);
        (item->text().startsWith(QStringLiteral("top.vhd:")) ? warning : error) = item;
    }
    ASSERT_NE(warning, nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(warning->text().startsWith(QStringLiteral("top.vhd:11: u_ghost: ghost is declared in none")))
        << warning->text().toStdString();
    EXPECT_TRUE(error->text().startsWith(QStringLiteral("child_copy.vhd:1: entity CHILD is declared again")))
        << error->text().toStdString();
    EXPECT_EQ(warning->toolTip().toStdString(), (folder / "top.vhd").string());
    const QImage warningIcon = IconImage(dialog.style()->standardIcon(QStyle::SP_MessageBoxWarning));
    const QImage errorIcon = IconImage(dialog.style()->standardIcon(QStyle::SP_MessageBoxCritical));
    ASSERT_NE(warningIcon, errorIcon);
    EXPECT_EQ(IconImage(warning->icon()), warningIcon);
    EXPECT_EQ(IconImage(error->icon()), errorIcon);
}

TEST_F(ImportDesignDialogTest, AnEmptyFolderIsRefused) {
    fs::create_directories(Folder() / "empty");
    CImportDesignDialog dialog(Folder());
    dialog.AddPaths({Folder() / "empty"});

    EXPECT_FALSE(dialog.Preview().CanImport());
    EXPECT_FALSE(dialog.ImportButton()->isEnabled());
    EXPECT_FALSE(dialog.Preview().refusal.empty());
    EXPECT_EQ(dialog.Summary()->text().toStdString(), dialog.Preview().refusal);
}

TEST_F(ImportDesignDialogTest, RemovingTheLastPathEndsThePreview) {
    CImportDesignDialog dialog(Folder());
    dialog.AddPaths({Design("design")});
    dialog.AddPaths({Design("design")});
    ASSERT_EQ(dialog.PathList()->count(), 1);
    dialog.PathList()->item(0)->setSelected(true);
    ASSERT_TRUE(dialog.RemoveButton()->isEnabled());
    dialog.RemoveButton()->click();

    EXPECT_EQ(dialog.PathList()->count(), 0);
    EXPECT_TRUE(dialog.Paths().empty());
    EXPECT_FALSE(dialog.ImportButton()->isEnabled());
    EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
    EXPECT_EQ(dialog.TopBox()->count(), 1);
}

TEST_F(ImportDesignDialogTest, TheCommandOpensTheDialogBelowTheRootOrANormalModule) {
    StartFrame();
    C3SplitFrame* project = NewProject("import.kst");
    ASSERT_NE(project, nullptr);
    CHierarchyItem* root = project->Doc().Tree().GetRootItem();
    QAction* importAction = m_frame->Actions().importDesign;
    EXPECT_TRUE(m_frame->Actions().TreeContextMenu().contains(importAction));
    Select(project, root);
    m_frame->UpdateActions();
    EXPECT_TRUE(importAction->isEnabled());

    int shown = 0;
    dialogHandler = [&](QDialog& dialog) {
        shown += qobject_cast<CImportDesignDialog*>(&dialog) != nullptr ? 1 : 0;
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(Trigger(importAction));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(root->ChildCount(), 0);

    CHierarchyItem* alu = AddModule(project, root, QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(project, alu);
    ASSERT_TRUE(Trigger(m_frame->Actions().setLibrary));
    Select(project, alu);
    m_frame->UpdateActions();
    EXPECT_FALSE(importAction->isEnabled());
}

} // namespace
} // namespace kestra
