#pragma once

#include "diagram/block_diagram.h"
#include "diagram/diagram_listener.h"
#include "diagram/manual_link.h"

#include <array>
#include <optional>
#include <string>

namespace kestra {

enum class EditMode : int {
    Select = 1,
    OverLine = 2,
    ResizeLeft = 3,
    ResizeRight = 4,
    ResizeTop = 5,
    ResizeBottom = 6,
    ResizeTopLeft = 7,
    ResizeTopRight = 8,
    ResizeBottomLeft = 9,
    ResizeBottomRight = 10,
    AutomaticLink = 11,
    InsertText = 12,
    InsertCustom = 13,
    EditText = 14,
    ManualLink = 15,
    InsertInoutPort = 16,
    InsertInPort = 17,
    InsertOutPort = 18,
    InsertBufferPort = 19,
    InsertLinkagePort = 20,
    InsertNormalModule = 21,
    InsertLibraryModule = 22,
    InsertPredefinedModule = 23,
};

enum class DiagramKey { Left, Right, Up, Down, Home, End, PageUp, PageDown, Space, Enter, Escape };
enum class ScrollDirection { Left = 0, Right = 1, Up = 2, Down = 3 };

// The cursor a mode shows: a system shape, or an application cursor resource.
struct CDiagramCursor {
    enum class Shape {
        Unchanged,
        Arrow,
        Cross,
        SizeWestEast,
        SizeNorthSouth,
        SizeNorthWestSouthEast,
        SizeNorthEastSouthWest,
        Resource
    };
    Shape shape = Shape::Arrow;
    int resource = 0;
    bool operator==(const CDiagramCursor&) const = default;
};
CDiagramCursor CursorForMode(EditMode mode);

// The block text edit box while the mode is EditText.
struct CTextEditBox {
    int blockId = -1;
    CPixelRect rect; // diagram coordinates: the block shrunk by a pixel on every side
    std::uint32_t background = 0;
    std::string text;
};

// The gestures on the live diagram, as model operations on window points (pixels of the
// visible area; the diagram point is the window point plus the scroll position): hover,
// buttons, moves and keys, the gesture mode, the pressed block, the manual link being entered,
// text editing and auto-scroll requests. The window that shows it owns the timers and the
// edit box and forwards events; it repaints after every call.
class CDiagramEditor {
public:
    explicit CDiagramEditor(IDiagramListener* listener = nullptr) : m_listener(listener) {}
    void SetListener(IDiagramListener* listener) { m_listener = listener; }

    CBlockDiagram& Diagram() { return m_diagram; }
    const CBlockDiagram& Diagram() const { return m_diagram; }
    // Empties the diagram and ends every gesture.
    void Reset();
    // Ends every gesture and text editing, keeping the diagram (before undo and redo).
    void EndGestures();
    void SetClientSize(int width, int height) { m_diagram.Blocks().SetClientSize(width, height); }

    EditMode Mode() const { return m_mode; }
    void SetMode(EditMode mode);
    CDiagramCursor Cursor() const { return CursorForMode(m_mode); }

    void OnHover(CPixelPoint window);
    void OnLeftButtonDown(CPixelPoint window);
    void OnMouseMove(CPixelPoint window);
    void OnLeftButtonUp(CPixelPoint window);
    // True when the context menu is to be shown.
    bool OnRightButtonDown(CPixelPoint window);
    // True when the pane's own double-click handling is to follow.
    bool OnDoubleClick(CPixelPoint window);
    void OnKeyDown(DiagramKey key);

    // Selects the next line through the grid point p after the selected one (from the
    // selected one itself for a right click); returns its id, or -1 when none passes there.
    int PickLine(CPixelPoint p, bool rightClick);

    bool MouseCaptured() const { return m_captured; }
    bool AutoScrollRequested(ScrollDirection direction) const {
        return m_autoScroll[static_cast<std::size_t>(direction)];
    }
    // A fired auto-scroll timer: one line step in its direction, then wait for the next move.
    void OnAutoScrollTimer(ScrollDirection direction);

    // Opens the text editor on the selected block (the pane asks for it); false when the
    // block or the mode does not allow it.
    bool BeginTextEdit();
    const std::optional<CTextEditBox>& TextEdit() const { return m_textEdit; }
    // Ends text editing; no text or an empty one cancels.
    void EndTextEdit(const std::optional<std::string>& text);
    // The block under the last double-click, forgotten once read.
    int TakeDoubleClickedBlock();

    int PressedBlock() const { return m_pressed; }
    int ResizeTarget() const { return m_resizeTarget; }
    const CManualLinkEntry& ManualLink() const { return m_manual; }
    // The last cursor position in diagram coordinates (for the rubber bands).
    CPixelPoint CursorPoint() const { return m_cursor; }
    // Where an Automatic Link starts: the pin pressed on, else the pressed block's centre.
    CPixelPoint LinkStart() const;

    static constexpr int kLineStep = 40;
    // How far from a pin a press or release still picks it, in pixels.
    static constexpr int kPinReach = 6;

private:
    static CPixelPoint Snap(CPixelPoint p) { return {Round10(p.x), Round10(p.y)}; }
    bool InsertBlock(CPixelPoint snapped);
    void StartPress(CPixelPoint window, CPixelPoint diagram, CPixelPoint snapped);
    void ScrollIntoView(const CPixelRect& rect);
    void DragBlock(CPixelPoint window);
    void ResizeBlock(CPixelPoint snapped);
    bool TryResize(int id, const CPixelRect& rect);
    void ManualLinkClick(CPixelPoint snapped);
    void LeaveGesture();
    void Beep();
    int Notify(CBlockNotify& notify);
    void SetAutoScroll(ScrollDirection direction, bool armed) {
        m_autoScroll[static_cast<std::size_t>(direction)] = armed;
    }

    CBlockDiagram m_diagram;
    IDiagramListener* m_listener;
    EditMode m_mode = EditMode::Select;
    int m_pressed = -1;
    CPixelPoint m_anchor;     // cursor offset inside the pressed block
    CPixelRect m_pressRect;   // the pressed block's rectangle at press time
    CPixelPoint m_pressPoint; // where the press was, in diagram coordinates
    int m_resizeTarget = -1;
    bool m_captured = false;
    std::array<bool, 4> m_autoScroll{};
    CPixelPoint m_cursor;
    CManualLinkEntry m_manual;
    std::optional<CTextEditBox> m_textEdit;
    int m_doubleClicked = -1;
};

} // namespace kestra
