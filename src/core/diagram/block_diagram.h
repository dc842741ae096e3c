#pragma once

#include "diagram/block_list.h"
#include "diagram/block_pins.h"
#include "diagram/diagram_listener.h"
#include "diagram/line_table.h"
#include "diagram/pin_route.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestra {

// A line that stands for a connection in the shown module's architecture: from the end that
// drives the signal to one that reads it, and the name of the module port or signal joining them.
struct ConnectionLine {
    LineEnd from;
    LineEnd to;
    std::string net;
    bool operator==(const ConnectionLine&) const = default;
};

// A pin whose association no line can stand for (an expression, a slice, a signal no other pin
// or port shares): drawn as a short stub with the actual written beside it.
struct PinStub {
    int block = -1;
    std::string pin;
    std::string label;
    bool operator==(const PinStub&) const = default;
};

// The live block diagram of the shown module: blocks and their regions, the line table, the
// selection (at most one block or one line), the attributes and colour given to new lines,
// the changed flag, and the operations the pane calls. Routing and re-validation keep every
// stored line either clear (axis-parallel, off the blocks, not along a conflicting line) or
// marked `Unrouted`.
class CBlockDiagram {
public:
    static constexpr std::uint16_t kInitialAttributes = 0x13; // width 3, arrow at the end
    static constexpr std::uint32_t kDefaultButtonFace = 0xF0F0F0;

    void Reset();

    // Adds a block at (x, y) of the given size; id -1 (or a taken id) gets the lowest free id.
    // Returns the id, or -1 when no id is left.
    int AddBlock(int x, int y, int width, int height, const std::string& text, std::uint32_t colour, int id,
                 BlockKind kind);
    bool RemoveBlock(int id);
    // Gives the block new text, kind and colour at the same place, size and id; sets changed.
    bool ReplaceBlock(int id, const std::string& text, BlockKind kind, std::uint32_t colour);
    bool MoveBlock(int id, const CPixelRect& rect) { return m_blocks.SetRect(id, rect); }

    // Stores a copy under lineId, or under the next line id when lineId is -1.
    int AddLine(const LineRecord& line, int lineId);
    int AddLine(std::span<const LinePoint> points, std::uint16_t attributes, std::uint32_t colour, int fromId,
                int toId, int lineId);
    bool RemoveLine(int id);
    // Routes a line from pin to pin (or port block) and stores it as a connection under lineId,
    // or the next line id when lineId is -1; a line that finds no clear path is stored
    // `Unrouted`, straight between its ends. -1 when an end is not there.
    int AddConnection(const ConnectionLine& connection, std::uint16_t attributes, std::uint32_t colour,
                      int lineId);
    // Every line becomes a drawing again (before the connections are read anew).
    void ForgetConnections();
    // Makes a stored line stand for the connection (its path is checked by RevalidateAllLines).
    bool MarkConnection(int lineId, const ConnectionLine& connection);
    // The connection a line stands for; null for a drawing.
    const ConnectionLine* ConnectionOf(int lineId) const;
    const std::map<int, ConnectionLine>& Connections() const { return m_connections; }
    // Where a line attaches at an end, and which way it leaves: a pin's place on its block's
    // edge, or the middle of the port block's side that faces the other end.
    std::optional<PinLineEnd> EndPlace(const LineEnd& end, const LineEnd& other) const;
    // The pin of a module block whose anchor, stub or name lies within `reach` pixels of the
    // point; empty when none does.
    std::string PinNear(int blockId, CPixelPoint point, int reach) const;
    // The pin a line's end point stands on: a pin whose anchor is that point; empty when none.
    std::string PinAt(int blockId, const LinePoint& point) const;
    const std::vector<PinStub>& Stubs() const { return m_stubs; }
    void SetStubs(std::vector<PinStub> stubs) { m_stubs = std::move(stubs); }
    // Whether the lines were read from the architecture: only then is a stored line between pins
    // that no association stands for a drawing of its own.
    bool ConnectionsKnown() const { return m_connectionsKnown; }
    void SetConnectionsKnown(bool known) { m_connectionsKnown = known; }
    // A line of text the view shows above the drawing, such as why its lines are not the source's.
    const std::string& Notice() const { return m_notice; }
    void SetNotice(std::string notice) { m_notice = std::move(notice); }
    // Routes a line between two blocks and stores it (as `Unrouted` when no shape fits).
    // Bits 8-11 of attributes give the first variant to try; 15 keeps an existing manual
    // link under lineId while it is still clear. Returns the line id, or -1 when the blocks
    // are equal or missing.
    int Route(int fromId, int toId, std::uint16_t attributes, std::uint32_t colour, int lineId, bool search);
    // Drops lines whose blocks are gone and re-routes, from their own variant on, every line
    // that is `Unrouted` or whose path is no longer clear.
    void RevalidateAllLines();
    bool IsPathClear(std::span<const LinePoint> path, int fromId, int toId, int ignoreLineId) const;

    const CBlockList& Blocks() const { return m_blocks; }
    CBlockList& Blocks() { return m_blocks; }
    const CLineTable& Lines() const { return m_lines; }
    const CDiagramBlock* FindBlock(int id) const { return m_blocks.Find(id); }
    std::string BlockText(int id) const;
    BlockKind GetBlockKind(int id) const;    // `TextBlock` when there is no such block
    std::uint32_t BlockColour(int id) const; // white when there is no such block
    CPixelRect BlockRect(int id) const;
    int BlockCount() const { return m_blocks.Count(); }
    int Width() const { return m_blocks.Width(); }
    int Height() const { return m_blocks.Height(); }

    bool DiagramChanged() const { return m_changed; }
    void SetDiagramChanged(bool changed) { m_changed = changed; }

    int SelectedBlock() const { return m_selectedBlock; }
    int SelectedLine() const { return m_selectedLine; }
    // Selecting one clears the other; -1 selects nothing.
    void SelectBlock(int id);
    void SelectLine(int id);

    std::uint16_t Attributes() const { return m_attributes; }
    // Sets the masked bits of the current attributes and of the selected line.
    void SetAttributes(std::uint16_t value, std::uint16_t mask);
    // Copies width and arrow bits of a picked line, changing no line.
    void TakeAttributesOf(const LineRecord& line);
    std::uint32_t Colour() const { return m_colour; }
    // Recolours a selected custom block or the selected line, and sets the colour of new lines.
    void SetColour(std::uint32_t colour);
    // Re-routes the selected line with the next shape that fits, without searching.
    void CycleLineStyle();
    void IncreaseWidth();
    void IncreaseHeight();
    void DeleteSelection();

    // Where module blocks find their child's ports (the pane); without a source no block has pins.
    void SetModulePorts(const IModulePorts* ports) { m_modulePorts = ports; }
    const IModulePorts* ModulePorts() const { return m_modulePorts; }
    // The pins of a module block from its child's ports as they are now; none for other blocks.
    std::vector<PinPlace> PinsOf(int id) const;
    // The size a block needs: a module block's name and pins; nothing for other blocks.
    CPixelSize MinimumSize(int id) const;
    // Grows every module block smaller than it needs, its top-left corner kept, and re-routes the
    // lines that are no longer clear. Sets the changed flag and returns true when one grew.
    bool FitModuleBlocks();

    std::uint32_t ButtonFaceColour() const { return m_buttonFace; }
    void SetButtonFaceColour(std::uint32_t colour) { m_buttonFace = colour; }
    // Routes through the reference router (for comparisons); the answers are the same.
    void SetPlainRouting(bool plain) { m_plainRouting = plain; }

private:
    void GrowForLine(const LineRecord& line);
    // Whether a connection line still leaves and enters its ends' places along a clear path.
    bool ConnectionStillFits(int id, const LineRecord& line, const ConnectionLine& connection) const;
    // The connection lines of the signal (compared without case) but the one given.
    std::vector<int> LinesOfNet(const std::string& net, int except) const;
    const CVHDLSignal* ChildPortsOf(const CDiagramBlock& block) const;

    CBlockList m_blocks;
    CLineTable m_lines;
    int m_selectedBlock = -1;
    int m_selectedLine = -1;
    std::uint16_t m_attributes = kInitialAttributes;
    std::uint32_t m_colour = kDefaultLineColour;
    bool m_changed = false;
    std::uint32_t m_buttonFace = kDefaultButtonFace;
    bool m_plainRouting = false;
    const IModulePorts* m_modulePorts = nullptr;
    std::map<int, ConnectionLine> m_connections;
    std::vector<PinStub> m_stubs;
    std::string m_notice;
    bool m_connectionsKnown = false;
};

} // namespace kestra
