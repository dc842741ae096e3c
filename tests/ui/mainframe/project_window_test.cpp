#include "diagram/block_diagram_bar.h"
#include "hierarchy/hierarchy_model.h"
#include "hierarchy/kst_tree_view.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "projectframe/project_frame.h"
#include "projectframe/properties_dialog.h"
#include "projectframe/recent_file_list.h"
#include "signallist/signal_list_view.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSlider>

namespace kestra {
namespace {

using ProjectWindowTest = UiTest;

// Reads a project file as another start of the program would.
std::unique_ptr<CKSTDoc> Reopen(const std::filesystem::path& path, CScriptedPrompts& prompts,
                                CMemoryLog& log) {
    auto doc = std::make_unique<CKSTDoc>(prompts, log);
    if (!doc->OnOpenDocument(path.string()))
        return nullptr;
    return doc;
}

TEST_F(ProjectWindowTest, NewProjectAsksForAFileAndShowsTheProject) {
    StartFrame();
    C3SplitFrame* project = NewProject("first");
    ASSERT_NE(project, nullptr);

    ASSERT_EQ(m_prompts.FileRequests().size(), 1u);
    const FileChoice& request = m_prompts.FileRequests().front();
    EXPECT_EQ(request.title, "Create New Project");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label, "KESTRA Files (*.kst)");
    EXPECT_EQ(request.defaultExtension, "kst");

    // The default extension is added and the file is written at once.
    EXPECT_TRUE(FileExists(Folder() / "first.kst"));
    EXPECT_TRUE(std::filesystem::is_directory(Folder() / "ProjectA"));
    EXPECT_EQ(project->windowTitle(), "first.kst[*]");
    EXPECT_EQ(m_frame->windowTitle(), "KESTRA - [first.kst[*]]");
    EXPECT_EQ(LogText(project), "Open project: ProjectA");

    CHierarchyItem* root = project->Doc().Tree().GetRootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Tree(project).SelectedItem(), root);
    EXPECT_TRUE(Tree(project).Model().IndexOf(root).data(Qt::FontRole).value<QFont>().bold());
    // The parameter list shows the root's settings.
    ASSERT_GE(project->ListView()->model()->rowCount(), 2);
    EXPECT_EQ(project->ListView()->model()->index(0, 0).data().toString(), "Library name");
    EXPECT_EQ(project->ListView()->model()->index(0, 1).data().toString(), "WORK");
    EXPECT_EQ(project->ListView()->model()->headerData(1, Qt::Horizontal).toString(), "Parameter");

    ASSERT_FALSE(m_frame->RecentFiles().Files().empty());
    EXPECT_EQ(m_frame->RecentFiles().Files().front(), (Folder() / "first.kst").string());
    EXPECT_TRUE(m_frame->Actions().recentFiles[0]->isVisible());
}

TEST_F(ProjectWindowTest, NewProjectOverExistingFileAsksAndNoChoosesAgain) {
    StartFrame();
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "taken.kst", "keep"));
    m_prompts.QueueChoice((Folder() / "taken.kst").string());
    m_prompts.QueueAnswer(PromptAnswer::No);
    m_prompts.QueueChoice((Folder() / "fresh.kst").string());
    ASSERT_TRUE(Trigger(m_frame->Actions().newProject));

    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].text, "Project file already exist, overwrite?");
    EXPECT_EQ(m_prompts.Messages()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(ReadWholeFile(Folder() / "taken.kst"), "keep");
    ASSERT_NE(m_frame->ActiveProject(), nullptr);
    EXPECT_EQ(m_frame->ActiveProject()->windowTitle(), "fresh.kst[*]");
}

TEST_F(ProjectWindowTest, CancelledNewProjectOpensNoWindow) {
    StartFrame();
    ASSERT_TRUE(Trigger(m_frame->Actions().newProject));
    EXPECT_EQ(m_frame->ActiveProject(), nullptr);
    EXPECT_TRUE(m_frame->MdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(m_frame->Actions().saveProject->isEnabled());
}

TEST_F(ProjectWindowTest, OpeningAFileThatIsNoProjectReportsItAndOpensNothing) {
    StartFrame();
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "junk.kst", std::string(64, 'x')));
    m_prompts.QueueChoice((Folder() / "junk.kst").string());
    ASSERT_TRUE(Trigger(m_frame->Actions().openProject));
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    // The message names the file on a line of its own.
    EXPECT_EQ(m_prompts.Messages()[0].text, "Unrecognized file!\n" + (Folder() / "junk.kst").string());
    EXPECT_EQ(m_frame->ActiveProject(), nullptr);
    EXPECT_TRUE(m_frame->RecentFiles().Files().empty());
}

TEST_F(ProjectWindowTest, OpeningAnOpenProjectAgainShowsItsWindow) {
    StartFrame();
    C3SplitFrame* first = NewProject("one.kst");
    NewProject("two.kst");
    ASSERT_EQ(m_frame->Projects().size(), 2);
    ASSERT_TRUE(m_frame->OpenProjectFile((Folder() / "one.kst").string()));
    EXPECT_EQ(m_frame->Projects().size(), 2);
    EXPECT_EQ(m_frame->ActiveProject(), first);
}

// The bars shared by the project windows show the active window's selection: a new project's
// root (an empty diagram, no signals), the other window's module again when it is active, and
// nothing once the last window has closed.
TEST_F(ProjectWindowTest, TheSharedBarsFollowTheActiveProjectWindow) {
    StartFrame();
    C3SplitFrame* first = NewProject("one.kst");
    CHierarchyItem* alu = AddModule(first, first->Doc().Tree().GetRootItem(), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    Select(first, alu);
    ASSERT_EQ(m_frame->DiagramBar()->Pane().Item(), alu);
    ASSERT_EQ(m_frame->SignalList()->Grid().Owner(), alu);

    C3SplitFrame* second = NewProject("two.kst");
    ASSERT_NE(second, nullptr);
    CHierarchyItem* root = second->Doc().Tree().GetRootItem();
    EXPECT_EQ(m_frame->DiagramBar()->Pane().Item(), root);
    EXPECT_EQ(m_frame->DiagramBar()->Pane().Diagram().Blocks().Count(), 0);
    EXPECT_EQ(m_frame->SignalList()->Grid().Owner(), nullptr); // the root has no signals
    EXPECT_EQ(m_frame->SignalList()->Grid().RowCount(), 0);

    m_frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    ProcessEvents();
    EXPECT_EQ(m_frame->DiagramBar()->Pane().Item(), alu);
    EXPECT_EQ(m_frame->SignalList()->Grid().Owner(), alu);

    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    EXPECT_EQ(m_frame->DiagramBar()->Pane().Session(), &second->Session());
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    EXPECT_EQ(m_frame->DiagramBar()->Pane().Item(), nullptr);
    EXPECT_EQ(m_frame->SignalList()->Grid().Owner(), nullptr);
}

TEST_F(ProjectWindowTest, RecentProjectOpensAndOneThatFailsLeavesTheList) {
    StartFrame();
    C3SplitFrame* project = NewProject("recent.kst");
    AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("alu"));
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    EXPECT_TRUE(m_frame->Projects().isEmpty());

    ASSERT_TRUE(Trigger(m_frame->Actions().recentFiles[0]));
    ASSERT_NE(m_frame->ActiveProject(), nullptr);
    EXPECT_NE(Find(m_frame->ActiveProject(), "alu"), nullptr);
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));

    std::filesystem::remove(Folder() / "recent.kst");
    ASSERT_TRUE(Trigger(m_frame->Actions().recentFiles[0]));
    EXPECT_TRUE(m_frame->RecentFiles().Files().empty());
    EXPECT_FALSE(m_frame->Actions().recentFiles[0]->isVisible());
}

TEST_F(ProjectWindowTest, ClosingTheWindowSavesTheProjectWithoutAsking) {
    StartFrame();
    C3SplitFrame* project = NewProject("closing.kst");
    ASSERT_NE(AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("alu")), nullptr);
    m_prompts.ClearRecord();
    ASSERT_TRUE(CloseFrame());
    EXPECT_TRUE(m_prompts.Messages().empty());

    CScriptedPrompts prompts;
    CMemoryLog log;
    auto doc = Reopen(Folder() / "closing.kst", prompts, log);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->Tree().GetRootItem(), nullptr);
    ASSERT_EQ(doc->Tree().GetRootItem()->ChildCount(), 1);
    EXPECT_EQ(doc->Tree().GetRootItem()->Child(0)->Text(), "alu");
}

TEST_F(ProjectWindowTest, SaveAsIntoAnotherFolderTakesTheModulesAlong) {
    StartFrame();
    C3SplitFrame* project = NewProject("orig.kst");
    ASSERT_NE(AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("alu")), nullptr);
    std::filesystem::create_directory(Folder() / "moved");
    m_prompts.QueueChoice((Folder() / "moved" / "copy").string());
    ASSERT_TRUE(Trigger(m_frame->Actions().saveProjectAs));

    EXPECT_TRUE(FileExists(Folder() / "moved" / "copy.kst"));
    EXPECT_TRUE(FileExists(Folder() / "moved" / "ProjectA" / "alu.vhd"));
    EXPECT_EQ(project->windowTitle(), "copy.kst[*]");
    EXPECT_EQ(m_frame->RecentFiles().Files().front(), (Folder() / "moved" / "copy.kst").string());
}

TEST_F(ProjectWindowTest, SaveAsOverAnotherFileAsksFirst) {
    StartFrame();
    NewProject("keep.kst");
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "other.kst", "other"));
    m_prompts.QueueChoice((Folder() / "other.kst").string());
    m_prompts.QueueAnswer(PromptAnswer::No);
    ASSERT_TRUE(Trigger(m_frame->Actions().saveProjectAs));
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_NE(m_prompts.Messages()[0].text.find("already exists"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(Folder() / "other.kst"), "other");
}

TEST_F(ProjectWindowTest, PropertiesShowTheCreatorAndStoreTheAccessLevel) {
    StartFrame();
    C3SplitFrame* project = NewProject("props.kst");
    const ProjectProperties before = project->Doc().GetProperties();
    QStringList shown;
    dialogHandler = [&](QDialog& dialog) {
        auto* properties = dynamic_cast<CPropertiesDialog*>(&dialog);
        if (properties == nullptr)
            return int(QDialog::Rejected);
        for (QLineEdit* field : properties->findChildren<QLineEdit*>()) {
            EXPECT_TRUE(field->isReadOnly());
            shown << field->text();
        }
        for (QLabel* label : properties->findChildren<QLabel*>())
            shown << label->text();
        EXPECT_EQ(properties->AccessSlider()->value(), static_cast<int>(AccessLevel::Any));
        properties->AccessSlider()->setValue(static_cast<int>(AccessLevel::SameUserAndComputer));
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Trigger(m_frame->Actions().properties));
    EXPECT_TRUE(shown.contains(QString::fromStdString(before.creatorUser)));
    EXPECT_TRUE(shown.contains(QString::fromStdString(before.creatorComputer)));
    EXPECT_TRUE(shown.contains("Same user & computer"));
    EXPECT_TRUE(shown.contains("Project created &by : "));
    EXPECT_EQ(project->Doc().GetProperties().accessLevel, AccessLevel::SameUserAndComputer);

    // The level reaches the file at the next save; a cancelled dialog changes nothing.
    dialogHandler = [](QDialog&) { return int(QDialog::Rejected); };
    ASSERT_TRUE(Trigger(m_frame->Actions().properties));
    ASSERT_TRUE(Trigger(m_frame->Actions().saveProject));
    CScriptedPrompts prompts;
    CMemoryLog log;
    auto doc = Reopen(Folder() / "props.kst", prompts, log);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetProperties().accessLevel, AccessLevel::SameUserAndComputer);
}

} // namespace
} // namespace kestra
