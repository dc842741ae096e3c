#include "mainframe/start_panel.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "ui_fixture.h"

#include <QAction>
#include <QCommandLinkButton>

namespace kestra {
namespace {

namespace fs = std::filesystem;

using StartPanelTest = UiTest;

TEST_F(StartPanelTest, ShowsWhileNoProjectIsOpenAndOpensARecentProject) {
    StartFrame();
    CStartPanel* panel = m_frame->StartPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    ASSERT_NE(NewProject("first.kst"), nullptr);
    EXPECT_FALSE(panel->isVisible());
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    ProcessEvents();
    EXPECT_TRUE(m_frame->Projects().isEmpty());
    EXPECT_TRUE(panel->isVisible());

    QCommandLinkButton* recent = panel->RecentButtons().front();
    ASSERT_TRUE(recent->isVisible());
    EXPECT_EQ(recent->text().toStdString(), "first.kst");
    EXPECT_TRUE(panel->RecentButtons().back()->isHidden());
    recent->click();
    ProcessEvents();
    ASSERT_NE(m_frame->ActiveProject(), nullptr);
    EXPECT_EQ(m_frame->ActiveProject()->Doc().GetPathName(), (Folder() / "first.kst").string());
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(StartPanelTest, TheExampleOpensAsACopyInTheChosenFolder) {
    // The application path of the tests is their folder: the example is installed there.
    fs::create_directories(Folder() / "examples");
    fs::copy(fs::path(KESTRA_EXAMPLES) / "blinker", Folder() / "examples" / "blinker",
             fs::copy_options::recursive);
    fs::create_directory(Folder() / "mine");
    StartFrame();
    m_prompts.QueueChoice((Folder() / "mine").string());
    ASSERT_TRUE(Trigger(m_frame->Actions().openExample));
    ProcessEvents();
    C3SplitFrame* project = m_frame->ActiveProject();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->Doc().GetPathName(), (Folder() / "mine" / "blinker" / "Blinker.kst").string());
    EXPECT_NE(Find(project, "BLINKER"), nullptr);
    EXPECT_TRUE(m_prompts.Messages().empty());
}

} // namespace
} // namespace kestra
