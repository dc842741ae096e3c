#include "diagram/diagram_editor.h"

#include <algorithm>

namespace kestra {

namespace {

bool IsInsertMode(EditMode mode) {
    const int m = static_cast<int>(mode);
    return m == 12 || m == 13 || (m >= 16 && m <= 23);
}

bool IsResizeMode(EditMode mode) {
    const int m = static_cast<int>(mode);
    return m >= 3 && m <= 10;
}

// Modes that Escape and the right button leave for selection.
bool IsCancellableMode(EditMode mode) {
    const int m = static_cast<int>(mode);
    return (m >= 11 && m <= 13) || (m >= 16 && m <= 23);
}

// The hot zone 3 pixels to either side of an edge, or around a corner.
CPixelRect Zone(int left, int top, int right, int bottom) {
    return {left - 3, top - 3, right + 3, bottom + 3};
}

bool LinePassesThrough(const LineRecord& line, CPixelPoint p) {
    if (IsUnrouted(line)) {
        for (const COutline& outline : LineHitOutlines(line)) {
            if (outline.ContainsPixel(p))
                return true;
        }
        return false;
    }
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
        const LinePoint& a = line.points[i];
        const LinePoint& b = line.points[i + 1];
        if (a.x == p.x && b.x == p.x && p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y))
            return true;
        if (a.y == p.y && b.y == p.y && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x))
            return true;
    }
    return false;
}

} // namespace

CDiagramCursor CursorForMode(EditMode mode) {
    using Shape = CDiagramCursor::Shape;
    switch (mode) {
    case EditMode::Select:
        return {Shape::Arrow, 0};
    case EditMode::OverLine:
        return {Shape::Cross, 0};
    case EditMode::ResizeLeft:
    case EditMode::ResizeRight:
        return {Shape::SizeWestEast, 0};
    case EditMode::ResizeTop:
    case EditMode::ResizeBottom:
        return {Shape::SizeNorthSouth, 0};
    case EditMode::ResizeTopLeft:
    case EditMode::ResizeBottomRight:
        return {Shape::SizeNorthWestSouthEast, 0};
    case EditMode::ResizeTopRight:
    case EditMode::ResizeBottomLeft:
        return {Shape::SizeNorthEastSouthWest, 0};
    case EditMode::AutomaticLink:
        return {Shape::Resource, 176};
    case EditMode::InsertText:
        return {Shape::Resource, 104};
    case EditMode::InsertCustom:
        return {Shape::Resource, 105};
    case EditMode::EditText:
        return {Shape::Unchanged, 0};
    case EditMode::ManualLink:
        return {Shape::Resource, 175};
    case EditMode::InsertInoutPort:
        return {Shape::Resource, 192};
    case EditMode::InsertInPort:
        return {Shape::Resource, 190};
    case EditMode::InsertOutPort:
        return {Shape::Resource, 191};
    case EditMode::InsertBufferPort:
        return {Shape::Resource, 193};
    case EditMode::InsertLinkagePort:
        return {Shape::Resource, 194};
    case EditMode::InsertNormalModule:
        return {Shape::Resource, 199};
    case EditMode::InsertLibraryModule:
        return {Shape::Resource, 200};
    case EditMode::InsertPredefinedModule:
        return {Shape::Resource, 201};
    }
    return {Shape::Arrow, 0};
}

void CDiagramEditor::Reset() {
    m_diagram.Reset();
    m_mode = EditMode::Select;
    m_pressed = -1;
    m_resizeTarget = -1;
    m_captured = false;
    m_autoScroll = {};
    m_manual.Clear();
    m_textEdit.reset();
    m_doubleClicked = -1;
}

void CDiagramEditor::EndGestures() {
    LeaveGesture();
    m_resizeTarget = -1;
    m_textEdit.reset();
    m_doubleClicked = -1;
}

void CDiagramEditor::SetMode(EditMode mode) {
    if (mode != EditMode::ManualLink)
        m_manual.Clear();
    if (mode != EditMode::EditText)
        m_textEdit.reset();
    m_mode = mode;
}

void CDiagramEditor::Beep() {
    if (m_listener)
        m_listener->Beep();
}

int CDiagramEditor::Notify(CBlockNotify& notify) {
    return m_listener ? m_listener->OnBlockNotify(notify) : 0;
}

void CDiagramEditor::LeaveGesture() {
    m_manual.Clear();
    if (m_pressed >= 0)
        m_diagram.Blocks().Drop(m_pressed);
    m_pressed = -1;
    m_captured = false;
    m_autoScroll = {};
    m_mode = EditMode::Select;
}

void CDiagramEditor::OnHover(CPixelPoint window) {
    if (m_mode == EditMode::EditText || m_mode == EditMode::AutomaticLink || m_mode == EditMode::ManualLink ||
        IsInsertMode(m_mode) || m_pressed >= 0)
        return;
    const CPixelPoint p = m_diagram.Blocks().ToDiagram(window);
    if (m_diagram.Lines().LineRegion().ContainsPixel(p) &&
        !m_diagram.Blocks().AllBlocksRegion().ContainsPixel(p)) {
        m_mode = EditMode::OverLine;
        return;
    }
    if (const CDiagramBlock* block = m_diagram.FindBlock(m_diagram.SelectedBlock())) {
        const CPixelRect& r = block->rect;
        const std::pair<CPixelRect, EditMode> zones[] = {
            {Zone(r.left, r.top, r.left, r.top), EditMode::ResizeTopLeft},
            {Zone(r.right, r.top, r.right, r.top), EditMode::ResizeTopRight},
            {Zone(r.left, r.bottom, r.left, r.bottom), EditMode::ResizeBottomLeft},
            {Zone(r.right, r.bottom, r.right, r.bottom), EditMode::ResizeBottomRight},
            {Zone(r.left, r.top, r.left, r.bottom), EditMode::ResizeLeft},
            {Zone(r.right, r.top, r.right, r.bottom), EditMode::ResizeRight},
            {Zone(r.left, r.top, r.right, r.top), EditMode::ResizeTop},
            {Zone(r.left, r.bottom, r.right, r.bottom), EditMode::ResizeBottom},
        };
        for (const auto& [zone, mode] : zones) {
            if (zone.ContainsPixel(p)) {
                m_mode = mode;
                m_resizeTarget = block->id;
                return;
            }
        }
    }
    m_mode = EditMode::Select;
}

void CDiagramEditor::OnLeftButtonDown(CPixelPoint window) {
    const CPixelPoint p = m_diagram.Blocks().ToDiagram(window);
    const CPixelPoint snapped = Snap(p);
    m_cursor = p;
    if (IsInsertMode(m_mode)) {
        InsertBlock(snapped);
        return;
    }
    if (m_mode == EditMode::ManualLink && m_manual.IsActive()) {
        const CBlockList& blocks = m_diagram.Blocks();
        if (window.x >= 0 && window.y >= 0 && window.x < blocks.ClientWidth() &&
            window.y < blocks.ClientHeight())
            ManualLinkClick(snapped);
        return;
    }
    if (m_mode == EditMode::OverLine) {
        PickLine(snapped, false);
        return;
    }
    m_diagram.SelectLine(-1);
    if (m_pressed < 0)
        StartPress(window, p, snapped);
}

bool CDiagramEditor::InsertBlock(CPixelPoint snapped) {
    const CPixelRect rect =
        CPixelRect::FromSize(std::max(snapped.x - 30, 0), std::max(snapped.y - 20, 0), 30, 20);
    if (m_diagram.Blocks().IntersectsAnyBlock(rect)) {
        Beep();
        return false;
    }
    int id = -1;
    if (m_mode == EditMode::InsertText) {
        id = m_diagram.AddBlock(rect.left, rect.top, 30, 20, "Txt", m_diagram.ButtonFaceColour(), -1,
                                BlockKind::TextBlock);
    } else if (m_mode == EditMode::InsertCustom) {
        id = m_diagram.AddBlock(rect.left, rect.top, 30, 20, "Blk", kCustomBlockColour, -1,
                                BlockKind::CustomBlock);
    } else {
        CBlockNotify notify;
        notify.code = CBlockNotify::kInsertOrEdit;
        notify.kind = static_cast<int>(m_mode) - 11;
        notify.rect = rect;
        Notify(notify);
        id = notify.result;
    }
    if (!m_diagram.FindBlock(id))
        return false;
    m_diagram.SelectBlock(id);
    m_diagram.SetDiagramChanged(true);
    // The user sizes the new block from its bottom-right corner next.
    m_mode = EditMode::ResizeBottomRight;
    m_resizeTarget = id;
    return true;
}

void CDiagramEditor::StartPress(CPixelPoint window, CPixelPoint diagram, CPixelPoint snapped) {
    if (IsResizeMode(m_mode)) {
        if (const CDiagramBlock* target = m_diagram.FindBlock(m_resizeTarget)) {
            m_pressed = target->id;
            m_pressRect = target->rect;
            m_captured = true;
        }
        return;
    }
    // The block under the cursor itself, as the block windows receive the click.
    const int id = m_diagram.Blocks().BlockAt(diagram);
    m_pressPoint = diagram;
    if (id >= 0) {
        m_captured = true;
        m_diagram.SelectBlock(id);
        m_pressRect = m_diagram.BlockRect(id);
    } else {
        m_diagram.SelectBlock(-1);
    }
    m_pressed = m_diagram.SelectedBlock();
    if (m_pressed < 0)
        return;
    if (m_mode == EditMode::AutomaticLink)
        return;
    if (m_mode == EditMode::ManualLink) {
        m_manual.Start(m_pressed, m_pressRect, {snapped.x, snapped.y});
        return;
    }
    ScrollIntoView(m_pressRect);
    const CBlockList& blocks = m_diagram.Blocks();
    m_anchor = {window.x - (m_pressRect.left - blocks.ScrollX()),
                window.y - (m_pressRect.top - blocks.ScrollY())};
    m_diagram.Blocks().Lift(m_pressed);
}

void CDiagramEditor::ScrollIntoView(const CPixelRect& rect) {
    CBlockList& blocks = m_diagram.Blocks();
    if (rect.Width() <= blocks.ClientWidth()) {
        while (rect.left < blocks.ScrollX() && blocks.ScrollBy(-kLineStep, 0)) {
        }
        while (rect.right > blocks.ScrollX() + blocks.ClientWidth() && blocks.ScrollBy(kLineStep, 0)) {
        }
    }
    if (rect.Height() <= blocks.ClientHeight()) {
        while (rect.top < blocks.ScrollY() && blocks.ScrollBy(0, -kLineStep)) {
        }
        while (rect.bottom > blocks.ScrollY() + blocks.ClientHeight() && blocks.ScrollBy(0, kLineStep)) {
        }
    }
}

void CDiagramEditor::OnMouseMove(CPixelPoint window) {
    const CBlockList& blocks = m_diagram.Blocks();
    const CPixelPoint p = blocks.ToDiagram(window);
    m_cursor = p;
    if (m_mode == EditMode::AutomaticLink || m_mode == EditMode::ManualLink) {
        SetAutoScroll(ScrollDirection::Left, window.x < 0);
        SetAutoScroll(ScrollDirection::Right, window.x >= blocks.ClientWidth());
        SetAutoScroll(ScrollDirection::Up, window.y < 0);
        SetAutoScroll(ScrollDirection::Down, window.y >= blocks.ClientHeight());
        return;
    }
    if (m_pressed >= 0 && !m_diagram.FindBlock(m_pressed))
        m_pressed = -1; // removed by a command while pressed
    if (m_pressed < 0)
        return;
    if (IsResizeMode(m_mode))
        ResizeBlock(Snap(p));
    else if (m_mode == EditMode::Select)
        DragBlock(window);
}

void CDiagramEditor::ResizeBlock(CPixelPoint snapped) {
    const CPixelRect r = m_diagram.BlockRect(m_pressed);
    CPixelRect moved = r;
    const int m = static_cast<int>(m_mode);
    const bool left = m == 3 || m == 7 || m == 9;
    const bool right = m == 4 || m == 8 || m == 10;
    const bool top = m == 5 || m == 7 || m == 8;
    const bool bottom = m == 6 || m == 9 || m == 10;
    if (left && snapped.x != r.left && snapped.x < r.right)
        moved.left = snapped.x;
    if (right && snapped.x > r.left)
        moved.right = snapped.x;
    if (top && snapped.y < r.bottom)
        moved.top = snapped.y;
    if (bottom && snapped.y > r.top)
        moved.bottom = snapped.y;
    if (moved != r)
        TryResize(m_pressed, moved);
}

bool CDiagramEditor::TryResize(int id, const CPixelRect& rect) {
    const CBlockList& blocks = m_diagram.Blocks();
    if (rect.left < 0 || rect.top < 0 || rect.right <= rect.left + 10 || rect.bottom <= rect.top + 10 ||
        blocks.IntersectsAnyBlock(rect, id) || rect.right > std::max(blocks.Width(), blocks.ClientWidth()) ||
        rect.bottom > std::max(blocks.Height(), blocks.ClientHeight()))
        return false;
    // A module block keeps the size its name and pins need.
    const CPixelSize least = m_diagram.MinimumSize(id);
    if (rect.Width() < least.width || rect.Height() < least.height)
        return false;
    m_diagram.MoveBlock(id, rect);
    m_diagram.SetDiagramChanged(true);
    return true;
}

void CDiagramEditor::DragBlock(CPixelPoint window) {
    CBlockList& blocks = m_diagram.Blocks();
    const CPixelRect r = m_diagram.BlockRect(m_pressed);
    // Keeps the block inside the client area along one axis; returns its diagram position.
    auto place = [&](int wanted, int size, int client, int scroll, int current, ScrollDirection before,
                     ScrollDirection after) {
        SetAutoScroll(before, false);
        SetAutoScroll(after, false);
        if (size > client)
            return current;
        if (wanted < 0) {
            wanted = 0;
            SetAutoScroll(before, true);
        } else if (wanted + size > client) {
            wanted = client - size;
            SetAutoScroll(after, true);
        }
        return Round10(wanted + scroll);
    };
    const int x = place(window.x - m_anchor.x, r.Width(), blocks.ClientWidth(), blocks.ScrollX(), r.left,
                        ScrollDirection::Left, ScrollDirection::Right);
    const int y = place(window.y - m_anchor.y, r.Height(), blocks.ClientHeight(), blocks.ScrollY(), r.top,
                        ScrollDirection::Up, ScrollDirection::Down);
    const CPixelRect moved = CPixelRect::FromSize(x, y, r.Width(), r.Height());
    m_diagram.MoveBlock(m_pressed, moved);
    blocks.GrowExtents(moved.right - blocks.ScrollX(), moved.bottom - blocks.ScrollY());
}

void CDiagramEditor::OnLeftButtonUp(CPixelPoint window) {
    if (m_pressed < 0)
        return;
    const int id = m_pressed;
    m_pressed = -1;
    m_resizeTarget = -1;
    if (m_mode != EditMode::ManualLink)
        m_captured = false;
    m_autoScroll = {};
    CBlockList& blocks = m_diagram.Blocks();
    if (!m_diagram.FindBlock(id))
        return;
    if (m_mode == EditMode::Select) {
        if (blocks.IntersectsAnyBlock(m_diagram.BlockRect(id), id))
            m_diagram.MoveBlock(id, m_pressRect);
        blocks.Drop(id);
        if (m_diagram.BlockRect(id) != m_pressRect) {
            m_diagram.SetDiagramChanged(true);
            m_diagram.RevalidateAllLines();
        }
    } else if (m_mode == EditMode::AutomaticLink) {
        const CPixelPoint at = blocks.ToDiagram(window);
        const int target = blocks.BlockWithRectContaining(at, false);
        if (target < 0 || target == id)
            return;
        const LineEnd from{id, m_diagram.PinNear(id, m_pressPoint, kPinReach)};
        const LineEnd to{target, m_diagram.PinNear(target, at, kPinReach)};
        if ((!from.pin.empty() || !to.pin.empty()) && m_listener != nullptr &&
            m_listener->OnConnect(from, to))
            return;
        m_diagram.SetDiagramChanged(true);
        const int line = m_diagram.Route(id, target, m_diagram.Attributes(), m_diagram.Colour(), -1, true);
        m_diagram.SelectBlock(-1);
        if (const LineRecord* routed = m_diagram.Lines().Find(line); routed && !IsUnrouted(*routed))
            m_diagram.SelectLine(line);
    } else if (IsResizeMode(m_mode)) {
        if (m_diagram.BlockRect(id) != m_pressRect)
            m_diagram.RevalidateAllLines();
    }
}

CPixelPoint CDiagramEditor::LinkStart() const {
    const std::string pin = m_diagram.PinNear(m_pressed, m_pressPoint, kPinReach);
    for (const PinPlace& place : m_diagram.PinsOf(m_pressed)) {
        if (!pin.empty() && place.name == pin)
            return place.anchor;
    }
    return m_diagram.BlockRect(m_pressed).Centre();
}

void CDiagramEditor::ManualLinkClick(CPixelPoint snapped) {
    int line = -1;
    switch (m_manual.Click(m_diagram, {snapped.x, snapped.y}, line)) {
    case CManualLinkEntry::Outcome::Appended:
        break;
    case CManualLinkEntry::Outcome::Refused:
        Beep();
        break;
    case CManualLinkEntry::Outcome::Committed:
        m_diagram.SetDiagramChanged(true);
        m_diagram.SelectBlock(-1);
        m_diagram.SelectLine(line);
        LeaveGesture();
        break;
    }
}

bool CDiagramEditor::OnRightButtonDown(CPixelPoint window) {
    if (IsCancellableMode(m_mode) || m_mode == EditMode::ManualLink) {
        LeaveGesture();
        return false;
    }
    const CPixelPoint p = m_diagram.Blocks().ToDiagram(window);
    if (m_mode == EditMode::OverLine) {
        PickLine(Snap(p), true);
    } else {
        const int id = m_diagram.Blocks().BlockAt(p);
        if (id >= 0)
            m_diagram.SelectBlock(id);
    }
    return true;
}

int CDiagramEditor::PickLine(CPixelPoint p, bool rightClick) {
    const CLineTable& lines = m_diagram.Lines();
    const int count = lines.NextId();
    if (count == 0)
        return -1;
    const int selected = m_diagram.SelectedLine();
    const int start = rightClick ? std::max(selected, 0) : selected + 1;
    for (int k = 0; k < count; ++k) {
        const int id = (start + k) % count;
        const LineRecord* line = lines.Find(id);
        if (line && LinePassesThrough(*line, p)) {
            m_diagram.SelectLine(id);
            m_diagram.TakeAttributesOf(*line);
            return id;
        }
    }
    return -1;
}

void CDiagramEditor::OnKeyDown(DiagramKey key) {
    CBlockList& blocks = m_diagram.Blocks();
    switch (key) {
    case DiagramKey::Left:
        blocks.ScrollBy(-kLineStep, 0);
        break;
    case DiagramKey::Right:
        blocks.ScrollBy(kLineStep, 0);
        break;
    case DiagramKey::Up:
        blocks.ScrollBy(0, -kLineStep);
        break;
    case DiagramKey::Down:
        blocks.ScrollBy(0, kLineStep);
        break;
    case DiagramKey::Home:
        blocks.ScrollTo(0, blocks.ScrollY());
        break;
    case DiagramKey::End:
        blocks.ScrollTo(blocks.MaxScrollX(), blocks.ScrollY());
        break;
    case DiagramKey::PageUp:
        blocks.ScrollBy(0, -blocks.ClientHeight());
        break;
    case DiagramKey::PageDown:
        blocks.ScrollBy(0, blocks.ClientHeight());
        break;
    case DiagramKey::Space:
    case DiagramKey::Enter:
        if (const CDiagramBlock* block = m_diagram.FindBlock(m_diagram.SelectedBlock())) {
            CBlockNotify notify;
            notify.code = CBlockNotify::kEnterOrSpace;
            notify.blockId = block->id;
            notify.kind = static_cast<int>(block->kind);
            notify.rect = block->rect;
            Notify(notify);
        }
        break;
    case DiagramKey::Escape:
        if (IsCancellableMode(m_mode) || m_mode == EditMode::ManualLink)
            LeaveGesture();
        break;
    }
}

void CDiagramEditor::OnAutoScrollTimer(ScrollDirection direction) {
    if (!AutoScrollRequested(direction))
        return;
    SetAutoScroll(direction, false);
    switch (direction) {
    case ScrollDirection::Left:
        m_diagram.Blocks().ScrollBy(-kLineStep, 0);
        break;
    case ScrollDirection::Right:
        m_diagram.Blocks().ScrollBy(kLineStep, 0);
        break;
    case ScrollDirection::Up:
        m_diagram.Blocks().ScrollBy(0, -kLineStep);
        break;
    case ScrollDirection::Down:
        m_diagram.Blocks().ScrollBy(0, kLineStep);
        break;
    }
}

} // namespace kestra
