#include "editor/editor_controller.h"
#include "editor/vhdl_editor_pane.h"
#include "hierarchy/kst_tree_view.h"
#include "hierarchy/message_log_view.h"
#include "model/design_object.h"
#include "paramlist/kst_list_view.h"
#include "print/parameter_list_printer.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "session/project_session.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QToolTip>

namespace kestra {
namespace {

class ListViewTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        StartFrame();
        m_project = NewProject("params.kst");
        ASSERT_NE(m_project, nullptr);
        m_alu = AddModule(m_project, Root(), QStringLiteral("alu"));
        ASSERT_NE(m_alu, nullptr);
    }

    CHierarchyItem* Root() const { return m_project->Doc().Tree().GetRootItem(); }
    CKSTListView& List() const { return *m_project->ListView(); }
    CKSTObject& Object(CHierarchyItem* item = nullptr) const { return *(item ? item : m_alu)->Object(); }
    std::filesystem::path SourcePath() const { return m_project->Doc().GetModuleFolderPath() / "alu.vhd"; }
    std::string Source() const { return ReadWholeFile(SourcePath()).ValueOr(""); }
    QString Cell(int row, int column) const { return List().model()->index(row, column).data().toString(); }
    QRect RowRect(int row) const {
        return List()
            .visualRect(List().model()->index(row, 0))
            .united(List().visualRect(List().model()->index(row, 1)));
    }
    const CMainActions& Actions() const { return m_frame->Actions(); }

    void FocusRow(int row) {
        List().setFocus();
        List().SelectRow(row);
        ProcessEvents();
    }
    // Types into the open line editor and presses Enter; false when no line editor was open.
    bool TypeIntoEditor(const QString& text) {
        ProcessEvents();
        auto* editor = qobject_cast<QLineEdit*>(List().Editor());
        if (editor == nullptr)
            return false;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        ProcessEvents();
        return true;
    }
    QComboBox* ChoiceBox() {
        ProcessEvents();
        return qobject_cast<QComboBox*>(List().Editor());
    }
    void Edit(int row, int column, const QString& text) {
        FocusRow(row);
        List().Invoke(row, column, column == 1);
        ASSERT_TRUE(TypeIntoEditor(text));
    }
    // The module with a Numeric, a Logic and a Style parameter after its row, added in the list.
    void AddThreeParameters() {
        FocusRow(0);
        ASSERT_TRUE(Trigger(Actions().addNumeric));
        ASSERT_TRUE(Trigger(Actions().addLogic));
        ASSERT_TRUE(Trigger(Actions().addStyle));
    }
    void Analyze(CHierarchyItem* item) {
        Select(m_project, item);
        Key(&Tree(m_project), Qt::Key_F4);
    }

    C3SplitFrame* m_project = nullptr;
    CHierarchyItem* m_alu = nullptr;
};

TEST_F(ListViewTest, RowsMirrorTheObject) {
    ASSERT_EQ(List().model()->rowCount(), Object().GetEntryCount());
    EXPECT_EQ(List().model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Item"));
    EXPECT_EQ(List().model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Parameter"));
    EXPECT_EQ(Cell(0, 0), QStringLiteral("alu"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("alu.vhd"));
    EXPECT_EQ(List().Rows()[0].kind, EntryKind::Vhdl);
    EXPECT_EQ(List().FocusedRow(), 0);

    const CKSTObject before = Object();
    EXPECT_TRUE(List().SyncParameterList(false));
    EXPECT_EQ(Object(), before);
    EXPECT_TRUE(List().SyncParameterList(true));
    EXPECT_EQ(List().model()->rowCount(), Object().GetEntryCount());
}

TEST_F(ListViewTest, AddPlacesEachKindAfterTheFocusedRowOrAtTheEndAndWritesTheSource) {
    const int entries = Object().GetEntryCount();
    AddThreeParameters();
    ASSERT_EQ(Object().GetEntryCount(), entries + 3);
    // Each addition goes right after the focused row, which becomes the new row.
    EXPECT_EQ(Object().GetEntryName(1), "Numeric");
    EXPECT_EQ(Object().GetEntryValue(1), "8");
    EXPECT_EQ(Object().GetEntryName(2), "Logic");
    EXPECT_EQ(Object().GetChoiceList(2), (std::vector<std::string>{"'0'", "'1'"}));
    EXPECT_EQ(Object().GetEntryName(3), "Style");
    EXPECT_EQ(Object().GetChoiceList(3), (std::vector<std::string>{"Style1", "Style2"}));
    EXPECT_EQ(List().FocusedRow(), 3);
    EXPECT_EQ(List().model()->rowCount(), Object().GetEntryCount());

    List().setCurrentIndex(QModelIndex());
    ASSERT_TRUE(Trigger(Actions().addNote));
    EXPECT_EQ(Object().GetEntryKind(Object().GetEntryCount() - 1), EntryKind::Note);
    EXPECT_EQ(Object().GetEntryValue(Object().GetEntryCount() - 1), "<Your note>");

    const std::string source = Source();
    EXPECT_NE(source.find("Numeric: integer := 8;"), std::string::npos) << source;
    EXPECT_NE(source.find("Logic: STD_LOGIC := '0';"), std::string::npos) << source;
    EXPECT_NE(source.find("type ENUM_Style is (Style1, Style2);"), std::string::npos) << source;
    EXPECT_NE(source.find("constant Style: ENUM_Style := Style1;"), std::string::npos) << source;
    EXPECT_EQ(m_alu->Status(), AnalysisStatus::Analyzed);
}

TEST_F(ListViewTest, EndOfEditingNormalisesRefusesAndReachesTheSourceAtOnce) {
    FocusRow(0);
    ASSERT_TRUE(Trigger(Actions().addDataType));
    ASSERT_TRUE(Trigger(Actions().addNumeric));
    const int type = 1;
    const int numeric = 2;

    Edit(numeric, 0, QStringLiteral("my width"));
    EXPECT_EQ(Object().GetEntryName(numeric), "my_width");
    EXPECT_EQ(Cell(numeric, 0), QStringLiteral("my_width"));
    EXPECT_EQ(List().FocusedRow(), numeric);
    Edit(numeric, 0, QStringLiteral("3d"));
    EXPECT_EQ(Object().GetEntryName(numeric), "my_width");
    Edit(numeric, 1, QStringLiteral("16"));
    Edit(numeric, 1, QStringLiteral("a;b"));
    Edit(numeric, 1, QStringLiteral("4 -- four"));
    Edit(numeric, 1, QStringLiteral("\"4\""));
    EXPECT_EQ(Object().GetEntryValue(numeric), "16");
    Edit(type, 1, QStringLiteral("Std_Logic_Vector"));
    EXPECT_EQ(Object().GetEntryValue(type), "STD_LOGIC_VECTOR");

    // Escape cancels: nothing changes.
    FocusRow(numeric);
    List().Invoke(numeric, 1, true);
    ProcessEvents();
    auto* editor = qobject_cast<QLineEdit*>(List().Editor());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("99"));
    QTest::keyClick(editor, Qt::Key_Escape);
    ProcessEvents();
    EXPECT_EQ(Object().GetEntryValue(numeric), "16");

    const std::string source = Source();
    EXPECT_NE(source.find("my_width: integer := 16"), std::string::npos) << source;
    EXPECT_NE(source.find("DataType: type := STD_LOGIC_VECTOR;"), std::string::npos) << source;

    // The file on disk analyses back to what the list shows.
    Analyze(m_alu);
    EXPECT_EQ(m_alu->Status(), AnalysisStatus::Analyzed);
    const int found = Object().FindEntry("my_width");
    ASSERT_GE(found, 0);
    EXPECT_EQ(Object().GetEntryValue(found), "16");
}

TEST_F(ListViewTest, AnEditLeftByChoosingAnotherModuleReachesTheModuleItWasMadeOn) {
    FocusRow(0);
    ASSERT_TRUE(Trigger(Actions().addNumeric));
    CHierarchyItem* other = AddModule(m_project, Root(), QStringLiteral("other"));
    ASSERT_NE(other, nullptr);
    Select(m_project, m_alu);
    FocusRow(1);
    List().Invoke(1, 1, true);
    ProcessEvents();
    auto* editor = qobject_cast<QLineEdit*>(List().Editor());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("32"));
    // Selecting the other module takes the focus from the editor, which ends the edit.
    Select(m_project, other);
    ProcessEvents();
    EXPECT_EQ(Object().GetEntryValue(1), "32");
    EXPECT_EQ(Object(other).GetEntryCount(), List().model()->rowCount());
    EXPECT_EQ(Cell(0, 0), QStringLiteral("other"));
    EXPECT_NE(Source().find("Numeric: integer := 32"), std::string::npos);
}

TEST_F(ListViewTest, InvokeActsByTheRowKind) {
    AddThreeParameters();
    ASSERT_TRUE(Trigger(Actions().addNote));
    const int numeric = 1, logic = 2, style = 3, note = 4;

    // Module row: Enter and Space both open the source in the VHDL editor.
    FocusRow(0);
    Key(&List(), Qt::Key_Return);
    ASSERT_NE(m_frame->EditorController().Pane().Find(SourcePath()), nullptr);
    m_frame->EditorController().Pane().Remove(*m_frame->EditorController().Pane().Find(SourcePath()));
    FocusRow(0);
    Key(&List(), Qt::Key_Space);
    ASSERT_NE(m_frame->EditorController().Pane().Find(SourcePath()), nullptr);
    EXPECT_TRUE(m_shell.opened.empty());
    FocusRow(0);
    // With an HDL editor set, it starts with the parameters and the quoted path.
    m_settings->WriteSetting("Tools", "HDL Editor", "hdl-edit");
    m_settings->WriteSetting("Tools", "HDL Editor param", "-n");
    Key(&List(), Qt::Key_Return);
    ASSERT_EQ(m_shell.started.size(), 1u);
    EXPECT_EQ(m_shell.started[0].program, QStringLiteral("hdl-edit"));
    EXPECT_EQ(m_shell.started[0].arguments,
              (QStringList{QStringLiteral("-n"), QString::fromStdString(SourcePath().string())}));

    // A Numeric without choices edits as text either way.
    FocusRow(numeric);
    Key(&List(), Qt::Key_Return);
    EXPECT_NE(qobject_cast<QLineEdit*>(List().Editor()), nullptr);
    QTest::keyClick(List().Editor(), Qt::Key_Escape);
    ProcessEvents();

    // Logic: a choice box with the current value preselected; Space edits the text instead.
    FocusRow(logic);
    Key(&List(), Qt::Key_Return);
    QComboBox* box = ChoiceBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentText(), QStringLiteral("'0'"));
    box->setCurrentIndex(1);
    emit box->activated(1);
    ProcessEvents();
    EXPECT_EQ(Object().GetEntryValue(logic), "'1'");
    EXPECT_NE(Source().find("Logic: STD_LOGIC := '1';"), std::string::npos);
    FocusRow(logic);
    Key(&List(), Qt::Key_Space);
    EXPECT_NE(qobject_cast<QLineEdit*>(List().Editor()), nullptr);
    QTest::keyClick(List().Editor(), Qt::Key_Escape);
    ProcessEvents();

    // Style: a value outside its choices has nothing preselected.
    Object().SetEntryText(style, EntryField::Value, "Other");
    List().SyncParameterList(true);
    FocusRow(style);
    Key(&List(), Qt::Key_Return);
    box = ChoiceBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentIndex(), -1);
    QTest::keyClick(box, Qt::Key_Escape);
    ProcessEvents();

    // Architecture: its name column opens the choice box on the value too.
    const int arch = Object().AddEntry() - 1;
    Object().SetEntry(arch, EntryKind::Architecture, "alu", "alu_arch");
    Object().GetChoiceList(arch) = {"alu_arch", "alu_fast"};
    List().SyncParameterList(true);
    FocusRow(arch);
    List().Invoke(arch, 0, false);
    box = ChoiceBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("alu_arch"));
    box->setCurrentIndex(1);
    emit box->activated(1);
    ProcessEvents();
    EXPECT_EQ(Object().GetEntryValue(arch), "alu_fast");
    EXPECT_EQ(Object().GetEntryName(arch), "alu");

    // Note: a text editor; the name column edits the name.
    FocusRow(note);
    List().Invoke(note, 0, false);
    ASSERT_TRUE(TypeIntoEditor(QStringLiteral("remark")));
    EXPECT_EQ(Object().GetEntryName(note), "remark");
    EXPECT_TRUE(m_prompts.Messages().empty());

    // Library, predefined and package rows open their source as the module row does.
    const std::pair<QAction*, EntryKind> kinds[] = {{Actions().setLibrary, EntryKind::Component},
                                                    {Actions().setPredefined, EntryKind::Predefined},
                                                    {Actions().setPackage, EntryKind::Package}};
    for (const auto& [action, kind] : kinds) {
        Select(m_project, m_alu);
        m_prompts.QueueAnswer(PromptAnswer::Yes);
        ASSERT_TRUE(Trigger(action));
        ASSERT_EQ(Object().GetEntryKind(0), kind);
        const std::size_t started = m_shell.started.size();
        FocusRow(0);
        Key(&List(), Qt::Key_Space);
        EXPECT_EQ(m_shell.started.size(), started + 1) << static_cast<int>(kind);
    }
}

TEST_F(ListViewTest, LinksOpenAddressesFilesAndTheStateEditorOrAskForAFile) {
    FocusRow(0);
    ASSERT_TRUE(Trigger(Actions().addLink));
    const int link = 1;
    EXPECT_EQ(Object().GetEntryValue(link), "<Filename>");

    // "<Filename>" names no file: the user is asked for one, which is copied next to the sources.
    const std::filesystem::path outside = Folder() / "outside";
    std::filesystem::create_directories(outside);
    ASSERT_TRUE(ReplaceFileSafely(outside / "notes.txt", "design notes"));
    m_prompts.QueueChoice((outside / "notes.txt").string());
    FocusRow(link);
    Key(&List(), Qt::Key_Return);
    ASSERT_FALSE(m_prompts.FileRequests().empty());
    EXPECT_EQ(m_prompts.FileRequests().back().title, "Select Link File");
    EXPECT_EQ(Object().GetEntryValue(link), "notes.txt");
    const std::filesystem::path modules = m_project->Doc().GetModuleFolderPath();
    EXPECT_EQ(ReadWholeFile(modules / "notes.txt").ValueOr(""), "design notes");
    EXPECT_NE(Source().find("notes.txt"), std::string::npos);

    // Now the file exists: the desktop opens it.
    Key(&List(), Qt::Key_Return);
    ASSERT_FALSE(m_shell.opened.empty());
    EXPECT_EQ(m_shell.opened.back(), modules / "notes.txt");

    Edit(link, 1, QStringLiteral("http://example.org/datasheet"));
    Key(&List(), Qt::Key_Return);
    ASSERT_EQ(m_shell.addresses.size(), 1u);
    EXPECT_EQ(m_shell.addresses[0], QStringLiteral("http://example.org/datasheet"));

    m_settings->WriteSetting("Tools", "State Editor", "fsm-edit");
    Edit(link, 1, QStringLiteral("control.ASF"));
    Key(&List(), Qt::Key_Return);
    ASSERT_EQ(m_shell.started.size(), 1u);
    EXPECT_EQ(m_shell.started[0].program, QStringLiteral("fsm-edit"));
    EXPECT_EQ(m_shell.started[0].arguments,
              QStringList{QString::fromStdString((modules / "control.ASF").string())});

    // Force Edit on a link edits its text instead of opening it.
    Key(&List(), Qt::Key_Space);
    EXPECT_NE(qobject_cast<QLineEdit*>(List().Editor()), nullptr);
}

TEST_F(ListViewTest, ProjectRowsEditTheLibraryNameAndChooseTheDestinationFolder) {
    Select(m_project, Root());
    ASSERT_EQ(Object(Root()).GetEntryKind(0), EntryKind::Library);
    const int destination = 1;
    ASSERT_EQ(Object(Root()).GetEntryKind(destination), EntryKind::Directory);

    Edit(0, 1, QStringLiteral("chiplib"));
    EXPECT_EQ(m_project->Doc().GetLibraryName(), "chiplib");

    // The project folder itself is refused with a warning.
    const std::string before = Object(Root()).GetEntryValue(destination);
    m_prompts.QueueChoice(m_project->Doc().GetProjectFolder().string() + "/");
    FocusRow(destination);
    Key(&List(), Qt::Key_Return);
    EXPECT_EQ(m_prompts.FileRequests().back().title, "Select Destination Folder");
    EXPECT_EQ(Object(Root()).GetEntryValue(destination), before);
    EXPECT_NE(LogText(m_project).find("WARNING: Setting destination folder to source folder is prohibited."),
              std::string::npos);

    const std::filesystem::path out = Folder() / "generated";
    std::filesystem::create_directories(out);
    m_prompts.QueueChoice(out.string());
    Key(&List(), Qt::Key_Space);
    EXPECT_EQ(Object(Root()).GetEntryValue(destination), out.string());
    EXPECT_EQ(m_project->Doc().GetDestinationFolder(), out.string());
    EXPECT_EQ(Cell(destination, 1), QString::fromStdString(out.string()));
}

TEST_F(ListViewTest, MovesStopAtTheEndsAndNeverCrossTheArchitectureEntry) {
    AddThreeParameters();
    // An architecture entry after the parameters, as analysis puts it.
    const int arch = Object().AddEntry() - 1;
    Object().SetEntry(arch, EntryKind::Architecture, "alu", "alu_arch");
    Object().GetChoiceList(arch) = {"alu_arch"};
    List().SyncParameterList(true);

    FocusRow(3); // Style, the last ordinary parameter
    ASSERT_TRUE(Trigger(Actions().moveDown));
    EXPECT_EQ(Object().GetEntryName(3), "Style");
    ASSERT_TRUE(Trigger(Actions().moveToBottom));
    EXPECT_EQ(Object().GetEntryName(3), "Style");
    ASSERT_TRUE(Trigger(Actions().moveToTop));
    EXPECT_EQ(Object().GetEntryName(1), "Style");
    EXPECT_EQ(Object().GetChoiceList(1), (std::vector<std::string>{"Style1", "Style2"}));
    EXPECT_EQ(List().FocusedRow(), 1);
    ASSERT_TRUE(Trigger(Actions().moveUp));
    EXPECT_EQ(Object().GetEntryName(1), "Style");
    ASSERT_TRUE(Trigger(Actions().moveToBottom));
    EXPECT_EQ(Object().GetEntryName(3), "Style");
    EXPECT_EQ(Object().GetEntryName(1), "Numeric");

    // The architecture entry itself stays; it is not removed or copied either.
    FocusRow(arch);
    Trigger(Actions().moveToTop);
    EXPECT_EQ(Object().GetEntryKind(arch), EntryKind::Architecture);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().remove->isEnabled());
    EXPECT_FALSE(Actions().copy->isEnabled());
    // Row 0 does not move.
    FocusRow(0);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().moveDown->isEnabled());
    // The keys of the commands work while the list has the focus.
    FocusRow(2);
    const std::string second = Object().GetEntryName(2);
    Key(&List(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Object().GetEntryName(1), second);
    EXPECT_EQ(List().FocusedRow(), 1);
    // The generics follow the new order.
    const std::string source = Source();
    EXPECT_LT(source.find("Logic: STD_LOGIC"), source.find("Numeric: integer"));
}

TEST_F(ListViewTest, RemoveAsksAndSelectsTheRowThatTakesThePlace) {
    AddThreeParameters();
    FocusRow(2);
    m_prompts.QueueAnswer(PromptAnswer::No);
    ASSERT_TRUE(Trigger(Actions().remove));
    EXPECT_EQ(m_prompts.Messages().back().title, "ENQUIRY");
    EXPECT_EQ(m_prompts.Messages().back().text, "Confirm remove Logic ?");
    EXPECT_EQ(Object().GetEntryName(2), "Logic");

    m_prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(Trigger(Actions().remove));
    EXPECT_EQ(Object().GetEntryName(2), "Style");
    EXPECT_EQ(List().FocusedRow(), 2);
    EXPECT_EQ(Source().find("Logic: STD_LOGIC"), std::string::npos);
    FocusRow(0);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().remove->isEnabled());
}

TEST_F(ListViewTest, ParameterClipboardCarriesTheEntryLineAndPasteRefusesChoicesOnNumerics) {
    AddThreeParameters();
    FocusRow(2);
    ASSERT_TRUE(Trigger(Actions().copy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QStringLiteral("KESTRA parameter")));
    EXPECT_EQ(data->data(QStringLiteral("KESTRA parameter")), QByteArray("LOGIC\tLogic\t'0'\t'0'\t'1'", 24));
    FocusRow(3);
    ASSERT_TRUE(Trigger(Actions().paste));
    ASSERT_EQ(Object().GetEntryName(4), "Logic");
    EXPECT_EQ(Object().GetChoiceList(4), (std::vector<std::string>{"'0'", "'1'"}));
    EXPECT_EQ(List().FocusedRow(), 4);

    Object().GetChoiceList(1) = {"8", "16"};
    FocusRow(1);
    ASSERT_TRUE(Trigger(Actions().copy));
    const int count = Object().GetEntryCount();
    EXPECT_FALSE(Trigger(Actions().paste));
    m_project->ListView()->OnPaste();
    EXPECT_EQ(Object().GetEntryCount(), count);

    // Cut removes after the question; the tree's clipboard commands stay with the tree.
    FocusRow(3);
    m_prompts.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(Trigger(Actions().cut));
    EXPECT_EQ(Object().GetEntryCount(), count - 1);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("KESTRA parameter")));
    EXPECT_FALSE(ClipboardHasTreeFormat());
    // The module row is not copied.
    FocusRow(0);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().copy->isEnabled());
}

TEST_F(ListViewTest, CopyViewPutsPictureAndTextOnTheClipboard) {
    AddThreeParameters();
    FocusRow(1);
    ASSERT_TRUE(Trigger(Actions().copyView));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasImage());
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    const CParameterListPrinter printer(List().Rows(), List().font(), List().columnWidth(0),
                                        List().columnWidth(1));
    EXPECT_EQ(picture.height(), (List().model()->rowCount() + 1) * printer.RowHeight() + 1);
    EXPECT_EQ(picture.width(), List().columnWidth(0) + List().columnWidth(1));
    std::string expected = "KESTRA Parameter List\n";
    for (int i = 0; i < Object().GetEntryCount(); ++i)
        expected += Object().FormatEntry(i) + "\r\n";
    EXPECT_EQ(data->text().toStdString(), expected);
}

TEST_F(ListViewTest, PrintingHeadsEveryPageWithTheProjectTitle) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    AddThreeParameters();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString((Folder() / "parameters.pdf").string());
    printer.setOutputFileName(pdf);
    FocusRow(1);
    ASSERT_EQ(m_project->ActiveView(), &List());
    EXPECT_EQ(List().Print(printer), 1);
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("params.kst Parameter Lists"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Page 1/1")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Numeric")));
}

TEST_F(ListViewTest, ColumnWidthsKeepTheirMinimumsAndTheStoredWidth) {
    EXPECT_EQ(CKSTListView::ColumnWidths(600, 300, 150), std::make_pair(150, 450));
    EXPECT_EQ(CKSTListView::ColumnWidths(600, 700, 500), std::make_pair(450, 150));
    EXPECT_EQ(CKSTListView::ColumnWidths(600, 700, 220), std::make_pair(220, 380));
    EXPECT_EQ(CKSTListView::ColumnWidths(250, 400, 220), std::make_pair(150, 150));

    List().resize(640, 300);
    ProcessEvents();
    const int view = List().viewport()->width();
    EXPECT_EQ(List().columnWidth(0) + List().columnWidth(1), view);
    List().header()->resizeSection(0, 90);
    ProcessEvents();
    EXPECT_GE(List().columnWidth(0), CKSTListView::kMinimumColumnWidth);
    List().header()->resizeSection(0, 260);
    ProcessEvents();
    EXPECT_EQ(List().columnWidth(0), 260);
    EXPECT_EQ(List().columnWidth(1), view - 260);
    List().header()->resizeSection(0, view);
    ProcessEvents();
    EXPECT_LE(List().columnWidth(0), view - CKSTListView::kMinimumColumnWidth);

    // The width goes back into the settings when the window closes and comes back with it.
    List().header()->resizeSection(0, 230);
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(m_settings->ReadSettingInt("Settings", "List Column", 0), 230);
    StartFrame();
    C3SplitFrame* again = NewProject("other.kst");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->ListView()->columnWidth(0), 230);
}

TEST_F(ListViewTest, MouseContextMenuAndTipsFollowTheRows) {
    AddThreeParameters();
    FocusRow(0);
    const QRect numeric = RowRect(1);
    // A click on another row selects it; a second click on the same cell invokes it.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, numeric.center());
    ProcessEvents();
    EXPECT_EQ(List().FocusedRow(), 1);
    EXPECT_EQ(List().Editor(), nullptr);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, numeric.center());
    ProcessEvents();
    EXPECT_NE(List().Editor(), nullptr);
    QTest::keyClick(List().Editor(), Qt::Key_Escape);
    ProcessEvents();

    // A double click invokes the cell it hits: on a name, the name editor.
    const QRect styleName = List().visualRect(List().model()->index(3, 0));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, styleName.center());
    ProcessEvents();
    ASSERT_NE(qobject_cast<QLineEdit*>(List().Editor()), nullptr);
    EXPECT_EQ(qobject_cast<QLineEdit*>(List().Editor())->text(), QStringLiteral("Style"));
    QTest::keyClick(List().Editor(), Qt::Key_Escape);
    ProcessEvents();

    QPoint requested;
    QObject::connect(&List(), &CKSTListView::contextMenuRequested, &List(),
                     [&requested](const QPoint& at) { requested = at; });
    const QRect logic = RowRect(2);
    QContextMenuEvent onRow(QContextMenuEvent::Mouse, logic.center(),
                            List().viewport()->mapToGlobal(logic.center()));
    QApplication::sendEvent(List().viewport(), &onRow);
    EXPECT_EQ(List().FocusedRow(), 2);
    EXPECT_EQ(requested, List().viewport()->mapToGlobal(logic.center()));
    const QPoint below(10, List().viewport()->height() - 3);
    QContextMenuEvent onEmpty(QContextMenuEvent::Mouse, below, List().viewport()->mapToGlobal(below));
    QApplication::sendEvent(List().viewport(), &onEmpty);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().remove->isEnabled());

    // A cut text shows whole in a tip; a text that fits shows none.
    const std::string longNote(400, 'n');
    Object().SetEntryText(2, EntryField::Value, longNote);
    List().SyncParameterList(true);
    const QRect value = List().visualRect(List().model()->index(2, 1));
    QHelpEvent onLong(QEvent::ToolTip, value.center(), List().viewport()->mapToGlobal(value.center()));
    QApplication::sendEvent(List().viewport(), &onLong);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(longNote));
    const QRect name = List().visualRect(List().model()->index(2, 0));
    QHelpEvent onShort(QEvent::ToolTip, name.center(), List().viewport()->mapToGlobal(name.center()));
    QApplication::sendEvent(List().viewport(), &onShort);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));

    // Hierarchy commands given in the list act on the hierarchy.
    while (QWidget* menu = QApplication::activePopupWidget())
        menu->close();
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    FocusRow(1);
    Key(&List(), Qt::Key_F1);

    EXPECT_NE(Find(m_project, "<New Object>"), nullptr);
}

} // namespace
} // namespace kestra
