#pragma once

#include "diagram/geometry.h"
#include "model/block_colours.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestra {

// The outline polygon of a block of the kind and size, in block coordinates (h / 2 is integer
// division): a rectangle, a pentagon pointing right (in), left (out, buffer) or a hexagon
// (inout, linkage).
std::vector<CPixelPoint> BlockShape(BlockKind kind, int width, int height);
// The pixels the block covers in diagram coordinates.
COutline BlockOutline(BlockKind kind, const CPixelRect& rect);
// Every kind but the text block stands in the way of lines.
inline bool IsObstacleKind(BlockKind kind) {
    return kind != BlockKind::TextBlock;
}

// One block of the live diagram; its outline always matches kind and rectangle.
struct CDiagramBlock {
    int id = -1;
    BlockKind kind = BlockKind::CustomBlock;
    std::string text;
    CPixelRect rect;
    std::uint32_t colour = 0;
    bool pressed = false; // shown pressed: the selected look
    COutline outline;
    // A module block that stands for an instance of the shown module's architecture: its label as
    // written, and the generate statement around it ("for G_BITS", "if G_DEBUG"); not stored.
    std::string instance;
    std::string generate;
    // The generic values the instance gives that differ from the child's ("WIDTH = 8").
    std::vector<std::string> details;
};

// The scrolling container of shaped blocks under the diagram: blocks by 16-bit id, the
// extents (which never shrink while a diagram is shown), the scroll position within
// 0 .. extent - client size (or as far as the view was allowed), and the obstacle and all-blocks regions,
// which hold the outline of every block that is not lifted for a move (text blocks only in the latter).
class CBlockList {
public:
    static constexpr int kInitialWidth = 10;
    static constexpr int kInitialHeight = 5;
    static constexpr int kMaxId = 0xFFFF;

    void Reset();

    // Registers the block under id, or under the lowest free id when id is -1, not a 16-bit
    // value or already taken. Returns the id, or -1 when every id is in use.
    int Add(const CPixelRect& rect, const std::string& text, std::uint32_t colour, int id, BlockKind kind);
    bool Remove(int id);
    // Changes text, kind or colour in place, keeping id, rectangle and pressed look.
    bool Update(int id, const std::string& text, BlockKind kind, std::uint32_t colour);
    bool SetRect(int id, const CPixelRect& rect);
    // Names the instance a module block stands for (and the generate statement around it).
    bool SetInstance(int id, const std::string& label, const std::string& generate,
                     std::vector<std::string> details = {});
    bool SetPressed(int id, bool pressed);
    // A lifted block is out of the regions (while it is being moved).
    void Lift(int id);
    void Drop(int id);

    const CDiagramBlock* Find(int id) const;
    bool Contains(int id) const { return m_blocks.count(id) != 0; }
    int Count() const { return static_cast<int>(m_blocks.size()); }
    const std::map<int, CDiagramBlock>& Blocks() const { return m_blocks; }
    // The first block (in id order) whose outline covers the pixel, or -1.
    int BlockAt(CPixelPoint pixel) const;
    // The first block whose rectangle, edge lines included, holds the point, or -1.
    int BlockWithRectContaining(CPixelPoint point, bool closed) const;
    bool IntersectsAnyBlock(const CPixelRect& rect, int exceptId = -1) const;

    const CRegion& ObstacleRegion() const { return m_obstacles; }
    const CRegion& AllBlocksRegion() const { return m_allBlocks; }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void GrowExtents(int width, int height);
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    void SetClientSize(int width, int height);
    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    int MaxScrollX() const;
    int MaxScrollY() const;
    // Lets the view scroll so far that it shows up to (right, bottom) where the diagram ends
    // before (a zoomed view keeps the point under the cursor there); the extents stay. Until
    // the next Reset.
    void AllowScrollTo(int right, int bottom);
    // Clamps to the scroll range; returns true when the position changed.
    bool ScrollTo(int x, int y);
    bool ScrollBy(int dx, int dy) { return ScrollTo(m_scrollX + dx, m_scrollY + dy); }
    CPixelPoint ToDiagram(CPixelPoint window) const { return {window.x + m_scrollX, window.y + m_scrollY}; }

private:
    int LowestFreeId() const;
    void AddToRegions(const CDiagramBlock& block);
    void RemoveFromRegions(int id);

    std::map<int, CDiagramBlock> m_blocks;
    std::vector<int> m_lifted;
    CRegion m_obstacles;
    CRegion m_allBlocks;
    int m_width = kInitialWidth;
    int m_height = kInitialHeight;
    int m_scrollRight = 0;
    int m_scrollBottom = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

} // namespace kestra
