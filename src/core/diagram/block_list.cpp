#include "diagram/block_list.h"

#include <algorithm>

namespace kestra {

std::vector<CPixelPoint> BlockShape(BlockKind kind, int width, int height) {
    const int w = width;
    const int h = height;
    switch (kind) {
    case BlockKind::InoutPort:
    case BlockKind::LinkagePort:
        return {{5, 0}, {w - 5, 0}, {w, h / 2}, {w - 5, h}, {5, h}, {0, h / 2}};
    case BlockKind::InPort:
        return {{0, 0}, {w - 5, 0}, {w, h / 2}, {w - 5, h}, {0, h}};
    case BlockKind::OutPort:
    case BlockKind::BufferPort:
        return {{5, 0}, {w, 0}, {w, h}, {5, h}, {0, h / 2}};
    default:
        return {{0, 0}, {w, 0}, {w, h}, {0, h}};
    }
}

COutline BlockOutline(BlockKind kind, const CPixelRect& rect) {
    switch (kind) {
    case BlockKind::InoutPort:
    case BlockKind::LinkagePort:
    case BlockKind::InPort:
    case BlockKind::OutPort:
    case BlockKind::BufferPort:
        if (rect.IsEmpty())
            return COutline(rect);
        return COutline(BlockShape(kind, rect.Width(), rect.Height())).Offset(rect.left, rect.top);
    default:
        return COutline(rect);
    }
}

void CBlockList::Reset() {
    m_blocks.clear();
    m_lifted.clear();
    m_obstacles.Clear();
    m_allBlocks.Clear();
    m_width = kInitialWidth;
    m_height = kInitialHeight;
    m_scrollX = 0;
    m_scrollY = 0;
    m_scrollRight = 0;
    m_scrollBottom = 0;
}

int CBlockList::LowestFreeId() const {
    int id = 0;
    for (const auto& entry : m_blocks) {
        if (entry.first != id)
            break;
        ++id;
    }
    return id <= kMaxId ? id : -1;
}

int CBlockList::Add(const CPixelRect& rect, const std::string& text, std::uint32_t colour, int id,
                    BlockKind kind) {
    if (id < 0 || id > kMaxId || Contains(id))
        id = LowestFreeId();
    if (id < 0)
        return -1;
    CDiagramBlock& block = m_blocks[id];
    block.id = id;
    block.kind = kind;
    block.text = text;
    block.rect = rect;
    block.colour = colour;
    block.outline = BlockOutline(kind, rect);
    AddToRegions(block);
    // The block's place counts relative to the visible area, as the block window sits there.
    GrowExtents(rect.left - m_scrollX + rect.Width() + 10, rect.top - m_scrollY + rect.Height() + 4);
    return id;
}

bool CBlockList::Remove(int id) {
    if (m_blocks.erase(id) == 0)
        return false;
    RemoveFromRegions(id);
    std::erase(m_lifted, id);
    return true;
}

bool CBlockList::SetInstance(int id, const std::string& label, const std::string& generate,
                             std::vector<std::string> details) {
    auto it = m_blocks.find(id);
    if (it == m_blocks.end())
        return false;
    it->second.instance = label;
    it->second.generate = generate;
    it->second.details = std::move(details);
    return true;
}

bool CBlockList::Update(int id, const std::string& text, BlockKind kind, std::uint32_t colour) {
    auto it = m_blocks.find(id);
    if (it == m_blocks.end())
        return false;
    CDiagramBlock& block = it->second;
    block.text = text;
    block.colour = colour;
    if (block.kind != kind) {
        block.kind = kind;
        block.outline = BlockOutline(kind, block.rect);
        RemoveFromRegions(id);
        AddToRegions(block);
    }
    return true;
}

bool CBlockList::SetRect(int id, const CPixelRect& rect) {
    auto it = m_blocks.find(id);
    if (it == m_blocks.end())
        return false;
    CDiagramBlock& block = it->second;
    block.rect = rect;
    block.outline = BlockOutline(block.kind, rect);
    RemoveFromRegions(id);
    AddToRegions(block);
    return true;
}

bool CBlockList::SetPressed(int id, bool pressed) {
    auto it = m_blocks.find(id);
    if (it == m_blocks.end())
        return false;
    it->second.pressed = pressed;
    return true;
}

void CBlockList::Lift(int id) {
    if (!Contains(id) || std::find(m_lifted.begin(), m_lifted.end(), id) != m_lifted.end())
        return;
    RemoveFromRegions(id);
    m_lifted.push_back(id);
}

void CBlockList::Drop(int id) {
    if (std::erase(m_lifted, id) == 0)
        return;
    AddToRegions(m_blocks.at(id));
}

void CBlockList::AddToRegions(const CDiagramBlock& block) {
    if (std::find(m_lifted.begin(), m_lifted.end(), block.id) != m_lifted.end())
        return;
    m_allBlocks.Add(block.id, block.outline);
    if (IsObstacleKind(block.kind))
        m_obstacles.Add(block.id, block.outline);
}

void CBlockList::RemoveFromRegions(int id) {
    m_allBlocks.Remove(id);
    m_obstacles.Remove(id);
}

const CDiagramBlock* CBlockList::Find(int id) const {
    auto it = m_blocks.find(id);
    return it == m_blocks.end() ? nullptr : &it->second;
}

int CBlockList::BlockAt(CPixelPoint pixel) const {
    for (const auto& [id, block] : m_blocks) {
        if (block.outline.ContainsPixel(pixel))
            return id;
    }
    return -1;
}

int CBlockList::BlockWithRectContaining(CPixelPoint point, bool closed) const {
    for (const auto& [id, block] : m_blocks) {
        if (closed ? block.rect.ContainsClosed(point) : block.rect.ContainsPixel(point))
            return id;
    }
    return -1;
}

bool CBlockList::IntersectsAnyBlock(const CPixelRect& rect, int exceptId) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(), [&](const auto& entry) {
        return entry.first != exceptId && entry.second.rect.Intersects(rect);
    });
}

void CBlockList::GrowExtents(int width, int height) {
    m_width = std::max(m_width, width);
    m_height = std::max(m_height, height);
}

void CBlockList::SetClientSize(int width, int height) {
    m_clientWidth = std::max(width, 0);
    m_clientHeight = std::max(height, 0);
    ScrollTo(m_scrollX, m_scrollY);
}

int CBlockList::MaxScrollX() const {
    return std::max(0, std::max(m_width, m_scrollRight) - m_clientWidth);
}
int CBlockList::MaxScrollY() const {
    return std::max(0, std::max(m_height, m_scrollBottom) - m_clientHeight);
}

void CBlockList::AllowScrollTo(int right, int bottom) {
    m_scrollRight = std::max(m_scrollRight, right);
    m_scrollBottom = std::max(m_scrollBottom, bottom);
}

bool CBlockList::ScrollTo(int x, int y) {
    x = std::clamp(x, 0, MaxScrollX());
    y = std::clamp(y, 0, MaxScrollY());
    if (x == m_scrollX && y == m_scrollY)
        return false;
    m_scrollX = x;
    m_scrollY = y;
    return true;
}

} // namespace kestra
