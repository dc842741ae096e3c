#include "diagram/block_diagram_bar.h"
#include "diagram/block_diagram_ctrl.h"
#include "diagram/line_table.h"
#include "diagram/picture_bounds.h"
#include "hierarchy/kst_tree_view.h"
#include "mainframe/dock_bars.h"
#include "panes/signal_grid.h"
#include "picture/diagram_painter.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "projectframe/project_frame.h"
#include "signallist/signal_list_view.h"
#include "support/byte_builder.h"
#include "support/ghdl.h"
#include "support/temp_folder.h"
#include "system/file_system.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace kestra {
namespace {

// A project with the module "top" shown in the block diagram.
class BlockDiagramTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        StartFrame();
        m_project = NewProject("diagram.kst");
        ASSERT_NE(m_project, nullptr);
        m_top = AddModule(m_project, Root(), QStringLiteral("top"));
        ASSERT_NE(m_top, nullptr);
        Select(m_project, m_top);
        Bar().Pane().SetBeep([this] { ++m_beeps; });
        // A canvas larger than the docked bar, so that the gestures have room.
        QDockWidget* bar = m_frame->Bars().BlockDiagramBar();
        bar->setFloating(true);
        bar->resize(900, 600);
        ProcessEvents();
        ASSERT_GE(Surface()->height(), 400);
        ASSERT_EQ(Bar().Pane().Item(), m_top);
    }

    CHierarchyItem* Root() const { return m_project->Doc().Tree().GetRootItem(); }
    CBlockDiagramBar& Bar() const { return *m_frame->DiagramBar(); }
    CBlockDiagramCtrl& Canvas() const { return *Bar().Canvas(); }
    CBlockDiagram& Diagram() const { return Bar().Pane().Diagram(); }
    const CDiagramActions& Actions() const { return m_frame->Actions().diagram; }
    QWidget* Surface() const { return Canvas().viewport(); }

    void Press(QPoint at) { QTest::mousePress(Surface(), Qt::LeftButton, {}, at); }
    void Release(QPoint at) { QTest::mouseRelease(Surface(), Qt::LeftButton, {}, at); }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), Surface()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &move);
        Release(to);
        ProcessEvents();
    }
    void Hover(QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), Surface()->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &move);
        ProcessEvents();
    }
    void Click(QPoint at) {
        Press(at);
        Release(at);
        ProcessEvents();
    }
    // A custom block inserted by a click and sized by dragging its corner.
    int InsertCustom(QPoint click, QPoint corner) {
        Canvas().setFocus();
        EXPECT_TRUE(Trigger(Actions().blockCustom));
        Click(click);
        const int id = Diagram().SelectedBlock();
        const CPixelRect r = Diagram().BlockRect(id);
        Hover(QPoint(r.right, r.bottom));
        Drag(QPoint(r.right, r.bottom), corner);
        return id;
    }
    CPixelRect Rect(int id) const { return Diagram().BlockRect(id); }
    // The rectangle around every block (the module's caption among them).
    CPixelRect AllBlocks() const {
        CPixelRect all = Diagram().Blocks().Blocks().begin()->second.rect;
        for (const auto& [id, block] : Diagram().Blocks().Blocks())
            all = {std::min(all.left, block.rect.left), std::min(all.top, block.rect.top),
                   std::max(all.right, block.rect.right), std::max(all.bottom, block.rect.bottom)};
        return all;
    }
    const LineRecord* Line(int id) const { return Diagram().Lines().Find(id); }

    C3SplitFrame* m_project = nullptr;
    CHierarchyItem* m_top = nullptr;
    int m_beeps = 0;
};

TEST_F(BlockDiagramTest, BlocksAreInsertedSizedAndMovedBackFromOtherBlocks) {
    const int a = InsertCustom(QPoint(105, 85), QPoint(160, 130));
    EXPECT_EQ(Diagram().BlockText(a), "Blk");
    EXPECT_EQ(Rect(a), (CPixelRect{80, 70, 160, 130}));
    const int b = InsertCustom(QPoint(305, 85), QPoint(360, 130));
    ASSERT_NE(a, b);
    // An insertion on a block beeps and adds nothing.
    ASSERT_TRUE(Trigger(Actions().blockCustom));
    Click(QPoint(330, 100));
    EXPECT_EQ(m_beeps, 1);
    EXPECT_EQ(Diagram().BlockCount(), 3); // with the block of top's port CLK
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    ASSERT_EQ(Canvas().Editor().Mode(), EditMode::Select);

    // Dropped onto the other block, a block goes back and the diagram counts as unchanged.
    Diagram().SetDiagramChanged(false);
    Drag(QPoint(120, 100), QPoint(320, 100));
    EXPECT_EQ(Rect(a), (CPixelRect{80, 70, 160, 130}));
    EXPECT_FALSE(Diagram().DiagramChanged());
    Drag(QPoint(120, 100), QPoint(140, 220));
    EXPECT_EQ(Rect(a), (CPixelRect{100, 190, 180, 250}));
    EXPECT_TRUE(Diagram().DiagramChanged());
}

TEST_F(BlockDiagramTest, LinksAreRoutedAroundBlocksAndTakeStylesThicknessArrowsAndColours) {
    const int a = InsertCustom(QPoint(70, 140), QPoint(100, 180));
    InsertCustom(QPoint(260, 120), QPoint(300, 220)); // in the way
    const int b = InsertCustom(QPoint(470, 140), QPoint(500, 180));
    ASSERT_TRUE(Trigger(Actions().automaticLink));
    Drag(QPoint(80, 150), QPoint(480, 150));
    const int line = Diagram().SelectedLine();
    ASSERT_GE(line, 0);
    ASSERT_FALSE(IsUnrouted(*Line(line)));
    EXPECT_EQ(Line(line)->fromId, static_cast<std::uint32_t>(a));
    EXPECT_EQ(Line(line)->toId, static_cast<std::uint32_t>(b));
    EXPECT_TRUE(Diagram().IsPathClear(Line(line)->points, a, b, line));

    // Line Style routes the selected line with its next shape, still clear: from A down to a
    // block below B, both an elbow through the right and one through the bottom fit.
    const int d = InsertCustom(QPoint(470, 340), QPoint(500, 380));
    ASSERT_TRUE(Trigger(Actions().automaticLink));
    Drag(QPoint(80, 150), QPoint(480, 350));
    const int elbow = Diagram().SelectedLine();
    ASSERT_GE(elbow, 0);
    const int firstVariant = Line(elbow)->RouteVariant();
    ASSERT_TRUE(Trigger(Actions().lineStyle));
    EXPECT_NE(Line(elbow)->RouteVariant(), firstVariant);
    EXPECT_FALSE(IsUnrouted(*Line(elbow)));
    EXPECT_TRUE(Diagram().IsPathClear(Line(elbow)->points, a, d, elbow));
    Diagram().SelectLine(line);

    // The colour picker recolours the selected line.
    QMenu* picker =
        qobject_cast<QToolButton*>(m_frame->DiagramToolBar()->widgetForAction(Actions().pickColour))->menu();
    QAction* red = nullptr;
    for (QAction* action : picker->actions())
        red = action->text() == QStringLiteral("Red") ? action : red;
    ASSERT_NE(red, nullptr);
    red->trigger();
    EXPECT_EQ(Line(line)->colour, Rgb(255, 0, 0));

    // A line of width 4 (from an older file), picked, checks "Thickness 2" and its arrows.
    QTest::keyClick(&Canvas(), Qt::Key_Escape); // out of the link mode
    LineRecord old = *Line(line);
    old.attributes = static_cast<std::uint16_t>((old.attributes & ~LineRecord::WidthMask & ~0xF0) | 4 | 0x30);
    Diagram().AddLine(old, line);
    Diagram().SelectLine(-1);
    const LinePoint mid{(old.points[0].x + old.points[1].x) / 2, (old.points[0].y + old.points[1].y) / 2};
    const QPoint on(Round10(mid.x), Round10(mid.y));
    Hover(on);
    ASSERT_EQ(Canvas().Editor().Mode(), EditMode::OverLine);
    Click(on);
    EXPECT_EQ(Diagram().SelectedLine(), line);
    m_frame->UpdateActions();
    EXPECT_TRUE(Actions().thickness2->isChecked());
    EXPECT_FALSE(Actions().thickness3->isChecked());
    EXPECT_EQ(Actions().thicknessButton->data().toInt(), 3);
    EXPECT_TRUE(Actions().arrowBoth->isChecked());
    ASSERT_TRUE(Trigger(Actions().thickness3));
    EXPECT_EQ(Line(line)->PenWidth(), 5);
}

TEST_F(BlockDiagramTest, AManualLinkPointThatCrossesABlockIsRefused) {
    const int a = InsertCustom(QPoint(70, 140), QPoint(100, 180));
    InsertCustom(QPoint(260, 120), QPoint(300, 220));
    ASSERT_GE(a, 0);
    ASSERT_TRUE(Trigger(Actions().manualLink));
    Click(QPoint(90, 160)); // starts on the right side of A
    ASSERT_TRUE(Canvas().Editor().ManualLink().IsActive());
    const std::size_t points = Canvas().Editor().ManualLink().Points().size();
    Click(QPoint(400, 160)); // straight through the block in the way
    EXPECT_EQ(m_beeps, 1);
    EXPECT_EQ(Canvas().Editor().ManualLink().Points().size(), points);
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    EXPECT_EQ(Canvas().Editor().Mode(), EditMode::Select);
}

TEST_F(BlockDiagramTest, WriteBackKeepsAnUnchangedRecordAndStoresAChangedOne) {
    CHierarchyItem* other = AddModule(m_project, Root(), QStringLiteral("other"));
    Select(m_project, m_top);
    const CBlockData before = *m_top->BlockData();
    Select(m_project, other);
    EXPECT_EQ(*m_top->BlockData(), before);

    Select(m_project, m_top);
    InsertCustom(QPoint(105, 85), QPoint(160, 130));
    Select(m_project, other); // showing another module writes the diagram back
    // The block of top's port CLK came first, when top was shown.
    ASSERT_EQ(m_top->BlockData()->GetBlockCount(), 2);
    EXPECT_EQ(m_top->BlockData()->Blocks()[0].name, "\\T:CLK");
    EXPECT_EQ(m_top->BlockData()->Blocks()[1].name, "\\C:Blk");
    ASSERT_TRUE(m_project->Doc().DoFileSave());
    CScriptedPrompts prompts;
    CMemoryLog messages;
    CKSTDoc reread(prompts, messages);
    ASSERT_TRUE(reread.OnOpenDocument(m_project->Doc().GetPathName()));
    const CHierarchyItem* stored = reread.Tree().GetRootItem()->FirstChild();
    ASSERT_EQ(stored->Text(), "top");
    EXPECT_EQ(stored->BlockData()->Blocks()[1].rect, (BlockRect{80, 70, 160, 130}));
}

TEST_F(BlockDiagramTest, LinesOfAVersion102ProjectAreRoutedWhenShown) {
    // Version 102: blocks without ids, lines between positions in the block table, no points.
    test::ByteBuilder bytes;
    bytes.U32(0x11D2A07E).U32(102);
    auto item = [&bytes](std::uint32_t depth, std::int32_t kind, const std::string& text, bool blocks) {
        bytes.U32(depth).I32(kind).Str(text);
        bytes.U8(1).I32(1).U32(0).U32(0).I32(0).Str(text).Str(text + ".vhd").I32(0);
        bytes.U8(2).I32(0);
        bytes.U8(4).U32(blocks ? 2 : 0);
        if (!blocks) {
            bytes.U32(0);
            return;
        }
        // The module blocks of the two children, and a line from the first to the second.
        bytes.Str("A").I32(10).I32(10).I32(60).I32(50).U32(0x0064E6E6);
        bytes.Str("B").I32(200).I32(10).I32(250).I32(50).U32(0x0064E6E6);
        bytes.U32(1).U16(0).U16(1);
    };
    item(0, 2, "Old", false);
    item(1, 0, "TOP", true);
    item(2, 0, "A", false);
    item(2, 0, "B", false);
    bytes.U32(0xFFFFFFFF);
    const std::filesystem::path file = Folder() / "old.kst";
    ASSERT_TRUE(ReplaceFileSafely(file, bytes.Bytes()));
    ASSERT_TRUE(m_frame->OpenProjectFile(file.string()));
    C3SplitFrame* old = m_frame->ActiveProject();
    ASSERT_NE(old, &*m_project);
    Select(old, old->Doc().Tree().GetRootItem()->FirstChild());
    ASSERT_EQ(Diagram().BlockCount(), 2);
    ASSERT_EQ(Diagram().Lines().Count(), 1);
    const LineRecord& line = Diagram().Lines().Lines().begin()->second;
    EXPECT_FALSE(IsUnrouted(line));
    EXPECT_GE(line.points.size(), 2u);
}

TEST_F(BlockDiagramTest, CopyViewShowsATextBlockOnWhite) {
    Canvas().setFocus();
    ASSERT_TRUE(Trigger(Actions().insertText));
    Click(QPoint(110, 90));
    ASSERT_EQ(Diagram().BlockText(Diagram().SelectedBlock()), "Txt");
    Canvas().setFocus();
    ASSERT_TRUE(Trigger(m_frame->Actions().copyView));
    const QImage picture = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    // The picture's (0, 0) is the margin's corner before the drawing.
    const CPixelRect block = Rect(Diagram().SelectedBlock());
    const CPixelRect all = AllBlocks();
    auto at = [&](int x, int y) {
        return picture.pixel(x - all.left + kPictureMargin, y - all.top + kPictureMargin);
    };
    // The canvas's button face, behind the diagram and the text block, is white in the picture.
    ASSERT_NE(Canvas().palette().color(QPalette::Button), QColor(Qt::white));
    EXPECT_EQ(QColor(picture.pixel(0, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(at(block.left + 1, block.top + 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(at(block.right - 2, block.bottom - 2)), QColor(Qt::white));
    int dark = 0;
    for (int y = block.top; y < block.bottom; ++y) {
        for (int x = block.left; x < block.right; ++x)
            dark += qGray(at(x, y)) < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 0); // the text
}

TEST_F(BlockDiagramTest, PicturesAndExportsLeaveAMarginAroundTheDrawing) {
    const int a = InsertCustom(QPoint(305, 185), QPoint(360, 230));
    const CPixelRect all = AllBlocks();
    ASSERT_EQ(all.right, Rect(a).right);
    const QImage picture = Bar().Picture();
    // The frame along the right and bottom edges is one pixel past the block.
    ASSERT_EQ(picture.size(),
              QSize(all.Width() + 1 + 2 * kPictureMargin, all.Height() + 1 + 2 * kPictureMargin));
    // The block's black frame ends where the margin begins; the margin is white all round.
    EXPECT_EQ(
        QColor(picture.pixel(picture.width() - kPictureMargin - 1, picture.height() - kPictureMargin - 1)),
        QColor(Qt::black));
    for (int x = 0; x < picture.width(); ++x) {
        EXPECT_EQ(QColor(picture.pixel(x, kPictureMargin - 1)), QColor(Qt::white)) << x;
        EXPECT_EQ(QColor(picture.pixel(x, picture.height() - kPictureMargin)), QColor(Qt::white)) << x;
    }
    for (int y = 0; y < picture.height(); ++y) {
        EXPECT_EQ(QColor(picture.pixel(kPictureMargin - 1, y)), QColor(Qt::white)) << y;
        EXPECT_EQ(QColor(picture.pixel(picture.width() - kPictureMargin, y)), QColor(Qt::white)) << y;
    }
    ASSERT_TRUE(Bar().ExportTo(Folder() / "margin.svg"));
    const std::string svg = test::ReadBytes(Folder() / "margin.svg");
    EXPECT_NE(
        svg.find(
            QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(picture.width()).arg(picture.height()).toStdString()),
        std::string::npos)
        << svg;
}

TEST_F(BlockDiagramTest, AWideDiagramPrintsOnTwoPagesWithTheirPlaces) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    InsertCustom(QPoint(105, 85), QPoint(160, 130));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Portrait);
    // One and a half pages wide: the part of a page the picture gets, in screen pixels.
    const int piece =
        printer.pageLayout().paintRectPixels(printer.resolution()).width() * 96 / printer.resolution() - 80;
    Diagram().Blocks().GrowExtents(piece * 3 / 2, 0);
    const QString pdf = QString::fromStdString((Folder() / "diagram.pdf").string());
    printer.setOutputFileName(pdf);
    EXPECT_EQ(Bar().Print(printer), 2);
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("top Block Diagram (2 x 1)"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Page 2/2 (2,1)")));
}

TEST_F(BlockDiagramTest, MaximizingKeepsTheLayoutForAfterwards) {
    QDockWidget* signalBar = m_frame->Bars().SignalListBar();
    ASSERT_FALSE(signalBar->isHidden());
    ASSERT_TRUE(Trigger(m_frame->Actions().maximizeDiagram));
    EXPECT_TRUE(signalBar->isHidden());
    EXPECT_EQ(m_frame->toolBarArea(m_frame->DiagramToolBar()), Qt::TopToolBarArea);
    // Closing while maximized stores the normal layout.
    ASSERT_TRUE(CloseFrame());
    StartFrame();
    EXPECT_FALSE(m_frame->menuBar()->isHidden());
    EXPECT_FALSE(m_frame->Bars().SignalListBar()->isHidden());
    EXPECT_EQ(m_frame->toolBarArea(m_frame->DiagramToolBar()), Qt::BottomToolBarArea);
    ASSERT_TRUE(Trigger(m_frame->Actions().maximizeDiagram));
    ASSERT_TRUE(Trigger(m_frame->Actions().maximizeDiagram));
    EXPECT_FALSE(m_frame->Bars().SignalListBar()->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), m_frame->DiagramBar()->Canvas());
    // Hiding the bar hides its toolbar; showing it shows both.
    ASSERT_TRUE(Trigger(m_frame->Actions().blockDiagram));
    EXPECT_TRUE(m_frame->Bars().BlockDiagramBar()->isHidden());
    EXPECT_TRUE(m_frame->DiagramToolBar()->isHidden());
    ASSERT_TRUE(Trigger(m_frame->Actions().blockDiagram));
    EXPECT_FALSE(m_frame->DiagramToolBar()->isHidden());
}

// Design entry end to end: ports and a child module drawn and named in the diagram, a link
// drawn, the data types chosen in the signal list, then generated into VHDL that GHDL accepts.
TEST_F(BlockDiagramTest, ATwoLevelDesignDrawnInTheDiagramGenerates) {
    CSignalListView& signalList = *m_frame->SignalList();
    const auto drawAndName = [&](QAction* tool, QPoint at, const QString& name) {
        Canvas().setFocus();
        Diagram().SelectBlock(-1); // with a port selected, the port tools re-shape it
        EXPECT_TRUE(Trigger(tool));
        Click(at);
        const int block = Diagram().SelectedBlock();
        QTest::keyClick(&Canvas(), Qt::Key_Return);
        ProcessEvents();
        QLineEdit* editor = Canvas().TextEditor();
        EXPECT_TRUE(editor != nullptr && editor->isVisible());
        if (editor != nullptr) {
            QTest::keyClicks(editor, name);
            QTest::keyClick(editor, Qt::Key_Return);
        }
        ProcessEvents();
        return block;
    };
    const auto setType = [&](const std::string& port) {
        const int row = m_top->Signals()->FindSignal(port);
        ASSERT_GE(row, 0);
        signalList.model()->setData(signalList.model()->index(row, static_cast<int>(SignalColumn::DataType)),
                                    QStringLiteral("STD_LOGIC"));
    };

    // The new module's template has the port CLK already.
    ASSERT_EQ(signalList.model()->rowCount(), 1);
    const int tick = drawAndName(Actions().portIn, QPoint(80, 110), QStringLiteral("tick"));
    EXPECT_EQ(Diagram().BlockText(tick), "tick");
    ASSERT_EQ(signalList.model()->rowCount(), 2); // the grid shows the new signal at once
    setType("tick");
    const int led = drawAndName(Actions().portOut, QPoint(520, 110), QStringLiteral("led"));
    setType("led");
    EXPECT_EQ(Diagram().GetBlockKind(led), BlockKind::OutPort);
    const int blink = drawAndName(Actions().blockNormal, QPoint(300, 100), QStringLiteral("blink"));
    CHierarchyItem* child = Find(m_project, "blink");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Parent(), m_top);
    EXPECT_NE(LogText(m_project).find("blink added from block diagram entry."), std::string::npos);

    // The new child's instance joins its CLK to the module's CLK: that line goes, and a line
    // from the tick port to the CLK pin takes its place in the port map.
    int clockLine = -1;
    for (const auto& [id, connection] : Diagram().Connections())
        clockLine = connection.net == "CLK" ? id : clockLine;
    ASSERT_GE(clockLine, 0);
    Diagram().SelectLine(clockLine);
    Canvas().setFocus();
    ASSERT_TRUE(Trigger(m_frame->Actions().remove));
    EXPECT_EQ(Diagram().Connections().size(), 0u);
    ASSERT_TRUE(Trigger(Actions().automaticLink));
    const CPixelRect from = Rect(tick);
    const std::vector<PinPlace> pins = Diagram().PinsOf(blink);
    ASSERT_EQ(pins.size(), 1u);
    Drag(QPoint(from.Centre().x, from.Centre().y), QPoint(pins[0].anchor.x + 4, pins[0].anchor.y));
    ASSERT_GE(Diagram().SelectedLine(), 0);
    EXPECT_EQ(Diagram().ConnectionOf(Diagram().SelectedLine())->net, "tick");
    QTest::keyClick(&Canvas(), Qt::Key_Escape);

    // Leaving the module writes its diagram back and its ports into the source.
    Select(m_project, Root());
    Select(m_project, m_top);
    const std::string source = test::ReadBytes(m_project->Doc().GetModuleFilePath(*m_top));
    EXPECT_NE(source.find("tick : in STD_LOGIC"), std::string::npos) << source;
    EXPECT_NE(source.find("led : out STD_LOGIC"), std::string::npos) << source;
    EXPECT_NE(source.find("component blink"), std::string::npos) << source;
    EXPECT_NE(source.find("CLK => tick"), std::string::npos) << source;
    EXPECT_GE(m_top->BlockData()->FindBlockByName("blink"), 0);

    ASSERT_TRUE(Trigger(m_frame->Actions().generate));
    EXPECT_NE(LogText(m_project).find("Synthesizable VHDL file created successfully."), std::string::npos);
    const Result<std::string> generated = ReadWholeFile(Folder() / "top.vhd");
    ASSERT_TRUE(generated);
    if (test::GhdlAvailable()) {
        const auto result = test::GhdlAnalyze({*generated}, "top");
        EXPECT_TRUE(result.ok) << result.output << *generated;
        EXPECT_NE(generated->find("CLK => tick"), std::string::npos) << *generated;
    }
}

} // namespace
} // namespace kestra

namespace kestra {
namespace {

TEST_F(BlockDiagramTest, CtrlZAndCtrlYTakeBackAMoveAndExportWritesThePicture) {
    const int a = InsertCustom(QPoint(105, 85), QPoint(160, 130));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    const CPixelRect placed = Rect(a);
    Hover(QPoint(120, 100)); // off the corner: no longer resizing
    Drag(QPoint(120, 100), QPoint(140, 220));
    const CPixelRect moved = Rect(a);
    ASSERT_NE(moved, placed);
    m_frame->UpdateActions();
    EXPECT_TRUE(m_frame->Actions().undo->isEnabled());
    EXPECT_EQ(m_frame->Actions().undo->statusTip(), QStringLiteral("Undo move block"));

    Key(&Canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rect(a), placed);
    EXPECT_TRUE(Diagram().DiagramChanged());
    Key(&Canvas(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Rect(a), moved);
    Key(&Canvas(), Qt::Key_Z, Qt::ControlModifier);
    Key(&Canvas(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rect(a), moved);
    // Away from the diagram the commands are off.
    Canvas().clearFocus();
    ProcessEvents();
    m_frame->UpdateActions();
    EXPECT_FALSE(m_frame->Actions().undo->isEnabled());

    // Exported with a second block and a link: the texts as text, the line as one polyline.
    const int b = InsertCustom(QPoint(405, 85), QPoint(460, 130));
    ASSERT_TRUE(Trigger(Actions().automaticLink));
    Drag(QPoint(Rect(a).Centre().x, Rect(a).Centre().y), QPoint(Rect(b).Centre().x, Rect(b).Centre().y));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    ASSERT_EQ(Diagram().Lines().Lines().size(), 1u);
    const std::filesystem::path svg = Folder() / "top.svg";
    m_prompts.QueueChoice(svg.string());
    Canvas().setFocus();
    ASSERT_TRUE(Trigger(Actions().exportDiagram));
    const std::string picture = test::ReadBytes(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    std::size_t texts = 0;
    std::size_t polylines = 0;
    for (std::size_t at = picture.find(">Blk<"); at != std::string::npos; at = picture.find(">Blk<", at + 1))
        ++texts;
    for (std::size_t at = picture.find("<polyline"); at != std::string::npos;
         at = picture.find("<polyline", at + 1))
        ++polylines;
    EXPECT_EQ(texts, 2u) << picture;
    EXPECT_EQ(polylines, 1u) << picture;
}

// Where a diagram point is in the view at the canvas's zoom and scroll position.
QPointF ViewPoint(CBlockDiagramCtrl& canvas, double x, double y) {
    const CBlockList& blocks = canvas.Editor().Diagram().Blocks();
    const double factor = canvas.Zoom().Factor();
    return {(x - blocks.ScrollX()) * factor, (y - blocks.ScrollY()) * factor};
}

void Wheel(QWidget* surface, QPointF at, int angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(at, surface->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &wheel);
    QApplication::processEvents();
}

TEST_F(BlockDiagramTest, AtTwiceAndHalfTheSizeClicksAndDragsReachTheBlockUnderTheCursor) {
    const int a = InsertCustom(QPoint(105, 85), QPoint(160, 130));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    ASSERT_EQ(Rect(a), (CPixelRect{80, 70, 160, 130}));
    Canvas().ZoomAround(2.0, QPointF(0, 0));
    ASSERT_EQ(Canvas().Zoom().Percent(), 200);
    // The block is drawn twice as large: its fill where the diagram point (95, 120) is shown.
    const QImage shown = Surface()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(190, 240)), CDiagramPainter::ToQColor(kCustomBlockColour));
    EXPECT_NE(QColor(shown.pixel(330, 280)), CDiagramPainter::ToQColor(kCustomBlockColour));

    Hover(QPoint(400, 400));
    Click(QPoint(400, 400)); // the diagram's (200, 200): nothing
    EXPECT_EQ(Diagram().SelectedBlock(), -1);
    Click(QPoint(310, 250)); // the diagram's (155, 125): inside the block, outside it at 100 %
    EXPECT_EQ(Diagram().SelectedBlock(), a);
    Hover(QPoint(240, 200));
    Drag(QPoint(240, 200), QPoint(280, 440)); // 20 and 120 diagram units
    EXPECT_EQ(Rect(a), (CPixelRect{100, 190, 180, 250}));

    // The text editor covers the block as shown, with the text at the shown size.
    QTest::keyClick(&Canvas(), Qt::Key_Return);
    ProcessEvents();
    ASSERT_NE(Canvas().TextEditor(), nullptr);
    EXPECT_EQ(Canvas().TextEditor()->geometry(), QRect(202, 382, 156, 116));
    EXPECT_NEAR(Canvas().TextEditor()->font().pointSizeF(), Canvas().font().pointSizeF() * 2, 0.01);
    QTest::keyClick(Canvas().TextEditor(), Qt::Key_Escape);
    ProcessEvents();

    Canvas().ZoomAround(0.5, QPointF(0, 0));
    Hover(QPoint(20, 20));
    Click(QPoint(20, 20));
    EXPECT_EQ(Diagram().SelectedBlock(), -1);
    Hover(QPoint(70, 120));
    Drag(QPoint(70, 120), QPoint(120, 120)); // the diagram's (140, 240), 100 units to the right
    EXPECT_EQ(Diagram().SelectedBlock(), a);
    EXPECT_EQ(Rect(a), (CPixelRect{200, 190, 280, 250}));
    // Inserted at half the size, a block lands on the grid point under the click.
    ASSERT_TRUE(Trigger(Actions().blockCustom));
    Click(QPoint(200, 50)); // the diagram's (400, 100)
    EXPECT_EQ(Rect(Diagram().SelectedBlock()), (CPixelRect{370, 80, 400, 100}));
}

TEST_F(BlockDiagramTest, CtrlWheelZoomsAroundTheCursorAndTheWheelAloneScrolls) {
    // A small diagram, whose end the pane shows at 100 %: zoomed in, the view goes beyond it.
    InsertCustom(QPoint(405, 185), QPoint(460, 230));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    Diagram().SetDiagramChanged(false);
    const QPointF cursor(431, 203);
    const QPointF under = cursor; // the diagram point under the cursor at 100 %
    const auto expectUnder = [&] {
        const QPointF at = ViewPoint(Canvas(), under.x(), under.y());
        // Scroll positions are whole diagram units: within half of one, as pixels.
        EXPECT_NEAR(at.x(), cursor.x(), Canvas().Zoom().Factor() / 2 + 0.01);
        EXPECT_NEAR(at.y(), cursor.y(), Canvas().Zoom().Factor() / 2 + 0.01);
    };
    for (const int percent : {125, 160, 200, 250, 320, 400}) {
        Wheel(Surface(), cursor, 120, Qt::ControlModifier);
        EXPECT_EQ(Canvas().Zoom().Percent(), percent);
        expectUnder();
    }
    EXPECT_EQ(Bar().CaptionBar()->ZoomText(), QStringLiteral("Zoom 400 %"));
    // Half notches of a fine wheel add up to one step.
    Wheel(Surface(), cursor, -60, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 400);
    Wheel(Surface(), cursor, -60, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 320);
    expectUnder();
    Wheel(Surface(), cursor, -360, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 160);
    expectUnder();

    // The wheel alone scrolls as far on the screen as at 100 %.
    const int scrolled = Diagram().Blocks().ScrollY();
    Wheel(Surface(), cursor, -120, Qt::NoModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 160);
    const int step = QApplication::wheelScrollLines() * CDiagramEditor::kLineStep;
    EXPECT_NEAR((Diagram().Blocks().ScrollY() - scrolled) * 1.6, step, 2.0);
    Wheel(Surface(), cursor, -240, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 100);
    EXPECT_EQ(Bar().CaptionBar()->ZoomText(), QString());
    EXPECT_FALSE(Diagram().DiagramChanged());
}

TEST_F(BlockDiagramTest, FitToPaneShowsTheWholeDrawingAndTheKeysStepTheZoom) {
    InsertCustom(QPoint(105, 85), QPoint(160, 130));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    // A small drawing is enlarged, up to twice its size.
    Key(&Canvas(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 200);
    const int far =
        Diagram().AddBlock(1800, 1400, 100, 60, "far", kCustomBlockColour, -1, BlockKind::CustomBlock);
    Canvas().Refresh();
    Key(&Canvas(), Qt::Key_0, Qt::ControlModifier);
    const double factor = Canvas().Zoom().Factor();
    EXPECT_LT(factor, 1.0);
    const QRectF pane(Surface()->rect());
    QRect drawing;
    for (const auto& [id, block] : Diagram().Blocks().Blocks()) {
        const QRectF shown(ViewPoint(Canvas(), block.rect.left, block.rect.top),
                           ViewPoint(Canvas(), block.rect.right, block.rect.bottom));
        EXPECT_TRUE(pane.contains(shown)) << id;
        drawing |= QRect(block.rect.left, block.rect.top, block.rect.Width(), block.rect.Height());
    }
    // As large as fits: the drawing fills the pane's width or height but for the margins.
    const double fill =
        std::max(drawing.width() * factor - pane.width(), drawing.height() * factor - pane.height());
    EXPECT_GT(fill, -2 * CDiagramZoom::kFitMargin - 2);
    // A click where the far block is shown selects it.
    const QPointF inside = ViewPoint(Canvas(), 1850, 1430);
    Hover(inside.toPoint());
    Click(inside.toPoint());
    EXPECT_EQ(Diagram().SelectedBlock(), far);

    Canvas().ZoomAround(1.0, QPointF(0, 0));
    Key(&Canvas(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 125);
    Key(&Canvas(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 160);
    Key(&Canvas(), Qt::Key_Minus, Qt::ControlModifier);
    Key(&Canvas(), Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(Canvas().Zoom().Percent(), 100);
    for (int i = 0; i < 20; ++i)
        Trigger(Actions().zoomOut);
    EXPECT_EQ(Canvas().Zoom().Percent(), 10);
    for (int i = 0; i < 30; ++i)
        Trigger(Actions().zoomIn);
    EXPECT_EQ(Canvas().Zoom().Percent(), 800);
    // The menu has the commands with their keys.
    QMenu* menu = nullptr;
    for (QAction* entry : m_frame->menuBar()->actions()) {
        if (entry->text() == QStringLiteral("Bloc&k Diagram"))
            menu = entry->menu();
    }
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(Actions().zoomIn));
    EXPECT_TRUE(menu->actions().contains(Actions().zoomOut));
    EXPECT_TRUE(menu->actions().contains(Actions().fitToPane));
    EXPECT_EQ(Actions().fitToPane->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
}

TEST_F(BlockDiagramTest, ZoomIsAViewStateThatPicturesPrintingAndTheRecordNeverSee) {
    const int a = InsertCustom(QPoint(105, 85), QPoint(160, 130));
    const int b = InsertCustom(QPoint(405, 185), QPoint(460, 230));
    ASSERT_TRUE(Trigger(Actions().automaticLink));
    Drag(QPoint(Rect(a).Centre().x, Rect(a).Centre().y), QPoint(Rect(b).Centre().x, Rect(b).Centre().y));
    QTest::keyClick(&Canvas(), Qt::Key_Escape);
    ASSERT_TRUE(Bar().WriteBack());
    const QImage picture = Bar().Picture();
    ASSERT_TRUE(Bar().ExportTo(Folder() / "at100.svg"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((Folder() / "at100.pdf").string()));
    const int pages = Bar().Print(printer).ValueOr(-1);

    Canvas().ZoomAround(3.2, QPointF(100, 100));
    ASSERT_EQ(Canvas().Zoom().Percent(), 320);
    EXPECT_FALSE(Diagram().DiagramChanged());
    EXPECT_FALSE(Bar().WriteBack());
    EXPECT_EQ(Bar().Picture(), picture);
    ASSERT_TRUE(Bar().ExportTo(Folder() / "at320.svg"));
    EXPECT_EQ(test::ReadBytes(Folder() / "at320.svg"), test::ReadBytes(Folder() / "at100.svg"));
    printer.setOutputFileName(QString::fromStdString((Folder() / "at320.pdf").string()));
    EXPECT_EQ(Bar().Print(printer), pages);
    Canvas().setFocus();
    ASSERT_TRUE(Trigger(m_frame->Actions().copyView));
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    // Another module is shown at the same factor.
    CHierarchyItem* other = AddModule(m_project, Root(), QStringLiteral("other"));
    ASSERT_NE(other, nullptr);
    Select(m_project, other);
    ASSERT_EQ(Bar().Pane().Item(), other);
    EXPECT_EQ(Canvas().Zoom().Percent(), 320);
}

} // namespace
} // namespace kestra
