#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "model/block_colours.h"
#include "model/vhdl_signal.h"
#include "project/kst_doc.h"
#include "projectframe/project_frame.h"
#include "signallist/signal_list_controller.h"
#include "signallist/signal_list_model.h"
#include "signallist/signal_list_view.h"
#include "strings/qt_text.h"
#include "support/ghdl.h"
#include "system/file_system.h"
#include "text/word_reader.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>

namespace kestra {
namespace {

// A project with the module "my_alu" (the new-module skeleton: one port CLK), shown in the
// signal list.
class SignalListTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        StartFrame();
        m_project = NewProject("signals.kst");
        ASSERT_NE(m_project, nullptr);
        m_module = AddModule(m_project, m_project->Doc().Tree().GetRootItem(), QStringLiteral("my_alu"));
        ASSERT_NE(m_module, nullptr);
        Select(m_project, m_module);
        ASSERT_EQ(Grid().RowCount(), 1);
    }

    CSignalListView& View() const { return *m_frame->SignalList(); }
    CSignalGrid& Grid() const { return View().Grid(); }
    const CMainActions& Actions() const { return m_frame->Actions(); }
    std::string Source() const {
        return ReadWholeFile(m_project->Doc().GetModuleFolderPath() / "my_alu.vhd").ValueOr("");
    }
    QModelIndex Index(int row, SignalColumn column) const {
        return View().model()->index(row, static_cast<int>(column));
    }
    void FocusCell(int row, SignalColumn column) {
        View().setFocus();
        View().setCurrentIndex(Index(row, column));
        ProcessEvents();
    }
    // Types into a cell as the user does: the first key opens the editor, Enter ends it.
    void Type(int row, SignalColumn column, const QString& text) {
        FocusCell(row, column);
        QTest::keyClicks(&View(), text.left(1));
        ProcessEvents();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, &View()) << "no cell editor opened";
        if (auto* box = qobject_cast<QComboBox*>(editor); box != nullptr && box->lineEdit() != nullptr)
            editor = box->lineEdit();
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        ProcessEvents();
    }
    void PutOnClipboard(const QString& text) {
        QApplication::clipboard()->setText(text);
        ProcessEvents();
    }
    SignalRowStatus Status(int row) const { return Grid().RowAt(row).status; }

    C3SplitFrame* m_project = nullptr;
    CHierarchyItem* m_module = nullptr;
};

TEST_F(SignalListTest, AnEditIsMarkedAndReachesThePortClauseWhenTheFocusLeaves) {
    QSignalSpy changed(&m_frame->SignalListController(), &CSignalListController::signalsChanged);
    EXPECT_EQ(m_frame->Bars().SignalListBar()->windowTitle(), QStringLiteral("SIGNAL LIST: my alu"));
    FocusCell(0, SignalColumn::Name);
    ASSERT_TRUE(Trigger(Actions().insertRow));
    ASSERT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(View().currentIndex(), Index(0, SignalColumn::Name)); // above the focus row
    EXPECT_EQ(Status(0), SignalRowStatus::ModeNotRecognised);

    Type(0, SignalColumn::Name, QStringLiteral("DATA"));
    // A mode in capitals is a mode: the row takes the colour of "in".
    FocusCell(0, SignalColumn::Mode);
    PutOnClipboard(QStringLiteral("IN"));
    ASSERT_TRUE(Trigger(Actions().paste));
    EXPECT_EQ(Grid().RowAt(0).colour, PortColour(BlockKind::InPort));
    Type(0, SignalColumn::DataType, QStringLiteral("STD_LOGIC_VECTOR"));
    Type(0, SignalColumn::Range, QStringLiteral("7 downto 0"));
    EXPECT_EQ(Status(0), SignalRowStatus::Valid);
    EXPECT_FALSE(changed.isEmpty()); // the rest of the window heard of each finished edit
    EXPECT_EQ(m_module->Signals()->GetSignalText(0, CVHDLSignal::kName), "DATA");

    // A name another row has marks both rows, and the row is still written back.
    Type(0, SignalColumn::Name, QStringLiteral("clk"));
    EXPECT_EQ(Status(0), SignalRowStatus::Invalid);
    EXPECT_EQ(Status(1), SignalRowStatus::Invalid);
    EXPECT_EQ(View().model()->headerData(0, Qt::Vertical, Qt::DecorationRole).value<QPixmap>().cacheKey(),
              CSignalListModel::StatusImage(SignalRowStatus::Invalid).cacheKey());
    EXPECT_EQ(m_module->Signals()->GetSignalText(0, CVHDLSignal::kName), "clk");
    Type(0, SignalColumn::Name, QStringLiteral("DATA"));
    EXPECT_EQ(Status(1), SignalRowStatus::Valid);

    // Nothing reaches the file until the focus leaves the pane.
    EXPECT_EQ(Source().find("DATA"), std::string::npos);
    Select(m_project, m_project->Doc().Tree().GetRootItem());
    const std::string source = Source();
    EXPECT_NE(source.find("DATA : IN STD_LOGIC_VECTOR(7 downto 0);"), std::string::npos) << source;
    EXPECT_NE(LogText(m_project).find("my_alu's port list updated."), std::string::npos);
    EXPECT_EQ(m_module->Status(), AnalysisStatus::Analyzed);
    EXPECT_EQ(Grid().Caption(), "n/a"); // the project item has no signals
    EXPECT_EQ(Grid().RowCount(), 0);
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({source});
        EXPECT_TRUE(result.ok) << result.output;
    }
}

// The drop-down of a cell's list is a window of its own: opening it keeps the editor, and a
// choice from it reaches the cell.
TEST_F(SignalListTest, TheModeAndDataTypeDropDownsOfferTheirChoices) {
    const auto openDropDown = [this](SignalColumn column) -> QComboBox* {
        FocusCell(0, column);
        View().edit(Index(0, column));
        ProcessEvents();
        auto* box = View().findChild<QComboBox*>();
        if (box != nullptr) {
            box->showPopup();
            ProcessEvents();
        }
        return View().findChild<QComboBox*>();
    };
    const auto choices = [](const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    };
    QComboBox* types = openDropDown(SignalColumn::DataType);
    ASSERT_NE(types, nullptr) << "the editor closed as its drop-down opened";
    ASSERT_TRUE(types->view()->isVisible());
    EXPECT_EQ(choices(types), QStringList({"STD_LOGIC", "STD_ULOGIC", "STD_LOGIC_VECTOR", "SIGNED",
                                           "UNSIGNED", "BIT", "BIT_VECTOR", "BOOLEAN", "INTEGER", "NATURAL",
                                           "POSITIVE", "CHARACTER", "STRING"}));
    EXPECT_TRUE(types->isEditable()); // a type of the user's own may be typed
    types->view()->setCurrentIndex(types->model()->index(3, 0));
    QTest::keyClick(types->view(), Qt::Key_Return);
    ProcessEvents();
    ASSERT_EQ(View().findChild<QComboBox*>(), types);
    QTest::keyClick(types, Qt::Key_Return);
    ProcessEvents();
    EXPECT_EQ(Grid().Cell(0, SignalColumn::DataType), "SIGNED");

    QComboBox* modes = openDropDown(SignalColumn::Mode);
    ASSERT_NE(modes, nullptr);
    EXPECT_EQ(choices(modes), QStringList({"in", "out", "inout", "buffer", "linkage"}));
    modes->hidePopup();
}

// An invalid name is marked with its reason on the status mark and the status bar, and the
// source keeps the port it renamed.
TEST_F(SignalListTest, TheStatusMarkOfAnInvalidRowTellsWhy) {
    Type(0, SignalColumn::Name, QStringLiteral("my clk"));
    ASSERT_EQ(Status(0), SignalRowStatus::Invalid);
    const QString reason = MessageToQt(VhdlNameProblem("my clk"));
    const QString tip = View().model()->headerData(0, Qt::Vertical, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(reason)) << tip.toStdString();
    EXPECT_EQ(m_frame->statusBar()->currentMessage(),
              QStringLiteral("Invalid port in row 1 of my_alu: ") + reason);

    Select(m_project, m_project->Doc().Tree().GetRootItem());
    EXPECT_NE(Source().find("CLK : in STD_LOGIC"), std::string::npos) << Source();
    EXPECT_NE(LogText(m_project).find(
                  "WARNING: Invalid port in row 1 of my_alu (\"my clk\"), the source keeps port CLK"),
              std::string::npos)
        << LogText(m_project);
}

TEST_F(SignalListTest, MovesStopAtTheEndsAndRemoveNeedsWholeRows) {
    Select(m_project, m_module);
    FocusCell(0, SignalColumn::Name);
    PutOnClipboard(QStringLiteral("A\tin\tBIT\t\nB\tout\tBIT\t\n"));
    FocusCell(0, SignalColumn::Name);
    ASSERT_TRUE(Trigger(Actions().paste)); // over CLK and onto a new second row
    ASSERT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(Grid().Cell(1, SignalColumn::Name), "B");

    FocusCell(0, SignalColumn::Mode);
    EXPECT_TRUE(Trigger(Actions().moveUp));
    EXPECT_EQ(Grid().Cell(0, SignalColumn::Name), "A"); // the first row stays first
    ASSERT_TRUE(Trigger(Actions().moveDown));
    EXPECT_EQ(Grid().Cell(1, SignalColumn::Name), "A");
    EXPECT_EQ(View().currentIndex(), Index(1, SignalColumn::Mode)); // the focus follows the row
    ASSERT_TRUE(Trigger(Actions().moveToBottom));
    EXPECT_EQ(Grid().Cell(1, SignalColumn::Name), "A");

    FocusCell(1, SignalColumn::Name);
    m_frame->UpdateActions();
    EXPECT_FALSE(Actions().remove->isEnabled()); // a single cell is not a row
    View().selectRow(1);
    ProcessEvents();
    ASSERT_TRUE(Trigger(Actions().remove));
    ASSERT_EQ(Grid().RowCount(), 1);
    EXPECT_EQ(m_module->Signals()->GetSignalCount(), 1); // removing writes back at once
    EXPECT_EQ(View().currentIndex().row(), 0);
}

// The moves and Insert are the window's shared commands: their words follow the focus.
TEST_F(SignalListTest, TheSharedCommandsSpeakOfSignalsWhileTheListHasTheFocus) {
    const auto texts = [this] {
        QStringList seen;
        for (const QAction* action : {Actions().moveToTop, Actions().moveUp, Actions().moveDown,
                                      Actions().moveToBottom, Actions().insertRow})
            seen << action->text() << action->statusTip();
        return seen;
    };
    const QStringList modules = texts();
    FocusCell(0, SignalColumn::Name);
    EXPECT_EQ(texts(), QStringList({"&Move to top\tCtrl+Home", "Move the selected signal to the top",
                                    "Move &up one item\tCtrl+Up", "Move the selected signal up one row",
                                    "Move &down one item\tCtrl+Down", "Move the selected signal down one row",
                                    "Move to &bottom\tCtrl+End", "Move the selected signal to the bottom",
                                    "&Insert\tInsert", "Insert a blank row above the focused row"}));
    Select(m_project, m_module);
    EXPECT_EQ(texts(), modules);
    EXPECT_EQ(Actions().moveToTop->statusTip(),
              QStringLiteral("Move the selected module before its siblings"));
}

TEST_F(SignalListTest, CellsCopyAndPasteAsTabSeparatedRows) {
    FocusCell(0, SignalColumn::Name);
    PutOnClipboard(QStringLiteral("A\tin\tSTD_LOGIC\r\nB\tout\tSTD_LOGIC_VECTOR\t3 downto 0\r\n"));
    ASSERT_TRUE(Trigger(Actions().paste));
    View().selectionModel()->select(
        QItemSelection(Index(0, SignalColumn::Name), Index(1, SignalColumn::Range)),
        QItemSelectionModel::ClearAndSelect);
    ProcessEvents();
    ASSERT_TRUE(Trigger(Actions().copy));
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("A\tin\tSTD_LOGIC\t\nB\tout\tSTD_LOGIC_VECTOR\t3 downto 0\n"));

    // Pasted into two blank rows between them, the rows come back as duplicates.
    for (int blank = 0; blank < 2; ++blank) {
        FocusCell(1, SignalColumn::Name);
        ASSERT_TRUE(Trigger(Actions().insertRow));
    }
    FocusCell(1, SignalColumn::Name);
    ASSERT_TRUE(Trigger(Actions().paste));
    ASSERT_EQ(Grid().RowCount(), 4);
    EXPECT_EQ(Grid().Cell(2, SignalColumn::Name), "B");
    EXPECT_EQ(Grid().Cell(2, SignalColumn::Range), "3 downto 0");
    EXPECT_EQ(Status(3), SignalRowStatus::Invalid);

    // Cut empties the cells and writes back.
    View().selectRow(3);
    ProcessEvents();
    ASSERT_TRUE(Trigger(Actions().cut));
    EXPECT_EQ(Grid().Cell(3, SignalColumn::Name), "");
    EXPECT_EQ(m_module->Signals()->GetSignalText(3, CVHDLSignal::kName), "");
}

TEST_F(SignalListTest, ColumnWidthsHaveAMinimumAndGoBackOnClose) {
    View().horizontalHeader()->resizeSection(static_cast<int>(SignalColumn::Range), 170);
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(m_settings->ReadSettingInt(CSignalListView::kWidthSection, "Column 5", 0), 170);
    EXPECT_EQ(m_settings->ReadSettingInt(CSignalListView::kWidthSection, "Column 1", 0),
              CSignalListView::kDefaultWidths[0]);
    m_settings->WriteSettingInt(CSignalListView::kWidthSection, "Column 2", 3);
    StartFrame();
    EXPECT_EQ(View().horizontalHeader()->sectionSize(static_cast<int>(SignalColumn::Name)), 10);
    EXPECT_EQ(View().horizontalHeader()->sectionSize(static_cast<int>(SignalColumn::Range)), 170);
}

// The status column is the row header: its border is dragged in the header row and beside the
// rows, as the other columns' borders are.
TEST_F(SignalListTest, TheStatusColumnIsResizedByDraggingItsBorder) {
    // The widget moves with the border; the mouse goes where the user moves it.
    const auto drag = [](QWidget* widget, int fromX, int byX) {
        const QPointF origin = widget->mapToGlobal(QPointF(0, 5));
        const auto send = [widget, origin](QEvent::Type type, int x, Qt::MouseButton button,
                                           Qt::MouseButtons buttons) {
            const QPointF global = origin + QPointF(x, 0);
            QMouseEvent event(type, widget->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        };
        send(QEvent::MouseButtonPress, fromX, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, fromX + byX, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, fromX + byX, Qt::LeftButton, Qt::NoButton);
        ProcessEvents();
    };
    QHeaderView* rows = View().verticalHeader();
    const int start = View().ColumnWidths()[0];
    drag(rows->viewport(), rows->viewport()->width() - 1, 30);
    EXPECT_EQ(View().ColumnWidths()[0], start + 30);
    EXPECT_EQ(View().viewport()->geometry().left(), rows->geometry().right() + 1); // the cells follow
    // In the header row the border is the left edge of the first column's header.
    drag(View().horizontalHeader()->viewport(), 1, -200);
    EXPECT_EQ(View().ColumnWidths()[0], CSignalListView::kMinimumWidth);
    drag(View().horizontalHeader()->viewport(), 1, 15);
    EXPECT_EQ(View().ColumnWidths()[0], CSignalListView::kMinimumWidth + 15);
    EXPECT_EQ(View().horizontalHeader()->sectionSize(0), CSignalListView::kDefaultWidths[1]);
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(m_settings->ReadSettingInt(CSignalListView::kWidthSection, "Column 1", 0),
              CSignalListView::kMinimumWidth + 15);
}

TEST_F(SignalListTest, AChangeMadeElsewhereReloadsTheRows) {
    m_module->Signals()->SetSignalAll(0, "CLOCK", "in", "STD_LOGIC", "", "");
    View().OnSignalsChangedElsewhere(m_project->Session(), m_module);
    EXPECT_EQ(Grid().Cell(0, SignalColumn::Name), "CLOCK");
    EXPECT_FALSE(Grid().IsChanged());
}

// The print dialog's File > Print with a chosen page range, printed into a PDF file.
class SignalListPrintTest : public SignalListTest {
protected:
    void SetUp() override {
        SignalListTest::SetUp();
        QString rows;
        for (int row = 0; row < 150; ++row)
            rows += QStringLiteral("S%1\tin\tSTD_LOGIC\t\n").arg(row);
        FocusCell(0, SignalColumn::Name);
        PutOnClipboard(rows);
        ASSERT_TRUE(Trigger(Actions().paste));
    }
    // Prints from the File menu into the PDF file, pages `from` to `to` (0 for all pages).
    void PrintTo(const std::filesystem::path& pdf, int from, int to) {
        dialogHandler = [pdf, from, to](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (print == nullptr)
                return int(QDialog::Rejected);
            QPrinter* printer = print->printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(pdf.string()));
            printer->setPrintRange(from > 0 ? QPrinter::PageRange : QPrinter::AllPages);
            printer->setFromTo(from, to);
            return int(QDialog::Accepted);
        };
        FocusCell(0, SignalColumn::Name);
        ASSERT_TRUE(Trigger(Actions().print));
    }
    static int PdfPageCount(const std::filesystem::path& pdf) {
        const std::string bytes = ReadWholeFile(pdf).ValueOr("");
        int pages = 0;
        for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
             at = bytes.find("/Type /Page", at + 1))
            pages += bytes.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
        return pages;
    }
};

TEST_F(SignalListPrintTest, OnlyThePagesOfTheChosenRangeArePrinted) {
    PrintTo(Folder() / "all.pdf", 0, 0);
    const int all = PdfPageCount(Folder() / "all.pdf");
    ASSERT_GE(all, 4);
    PrintTo(Folder() / "range.pdf", 2, 3);
    EXPECT_EQ(PdfPageCount(Folder() / "range.pdf"), 2);
    EXPECT_TRUE(m_prompts.Messages().empty());
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess text;
    text.start(pdftotext, {QString::fromStdString((Folder() / "range.pdf").string()), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Page 2/%1").arg(all))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Page 3/%1").arg(all)));
    EXPECT_FALSE(printed.contains(QStringLiteral("Page 1/")));
}

// A printer that cannot take the first page of the range stops the job and says so.
TEST_F(SignalListPrintTest, APageThePrinterCannotStartStopsPrintingWithAMessage) {
    PrintTo(Folder() / "no such folder" / "range.pdf", 2, 3);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].text, "The printer could not start page 2: printing stopped.");
    EXPECT_EQ(m_prompts.Messages()[0].icon, PromptIcon::Error);
}

TEST_F(SignalListTest, PrintingHeadsThePagesWithTheCaption) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString((Folder() / "signals.pdf").string());
    printer.setOutputFileName(pdf);
    EXPECT_EQ(View().Print(printer), 1);
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("my alu Signal List"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Page 1/1")));
    EXPECT_TRUE(printed.contains(QStringLiteral("CLK")));
}

} // namespace
} // namespace kestra
