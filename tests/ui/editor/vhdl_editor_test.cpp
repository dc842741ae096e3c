#include "commands/parameter_commands.h"
#include "editor/editor_controller.h"
#include "editor/source_editor.h"
#include "editor/vhdl_editor_pane.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "panes/signal_grid.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "signallist/signal_list_view.h"
#include "support/ghdl.h"
#include "support/temp_folder.h"
#include "system/file_system.h"
#include "tools/vhdl_checker.h"
#include "ui_fixture.h"

#include <QAction>
#include <QDockWidget>
#include <QInputDialog>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <functional>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// The blinker example opened in the window, no HDL editor set: sources open in the VHDL editor.
class VhdlEditorTest : public UiTest {
protected:
    C3SplitFrame* OpenBlinker() {
        const fs::path folder = Folder() / "blinker";
        fs::copy(KESTRA_EXAMPLES "/blinker", folder, fs::copy_options::recursive);
        StartFrame({(folder / "Blinker.kst").string()});
        return m_frame->ActiveProject();
    }
    C3SplitFrame* OpenBlinkerAgain() {
        m_prompts.QueueChoice((Folder() / "blinker" / "Blinker.kst").string());
        Trigger(m_frame->Actions().openProject);
        return m_frame->ActiveProject();
    }
    fs::path Divider() const { return Folder() / "blinker" / "Blinker" / "DIVIDER.vhd"; }
    CEditorController& Editor() const { return m_frame->EditorController(); }
    OpenSource* Current() const { return Editor().Pane().Current(); }
    // Runs the event loop until the condition holds (the project's watch reacts after the files
    // settle).
    static bool WaitFor(const std::function<bool()>& condition) {
        for (int i = 0; i < 100 && !condition(); ++i)
            QTest::qWait(50);
        return condition();
    }
    // Inserts the text at the start of the line that holds the mark, as typing would.
    static void InsertBefore(CSourceEditor& editor, const QString& mark, const QString& text) {
        for (int line = 0; line < editor.lines(); ++line) {
            if (editor.text(line).contains(mark)) {
                editor.insertAt(text, line, 0);
                return;
            }
        }
        FAIL() << "no line holds " << mark.toStdString();
    }
    void Save() { Key(Current()->editor, Qt::Key_S, Qt::ControlModifier); }
};

// Edit VHDL opens the module's source in a tab named by the module; Ctrl+S writes exactly the
// edit into the file, the project's watch does not take it for another program's, and the
// module is analysed again, so its new port is in the signal list.
TEST_F(VhdlEditorTest, SavingWritesTheEditAndAnalysesTheModule) {
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    CHierarchyItem* divider = Find(project, "DIVIDER");
    Select(project, divider);
    Key(&Tree(project), Qt::Key_Return);
    ASSERT_NE(Current(), nullptr);
    EXPECT_TRUE(m_shell.opened.empty());
    EXPECT_FALSE(m_frame->Bars().EditorBar()->isHidden());
    EXPECT_EQ(Editor().Pane().Tabs().tabText(0), QStringLiteral("DIVIDER"));

    const std::string before = ReadBytes(Divider());
    InsertBefore(*Current()->editor, QStringLiteral("TICK : out"),
                 QStringLiteral("\t\tLOAD : in std_logic;\r\n"));
    EXPECT_EQ(Editor().Pane().Tabs().tabText(0), QStringLiteral("DIVIDER *"));
    Save();
    std::string expected = before;
    expected.insert(expected.find("\t\tTICK : out"), "\t\tLOAD : in std_logic;\r\n");
    EXPECT_EQ(ReadBytes(Divider()), expected);
    EXPECT_EQ(Editor().Pane().Tabs().tabText(0), QStringLiteral("DIVIDER"));
    EXPECT_NE(LogText(project).find("DIVIDER.vhd was saved in the VHDL editor"), std::string::npos);

    const CSignalGrid& grid = m_frame->SignalList()->Grid();
    bool hasLoad = false;
    for (int row = 0; row < grid.RowCount(); ++row)
        hasLoad = hasLoad || grid.Cell(row, SignalColumn::Name) == "LOAD";
    EXPECT_TRUE(hasLoad);
    QTest::qWait(4 * 250);
    EXPECT_EQ(LogText(project).find("was changed by another program"), std::string::npos) << LogText(project);
}

// A file's own line ends and bytes (a Latin-1 letter in a comment) stay as they were: a save
// writes back what was read plus the edit, and a new line takes the file's line end.
TEST_F(VhdlEditorTest, LineEndsAndBytesAreKept) {
    StartFrame();
    for (const std::string eol : {"\n", "\r\n"}) {
        const fs::path path = Folder() / (eol == "\n" ? "lf.vhd" : "crlf.vhd");
        const std::string text = "-- caf\xe9 counter" + eol + "entity c is" + eol + "end c;" + eol;
        WriteBytes(path, text);
        ASSERT_TRUE(Editor().Open(path, 2));
        CSourceEditor& editor = *Current()->editor;
        editor.setCursorPosition(1, 11);
        Key(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("-- x"));
        Save();
        EXPECT_EQ(ReadBytes(path),
                  "-- caf\xe9 counter" + eol + "entity c is" + eol + "-- x" + eol + "end c;" + eol);
    }
}

// Another program's change is taken into a tab without unsaved changes; with them the user is
// asked, and keeping the editor's text overwrites the file only at the next save.
TEST_F(VhdlEditorTest, AnOutsideChangeReloadsOrAsks) {
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    CSourceEditor& editor = *Current()->editor;
    WriteBytes(Divider(), ReadBytes(Divider()) + "-- theirs\r\n");
    ASSERT_TRUE(WaitFor([&] { return editor.text().contains(QStringLiteral("-- theirs")); }));
    EXPECT_FALSE(editor.isModified());

    editor.insertAt(QStringLiteral("-- mine\r\n"), 0, 0);
    m_prompts.QueueAnswer(PromptAnswer::No); // keep mine
    const std::size_t asked = m_prompts.Messages().size();
    WriteBytes(Divider(), ReadBytes(Divider()) + "-- again\r\n");
    ASSERT_TRUE(WaitFor([&] { return m_prompts.Messages().size() > asked; })) << LogText(project);
    EXPECT_NE(m_prompts.Messages().back().text.find("was changed on disk"), std::string::npos);
    EXPECT_FALSE(editor.text().contains(QStringLiteral("-- again")));
    EXPECT_NE(ReadBytes(Divider()).find("-- again"), std::string::npos);
    Save();
    EXPECT_EQ(ReadBytes(Divider()).find("-- again"), std::string::npos);
    EXPECT_EQ(ReadBytes(Divider()).find("-- mine\r\n"), 0u);
}

// A command of KESTRA that rewrites an open source (a parameter's new value) is shown in its
// tab at once, which a later save then keeps.
TEST_F(VhdlEditorTest, KestrasOwnRewriteReachesTheOpenTab) {
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    CSourceEditor& editor = *Current()->editor;
    CHierarchyItem* divider = Find(project, "DIVIDER");
    const int width = divider->Object()->FindEntry("WIDTH");
    ASSERT_GT(width, 0);
    ASSERT_TRUE(CParameterCommands(project->Session()).EndParameterEdit(divider, width, 1, "7"));
    ASSERT_TRUE(WaitFor([&] { return editor.text().contains(QStringLiteral("WIDTH: integer := 7")); }));
    EXPECT_FALSE(editor.isModified());
    editor.insertAt(QStringLiteral("-- kept\r\n"), 0, 0);
    Save();
    EXPECT_EQ(ReadBytes(Divider()).find("-- kept\r\n"), 0u);
    EXPECT_NE(ReadBytes(Divider()).find("WIDTH: integer := 7"), std::string::npos);
}

// Unsaved changes are asked about when the project closes (Cancel keeps it open, Discard drops
// them with the tab) and when the program closes: Cancel keeps it open, Save writes them and
// closes.
TEST_F(VhdlEditorTest, UnsavedChangesAreAskedOnClose) {
    ASSERT_NE(OpenBlinker(), nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    Current()->editor->insertAt(QStringLiteral("-- dropped\r\n"), 0, 0);
    m_prompts.QueueAnswer(PromptAnswer::Cancel);
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    ASSERT_NE(m_frame->ActiveProject(), nullptr);
    m_prompts.QueueAnswer(PromptAnswer::No);
    ASSERT_TRUE(Trigger(m_frame->Actions().closeProject));
    EXPECT_EQ(m_frame->ActiveProject(), nullptr);
    EXPECT_EQ(Current(), nullptr);
    EXPECT_EQ(ReadBytes(Divider()).find("-- dropped"), std::string::npos);

    ASSERT_NE(OpenBlinkerAgain(), nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    Current()->editor->insertAt(QStringLiteral("-- note\r\n"), 0, 0);
    m_prompts.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(CloseFrame());
    EXPECT_NE(m_prompts.Messages().back().text.find("DIVIDER.vhd"), std::string::npos);
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(CloseFrame());
    EXPECT_EQ(ReadBytes(Divider()).find("-- note\r\n"), 0u);
}

// A file with NUL bytes opens read-only with a warning and is never written; a file over the
// size limit is refused with the reason.
TEST_F(VhdlEditorTest, NulFilesAreReadOnlyAndHugeFilesRefused) {
    StartFrame();
    const fs::path binary = Folder() / "binary.vhd";
    const std::string bytes("entity\0x", 8);
    WriteBytes(binary, bytes);
    ASSERT_TRUE(Editor().Open(binary, 0));
    EXPECT_TRUE(Current()->editor->isReadOnly());
    EXPECT_NE(m_prompts.Messages().back().text.find("read-only"), std::string::npos);
    EXPECT_EQ(Current()->editor->Bytes(), bytes);
    Save();
    EXPECT_EQ(ReadBytes(binary), bytes);

    const fs::path huge = Folder() / "huge.vhd";
    WriteBytes(huge, "");
    fs::resize_file(huge, kMaxReadFileSize + 1);
    EXPECT_FALSE(Editor().Open(huge, 0));
    EXPECT_NE(m_prompts.Messages().back().text.find("Cannot open " + huge.string()), std::string::npos);
}

// The messages of a check stand in the margin and under their lines of every open tab of a
// file the check analysed, move with the text's edits, show in a tab opened later, and a clean
// check of the file takes them away.
TEST_F(VhdlEditorTest, CheckMessagesAreMarkedAtTheirLines) {
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    CSourceEditor& editor = *Current()->editor;
    CheckJob job;
    job.files = {{Divider(), "work"}};
    CheckOutcome failed;
    failed.errors = 1;
    failed.failedFiles = {Divider()};
    failed.messages = {CheckMessage{Divider().string(), 19, 9, "no declaration for \"count\"", true},
                       CheckMessage{"DIVIDER.vhd", 12, 3, "port \"rst\" is never read", false},
                       CheckMessage{"", 0, 0, "compilation error", true}};
    project->Checker().ShowOutcome(job, failed);
    constexpr unsigned kError = 1u << CSourceEditor::kErrorMarker;
    constexpr unsigned kWarning = 1u << CSourceEditor::kWarningMarker;
    EXPECT_EQ(editor.markersAtLine(18), kError);
    EXPECT_EQ(editor.annotation(18), QStringLiteral("no declaration for \"count\""));
    EXPECT_EQ(editor.markersAtLine(11), kWarning);
    EXPECT_EQ(editor.annotation(11), QStringLiteral("port \"rst\" is never read"));
    EXPECT_EQ(editor.markersAtLine(0), 0u);

    // Two lines typed above move the markers and the text with their line.
    editor.insertAt(QStringLiteral("-- one\r\n-- two\r\n"), 0, 0);
    EXPECT_EQ(editor.markersAtLine(20), kError);
    EXPECT_EQ(editor.annotation(20), QStringLiteral("no declaration for \"count\""));
    EXPECT_EQ(editor.markersAtLine(18), 0u);
    EXPECT_TRUE(editor.annotation(18).isEmpty());

    // A tab opened later shows the last check's messages.
    m_prompts.QueueAnswer(PromptAnswer::No); // discard the edit
    Editor().Pane().closeRequested(Current());
    ASSERT_EQ(Current(), nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    CSourceEditor& reopened = *Current()->editor;
    EXPECT_EQ(reopened.markersAtLine(18), kError);
    EXPECT_EQ(reopened.markersAtLine(11), kWarning);

    CheckOutcome clean;
    for (const CheckFile& file : job.files)
        clean.analyzedFiles.push_back(file.path);
    project->Checker().ShowOutcome(job, clean);
    for (int line = 0; line < reopened.lines(); ++line) {
        EXPECT_EQ(reopened.markersAtLine(line), 0u) << line;
        EXPECT_TRUE(reopened.annotation(line).isEmpty()) << line;
    }
}

// Ctrl+Shift+I in a module with children asks which child and inserts its instantiation at the
// cursor, in the form of the component the architecture declares, under a label of its own,
// with the child's parameter values and the file's line ends; GHDL analyses the saved source.
// The context menu offers the command, which a module without children does not have.
TEST_F(VhdlEditorTest, InsertInstantiationWritesAChildAtTheCursor) {
    ASSERT_NE(OpenBlinker(), nullptr);
    const fs::path channel = Folder() / "blinker" / "Blinker" / "CHANNEL_A.vhd";
    ASSERT_TRUE(Editor().Open(channel, 0));
    CSourceEditor& editor = *Current()->editor;
    Editor().UpdateActions();
    EXPECT_TRUE(Editor().Actions().insertInstantiation->isEnabled());
    QMenu menu;
    emit editor.contextMenuShowing(menu);
    EXPECT_TRUE(menu.actions().contains(Editor().Actions().insertInstantiation));

    InsertBefore(editor, QStringLiteral("LED <= state;"), QStringLiteral("\t\r\n"));
    int line = 0;
    while (!editor.text(line + 1).contains(QStringLiteral("LED <= state;")))
        ++line;
    editor.setCursorPosition(line, 1);
    QStringList offered;
    dialogHandler = [&](QDialog& dialog) {
        auto& list = static_cast<QInputDialog&>(dialog);
        offered = list.comboBoxItems();
        list.setTextValue(QStringLiteral("DIVIDER"));
        return static_cast<int>(QDialog::Accepted);
    };
    Key(&editor, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(offered, QStringList{QStringLiteral("DIVIDER")});
    const std::string expected =
        "\tu_DIVIDER_2: DIVIDER\r\n"
        "\t\tgeneric map (\r\n\t\t\tWIDTH => 22,\r\n\t\t\tRESET_LEVEL => '1'\r\n\t\t)\r\n"
        "\t\tport map (\r\n\t\t\tCLK => CLK,\r\n\t\t\tRST => RST,\r\n\t\t\tTICK => TICK\r\n"
        "\t\t);\r\n\tLED <= state;";
    EXPECT_NE(editor.Bytes().find(expected), std::string::npos) << editor.Bytes();
    // One step of undo takes the whole instantiation away, and redo (Ctrl+Shift+Z) brings it back.
    const std::string inserted = editor.Bytes();
    Key(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.Bytes().find("u_DIVIDER_2"), std::string::npos);
    Key(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.Bytes(), inserted);
    Save();
    if (test::GhdlAvailable()) {
        const fs::path folder = channel.parent_path();
        const test::GhdlResult analysed = test::GhdlAnalyze(
            {ReadBytes(folder / "BLINK_PKG.vhd"), ReadBytes(Divider()), ReadBytes(channel)}, "CHANNEL_A");
        EXPECT_TRUE(analysed.ok) << analysed.output;
    }

    ASSERT_TRUE(Editor().Open(Divider(), 0));
    Editor().UpdateActions();
    EXPECT_FALSE(Editor().Actions().insertInstantiation->isEnabled());
}

// Typing three letters of a name the module can use lists the names that begin with them, and
// Ctrl+Space lists them at once; the one chosen replaces the word. F2 on an instance's label
// opens its child's source; on a word that names no child it says so and opens nothing.
TEST_F(VhdlEditorTest, CompletionAndTheChildsSourceComeFromTheProject) {
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    const fs::path channel = Folder() / "blinker" / "Blinker" / "CHANNEL_A.vhd";
    ASSERT_TRUE(Editor().Open(channel, 0));
    CSourceEditor& editor = *Current()->editor;
    InsertBefore(editor, QStringLiteral("LED <= state;"), QStringLiteral("\t\r\n"));
    int line = 0;
    while (!editor.text(line + 1).contains(QStringLiteral("LED <= state;")))
        ++line;
    editor.setCursorPosition(line, 1);
    QTest::keyClicks(&editor, QStringLiteral("st"));
    EXPECT_FALSE(editor.isListActive());
    QTest::keyClicks(&editor, QStringLiteral("a"));
    ASSERT_TRUE(editor.isListActive());
    Key(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, QStringLiteral(" <= t"));
    Key(&editor, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(editor.isListActive());
    Key(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.text(line), QStringLiteral("\tstate <= TICK\r\n"));

    editor.setCursorPosition(line + 1,
                             static_cast<int>(editor.text(line + 1).indexOf(QStringLiteral("state"))));
    Key(&editor, Qt::Key_F2);
    EXPECT_EQ(Current()->path, channel);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(),
              QStringLiteral("state names no child module or instance."));
    for (int at = 0; at < editor.lines(); ++at) {
        const int column = static_cast<int>(editor.text(at).indexOf(QStringLiteral("U_DIVIDER")));
        if (column >= 0)
            editor.setCursorPosition(at, column + 3);
    }
    Key(&editor, Qt::Key_F2);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->path, Divider());
}

// A save starts the check of the module: GHDL's error stands at its line in the editor, and
// the save of the mended text takes it away.
TEST_F(VhdlEditorTest, ASaveIsCheckedAndItsErrorsMarked) {
    if (!test::GhdlAvailable())
        GTEST_SKIP() << "GHDL is not installed";
    C3SplitFrame* project = OpenBlinker();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    CSourceEditor& editor = *Current()->editor;
    InsertBefore(editor, QStringLiteral("TICK <= '1' when"), QStringLiteral("\tno_such <= '1';\r\n"));
    Save();
    ASSERT_TRUE(project->Checker().WaitForIdle(30000));
    ASSERT_TRUE(WaitFor([&] { return editor.markersAtLine(28) != 0; })) << LogText(project);
    EXPECT_EQ(editor.markersAtLine(28), 1u << CSourceEditor::kErrorMarker);
    EXPECT_TRUE(editor.annotation(28).contains(QStringLiteral("no_such")));

    editor.undo();
    Save();
    ASSERT_TRUE(project->Checker().WaitForIdle(30000));
    EXPECT_TRUE(WaitFor([&] { return editor.markersAtLine(28) == 0 && editor.annotation(28).isEmpty(); }));
}

// A source removed by another program stays open, marked so on its tab; a save writes it again.
TEST_F(VhdlEditorTest, ARemovedSourceIsShownAsSuch) {
    ASSERT_NE(OpenBlinker(), nullptr);
    ASSERT_TRUE(Editor().Open(Divider(), 0));
    const std::string bytes = ReadBytes(Divider());
    fs::remove(Divider());
    ASSERT_TRUE(
        WaitFor([&] { return Editor().Pane().Tabs().tabText(0) == QStringLiteral("DIVIDER (removed)"); }));
    Save();
    EXPECT_EQ(ReadBytes(Divider()), bytes);
    EXPECT_EQ(Editor().Pane().Tabs().tabText(0), QStringLiteral("DIVIDER"));
}

} // namespace
} // namespace kestra
