#include "diagram/block_diagram_bar.h"
#include "diagram/block_diagram_ctrl.h"
#include "help/help_window.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/application.h"
#include "mainframe/dock_bars.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "strings/qt_text.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
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

    ASSERT_TRUE(
        ReplaceFileSafely(Folder() / "newer.kst", std::string("\x7E\xA0\xD2\x11\x6F\x00\x00\x00", 8)));
    m_prompts.ClearRecord();
    m_frame = StartMainFrame(*m_ui, {(Folder() / "newer.kst").string()});
    EXPECT_EQ(m_frame, nullptr);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].text,
              "File version is newer than program version!\n" + (Folder() / "newer.kst").string());
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
    // The menu bar, with the way back, stays.
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
    EXPECT_FALSE(m_frame->MainToolBar()->isVisible());
    EXPECT_FALSE(m_frame->Bars().SignalListBar()->isVisible());
    EXPECT_TRUE(m_frame->Bars().BlockDiagramBar()->isVisible());
    // Closing the diagram's bar brings the layout back rather than leave an empty window.
    m_frame->Bars().BlockDiagramBar()->close();
    ProcessEvents();
    EXPECT_FALSE(m_frame->Bars().IsDiagramMaximized());
    EXPECT_FALSE(m_frame->Actions().maximizeDiagram->isChecked());
    EXPECT_TRUE(m_frame->Bars().SignalListBar()->isVisible());
    QTest::keyClick(m_frame.get(), Qt::Key_F, Qt::ControlModifier);
    ProcessEvents();
    ASSERT_TRUE(m_frame->Bars().IsDiagramMaximized());
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

TEST(HelpWindow, HeadingAnchorsAreNamedAsTheRepositoryHostNamesThem) {
    EXPECT_EQ(HeadingAnchor(QStringLiteral("The block diagram")), "the-block-diagram");
    EXPECT_EQ(HeadingAnchor(QStringLiteral(" 12. Check the result, with GHDL! ")),
              "12-check-the-result-with-ghdl");
    EXPECT_EQ(HeadingAnchor(QStringLiteral("Files KESTRA reads and writes")),
              "files-kestra-reads-and-writes");
    EXPECT_EQ(HeadingAnchor(QStringLiteral("set_kind and --help")), "set_kind-and---help");
}

TEST(HelpWindow, PicturesAreNarrowedToTheirLineButNeverWidened) {
    EXPECT_EQ(DisplayedPictureWidth(1280, 700), 700);
    EXPECT_EQ(DisplayedPictureWidth(300, 700), 300);
    EXPECT_EQ(DisplayedPictureWidth(700, 700), 700);
    // A very narrow window still shows a small picture, no wider than the picture itself.
    EXPECT_EQ(DisplayedPictureWidth(1280, -20), 64);
    EXPECT_EQ(DisplayedPictureWidth(40, 10), 40);
}

TEST_F(StartupTest, HelpPicturesFitTheWindowAndAClickShowsOneAtFullSize) {
    StartFrame();
    std::filesystem::create_directories(Folder() / "docs" / "images");
    QImage wide(1200, 300, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    ASSERT_TRUE(wide.save(PathToQt(Folder() / "docs" / "images" / "wide.png")));
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "docs" / "manual.md", "# Manual\n\n![Wide](images/wide.png)\n"));
    ASSERT_TRUE(Trigger(m_frame->Actions().userManual));
    CHelpWindow* help = m_frame->HelpWindow();
    ASSERT_NE(help, nullptr);
    help->resize(600, 500);
    ProcessEvents();
    QTextBrowser* browser = help->Browser();
    const QTextBlock block = browser->document()->lastBlock();
    const QTextCharFormat format = block.begin().fragment().charFormat();
    ASSERT_TRUE(format.isImageFormat());
    const int shown = qRound(format.toImageFormat().width());
    EXPECT_GT(shown, 400);
    EXPECT_LE(shown, browser->viewport()->width());
    EXPECT_EQ(browser->horizontalScrollBar()->maximum(), 0);

    const QPointF corner = browser->document()->documentLayout()->blockBoundingRect(block).topLeft();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                      (corner + QPointF(30, 30)).toPoint() -
                          QPoint(0, browser->verticalScrollBar()->value()));
    auto* full = help->findChild<QDialog*>(QStringLiteral("helpPicture"));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->findChild<QLabel*>()->pixmap().size(), QSize(1200, 300));
}

TEST_F(StartupTest, HelpShowsTheManualAndTutorialInItsWindowAndAboutShowsTheVersion) {
    StartFrame();
    // Without the documents Help says where it looked, and opens nothing.
    ASSERT_TRUE(Trigger(m_frame->Actions().userManual));
    EXPECT_EQ(m_frame->HelpWindow(), nullptr);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_NE(m_prompts.Messages()[0].text.find((Folder() / "docs" / "manual.md").string()),
              std::string::npos)
        << m_prompts.Messages()[0].text;

    std::filesystem::create_directories(Folder() / "docs");
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "docs" / "manual.md",
                                  "# Manual of the test\n\nSee [the tutorial](tutorial.md) and *this*.\n"));
    ASSERT_TRUE(
        ReplaceFileSafely(Folder() / "docs" / "tutorial.md", "# Tutorial of the test\n\n1. First step\n"));
    ASSERT_TRUE(Trigger(m_frame->Actions().userManual));
    CHelpWindow* help = m_frame->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->Browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(PathToQt(Folder() / "docs" / "manual.md")));
    // Shown as Markdown, not as its source text.
    EXPECT_TRUE(browser->toPlainText().startsWith("Manual of the test\n"))
        << browser->toPlainText().toStdString();
    EXPECT_FALSE(browser->toPlainText().contains('*'));
    EXPECT_EQ(help->windowTitle(), "KESTRA Help - Manual of the test");

    // A link to the other document is followed in the window, as Markdown too.
    browser->setSource(QUrl(QStringLiteral("tutorial.md")));
    EXPECT_TRUE(browser->toPlainText().startsWith("Tutorial of the test\n"))
        << browser->toPlainText().toStdString();
    EXPECT_TRUE(browser->isBackwardAvailable());

    // A link to a section of the other document scrolls there.
    std::string longManual = "# Manual of the test\n\n";
    for (int i = 0; i < 200; ++i)
        longManual += "Paragraph " + std::to_string(i) + ".\n\n";
    longManual += "## The block diagram\n\nLast words.\n";
    ASSERT_TRUE(ReplaceFileSafely(Folder() / "docs" / "manual.md", longManual));
    browser->setSource(QUrl(QStringLiteral("manual.md#the-block-diagram")));
    EXPECT_TRUE(browser->toPlainText().endsWith("Last words.")) << browser->toPlainText().toStdString();
    EXPECT_GT(browser->verticalScrollBar()->value(), browser->verticalScrollBar()->maximum() / 2);
    browser->setSource(QUrl(QStringLiteral("#manual-of-the-test")));
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    ASSERT_TRUE(Trigger(m_frame->Actions().tutorial));
    EXPECT_EQ(m_frame->HelpWindow(), help);
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(PathToQt(Folder() / "docs" / "tutorial.md")));
    EXPECT_TRUE(m_shell.opened.empty());
    EXPECT_EQ(m_prompts.Messages().size(), 1u);

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
