#include "diagram/block_diagram.h"

#include "diagram/link_router.h"
#include "diagram/path_clearance.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kestra {

void CBlockDiagram::Reset() {
    m_blocks.Reset();
    m_lines.Reset();
    m_selectedBlock = -1;
    m_selectedLine = -1;
    m_connections.clear();
    m_stubs.clear();
    m_notice.clear();
    m_connectionsKnown = false;
}

int CBlockDiagram::AddBlock(int x, int y, int width, int height, const std::string& text,
                            std::uint32_t colour, int id, BlockKind kind) {
    return m_blocks.Add(CPixelRect::FromSize(x, y, width, height), text, colour, id, kind);
}

bool CBlockDiagram::RemoveBlock(int id) {
    if (!m_blocks.Remove(id))
        return false;
    if (m_selectedBlock == id)
        m_selectedBlock = -1;
    return true;
}

bool CBlockDiagram::ReplaceBlock(int id, const std::string& text, BlockKind kind, std::uint32_t colour) {
    if (!m_blocks.Update(id, text, kind, colour))
        return false;
    m_changed = true;
    return true;
}

void CBlockDiagram::GrowForLine(const LineRecord& line) {
    for (const LinePoint& p : line.points)
        m_blocks.GrowExtents(p.x + 10, p.y + 10);
}

int CBlockDiagram::AddLine(const LineRecord& line, int lineId) {
    GrowForLine(line);
    return m_lines.Add(line, lineId);
}

int CBlockDiagram::AddLine(std::span<const LinePoint> points, std::uint16_t attributes, std::uint32_t colour,
                           int fromId, int toId, int lineId) {
    LineRecord line;
    line.attributes = attributes;
    line.colour = colour;
    line.fromId = static_cast<std::uint32_t>(fromId);
    line.toId = static_cast<std::uint32_t>(toId);
    line.points.assign(points.begin(), points.end());
    return AddLine(line, lineId);
}

bool CBlockDiagram::RemoveLine(int id) {
    if (!m_lines.Remove(id))
        return false;
    m_connections.erase(id);
    if (m_selectedLine == id)
        m_selectedLine = -1;
    return true;
}

bool CBlockDiagram::IsPathClear(std::span<const LinePoint> path, int fromId, int toId,
                                int ignoreLineId) const {
    CClearanceContext clearance(m_blocks, m_lines, fromId, toId, ignoreLineId);
    return clearance.PathClear(path);
}

int CBlockDiagram::Route(int fromId, int toId, std::uint16_t attributes, std::uint32_t colour, int lineId,
                         bool search) {
    const CDiagramBlock* from = m_blocks.Find(fromId);
    const CDiagramBlock* to = m_blocks.Find(toId);
    if (fromId == toId || !from || !to)
        return -1;
    int start = (attributes & LineRecord::VariantMask) >> LineRecord::kVariantShift;
    const std::uint16_t kept = attributes & 0xFF;
    if (start == LineRecord::kManualVariant) {
        const LineRecord* existing = lineId >= 0 ? m_lines.Find(lineId) : nullptr;
        if (existing && IsPathClear(existing->points, fromId, toId, lineId))
            return lineId;
        start = 0;
        search = true;
    }
    const auto found = m_plainRouting ? FindRoutePlain(m_blocks, m_lines, fromId, toId, start, search, lineId)
                                      : FindRoute(m_blocks, m_lines, fromId, toId, start, search, lineId);
    LineRecord line;
    line.colour = colour;
    line.fromId = static_cast<std::uint32_t>(fromId);
    line.toId = static_cast<std::uint32_t>(toId);
    if (found) {
        line.points = found->points;
        line.attributes = static_cast<std::uint16_t>(kept | (found->variant << LineRecord::kVariantShift));
    } else {
        const CPixelPoint a = from->rect.Centre();
        const CPixelPoint b = to->rect.Centre();
        line.points = {{a.x, a.y}, {b.x, b.y}};
        line.attributes = static_cast<std::uint16_t>(kept | LineRecord::Unrouted);
    }
    return AddLine(line, lineId);
}

void CBlockDiagram::RevalidateAllLines() {
    const int count = m_lines.NextId();
    for (int id = 0; id < count; ++id) {
        const LineRecord* line = m_lines.Find(id);
        if (!line)
            continue;
        const int fromId = static_cast<std::int32_t>(line->fromId);
        const int toId = static_cast<std::int32_t>(line->toId);
        if (!m_blocks.Contains(fromId) || !m_blocks.Contains(toId)) {
            RemoveLine(id);
            continue;
        }
        if (const auto connection = m_connections.find(id); connection != m_connections.end()) {
            if (!ConnectionStillFits(id, *line, connection->second)) {
                const ConnectionLine kept = connection->second;
                if (AddConnection(kept, line->attributes, line->colour, id) < 0)
                    RemoveLine(id);
            }
            continue;
        }
        if (!IsUnrouted(*line) && IsPathClear(line->points, fromId, toId, id))
            continue;
        if (Route(fromId, toId, line->attributes, line->colour, id, true) < 0)
            RemoveLine(id);
    }
}

std::string CBlockDiagram::BlockText(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    return block ? block->text : std::string();
}

BlockKind CBlockDiagram::GetBlockKind(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    return block ? block->kind : BlockKind::TextBlock;
}

std::uint32_t CBlockDiagram::BlockColour(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    return block ? block->colour : kWhite;
}

CPixelRect CBlockDiagram::BlockRect(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    return block ? block->rect : CPixelRect{};
}

void CBlockDiagram::SelectBlock(int id) {
    if (m_selectedBlock != id)
        m_blocks.SetPressed(m_selectedBlock, false);
    m_selectedBlock = m_blocks.Contains(id) ? id : -1;
    m_blocks.SetPressed(m_selectedBlock, true);
    if (m_selectedBlock >= 0)
        m_selectedLine = -1;
}

void CBlockDiagram::SelectLine(int id) {
    m_selectedLine = m_lines.Find(id) ? id : -1;
    if (m_selectedLine >= 0)
        SelectBlock(-1);
}

void CBlockDiagram::SetAttributes(std::uint16_t value, std::uint16_t mask) {
    m_attributes = static_cast<std::uint16_t>((m_attributes & ~mask) | (value & mask));
    const LineRecord* line = m_lines.Find(m_selectedLine);
    if (!line || (line->attributes & mask) == (value & mask))
        return;
    LineRecord changed = *line;
    changed.attributes = static_cast<std::uint16_t>((line->attributes & ~mask) | (value & mask));
    m_lines.Add(changed, m_selectedLine);
    m_changed = true;
}

void CBlockDiagram::TakeAttributesOf(const LineRecord& line) {
    m_attributes = static_cast<std::uint16_t>((m_attributes & ~0xFF) | (line.attributes & 0xFF));
}

void CBlockDiagram::SetColour(std::uint32_t colour) {
    m_colour = colour;
    if (const CDiagramBlock* block = m_blocks.Find(m_selectedBlock)) {
        if (block->kind == BlockKind::CustomBlock && block->colour != colour)
            ReplaceBlock(block->id, block->text, block->kind, colour);
        return;
    }
    const LineRecord* line = m_lines.Find(m_selectedLine);
    if (!line || line->colour == colour)
        return;
    LineRecord changed = *line;
    changed.colour = colour;
    m_lines.Add(changed, m_selectedLine);
    m_changed = true;
}

void CBlockDiagram::CycleLineStyle() {
    const LineRecord* selected = m_lines.Find(m_selectedLine);
    if (!selected)
        return;
    const LineRecord line = *selected;
    const int id = m_selectedLine;
    const int variant = line.RouteVariant();
    const int start = variant >= 11 ? 0 : variant + 1;
    m_lines.Remove(id);
    const int routed =
        Route(static_cast<std::int32_t>(line.fromId), static_cast<std::int32_t>(line.toId),
              static_cast<std::uint16_t>((line.attributes & 0xFF) | (start << LineRecord::kVariantShift)),
              line.colour, id, false);
    if (routed < 0)
        m_selectedLine = -1;
    m_changed = true;
    RevalidateAllLines();
}

void CBlockDiagram::IncreaseWidth() {
    const int width = Round10(std::max(m_blocks.Width(), m_blocks.ClientWidth()) + 100);
    m_blocks.GrowExtents(width, 0);
}

void CBlockDiagram::IncreaseHeight() {
    const int height = Round10(std::max(m_blocks.Height(), m_blocks.ClientHeight()) + 100);
    m_blocks.GrowExtents(0, height);
}

void CBlockDiagram::DeleteSelection() {
    if (m_selectedLine >= 0) {
        RemoveLine(m_selectedLine);
    } else if (m_selectedBlock >= 0) {
        RemoveBlock(m_selectedBlock);
    } else {
        return;
    }
    RevalidateAllLines();
    m_changed = true;
}

const CVHDLSignal* CBlockDiagram::ChildPortsOf(const CDiagramBlock& block) const {
    if (m_modulePorts == nullptr || block.kind != BlockKind::Module || block.text.empty())
        return nullptr;
    return m_modulePorts->PortsOf(block.text);
}

std::vector<PinPlace> CBlockDiagram::PinsOf(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    const CVHDLSignal* ports = block != nullptr ? ChildPortsOf(*block) : nullptr;
    return ports != nullptr ? kestra::PinsOf(*block, *ports) : std::vector<PinPlace>{};
}

CPixelSize CBlockDiagram::MinimumSize(int id) const {
    const CDiagramBlock* block = m_blocks.Find(id);
    if (block == nullptr || block->kind != BlockKind::Module)
        return {};
    CPixelSize size = MinimumModuleBlockSize(block->text, ChildPortsOf(*block));
    // The generic values are written in lines of their own below the pins.
    if (!block->details.empty()) {
        size.height += static_cast<int>(block->details.size()) * kLabelHeight + kGridStep;
        for (const std::string& detail : block->details)
            size.width = std::max(size.width, LabelWidth(detail) + 2 * kGridStep);
        size.width = (size.width + kGridStep - 1) / kGridStep * kGridStep;
        size.height = (size.height + kGridStep - 1) / kGridStep * kGridStep;
    }
    return size;
}

bool CBlockDiagram::FitModuleBlocks() {
    std::vector<std::pair<int, CPixelRect>> grown;
    for (const auto& [id, block] : m_blocks.Blocks()) {
        const CPixelRect rect = GrownTo(block.rect, MinimumSize(id));
        if (rect != block.rect)
            grown.emplace_back(id, rect);
    }
    for (const auto& [id, rect] : grown) {
        m_blocks.SetRect(id, rect);
        m_blocks.GrowExtents(rect.right + 10, rect.bottom + 4);
    }
    if (grown.empty())
        return false;
    RevalidateAllLines();
    m_changed = true;
    return true;
}

} // namespace kestra

namespace kestra {

namespace {

CPixelPoint ToPixel(const LinePoint& p) {
    return {p.x, p.y};
}

LinePoint ToLinePoint(CPixelPoint p) {
    return {p.x, p.y};
}

} // namespace

std::optional<PinLineEnd> CBlockDiagram::EndPlace(const LineEnd& end, const LineEnd& other) const {
    const CDiagramBlock* block = m_blocks.Find(end.block);
    if (block == nullptr)
        return std::nullopt;
    if (!end.pin.empty()) {
        for (const PinPlace& pin : PinsOf(end.block)) {
            if (pin.name == end.pin)
                return PinLineEnd{end.block, pin.anchor,
                                  pin.side == PinSide::Left ? LeaveDirection::Left : LeaveDirection::Right};
        }
        return std::nullopt;
    }
    const CDiagramBlock* facing = m_blocks.Find(other.block);
    const CPixelRect& r = block->rect;
    const int y = r.top + r.Height() / 2;
    const bool right = facing == nullptr ? IsPortKind(block->kind) && block->kind != BlockKind::OutPort
                                         : facing->rect.Centre().x >= r.Centre().x;
    return PinLineEnd{
        end.block, {right ? r.right : r.left, y}, right ? LeaveDirection::Right : LeaveDirection::Left};
}

int CBlockDiagram::AddConnection(const ConnectionLine& connection, std::uint16_t attributes,
                                 std::uint32_t colour, int lineId) {
    const std::optional<PinLineEnd> from = EndPlace(connection.from, connection.to);
    const std::optional<PinLineEnd> to = EndPlace(connection.to, connection.from);
    if (!from || !to || connection.from.block == connection.to.block)
        return -1;
    LineRecord line;
    line.colour = colour;
    line.fromId = static_cast<std::uint32_t>(connection.from.block);
    line.toId = static_cast<std::uint32_t>(connection.to.block);
    const std::uint16_t kept = attributes & 0xFF;
    if (auto path = RoutePinLine(m_blocks, m_lines, *from, *to, lineId, LinesOfNet(connection.net, lineId))) {
        line.points = std::move(*path);
        line.attributes = kept;
    } else {
        line.points = {ToLinePoint(from->point), ToLinePoint(to->point)};
        line.attributes = static_cast<std::uint16_t>(kept | LineRecord::Unrouted);
    }
    const int id = AddLine(line, lineId);
    m_connections[id] = connection;
    return id;
}

void CBlockDiagram::ForgetConnections() {
    m_connections.clear();
}

bool CBlockDiagram::MarkConnection(int lineId, const ConnectionLine& connection) {
    if (m_lines.Find(lineId) == nullptr)
        return false;
    m_connections[lineId] = connection;
    return true;
}

const ConnectionLine* CBlockDiagram::ConnectionOf(int lineId) const {
    const auto found = m_connections.find(lineId);
    return found != m_connections.end() ? &found->second : nullptr;
}

bool CBlockDiagram::ConnectionStillFits(int id, const LineRecord& line,
                                        const ConnectionLine& connection) const {
    if (IsUnrouted(line) || line.points.size() < 2)
        return false;
    const std::optional<PinLineEnd> from = EndPlace(connection.from, connection.to);
    const std::optional<PinLineEnd> to = EndPlace(connection.to, connection.from);
    if (!from || !to || ToPixel(line.points.front()) != from->point ||
        ToPixel(line.points.back()) != to->point)
        return false;
    CClearanceContext clearance(m_blocks, m_lines, connection.from.block, connection.to.block, id);
    clearance.SetKindredLines(LinesOfNet(connection.net, id));
    return clearance.PathClear(line.points);
}

std::vector<int> CBlockDiagram::LinesOfNet(const std::string& net, int except) const {
    std::vector<int> ids;
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    const auto same = [&](const std::string& other) {
        return other.size() == net.size() && std::equal(other.begin(), other.end(), net.begin(),
                                                        [&](char a, char b) { return lower(a) == lower(b); });
    };
    for (const auto& [id, connection] : m_connections) {
        if (id != except && !net.empty() && same(connection.net))
            ids.push_back(id);
    }
    return ids;
}

std::string CBlockDiagram::PinNear(int blockId, CPixelPoint point, int reach) const {
    std::string nearest;
    int best = reach + 1;
    for (const PinPlace& pin : PinsOf(blockId)) {
        const CPixelRect stub{std::min(pin.anchor.x, pin.stubEnd.x) - reach, pin.anchor.y - reach,
                              std::max(pin.anchor.x, pin.stubEnd.x) + reach + 1, pin.anchor.y + reach + 1};
        const bool onName = pin.label.Inflate(reach / 2, 0).ContainsPixel(point);
        if (!stub.ContainsPixel(point) && !onName)
            continue;
        const int distance = std::abs(point.y - pin.anchor.y);
        if (distance < best) {
            best = distance;
            nearest = pin.name;
        }
    }
    return nearest;
}

std::string CBlockDiagram::PinAt(int blockId, const LinePoint& point) const {
    for (const PinPlace& pin : PinsOf(blockId)) {
        if (pin.anchor == ToPixel(point))
            return pin.name;
    }
    return {};
}

} // namespace kestra
