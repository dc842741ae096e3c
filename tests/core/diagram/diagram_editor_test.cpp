#include "diagram/diagram_editor.h"
#include "diagram/path_clearance.h"

#include <functional>
#include <gtest/gtest.h>

namespace kestra {
namespace {

using Path = std::vector<LinePoint>;

struct FakePane : IDiagramListener {
    int beeps = 0;
    std::vector<CBlockNotify> notes;
    std::function<int(CBlockNotify&)> reply;
    void Beep() override { ++beeps; }
    int OnBlockNotify(CBlockNotify& notify) override {
        const int answer = reply ? reply(notify) : 0;
        notes.push_back(notify);
        return answer;
    }
};

class DiagramEditor : public testing::Test {
protected:
    DiagramEditor() : editor(&pane) { editor.SetClientSize(400, 300); }
    CBlockDiagram& diagram() { return editor.Diagram(); }
    int Block(int x, int y, int w, int h, BlockKind kind = BlockKind::Module, const std::string& text = "m") {
        return diagram().AddBlock(x, y, w, h, text, 0x123456, -1, kind);
    }
    void Click(CPixelPoint p) {
        editor.OnLeftButtonDown(p);
        editor.OnLeftButtonUp(p);
    }
    void Drag(CPixelPoint from, CPixelPoint to) {
        editor.OnLeftButtonDown(from);
        editor.OnMouseMove(to);
        editor.OnLeftButtonUp(to);
    }
    FakePane pane;
    CDiagramEditor editor;
};

TEST_F(DiagramEditor, TextBlockInsertionSnapsAndStartsSizing) {
    editor.SetMode(EditMode::InsertText);
    editor.OnLeftButtonDown({5, 5});
    ASSERT_EQ(diagram().BlockCount(), 1);
    const int id = diagram().SelectedBlock();
    EXPECT_EQ(diagram().BlockText(id), "Txt");
    EXPECT_EQ(diagram().GetBlockKind(id), BlockKind::TextBlock);
    EXPECT_EQ(diagram().BlockColour(id), diagram().ButtonFaceColour());
    EXPECT_EQ(diagram().BlockRect(id), (CPixelRect{0, 0, 30, 20}));
    EXPECT_TRUE(diagram().DiagramChanged());
    EXPECT_EQ(editor.Mode(), EditMode::ResizeBottomRight);
    EXPECT_EQ(editor.ResizeTarget(), id);
    EXPECT_EQ(editor.Cursor().shape, CDiagramCursor::Shape::SizeNorthWestSouthEast);
    editor.OnLeftButtonUp({5, 5});

    // The next drag sizes it from its bottom-right corner, on the grid.
    editor.OnLeftButtonDown({30, 20});
    editor.OnMouseMove({84, 66});
    editor.OnLeftButtonUp({84, 66});
    EXPECT_EQ(diagram().BlockRect(id), (CPixelRect{0, 0, 80, 70}));
}

TEST_F(DiagramEditor, InsertionOnABlockBeepsAndAddsNothing) {
    Block(0, 0, 40, 40);
    diagram().SetDiagramChanged(false);
    editor.SetMode(EditMode::InsertCustom);
    editor.OnLeftButtonDown({50, 30}); // rectangle (20, 10, 50, 30) meets the block
    EXPECT_EQ(pane.beeps, 1);
    EXPECT_EQ(diagram().BlockCount(), 1);
    EXPECT_FALSE(diagram().DiagramChanged());
    editor.OnLeftButtonDown({100, 100});
    ASSERT_EQ(diagram().BlockCount(), 2);
    EXPECT_EQ(diagram().BlockText(diagram().SelectedBlock()), "Blk");
    EXPECT_EQ(diagram().BlockColour(diagram().SelectedBlock()), kWhite);
}

TEST_F(DiagramEditor, PortAndModuleInsertionGoThroughThePane) {
    pane.reply = [&](CBlockNotify& notify) {
        notify.result =
            diagram().AddBlock(notify.rect.left, notify.rect.top, notify.rect.Width(), notify.rect.Height(),
                               "", PortColour(BlockKind::OutPort), -1, BlockKind::OutPort);
        return 0;
    };
    editor.SetMode(EditMode::InsertOutPort);
    editor.OnLeftButtonDown({200, 100});
    ASSERT_EQ(pane.notes.size(), 1u);
    EXPECT_EQ(pane.notes[0].code, -990);
    EXPECT_EQ(pane.notes[0].blockId, -1);
    EXPECT_EQ(pane.notes[0].kind, 7);
    EXPECT_EQ(pane.notes[0].rect, (CPixelRect{170, 80, 200, 100}));
    EXPECT_EQ(diagram().SelectedBlock(), pane.notes[0].result);
    EXPECT_EQ(editor.Mode(), EditMode::ResizeBottomRight);

    editor.SetMode(EditMode::InsertPredefinedModule);
    pane.reply = nullptr; // the pane starts an insertion of its own and creates nothing here
    editor.OnLeftButtonDown({300, 200});
    EXPECT_EQ(pane.notes.back().kind, 12);
    EXPECT_EQ(editor.Mode(), EditMode::InsertPredefinedModule);
}

TEST_F(DiagramEditor, MovingSnapsToTheGridAndRevalidatesLines) {
    const int a = Block(100, 100, 60, 40);
    const int b = Block(300, 100, 60, 40);
    const int line = diagram().Route(a, b, 0x13, 0, -1, true);
    diagram().SetDiagramChanged(false);
    Drag({120, 120}, {137, 243});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{120, 220, 180, 260}));
    EXPECT_TRUE(diagram().DiagramChanged());
    const LineRecord* routed = diagram().Lines().Find(line);
    ASSERT_NE(routed, nullptr);
    EXPECT_TRUE(IsPathClearPlain(diagram().Blocks(), diagram().Lines(), routed->points, a, b, line));
    // The first shape that fits now comes round b's bottom into a's right side.
    EXPECT_EQ(routed->points, (Path{{180, 240}, {330, 240}, {330, 140}}));
    // The block is back in the obstacle region.
    EXPECT_TRUE(diagram().Blocks().ObstacleRegion().ContainsPixel({150, 230}));
}

TEST_F(DiagramEditor, MovingOntoAnotherBlockIsUndoneWithoutAChange) {
    const int a = Block(100, 100, 60, 40);
    Block(300, 100, 60, 40);
    diagram().SetDiagramChanged(false);
    editor.OnLeftButtonDown({120, 120});
    EXPECT_FALSE(diagram().Blocks().ObstacleRegion().ContainsPixel({120, 120})); // lifted while moving
    editor.OnMouseMove({330, 125});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{310, 110, 370, 150}));
    editor.OnLeftButtonUp({330, 125});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 160, 140}));
    EXPECT_FALSE(diagram().DiagramChanged());
    EXPECT_TRUE(diagram().Blocks().ObstacleRegion().ContainsPixel({120, 120}));
    EXPECT_EQ(diagram().SelectedBlock(), a);
}

TEST_F(DiagramEditor, ABlockRemovedWhilePressedEndsTheDrag) {
    const int a = Block(100, 100, 60, 40);
    const int b = Block(300, 100, 60, 40);
    diagram().Route(a, b, 0x13, 0, -1, true);
    editor.OnLeftButtonDown({120, 120});
    diagram().DeleteSelection();
    editor.OnMouseMove({200, 200});
    editor.OnLeftButtonUp({200, 200});
    EXPECT_EQ(editor.PressedBlock(), -1);
    EXPECT_EQ(diagram().BlockCount(), 1);
    EXPECT_EQ(diagram().Lines().Count(), 0);
    EXPECT_FALSE(diagram().Blocks().ObstacleRegion().ContainsPixel({120, 120}));
}

TEST_F(DiagramEditor, DraggingPastAnEdgeHoldsTheBlockAndAsksForAutoScroll) {
    const int a = Block(100, 100, 60, 40);
    diagram().IncreaseWidth(); // 500 wide: 100 pixels to scroll
    editor.OnLeftButtonDown({120, 120});
    editor.OnMouseMove({395, 120});
    EXPECT_EQ(diagram().BlockRect(a).right, 400);
    EXPECT_TRUE(editor.AutoScrollRequested(ScrollDirection::Right));
    EXPECT_FALSE(editor.AutoScrollRequested(ScrollDirection::Left));
    editor.OnAutoScrollTimer(ScrollDirection::Right);
    EXPECT_EQ(diagram().Blocks().ScrollX(), 40);
    EXPECT_FALSE(editor.AutoScrollRequested(ScrollDirection::Right)); // until the next move
    editor.OnAutoScrollTimer(ScrollDirection::Right);
    EXPECT_EQ(diagram().Blocks().ScrollX(), 40);
    editor.OnMouseMove({395, 120});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{380, 100, 440, 140}));
    editor.OnLeftButtonUp({395, 120});
    EXPECT_FALSE(editor.AutoScrollRequested(ScrollDirection::Right));
}

TEST_F(DiagramEditor, ResizeHotZonesWithCornersFirst) {
    const int a = Block(100, 100, 60, 40);
    Click({130, 120});
    ASSERT_EQ(diagram().SelectedBlock(), a);
    auto modeAt = [&](CPixelPoint p) {
        editor.OnHover(p);
        return editor.Mode();
    };
    EXPECT_EQ(modeAt({100, 100}), EditMode::ResizeTopLeft);
    EXPECT_EQ(modeAt({97, 97}), EditMode::ResizeTopLeft);
    EXPECT_EQ(modeAt({102, 102}), EditMode::ResizeTopLeft);
    EXPECT_EQ(modeAt({160, 100}), EditMode::ResizeTopRight);
    EXPECT_EQ(modeAt({100, 140}), EditMode::ResizeBottomLeft);
    EXPECT_EQ(modeAt({162, 142}), EditMode::ResizeBottomRight);
    EXPECT_EQ(modeAt({103, 100}), EditMode::ResizeTop);
    EXPECT_EQ(modeAt({100, 103}), EditMode::ResizeLeft);
    EXPECT_EQ(modeAt({157, 120}), EditMode::ResizeRight);
    EXPECT_EQ(modeAt({130, 142}), EditMode::ResizeBottom);
    EXPECT_EQ(modeAt({96, 120}), EditMode::Select);
    EXPECT_EQ(modeAt({103, 120}), EditMode::Select);
    EXPECT_EQ(modeAt({130, 143}), EditMode::Select);
    EXPECT_EQ(editor.ResizeTarget(), a);
    // Without a selection there are no hot zones.
    Click({300, 250});
    EXPECT_EQ(modeAt({100, 100}), EditMode::Select);
}

TEST_F(DiagramEditor, ResizeKeepsToItsRules) {
    const int a = Block(100, 100, 60, 40, BlockKind::CustomBlock);
    Block(200, 100, 40, 40);
    Click({130, 120});
    editor.OnHover({160, 120});
    ASSERT_EQ(editor.Mode(), EditMode::ResizeRight);
    editor.OnLeftButtonDown({160, 120});
    editor.OnMouseMove({186, 120});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 190, 140}));
    editor.OnMouseMove({215, 120}); // would overlap the other block
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 190, 140}));
    editor.OnMouseMove({111, 120}); // would leave 10 pixels or less
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 190, 140}));
    editor.OnMouseMove({121, 120});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 120, 140}));
    editor.OnLeftButtonUp({121, 120});
    EXPECT_TRUE(diagram().DiagramChanged());

    Click({110, 120});
    editor.OnHover({100, 100});
    ASSERT_EQ(editor.Mode(), EditMode::ResizeTopLeft);
    editor.OnLeftButtonDown({100, 100});
    editor.OnMouseMove({-30, 50}); // the left edge may not go below 0
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{100, 100, 120, 140}));
    editor.OnMouseMove({0, 50});
    EXPECT_EQ(diagram().BlockRect(a), (CPixelRect{0, 50, 120, 140}));
    editor.OnMouseMove({0, 50});
    editor.OnLeftButtonUp({0, 50});
}

TEST_F(DiagramEditor, AutomaticLinkRoutesOnReleaseOverTheTarget) {
    const int a = Block(100, 100, 60, 40);
    const int b = Block(300, 100, 60, 40);
    editor.SetMode(EditMode::AutomaticLink);
    editor.OnLeftButtonDown({130, 120});
    EXPECT_EQ(editor.PressedBlock(), a);
    editor.OnMouseMove({-5, 320});
    EXPECT_TRUE(editor.AutoScrollRequested(ScrollDirection::Left));
    EXPECT_TRUE(editor.AutoScrollRequested(ScrollDirection::Down));
    editor.OnMouseMove({330, 120});
    EXPECT_FALSE(editor.AutoScrollRequested(ScrollDirection::Left));
    editor.OnLeftButtonUp({330, 120});
    ASSERT_EQ(diagram().Lines().Count(), 1);
    const int line = diagram().SelectedLine();
    ASSERT_GE(line, 0);
    EXPECT_EQ(diagram().Lines().Find(line)->points, (Path{{160, 120}, {300, 120}}));
    EXPECT_EQ(diagram().SelectedBlock(), -1);
    EXPECT_EQ(editor.Mode(), EditMode::AutomaticLink);
    // Released over the start block: nothing.
    editor.OnLeftButtonDown({130, 120});
    editor.OnLeftButtonUp({140, 125});
    EXPECT_EQ(diagram().Lines().Count(), 1);
    // Escape leaves the mode.
    editor.OnKeyDown(DiagramKey::Escape);
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    EXPECT_EQ(b, 1);
}

TEST_F(DiagramEditor, UnroutedAutomaticLinkIsNotSelected) {
    const int a = Block(0, 0, 40, 40);
    Block(100, 100, 40, 40);
    Block(80, 80, 80, 10);
    Block(80, 150, 80, 10);
    Block(80, 90, 10, 60);
    Block(150, 90, 10, 60);
    editor.SetMode(EditMode::AutomaticLink);
    editor.OnLeftButtonDown({20, 20});
    editor.OnLeftButtonUp({120, 120});
    ASSERT_EQ(diagram().Lines().Count(), 1);
    EXPECT_TRUE(IsUnrouted(diagram().Lines().Lines().begin()->second));
    EXPECT_EQ(diagram().SelectedLine(), -1);
    EXPECT_EQ(diagram().SelectedBlock(), -1);
    EXPECT_EQ(a, 0);
}

class ManualLink : public DiagramEditor {
protected:
    ManualLink() {
        a = Block(100, 100, 60, 40);
        b = Block(300, 200, 60, 40);
        editor.SetMode(EditMode::ManualLink);
    }
    int a = -1;
    int b = -1;
};

TEST_F(ManualLink, PointsRunFromTheNearestSideToTheTargetsNearSide) {
    Click({150, 130});
    ASSERT_TRUE(editor.ManualLink().IsActive());
    EXPECT_EQ(editor.ManualLink().Points(), (Path{{160, 130}})); // right and bottom tie: right first
    EXPECT_TRUE(editor.MouseCaptured());
    Click({250, 140});
    EXPECT_EQ(editor.ManualLink().Points(), (Path{{160, 130}, {250, 130}}));
    // Landing on the start block beeps and keeps the points.
    Click({100, 120});
    EXPECT_EQ(pane.beeps, 1);
    EXPECT_EQ(editor.ManualLink().Points().size(), 2u);
    // Doubling back beeps.
    Click({200, 132});
    EXPECT_EQ(pane.beeps, 2);
    Click({250, 220});
    Click({330, 220});
    ASSERT_EQ(diagram().Lines().Count(), 1);
    const int line = diagram().SelectedLine();
    const LineRecord* record = diagram().Lines().Find(line);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->points, (Path{{160, 130}, {250, 130}, {250, 220}, {300, 220}}));
    EXPECT_EQ(record->attributes, 0xF13);
    EXPECT_EQ(record->toId, static_cast<std::uint32_t>(b));
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    EXPECT_FALSE(editor.ManualLink().IsActive());
    EXPECT_EQ(diagram().SelectedBlock(), -1);
    EXPECT_TRUE(diagram().DiagramChanged());
}

TEST_F(ManualLink, FirstPointStaysOffTheCorners) {
    Click({90, 90});
    EXPECT_TRUE(editor.ManualLink().Points().empty()); // (90, 90) is on no block
    Click({100, 100});
    EXPECT_EQ(editor.ManualLink().Points(), (Path{{100, 110}})); // left side, moved in from the top
}

TEST_F(ManualLink, PointsThatCrossABlockOrLineBeep) {
    Block(200, 120, 20, 20);
    Click({150, 130});
    Click({250, 130}); // through the small block
    EXPECT_EQ(pane.beeps, 1);
    EXPECT_EQ(editor.ManualLink().Points().size(), 1u);
    // A click that ends on the target but whose path cannot be kept clear beeps too.
    Click({160, 160});
    ASSERT_EQ(editor.ManualLink().Points().size(), 1u) << "vertical from the border into the block";
    EXPECT_EQ(pane.beeps, 2);
    // Escape discards the points.
    editor.OnKeyDown(DiagramKey::Escape);
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    EXPECT_FALSE(editor.ManualLink().IsActive());
    EXPECT_EQ(diagram().Lines().Count(), 0);
}

TEST_F(ManualLink, RightButtonCancelsAndMovingABlockOntoTheLinkReroutesIt) {
    Click({150, 130});
    EXPECT_FALSE(editor.OnRightButtonDown({10, 10}));
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    EXPECT_FALSE(editor.ManualLink().IsActive());

    editor.SetMode(EditMode::ManualLink);
    Click({150, 130});
    Click({250, 140});
    Click({250, 220});
    Click({330, 220});
    const int line = diagram().SelectedLine();
    const Path manual = diagram().Lines().Find(line)->points;
    const int c = Block(20, 250, 40, 40);
    // Away from the link: it stays.
    Drag({30, 260}, {90, 260});
    EXPECT_EQ(diagram().Lines().Find(line)->points, manual);
    // Onto it: it becomes an automatic line.
    Drag({90, 260}, {240, 170});
    ASSERT_EQ(diagram().BlockRect(c), (CPixelRect{230, 160, 270, 200}));
    const LineRecord* rerouted = diagram().Lines().Find(line);
    ASSERT_NE(rerouted, nullptr);
    EXPECT_NE(rerouted->points, manual);
    EXPECT_NE(rerouted->RouteVariant(), LineRecord::kManualVariant);
    EXPECT_TRUE(IsPathClearPlain(diagram().Blocks(), diagram().Lines(), rerouted->points, a, b, line));
}

TEST_F(DiagramEditor, PickingCyclesThroughLinesAtThePoint) {
    diagram().AddLine(Path{{100, 150}, {200, 150}}, 0x13, 0, 0, 1, -1);
    diagram().AddLine(Path{{150, 100}, {150, 200}}, 0x25, 0, 0, 1, -1);
    diagram().AddLine(Path{{120, 150}, {180, 150}}, 0x11, 0, 0, 1, -1);
    diagram().AddLine(Path{{100, 300}, {200, 300}}, 0x13, 0, 0, 1, -1);
    editor.OnHover({151, 152});
    ASSERT_EQ(editor.Mode(), EditMode::OverLine);
    EXPECT_EQ(editor.Cursor().shape, CDiagramCursor::Shape::Cross);
    std::vector<int> picked;
    for (int i = 0; i < 4; ++i) {
        Click({151, 152}); // snapped to (150, 150)
        picked.push_back(diagram().SelectedLine());
    }
    EXPECT_EQ(picked, (std::vector<int>{0, 1, 2, 0}));
    Click({151, 152});
    EXPECT_EQ(diagram().Attributes(), 0x25); // picking copies width and arrows
    // A right click starts at the selected line itself.
    EXPECT_TRUE(editor.OnRightButtonDown({151, 152}));
    EXPECT_EQ(diagram().SelectedLine(), 1);
    // Where no line passes the selection stays.
    Click({171, 171});
    EXPECT_EQ(diagram().SelectedLine(), 1);
}

TEST_F(DiagramEditor, LineHitOutlineMarginsFollowThePenWidth) {
    auto region = [](std::uint16_t attributes, Path points) {
        LineRecord line;
        line.attributes = attributes;
        line.points = std::move(points);
        CRegion r;
        for (COutline& outline : LineHitOutlines(line))
            r.Add(0, std::move(outline));
        return r;
    };
    const CRegion wide = region(5, {{100, 100}, {200, 100}}); // margin (5 + 1) / 2 + 1 = 4
    EXPECT_TRUE(wide.ContainsPixel({150, 96}));
    EXPECT_FALSE(wide.ContainsPixel({150, 95}));
    EXPECT_TRUE(wide.ContainsPixel({150, 103}));
    EXPECT_FALSE(wide.ContainsPixel({150, 104}));
    EXPECT_TRUE(wide.ContainsPixel({96, 100}));
    EXPECT_TRUE(wide.ContainsPixel({203, 100}));
    EXPECT_FALSE(wide.ContainsPixel({204, 100}));
    const CRegion thin = region(1, {{100, 100}, {100, 200}}); // margin 2
    EXPECT_TRUE(thin.ContainsPixel({98, 150}));
    EXPECT_FALSE(thin.ContainsPixel({97, 150}));
    // The arrowhead's quadrilateral lies over the drawn arrowhead, on the line's side of the end.
    const CRegion arrow = region(0x11, {{100, 100}, {200, 100}});
    EXPECT_TRUE(arrow.ContainsPixel({195, 103}));
    EXPECT_FALSE(arrow.ContainsPixel({195, 104}));
    EXPECT_FALSE(arrow.ContainsPixel({205, 103}));
    EXPECT_FALSE(region(0x1011, {{100, 100}, {200, 100}}).ContainsPixel({195, 103})); // Unrouted: none
    // Slanted segments are widened sideways when steep, else up and down.
    const CRegion steep = region(3, {{0, 0}, {40, 100}});
    EXPECT_TRUE(steep.ContainsPixel({22, 50}));
    EXPECT_FALSE(steep.ContainsPixel({24, 50}));
    EXPECT_FALSE(steep.ContainsPixel({20, 40}));
    const CRegion flat = region(3, {{0, 0}, {100, 20}});
    EXPECT_TRUE(flat.ContainsPixel({50, 12}));
    EXPECT_FALSE(flat.ContainsPixel({50, 14}));
}

TEST_F(DiagramEditor, PickingAnUnroutedLineUsesItsHitOutline) {
    diagram().AddLine(Path{{0, 0}, {100, 50}}, 0x1013, 0, 0, 1, -1);
    // Its height to width ratio rounds to 1: the outline is widened sideways.
    EXPECT_EQ(editor.PickLine({60, 30}, false), 0);
    diagram().SelectLine(-1);
    EXPECT_EQ(editor.PickLine({50, 30}, false), -1);
}

TEST_F(DiagramEditor, KeysScrollAndEscapeLeavesInsertModes) {
    editor.SetClientSize(333, 100);
    diagram().IncreaseWidth();
    EXPECT_EQ(diagram().Width(), 430);
    diagram().IncreaseHeight();
    EXPECT_EQ(diagram().Height(), 200);
    editor.OnKeyDown(DiagramKey::Right);
    EXPECT_EQ(diagram().Blocks().ScrollX(), 40);
    editor.OnKeyDown(DiagramKey::End);
    EXPECT_EQ(diagram().Blocks().ScrollX(), 97);
    editor.OnKeyDown(DiagramKey::Home);
    EXPECT_EQ(diagram().Blocks().ScrollX(), 0);
    editor.OnKeyDown(DiagramKey::PageDown);
    EXPECT_EQ(diagram().Blocks().ScrollY(), 100);
    editor.OnKeyDown(DiagramKey::Up);
    EXPECT_EQ(diagram().Blocks().ScrollY(), 60);
    editor.OnKeyDown(DiagramKey::PageUp);
    EXPECT_EQ(diagram().Blocks().ScrollY(), 0);
    editor.SetMode(EditMode::InsertLinkagePort);
    EXPECT_EQ(editor.Cursor(), (CDiagramCursor{CDiagramCursor::Shape::Resource, 194}));
    editor.OnKeyDown(DiagramKey::Escape);
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    // A click in a scrolled view lands at the scrolled diagram point.
    editor.OnKeyDown(DiagramKey::Right);
    editor.SetMode(EditMode::InsertCustom);
    editor.OnLeftButtonDown({50, 50});
    EXPECT_EQ(diagram().BlockRect(diagram().SelectedBlock()), (CPixelRect{60, 30, 90, 50}));
}

TEST_F(DiagramEditor, TextEditingGoesByTheBlockKind) {
    const int custom = Block(0, 0, 60, 40, BlockKind::CustomBlock, "Blk");
    const int module = Block(100, 0, 60, 40, BlockKind::Module, "u1");
    const int port = Block(200, 0, 60, 40, BlockKind::InPort, "clk");
    pane.reply = [&](CBlockNotify& notify) {
        if (notify.code == CBlockNotify::kEnterOrSpace)
            editor.BeginTextEdit();
        return 0;
    };
    Click({30, 20});
    editor.OnKeyDown(DiagramKey::Enter);
    ASSERT_EQ(editor.Mode(), EditMode::EditText);
    ASSERT_TRUE(editor.TextEdit().has_value());
    EXPECT_EQ(editor.TextEdit()->rect, (CPixelRect{1, 1, 59, 39}));
    EXPECT_EQ(editor.TextEdit()->text, "Blk");
    editor.EndTextEdit(std::string("note"));
    EXPECT_EQ(diagram().BlockText(custom), "note");
    EXPECT_EQ(editor.Mode(), EditMode::Select);
    EXPECT_EQ(diagram().SelectedBlock(), custom);

    Click({130, 20});
    editor.OnKeyDown(DiagramKey::Space);
    editor.EndTextEdit(std::string("u2"));
    EXPECT_EQ(diagram().BlockText(module), "u2");
    ASSERT_EQ(pane.notes.back().code, -990);
    EXPECT_EQ(pane.notes.back().newText, "u2");
    EXPECT_EQ(pane.notes.back().oldText, "u1");
    EXPECT_EQ(pane.notes.back().kind, 3);

    Click({230, 20});
    editor.OnKeyDown(DiagramKey::Space);
    const std::size_t before = pane.notes.size();
    editor.EndTextEdit(std::nullopt); // cancelled
    EXPECT_EQ(pane.notes.size(), before);
    editor.OnKeyDown(DiagramKey::Space);
    editor.EndTextEdit(std::string("clk"));   // unchanged
    EXPECT_EQ(pane.notes.size(), before + 1); // only the Space notification
    editor.OnKeyDown(DiagramKey::Space);
    editor.EndTextEdit(std::string("rst"));
    EXPECT_EQ(diagram().BlockText(port), "clk"); // the pane re-creates port blocks
    EXPECT_EQ(pane.notes.back().newText, "rst");
    EXPECT_EQ(pane.notes.back().kind, 6);
}

TEST_F(DiagramEditor, DoubleClickOffersTheSelectedBlockToThePane) {
    const int a = Block(0, 0, 60, 40);
    Click({30, 20});
    pane.reply = [](CBlockNotify&) { return 1; };
    EXPECT_FALSE(editor.OnDoubleClick({30, 20}));
    EXPECT_EQ(pane.notes.back().code, -991);
    EXPECT_EQ(pane.notes.back().blockId, a);
    pane.reply = nullptr;
    EXPECT_TRUE(editor.OnDoubleClick({30, 20}));
    EXPECT_EQ(editor.TakeDoubleClickedBlock(), a);
    EXPECT_EQ(editor.TakeDoubleClickedBlock(), -1);
    Click({200, 200});
    EXPECT_TRUE(editor.OnDoubleClick({200, 200}));
    EXPECT_EQ(editor.TakeDoubleClickedBlock(), -1);
}

TEST_F(DiagramEditor, AttributesColourAndDeletion) {
    const int a = Block(0, 0, 60, 40);
    const int b = Block(200, 0, 60, 40, BlockKind::CustomBlock);
    const int line = diagram().Route(a, b, diagram().Attributes(), diagram().Colour(), -1, true);
    EXPECT_EQ(diagram().Lines().Find(line)->attributes & 0xFF, 0x13);
    diagram().SetDiagramChanged(false);
    diagram().SetAttributes(5, 0x0F); // no selection: only the current attributes change
    EXPECT_EQ(diagram().Attributes(), 0x15);
    EXPECT_FALSE(diagram().DiagramChanged());
    diagram().SelectLine(line);
    diagram().SetAttributes(0x30, 0xF0);
    EXPECT_EQ(diagram().Attributes(), 0x35);
    EXPECT_EQ(diagram().Lines().Find(line)->attributes, 0x33); // variant bits kept
    EXPECT_TRUE(diagram().DiagramChanged());
    diagram().SetColour(0x0000FF);
    EXPECT_EQ(diagram().Lines().Find(line)->colour, 0x0000FFu);
    diagram().SelectBlock(a);
    diagram().SetColour(0x00FF00); // a module block keeps its colour
    EXPECT_EQ(diagram().BlockColour(a), 0x123456u);
    diagram().SelectBlock(b);
    diagram().SetColour(0x00FF00);
    EXPECT_EQ(diagram().BlockColour(b), 0x00FF00u);
    EXPECT_EQ(diagram().Colour(), 0x00FF00u);
    diagram().DeleteSelection();
    EXPECT_EQ(diagram().BlockCount(), 1);
    EXPECT_EQ(diagram().Lines().Count(), 0); // its line went with it
    EXPECT_EQ(diagram().BlockColour(b), kWhite);
}

TEST_F(DiagramEditor, AddingBlocksTakesTheLowestFreeIdAndGrowsTheExtents) {
    EXPECT_EQ(diagram().Width(), 10);
    EXPECT_EQ(diagram().Height(), 5);
    EXPECT_EQ(Block(0, 0, 10, 10), 0);
    EXPECT_EQ(diagram().AddBlock(20, 0, 10, 10, "x", 0, 5, BlockKind::Module), 5);
    EXPECT_EQ(diagram().AddBlock(40, 0, 10, 10, "x", 0, 5, BlockKind::Module), 1); // 5 is taken
    EXPECT_EQ(Block(100, 200, 50, 30), 2);
    EXPECT_EQ(diagram().Width(), 160);
    EXPECT_EQ(diagram().Height(), 234);
    diagram().AddLine(Path{{0, 0}, {300, 0}}, 0x13, 0, 0, 1, -1);
    EXPECT_EQ(diagram().Width(), 310);
    diagram().RemoveBlock(1);
    EXPECT_EQ(Block(0, 300, 10, 10), 1);
    editor.Reset();
    EXPECT_EQ(diagram().BlockCount(), 0);
    EXPECT_EQ(diagram().Lines().NextId(), 0);
    EXPECT_EQ(diagram().Width(), 10);
}

} // namespace
} // namespace kestra
