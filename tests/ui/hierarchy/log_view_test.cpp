#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "paramlist/kst_list_view.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace kestra {
namespace {

TEST(LogViewTest, AppendedTextStartsItsOwnLinesAndTheEndStaysInView) {
    CKSTEditView log;
    log.resize(300, 60);
    log.show();
    log.AppendLog("\r\nNew module added.");
    EXPECT_EQ(log.toPlainText(), "\nNew module added.");
    EXPECT_EQ(log.document()->blockCount(), 2);
    for (int i = 0; i < 50; ++i)
        log.AppendWarning("line " + std::to_string(i));
    EXPECT_TRUE(log.toPlainText().endsWith("\nWARNING: line 49"));
    EXPECT_EQ(log.textCursor().position(), log.document()->characterCount() - 1);
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    // Text is taken as it is: no time stamps and no added line breaks.
    log.AppendLog("a");
    log.AppendLog("b");
    EXPECT_TRUE(log.toPlainText().endsWith("line 49ab"));
}

using LogPaneTest = UiTest;

TEST_F(LogPaneTest, RemoveClearsTheLogWhichStaysReadOnly) {
    StartFrame();
    C3SplitFrame* project = NewProject("log.kst");
    CKSTEditView* log = project->LogView();
    log->setFocus();
    ProcessEvents();
    ASSERT_EQ(QApplication::focusWidget(), log);
    m_frame->UpdateActions();
    EXPECT_TRUE(m_frame->Actions().remove->isEnabled());
    Key(log, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(log->toPlainText().isEmpty());
    EXPECT_TRUE(log->isReadOnly());
    // The hierarchy is untouched: Remove went to the log.
    EXPECT_NE(project->Doc().Tree().GetRootItem(), nullptr);

    QTest::keyClicks(log, QStringLiteral("typed"));
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_TRUE(log->toPlainText().isEmpty());
    log->AppendLog("\r\nstill working");
    EXPECT_EQ(log->toPlainText(), "\nstill working");
}

TEST_F(LogPaneTest, HierarchyCommandsActOnTheTreeWhileTheLogHasTheFocus) {
    StartFrame();
    C3SplitFrame* project = NewProject("routed.kst");
    CHierarchyItem* alu = AddModule(project, project->Doc().Tree().GetRootItem(), QStringLiteral("alu"));
    ASSERT_NE(alu, nullptr);
    project->LogView()->setFocus();
    ProcessEvents();
    project->LogView()->ClearLog();
    Key(project->LogView(), Qt::Key_F4);
    EXPECT_NE(LogText(project).find("alu analyzed."), std::string::npos);

    Key(project->LogView(), Qt::Key_F1);
    ASSERT_TRUE(TypeName(project, QStringLiteral("adder")));
    ASSERT_EQ(alu->ChildCount(), 1);
    EXPECT_EQ(alu->Child(0)->Text(), "adder");
}

TEST_F(LogPaneTest, ShiftTabMovesToTheParameterList) {
    StartFrame();
    C3SplitFrame* project = NewProject("tab.kst");
    project->LogView()->setFocus();
    ProcessEvents();
    QTest::keyClick(project->LogView(), Qt::Key_Backtab, Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_EQ(QApplication::focusWidget(), project->ListView());
}

} // namespace
} // namespace kestra
