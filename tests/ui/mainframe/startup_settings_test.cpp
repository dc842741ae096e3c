#include "diagram/block_diagram_bar.h"
#include "diagram/block_diagram_ctrl.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/application.h"
#include "mainframe/dock_bars.h"
#include "mainframe/project_frame.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QTest>
#include <QToolBar>

namespace kestra {
namespace {

using StartupTest = UiTest;

TEST_F(StartupTest, LayoutIsWrittenOnCloseAndReadBackOnTheNextStart) {
    StartFrame();
    C3SplitFrame* project = NewProject("layout.kst");
    ASSERT_NE(project, nullptr);
    // With nothing stored the panes take three quarters of the height and half the width.
    const int rowsTotal = project->RowSplitter()->sizes()[0] + project->RowSplitter()->sizes()[1];
    EXPECT_NEAR(project->RowSplitter()->sizes()[0], rowsTotal * 3 / 4, 2);
    const int columnsTotal = project->ColumnSplitter()->sizes()[0] + project->ColumnSplitter()->sizes()[1];
    EXPECT_NEAR(project->ColumnSplitter()->sizes()[0], columnsTotal / 2, 2);

    project->RowSplitter()->setSizes({rowsTotal - 100, 100});
    project->ColumnSplitter()->setSizes({180, columnsTotal - 180});
    project->ListView()->SetItemColumnWidth(210);
    ASSERT_TRUE(Trigger(m_frame->Actions().signalList));
    EXPECT_TRUE(m_frame->Bars().SignalListBar()->isHidden());
    ASSERT_TRUE(CloseFrame());

    EXPECT_EQ(m_settings->ReadSettingInt("Settings", "Splitter Row", 0), rowsTotal - 100);
    EXPECT_EQ(m_settings->ReadSettingInt("Settings", "Splitter Column", 0), 180);
    EXPECT_EQ(m_settings->ReadSettingInt("Settings", "List Column", 0), 210);
    EXPECT_FALSE(m_settings->ReadSetting("DockBarState", "State").empty());
    EXPECT_EQ(m_settings->ReadSetting("Recent File List", "File1"), (Folder() / "layout.kst").string());

    StartFrame();
    EXPECT_TRUE(m_frame->Bars().SignalListBar()->isHidden());
    EXPECT_FALSE(m_frame->Actions().signalList->isChecked());
    EXPECT_FALSE(m_frame->Bars().BlockDiagramBar()->isHidden());
    ASSERT_TRUE(Trigger(m_frame->Actions().recentFiles[0]));
    C3SplitFrame* reopened = m_frame->ActiveProject();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->RowSplitter()->sizes()[0], rowsTotal - 100);
    EXPECT_EQ(reopened->ColumnSplitter()->sizes()[0], 180);
    EXPECT_EQ(reopened->ListView()->ItemColumnWidth(), 210);
}

TEST_F(StartupTest, AProjectOnTheCommandLineOpensAndAFailingOneEndsTheStart) {
    StartFrame();
    NewProject("cmdline.kst");
    ASSERT_TRUE(CloseFrame());

    StartFrame({(Folder() / "cmdline.kst").string()});
    ASSERT_NE(m_frame->ActiveProject(), nullptr);
    EXPECT_EQ(m_frame->ActiveProject()->windowTitle(), "cmdline.kst[*]");
    EXPECT_TRUE(m_frame->isMaximized() || m_frame->isVisible());
    m_frame.reset();

    ReplaceFileSafely(Folder() / "newer.kst", std::string("\x7E\xA0\xD2\x11\x6F\x00\x00\x00", 8));
    m_prompts.ClearRecord();
    m_frame = StartMainFrame(*m_ui, {(Folder() / "newer.kst").string()});
    EXPECT_EQ(m_frame, nullptr);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].text, "File version is newer than program version!");
}

TEST_F(StartupTest, FirstStartWritesTheApplicationFolders) {
    EXPECT_EQ(m_settings->ReadSetting("Settings", "Application path"), Folder().string());
    EXPECT_TRUE(std::filesystem::is_directory(Folder() / "Library"));
    EXPECT_TRUE(std::filesystem::is_directory(Folder() / "Predefined"));
    StartFrame();
    EXPECT_TRUE(m_frame->Projects().isEmpty());
    EXPECT_EQ(m_frame->windowTitle(), "KESTRA");
}

TEST_F(StartupTest, MaximizedBlockDiagramHidesTheOtherBarsAndClosingRestoresThem) {
    StartFrame();
    ASSERT_TRUE(m_frame->Bars().SignalListBar()->isVisible());
    QTest::keyClick(m_frame.get(), Qt::Key_F, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_TRUE(m_frame->Bars().IsDiagramMaximized());
    EXPECT_FALSE(m_frame->menuBar()->isVisible());
    EXPECT_FALSE(m_frame->MainToolBar()->isVisible());
    EXPECT_FALSE(m_frame->Bars().SignalListBar()->isVisible());
    EXPECT_TRUE(m_frame->Bars().BlockDiagramBar()->isVisible());
    ASSERT_TRUE(CloseFrame());

    StartFrame();
    EXPECT_FALSE(m_frame->Bars().IsDiagramMaximized());
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
    EXPECT_TRUE(m_frame->MainToolBar()->isVisible());
    EXPECT_TRUE(m_frame->Bars().SignalListBar()->isVisible());
    // The library bar starts hidden and the View menu shows it.
    EXPECT_TRUE(m_frame->Bars().LibraryBar()->isHidden());
    ASSERT_TRUE(Trigger(m_frame->Actions().libraryBar));
    EXPECT_TRUE(m_frame->Bars().LibraryBar()->isVisible());
    EXPECT_EQ(m_frame->Bars().LibraryBar()->windowTitle(), "MODULE LIBRARY");
}

TEST_F(StartupTest, FocusKeysReachThePanes) {
    StartFrame();
    C3SplitFrame* project = NewProject("focus.kst");
    Key(&Tree(project), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), project->ListView());
    Key(project->ListView(), Qt::Key_F8);
    EXPECT_EQ(QApplication::focusWidget(), m_frame->DiagramBar()->Canvas()); // the pane's canvas
    Key(m_frame->Bars().BlockDiagramPane(), Qt::Key_F7);
    EXPECT_EQ(QApplication::focusWidget(), m_frame->Bars().SignalListPane());
    Key(m_frame->Bars().SignalListPane(), Qt::Key_F5);
    EXPECT_EQ(QApplication::focusWidget(), project->TreeView());
}

TEST_F(StartupTest, HelpOpensTheManualWhenItExistsAndAboutShowsTheVersion) {
    StartFrame();
    ASSERT_TRUE(Trigger(m_frame->Actions().userManual));
    EXPECT_TRUE(m_shell.opened.empty());
    ReplaceFileSafely(Folder() / "KESTRA.pdf", "%PDF");
    ASSERT_TRUE(Trigger(m_frame->Actions().userManual));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0], Folder() / "KESTRA.pdf");
    std::filesystem::create_directory(Folder() / "Tutorial");
    ReplaceFileSafely(Folder() / "Tutorial" / "Tutorial.html", "<html/>");
    ASSERT_TRUE(Trigger(m_frame->Actions().tutorial));
    ASSERT_EQ(m_shell.opened.size(), 2u);
    EXPECT_EQ(m_shell.opened[1], Folder() / "Tutorial" / "Tutorial.html");

    QString aboutText;
    dialogHandler = [&](QDialog& dialog) {
        if (auto* box = dynamic_cast<QMessageBox*>(&dialog))
            aboutText = box->windowTitle() + QLatin1Char('|') + box->text();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Trigger(m_frame->Actions().about));
    EXPECT_TRUE(aboutText.startsWith("About KESTRA|"));
    EXPECT_TRUE(aboutText.contains("Version 1.10"));
}

} // namespace
} // namespace kestra
