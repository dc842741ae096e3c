#include "diagram/structure_diagram.h"

#include "diagram/auto_layout.h"
#include "model/vhdl_signal.h"
#include "text/char_class.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace kestra {

namespace {

// A block or pin on a net, and whether it puts a value on it.
struct NetMember {
    LineEnd end;
    int drive = 0; // 2: drives only (an input of the module, an out or buffer pin); 1: inout; 0: reads
};

struct Net {
    std::string name; // as first written
    std::vector<NetMember> members;
};

struct StructureLines {
    std::vector<ConnectionLine> connections;
    std::vector<PinStub> stubs;
};

int DriveOfMode(std::string_view mode) {
    const std::string lower = ToLowerAscii(mode);
    if (lower == "out" || lower == "buffer")
        return 2;
    return lower == "inout" ? 1 : 0;
}

// The child's row for a port name, compared without case; -1 for none.
int PortRow(const CVHDLSignal& ports, std::string_view name) {
    for (int row = 0; row < ports.GetSignalCount(); ++row) {
        if (SameTextNoCase(ports.GetSignalText(row, CVHDLSignal::kName), name))
            return row;
    }
    return -1;
}

HierarchyKind ChildKind(const std::vector<CChildModule>& children, std::string_view unit) {
    for (const CChildModule& child : children) {
        if (SameTextNoCase(child.name, unit))
            return child.hierarchyKind;
    }
    return HierarchyKind::Normal;
}

// "NAME = value" for each generic the instance's generic map gives a value the child does not
// have itself (compared without blanks and case).
std::vector<std::string> GenericDetails(const CBlockDiagram& diagram, const InstanceStructure& instance) {
    const IModulePorts* source = diagram.ModulePorts();
    const auto generics = source != nullptr ? source->GenericsOf(instance.unit)
                                            : std::vector<std::pair<std::string, std::string>>{};
    const auto plain = [](std::string_view text) {
        std::string kept;
        for (const char c : text) {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                kept += c;
        }
        return ToLowerAscii(kept);
    };
    std::vector<std::string> details;
    for (std::size_t k = 0; k < instance.generics.size(); ++k) {
        const MapAssociation& association = instance.generics[k];
        std::string name = association.formal;
        if (name.empty() && k < generics.size())
            name = generics[k].first;
        if (name.empty())
            continue;
        const auto own = std::find_if(generics.begin(), generics.end(), [&](const auto& generic) {
            return SameTextNoCase(generic.first, name);
        });
        if (own == generics.end() || plain(own->second) != plain(association.actual))
            details.push_back(name + " = " + association.actual);
    }
    return details;
}

int AddInstanceBlock(CBlockDiagram& diagram, const InstanceStructure& instance, HierarchyKind kind) {
    const IModulePorts* source = diagram.ModulePorts();
    const CVHDLSignal* ports = source != nullptr ? source->PortsOf(instance.unit) : nullptr;
    const CPixelRect rect = GrownTo(CPixelRect::FromSize(diagram.Width() + 30, 70, 100, 100),
                                    MinimumModuleBlockSize(instance.unit, ports));
    return diagram.AddBlock(rect.left, rect.top, rect.Width(), rect.Height(), instance.unit,
                            ModuleColour(kind), -1, BlockKind::Module);
}

// The module block of every instance, in the architecture's order; true when blocks were added
// or removed.
bool AssignInstanceBlocks(CBlockDiagram& diagram, const ArchitectureStructure& architecture,
                          const std::vector<CChildModule>& children, std::vector<int>& blocks) {
    std::map<std::string, std::vector<int>> shown;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (block.kind == BlockKind::Module && !block.text.empty())
            shown[ToLowerAscii(block.text)].push_back(id);
    }
    std::map<std::string, std::size_t> taken;
    bool changed = false;
    for (const InstanceStructure& instance : architecture.instances) {
        const std::string key = ToLowerAscii(instance.unit);
        std::vector<int>& free = shown[key];
        std::size_t& next = taken[key];
        int id = next < free.size() ? free[next] : -1;
        if (id < 0) {
            id = AddInstanceBlock(diagram, instance, ChildKind(children, instance.unit));
            changed = true;
        } else {
            ++next;
        }
        diagram.Blocks().SetInstance(id, instance.label, GenerateCaption(instance),
                                     GenericDetails(diagram, instance));
        blocks.push_back(id);
    }
    for (const auto& [key, count] : taken) {
        const std::vector<int>& free = shown[key];
        for (std::size_t i = std::max<std::size_t>(count, 1); i < free.size(); ++i)
            changed = diagram.RemoveBlock(free[i]) || changed;
    }
    return changed;
}

// The nets of the instances' associations and the stubs of those no line can stand for.
void CollectAssociations(const CBlockDiagram& diagram, const ArchitectureStructure& architecture,
                         const std::vector<int>& blocks, std::map<std::string, Net>& nets,
                         std::vector<PinStub>& stubs) {
    const IModulePorts* source = diagram.ModulePorts();
    for (std::size_t i = 0; i < architecture.instances.size(); ++i) {
        const InstanceStructure& instance = architecture.instances[i];
        const CVHDLSignal* ports = source != nullptr ? source->PortsOf(instance.unit) : nullptr;
        if (ports == nullptr)
            continue;
        for (std::size_t k = 0; k < instance.ports.size(); ++k) {
            const MapAssociation& association = instance.ports[k];
            const int row =
                association.formal.empty()
                    ? (k < static_cast<std::size_t>(ports->GetSignalCount()) ? static_cast<int>(k) : -1)
                    : PortRow(*ports, association.formal);
            if (row < 0 || association.kind == ActualKind::Open)
                continue;
            const std::string pin = ports->GetSignalText(row, CVHDLSignal::kName);
            if (association.kind == ActualKind::Other) {
                stubs.push_back({blocks[i], pin, association.actual});
                continue;
            }
            Net& net = nets[ToLowerAscii(association.actual)];
            if (net.name.empty())
                net.name = association.actual;
            net.members.push_back(
                {{blocks[i], pin}, DriveOfMode(ports->GetSignalText(row, CVHDLSignal::kMode))});
        }
    }
}

void AddPortBlocks(const CBlockDiagram& diagram, std::map<std::string, Net>& nets) {
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (!IsPortKind(block.kind) || block.text.empty())
            continue;
        const auto net = nets.find(ToLowerAscii(block.text));
        if (net == nets.end())
            continue;
        const int drive = block.kind == BlockKind::InPort ? 2 : (block.kind == BlockKind::InoutPort ? 1 : 0);
        net->second.members.push_back({{id, ""}, drive});
    }
}

StructureLines LinesOf(const CBlockDiagram& diagram, const ArchitectureStructure& architecture,
                       const std::vector<int>& blocks) {
    std::map<std::string, Net> nets;
    StructureLines lines;
    CollectAssociations(diagram, architecture, blocks, nets, lines.stubs);
    AddPortBlocks(diagram, nets);
    for (const auto& [key, net] : nets) {
        if (net.members.size() == 1) {
            if (!net.members.front().end.pin.empty())
                lines.stubs.push_back({net.members.front().end.block, net.members.front().end.pin, net.name});
            continue;
        }
        const auto driver =
            std::max_element(net.members.begin(), net.members.end(),
                             [](const NetMember& a, const NetMember& b) { return a.drive < b.drive; });
        for (const NetMember& member : net.members) {
            if (&member != &*driver && !(member.end == driver->end))
                lines.connections.push_back({driver->end, member.end, net.name});
        }
    }
    return lines;
}

LayoutColumn ColumnOf(BlockKind kind) {
    if (kind == BlockKind::InPort || kind == BlockKind::LinkagePort)
        return LayoutColumn::First;
    return IsPortKind(kind) ? LayoutColumn::Last : LayoutColumn::Flow;
}

// The room a module block's stubs take beside it: left and right of the block.
std::pair<int, int> StubRoom(const CBlockDiagram& diagram, int id, const std::vector<PinStub>& stubs) {
    int left = 0;
    int right = 0;
    const std::vector<PinPlace> pins = diagram.PinsOf(id);
    for (const PinStub& stub : stubs) {
        const auto pin =
            std::find_if(pins.begin(), pins.end(), [&](const PinPlace& p) { return p.name == stub.pin; });
        if (stub.block != id || pin == pins.end())
            continue;
        const int room = (LabelWidth(stub.label) + 2 * kGridStep) / kGridStep * kGridStep;
        (pin->side == PinSide::Left ? left : right) =
            std::max(pin->side == PinSide::Left ? left : right, room);
    }
    return {left, right};
}

// Port blocks no line joins keep the order of the ports, below the joined ones of their column.
void OrderLonePorts(std::vector<LayoutPlace>& places, const std::vector<LayoutNode>& nodes,
                    const std::vector<LayoutEdge>& edges, LayoutColumn column) {
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].column == column)
            members.push_back(i);
    }
    const auto joined = [&](std::size_t i) {
        return std::any_of(edges.begin(), edges.end(),
                           [&](const LayoutEdge& e) { return e.from == nodes[i].id || e.to == nodes[i].id; });
    };
    std::vector<int> slots;
    slots.reserve(members.size());
    for (const std::size_t i : members)
        slots.push_back(places[i].topLeft.y);
    std::sort(slots.begin(), slots.end());
    std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
        if (joined(a) != joined(b))
            return joined(a);
        return joined(a) ? places[a].topLeft.y < places[b].topLeft.y : nodes[a].id < nodes[b].id;
    });
    // The slots are the column's own; its port blocks are all as high, so none comes to overlap.
    const bool even = std::all_of(members.begin(), members.end(),
                                  [&](std::size_t i) { return nodes[i].height == nodes[members[0]].height; });
    for (std::size_t k = 0; even && k < members.size(); ++k)
        places[members[k]].topLeft.y = slots[k];
}

// Lays the port and module blocks out (module blocks with the room their stubs take); text and
// custom blocks go below them.
void LayOutBlocks(CBlockDiagram& diagram, const std::vector<ConnectionLine>& connections,
                  const std::vector<PinStub>& stubs) {
    std::vector<LayoutNode> nodes;
    std::vector<int> others;
    std::map<int, int> leftRoom;
    for (const auto& [id, block] : diagram.Blocks().Blocks()) {
        if (!IsPortKind(block.kind) && block.kind != BlockKind::Module) {
            others.push_back(id);
            continue;
        }
        const auto [left, right] = StubRoom(diagram, id, stubs);
        leftRoom[id] = left;
        nodes.push_back({id, block.rect.Width() + left + right, block.rect.Height(), ColumnOf(block.kind)});
    }
    std::vector<LayoutEdge> edges;
    edges.reserve(connections.size());
    for (const ConnectionLine& connection : connections)
        edges.push_back({connection.from.block, connection.to.block});
    std::vector<LayoutPlace> places = LayOutLayered(nodes, edges);
    OrderLonePorts(places, nodes, edges, LayoutColumn::First);
    OrderLonePorts(places, nodes, edges, LayoutColumn::Last);
    int bottom = 0;
    for (const LayoutPlace& place : places) {
        const CPixelRect old = diagram.BlockRect(place.id);
        const CPixelRect rect = CPixelRect::FromSize(place.topLeft.x + leftRoom[place.id], place.topLeft.y,
                                                     old.Width(), old.Height());
        diagram.MoveBlock(place.id, rect);
        bottom = std::max(bottom, rect.bottom);
    }
    int x = 2 * kGridStep;
    for (const int id : others) {
        const CPixelRect old = diagram.BlockRect(id);
        diagram.MoveBlock(id, CPixelRect::FromSize(x, bottom + 4 * kGridStep, old.Width(), old.Height()));
        x += old.Width() + 2 * kGridStep;
    }
    for (const auto& [id, block] : diagram.Blocks().Blocks())
        diagram.Blocks().GrowExtents(block.rect.right + 10, block.rect.bottom + 10);
}

using EndPair = std::pair<LineEnd, LineEnd>;

bool LessEnd(const LineEnd& a, const LineEnd& b) {
    return std::tie(a.block, a.pin) < std::tie(b.block, b.pin);
}

EndPair Ordered(const LineEnd& a, const LineEnd& b) {
    return LessEnd(b, a) ? EndPair{b, a} : EndPair{a, b};
}

struct EndPairLess {
    bool operator()(const EndPair& a, const EndPair& b) const {
        if (!(a.first == b.first))
            return LessEnd(a.first, b.first);
        return LessEnd(a.second, b.second);
    }
};

// Stored lines by the ends they attach to; lines with a pin end (the ones a connection may own).
std::map<EndPair, int, EndPairLess> StoredPinLines(const CBlockDiagram& diagram) {
    std::map<EndPair, int, EndPairLess> stored;
    for (const auto& [id, line] : diagram.Lines().Lines()) {
        if (line.points.size() < 2 || diagram.ConnectionOf(id) != nullptr)
            continue;
        const LineEnd from{static_cast<int>(line.fromId),
                           diagram.PinAt(static_cast<int>(line.fromId), line.points.front())};
        const LineEnd to{static_cast<int>(line.toId),
                         diagram.PinAt(static_cast<int>(line.toId), line.points.back())};
        if (!from.pin.empty() || !to.pin.empty())
            stored.emplace(Ordered(from, to), id);
    }
    return stored;
}

bool DrawConnections(CBlockDiagram& diagram, const std::vector<ConnectionLine>& connections) {
    std::map<EndPair, int, EndPairLess> stored = StoredPinLines(diagram);
    bool added = false;
    for (const ConnectionLine& connection : connections) {
        const auto found = stored.find(Ordered(connection.from, connection.to));
        if (found != stored.end()) {
            diagram.MarkConnection(found->second, connection);
            stored.erase(found);
            continue;
        }
        added = diagram.AddConnection(connection, diagram.Attributes(), diagram.Colour(), -1) >= 0 || added;
    }
    return added;
}

} // namespace

std::string GenerateCaption(const InstanceStructure& instance) {
    switch (instance.generate) {
    case GenerateKind::For:
        return "for " + instance.generateLabel;
    case GenerateKind::If:
        return "if " + instance.generateLabel;
    case GenerateKind::Case:
        return "case " + instance.generateLabel;
    case GenerateKind::None:
        break;
    }
    return {};
}

void DrawStructure(CBlockDiagram& diagram, const ArchitectureStructure& architecture,
                   const std::vector<CChildModule>& children, StructurePlacement placement) {
    diagram.ForgetConnections();
    std::vector<int> blocks;
    bool changed = AssignInstanceBlocks(diagram, architecture, children, blocks);
    // Blocks grow to the generic values they now show.
    changed = diagram.FitModuleBlocks() || changed;
    StructureLines lines = LinesOf(diagram, architecture, blocks);
    if (placement == StructurePlacement::LayOutAll) {
        std::vector<int> pinLines;
        for (const auto& [id, line] : StoredPinLines(diagram))
            pinLines.push_back(line);
        for (const int id : pinLines)
            diagram.RemoveLine(id);
        LayOutBlocks(diagram, lines.connections, lines.stubs);
        changed = true;
    }
    changed = DrawConnections(diagram, lines.connections) || changed;
    diagram.SetStubs(std::move(lines.stubs));
    diagram.SetConnectionsKnown(true);
    diagram.RevalidateAllLines();
    if (changed)
        diagram.SetDiagramChanged(true);
}

} // namespace kestra
