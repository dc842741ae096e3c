#include "diagram/diagram_record.h"

#include "model/vhdl_signal.h"

#include <algorithm>
#include <set>

namespace kestra {

namespace {

bool GetsBlock(HierarchyKind hierarchyKind) {
    return hierarchyKind == HierarchyKind::Normal || hierarchyKind == HierarchyKind::Library ||
           hierarchyKind == HierarchyKind::Predefined;
}

// Stored geometry comes from files anyone may have written: positions and sizes are brought
// into a range no real diagram leaves, so that sums of coordinates cannot overflow and a block
// or line costs work by what a diagram can show, not by what a file claims.
constexpr std::int64_t kCoordinateLimit = 1 << 20;
constexpr std::int64_t kBlockSizeLimit = 1 << 14;

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

int AddStoredBlock(CBlockDiagram& diagram, const CBlockData::Block& stored, const std::string& text,
                   std::uint32_t colour, BlockKind kind) {
    const BlockRect& r = stored.rect;
    const auto size = [](std::int64_t from, std::int64_t to) {
        return static_cast<int>(std::clamp(to - from, -kBlockSizeLimit, kBlockSizeLimit));
    };
    return diagram.AddBlock(ClampCoordinate(r.left), ClampCoordinate(r.top), size(r.left, r.right),
                            size(r.top, r.bottom), text, colour, stored.id, kind);
}

LineRecord ClampedLine(const LineRecord& line) {
    LineRecord clamped = line;
    for (LinePoint& point : clamped.points) {
        point.x = ClampCoordinate(point.x);
        point.y = ClampCoordinate(point.y);
    }
    return clamped;
}

// A "\T:" block: the port of the signal it names, else a text block.
void AddTextBlock(CBlockDiagram& diagram, const CBlockData::Block& stored, const std::string& text,
                  const CVHDLSignal* signals) {
    const SignalShape shape = SignalBlockShape(diagram, signals, text);
    AddStoredBlock(diagram, stored, text, shape.colour, shape.kind);
}

// The stored name of a line end must still name the block that now has that id.
bool EndMatchesById(const CBlockDiagram& diagram, const CBlockData& record, std::uint32_t end) {
    const auto id = static_cast<std::int32_t>(end);
    const std::string stored = record.NameById(id);
    const CDiagramBlock* block = diagram.FindBlock(id);
    if (stored.empty() || !block)
        return false;
    if (stored == block->text)
        return true;
    return stored.size() >= 4 && (HasTextNamePrefix(stored) || HasCustomNamePrefix(stored)) &&
           stored.substr(3) == block->text;
}

// Files without ids: the end is a position in the stored table, which must hold exactly the
// text of the block whose id is that position.
bool EndMatchesByPosition(const CBlockDiagram& diagram, const CBlockData& record, std::uint32_t end) {
    if (end >= static_cast<std::uint32_t>(record.GetBlockCount()))
        return false;
    const CDiagramBlock* block = diagram.FindBlock(static_cast<int>(end));
    return block && record.Blocks()[end].name == block->text;
}

} // namespace

std::string DiagramCaption(std::string_view moduleName) {
    std::string caption(moduleName);
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

void LoadDiagramRecord(CBlockDiagram& diagram, const CBlockData* record,
                       const std::vector<CChildModule>& children, const CVHDLSignal* signals) {
    diagram.Reset();
    diagram.SetDiagramChanged(false);
    if (!record)
        return;
    const std::vector<CBlockData::Block>& stored = record->Blocks();
    std::set<std::string> placed;
    for (const CChildModule& child : children) {
        if (!GetsBlock(child.hierarchyKind) || placed.count(child.name) != 0)
            continue;
        // Every block of the child: a child instantiated several times has a block per instance.
        for (const CBlockData::Block& block : stored) {
            if (block.name == child.name)
                AddStoredBlock(diagram, block, child.name, ModuleColour(child.hierarchyKind),
                               BlockKind::Module);
        }
        if (record->FindBlockByName(child.name) >= 0)
            placed.insert(child.name);
    }
    for (const CBlockData::Block& block : stored) {
        if (block.name.empty()) {
            AddStoredBlock(diagram, block, "", block.colour, BlockKind::Module);
            continue;
        }
        // Named module blocks were placed with their children; one whose module is gone is dropped.
        if (block.name.size() < 3 || (!HasTextNamePrefix(block.name) && !HasCustomNamePrefix(block.name)))
            continue;
        const std::string text = StoredBlockText(block.name);
        if (HasCustomNamePrefix(block.name))
            AddStoredBlock(diagram, block, text, block.colour, BlockKind::CustomBlock);
        else if (!text.empty())
            AddTextBlock(diagram, block, text, signals);
        else
            AddStoredBlock(diagram, block, text, block.colour, PortKindFromColour(block.colour));
    }
    for (const CChildModule& child : children) {
        if (!placed.count(child.name))
            AddChildModuleBlock(diagram, child);
    }
    const bool byId = !stored.empty() && stored.back().id >= 0;
    for (int key = 0; key < record->NextLineKey(); ++key) {
        const LineRecord* line = record->LookUpLine(key);
        if (!line)
            continue;
        const bool kept = byId ? EndMatchesById(diagram, *record, line->fromId) &&
                                     EndMatchesById(diagram, *record, line->toId)
                               : EndMatchesByPosition(diagram, *record, line->fromId) &&
                                     EndMatchesByPosition(diagram, *record, line->toId);
        if (!kept)
            continue;
        if (!line->points.empty())
            diagram.AddLine(ClampedLine(*line), -1);
        else
            diagram.Route(static_cast<std::int32_t>(line->fromId), static_cast<std::int32_t>(line->toId),
                          line->attributes, line->colour, -1, true);
    }
    diagram.SetDiagramChanged(false);
}

SignalShape SignalBlockShape(const CBlockDiagram& diagram, const CVHDLSignal* signals,
                             const std::string& text) {
    const int index = signals != nullptr && !text.empty() ? signals->FindSignal(text) : -1;
    const BlockKind kind = index >= 0 ? BlockKindFromMode(signals->GetSignalText(index, CVHDLSignal::kMode))
                                      : BlockKind::TextBlock;
    return {kind, IsPortKind(kind) ? PortColour(kind) : diagram.ButtonFaceColour()};
}

bool ReshapeSignalBlocks(CBlockDiagram& diagram, const CVHDLSignal* signals) {
    std::vector<int> named;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if ((IsPortKind(block.kind) || block.kind == BlockKind::TextBlock) && !block.text.empty())
            named.push_back(id);
    }
    bool changed = false;
    for (const int id : named) {
        const SignalShape shape = SignalBlockShape(diagram, signals, diagram.BlockText(id));
        if (shape.kind != diagram.GetBlockKind(id))
            changed = diagram.ReplaceBlock(id, diagram.BlockText(id), shape.kind, shape.colour) || changed;
    }
    return changed;
}

int AddChildModuleBlock(CBlockDiagram& diagram, const CChildModule& child) {
    if (!GetsBlock(child.hierarchyKind))
        return -1;
    // 100 x 100, or larger where the child's name and pins need it.
    const IModulePorts* source = diagram.ModulePorts();
    const CVHDLSignal* ports = source != nullptr ? source->PortsOf(child.name) : nullptr;
    const CPixelRect rect = GrownTo(CPixelRect::FromSize(diagram.Width() + 30, 70, 100, 100),
                                    MinimumModuleBlockSize(child.name, ports));
    return diagram.AddBlock(rect.left, rect.top, rect.Width(), rect.Height(), child.name,
                            ModuleColour(child.hierarchyKind), -1, BlockKind::Module);
}

bool WriteDiagramRecord(CBlockDiagram& diagram, CBlockData* record) {
    if (!record || !diagram.DiagramChanged())
        return false;
    record->Resize(diagram.BlockCount());
    int index = 0;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        const CPixelRect& r = block.rect;
        record->SetBlock(index++, MakeStoredBlockName(block.kind, block.text), id,
                         {r.left, r.top, r.right, r.bottom}, block.colour);
    }
    for (const auto& entry : diagram.Lines().Lines())
        record->AddLine(entry.second);
    diagram.SetDiagramChanged(false);
    return true;
}

} // namespace kestra
