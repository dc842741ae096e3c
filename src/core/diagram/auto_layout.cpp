#include "diagram/auto_layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <graphviz/gvc.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace kestra {

namespace {

constexpr int kColumnGap = 4 * kGridStep; // least horizontal room between two nodes
constexpr int kRowGap = 2 * kGridStep;    // least vertical room between two nodes
constexpr int kMargin = 2 * kGridStep;    // least left and top coordinate
// A column gap grows by a grid step for every line that crosses it, up to this many steps.
constexpr int kMaxExtraLanes = 15;
constexpr double kPointsPerInch = 72.0; // the layout library's unit; a diagram pixel is a point

// Edges as node indices, repeats kept, loops and unknown ids dropped.
using IndexEdges = std::vector<std::pair<int, int>>;

// Where a node went: its column and the height of its centre (y downwards).
struct ColumnPlace {
    int column = 0;
    double centreY = 0;
};

int FloorToGrid(int v) {
    return static_cast<int>(std::floor(static_cast<double>(v) / kGridStep)) * kGridStep;
}

int CeilToGrid(int v) {
    return -FloorToGrid(-v);
}

// The edges leaving each node, by their index in edges.
std::vector<std::vector<int>> Successors(std::size_t count, const IndexEdges& edges) {
    std::vector<std::vector<int>> next(count);
    for (std::size_t k = 0; k < edges.size(); ++k)
        next[static_cast<std::size_t>(edges[k].first)].push_back(static_cast<int>(k));
    return next;
}

// Turns round every edge that leads back to a node on the path of a depth-first walk, so that
// none closes a cycle; returns the nodes (up to the highest with an edge) in an order that every
// edge then follows.
std::vector<int> TurnBackEdges(IndexEdges& edges) {
    int count = 0;
    for (const auto& [from, to] : edges)
        count = std::max({count, from + 1, to + 1});
    const std::vector<std::vector<int>> next = Successors(static_cast<std::size_t>(count), edges);
    enum class Mark { New, Open, Done };
    std::vector<Mark> marks(next.size(), Mark::New);
    std::vector<int> finished; // each node after every node it leads to
    for (int root = 0; root < count; ++root) {
        if (marks[static_cast<std::size_t>(root)] != Mark::New)
            continue;
        marks[static_cast<std::size_t>(root)] = Mark::Open;
        std::vector<std::pair<int, std::size_t>> stack{{root, 0}};
        while (!stack.empty()) {
            auto& [node, walked] = stack.back();
            const auto u = static_cast<std::size_t>(node);
            if (walked == next[u].size()) {
                marks[u] = Mark::Done;
                finished.push_back(node);
                stack.pop_back();
                continue;
            }
            auto& edge = edges[static_cast<std::size_t>(next[u][walked++])];
            const int v = edge.second;
            if (marks[static_cast<std::size_t>(v)] == Mark::Open) {
                std::swap(edge.first, edge.second);
            } else if (marks[static_cast<std::size_t>(v)] == Mark::New) {
                marks[static_cast<std::size_t>(v)] = Mark::Open;
                stack.emplace_back(v, 0);
            }
        }
    }
    std::reverse(finished.begin(), finished.end());
    return finished;
}

// The edges as node indices, turned so that none closes a cycle: out of first-column nodes, into
// last-column nodes, and between flow nodes along a depth-first walk. Loops, unknown ids and edges
// between two first-column or two last-column nodes are dropped; repeats are kept. (The layout
// library turns edges that close cycles itself, but version 2.43 leaks memory for each of them.)
IndexEdges AcyclicEdges(const std::vector<LayoutNode>& nodes, const std::vector<LayoutEdge>& edges) {
    std::unordered_map<int, int> indexOf;
    for (std::size_t i = 0; i < nodes.size(); ++i)
        indexOf.emplace(nodes[i].id, static_cast<int>(i));
    auto columnOf = [&](int index) { return nodes[static_cast<std::size_t>(index)].column; };
    IndexEdges result;
    result.reserve(edges.size());
    for (const LayoutEdge& edge : edges) {
        const auto from = indexOf.find(edge.from);
        const auto to = indexOf.find(edge.to);
        if (from == indexOf.end() || to == indexOf.end() || from->second == to->second)
            continue;
        const LayoutColumn a = columnOf(from->second);
        const LayoutColumn b = columnOf(to->second);
        if (a == b && a != LayoutColumn::Flow)
            continue;
        if (a > b) // First, Flow and Last are in column order
            result.emplace_back(to->second, from->second);
        else
            result.emplace_back(from->second, to->second);
    }
    TurnBackEdges(result);
    return result;
}

// The layout library's functions take char* for text they only copy.
char* Text(const char* text) {
    return const_cast<char*>(text);
}

// Always with a decimal point: the layout library reads numbers in the "C" locale.
std::string Decimal(double value) {
    std::array<char, 32> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 4);
    return std::string(buffer.data(), end.ptr);
}

std::string Inches(int pixels) {
    return Decimal(std::max(pixels, 1) / kPointsPerInch);
}

// The dot layout plugin, opened for one layout and named as the context's only plugin. A context
// that finds its plugins itself reads the installation's list of them and keeps that text for
// good (version 2.43 never frees it), so that every layout would leak it. Closing does not unload
// the plugin, which keeps data in its statics from one layout to the next.
class CDotPlugin {
public:
    CDotPlugin() : m_handle(dlopen(KESTRA_DOT_LAYOUT_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
    CDotPlugin(const CDotPlugin&) = delete;
    CDotPlugin& operator=(const CDotPlugin&) = delete;
    ~CDotPlugin() {
        if (m_handle)
            dlclose(m_handle);
    }
    // The plugin list for gvContextPlugins, or nothing when the plugin is not where it was at
    // build time.
    std::optional<std::array<lt_symlist_t, 2>> Builtins() const {
        void* library = m_handle ? dlsym(m_handle, kLibrarySymbol) : nullptr;
        if (!library)
            return std::nullopt;
        return std::array<lt_symlist_t, 2>{{{kLibrarySymbol, library}, {nullptr, nullptr}}};
    }

private:
    static constexpr const char* kLibrarySymbol = "gvplugin_dot_layout_LTX_library";
    void* m_handle;
};

struct ContextDeleter {
    void operator()(GVC_t* context) const { gvFreeContext(context); }
};
struct GraphDeleter {
    void operator()(Agraph_t* graph) const { agclose(graph); }
};
// Frees the layout's records of a graph before the graph goes.
class CLayoutRecords {
public:
    CLayoutRecords(GVC_t* context, Agraph_t* graph) : m_context(context), m_graph(graph) {}
    CLayoutRecords(const CLayoutRecords&) = delete;
    CLayoutRecords& operator=(const CLayoutRecords&) = delete;
    ~CLayoutRecords() { gvFreeLayout(m_context, m_graph); }

private:
    GVC_t* m_context;
    Agraph_t* m_graph;
};

// The layout library's time grows with its virtual nodes, one for every layer a line passes:
// with full effort a thousand of them take up to some 70 ms, five thousand over a second. Up to
// kFullEffortWork it works with full effort, up to kMaxWork with fewer passes of crossing
// reduction and coordinate balancing (a few tenths of a second at most); beyond that the columns
// are laid out without it.
constexpr long kFullEffortWork = 1000;
constexpr long kMaxWork = 8000;

void SetGraphAttributes(Agraph_t* graph, long work) {
    agattr(graph, AGRAPH, Text("rankdir"), Text("LR"));
    // A grid step more than the gap, so that rounding to the grid keeps the gap.
    agattr(graph, AGRAPH, Text("nodesep"), Text(Inches(kRowGap + kGridStep).c_str()));
    agattr(graph, AGRAPH, Text("ranksep"), Text(Inches(kColumnGap).c_str()));
    // Lines are routed by the diagram afterwards; the layout only places the nodes.
    agattr(graph, AGRAPH, Text("splines"), Text("none"));
    if (work > kFullEffortWork) {
        agattr(graph, AGRAPH, Text("mclimit"), Text("0.5"));
        agattr(graph, AGRAPH, Text("nslimit"), Text("0.2"));
        agattr(graph, AGRAPH, Text("nslimit1"), Text("1"));
    }
    agattr(graph, AGNODE, Text("shape"), Text("box"));
    agattr(graph, AGNODE, Text("fixedsize"), Text("true"));
    agattr(graph, AGNODE, Text("label"), Text(""));
}

std::vector<Agnode_t*> AddNodes(Agraph_t* graph, const std::vector<LayoutNode>& nodes) {
    Agsym_t* width = agattr(graph, AGNODE, Text("width"), Text("1"));
    Agsym_t* height = agattr(graph, AGNODE, Text("height"), Text("1"));
    Agraph_t* first = nullptr;
    Agraph_t* last = nullptr;
    std::vector<Agnode_t*> handles;
    handles.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        // Appended rather than added: GCC 12 at -O3 takes "n" + std::to_string for an overlapping
        // copy (-Wrestrict).
        std::string name(1, 'n');
        name.append(std::to_string(i));
        Agnode_t* node = agnode(graph, Text(name.c_str()), 1);
        agxset(node, width, Text(Inches(nodes[i].width).c_str()));
        agxset(node, height, Text(Inches(nodes[i].height).c_str()));
        // The first-column nodes share a rank, and so do the last-column ones; the columns are
        // made first and last afterwards (ranks "source" and "sink" would say so here, but version
        // 2.43 of the layout library leaks memory for every node in them).
        const LayoutColumn column = nodes[i].column;
        if (column != LayoutColumn::Flow) {
            Agraph_t*& group = column == LayoutColumn::First ? first : last;
            if (!group) {
                group = agsubg(graph, Text(column == LayoutColumn::First ? "first" : "last"), 1);
                agsafeset(group, Text("rank"), Text("same"), Text(""));
            }
            agsubnode(group, node, 1);
        }
        handles.push_back(node);
    }
    return handles;
}

// Repeated edges become one edge whose weight is their number.
void AddEdges(Agraph_t* graph, const std::vector<Agnode_t*>& handles, const IndexEdges& edges) {
    std::map<std::pair<int, int>, int> counts;
    for (const auto& edge : edges)
        ++counts[edge];
    Agsym_t* weight = agattr(graph, AGEDGE, Text("weight"), Text("1"));
    for (const auto& [pair, count] : counts) {
        Agedge_t* edge = agedge(graph, handles[static_cast<std::size_t>(pair.first)],
                                handles[static_cast<std::size_t>(pair.second)], nullptr, 1);
        agxset(edge, weight, Text(std::to_string(count).c_str()));
    }
}

// The centres the layout library gives the nodes, y downwards; nothing when it fails.
std::optional<std::vector<std::pair<double, double>>> LayoutCentres(const std::vector<LayoutNode>& nodes,
                                                                    const IndexEdges& edges, long work) {
    const CDotPlugin plugin;
    const auto builtins = plugin.Builtins();
    const std::unique_ptr<GVC_t, ContextDeleter> context(builtins ? gvContextPlugins(builtins->data(), 0)
                                                                  : gvContext());
    if (!context)
        return std::nullopt;
    const std::unique_ptr<Agraph_t, GraphDeleter> graph(agopen(Text("layout"), Agdirected, nullptr));
    if (!graph)
        return std::nullopt;
    SetGraphAttributes(graph.get(), work);
    const std::vector<Agnode_t*> handles = AddNodes(graph.get(), nodes);
    AddEdges(graph.get(), handles, edges);
    if (gvLayout(context.get(), graph.get(), "dot") != 0)
        return std::nullopt;
    const CLayoutRecords records(context.get(), graph.get());
    const double top = GD_bb(graph.get()).UR.y;
    std::vector<std::pair<double, double>> centres;
    centres.reserve(handles.size());
    for (Agnode_t* node : handles) {
        const pointf at = ND_coord(node);
        if (!std::isfinite(at.x) || !std::isfinite(at.y))
            return std::nullopt;
        centres.emplace_back(at.x, top - at.y);
    }
    return centres;
}

// Columns from the layout's ranks (nodes of one rank share their centre's x): the first-column
// nodes in column 0, the flow nodes' ranks after them, the last-column nodes in the last one.
std::vector<ColumnPlace> ColumnsFromCentres(const std::vector<LayoutNode>& nodes,
                                            const std::vector<std::pair<double, double>>& centres) {
    bool anyFirst = false;
    std::vector<long> flowRanks;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        anyFirst = anyFirst || nodes[i].column == LayoutColumn::First;
        if (nodes[i].column == LayoutColumn::Flow)
            flowRanks.push_back(std::lround(centres[i].first));
    }
    std::sort(flowRanks.begin(), flowRanks.end());
    flowRanks.erase(std::unique(flowRanks.begin(), flowRanks.end()), flowRanks.end());
    const int base = anyFirst ? 1 : 0;
    std::vector<ColumnPlace> places(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        places[i].centreY = centres[i].second;
        if (nodes[i].column == LayoutColumn::First)
            continue;
        if (nodes[i].column == LayoutColumn::Last) {
            places[i].column = base + static_cast<int>(flowRanks.size());
            continue;
        }
        const auto rank = std::lower_bound(flowRanks.begin(), flowRanks.end(), std::lround(centres[i].first));
        places[i].column = base + static_cast<int>(rank - flowRanks.begin());
    }
    return places;
}

// The longest-path layer of every flow node over the edges between flow nodes (acyclic).
std::vector<int> FlowLayers(const std::vector<LayoutNode>& nodes, const IndexEdges& edges) {
    IndexEdges flowEdges;
    for (const auto& edge : edges) {
        if (nodes[static_cast<std::size_t>(edge.first)].column == LayoutColumn::Flow &&
            nodes[static_cast<std::size_t>(edge.second)].column == LayoutColumn::Flow)
            flowEdges.push_back(edge);
    }
    const std::vector<std::vector<int>> next = Successors(nodes.size(), flowEdges);
    std::vector<int> layers(nodes.size(), 0);
    for (int u : TurnBackEdges(flowEdges)) {
        for (int k : next[static_cast<std::size_t>(u)]) {
            const auto v = static_cast<std::size_t>(flowEdges[static_cast<std::size_t>(k)].second);
            layers[v] = std::max(layers[v], layers[static_cast<std::size_t>(u)] + 1);
        }
    }
    return layers;
}

// The layout without the layout library: first column, flow nodes by layer, last column, each
// column stacked downwards in the nodes' order.
std::vector<ColumnPlace> FallbackColumns(const std::vector<LayoutNode>& nodes, const IndexEdges& edges) {
    const std::vector<int> layers = FlowLayers(nodes, edges);
    bool anyFirst = false;
    int flowColumns = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        anyFirst = anyFirst || nodes[i].column == LayoutColumn::First;
        if (nodes[i].column == LayoutColumn::Flow)
            flowColumns = std::max(flowColumns, layers[i] + 1);
    }
    const int base = anyFirst ? 1 : 0;
    std::vector<ColumnPlace> places(nodes.size());
    std::map<int, double> bottoms;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const LayoutColumn column = nodes[i].column;
        places[i].column = column == LayoutColumn::First  ? 0
                           : column == LayoutColumn::Last ? base + flowColumns
                                                          : base + layers[i];
        double& bottom = bottoms[places[i].column];
        const int height = std::max(nodes[i].height, 0);
        places[i].centreY = bottom + height / 2.0;
        bottom += CeilToGrid(height) + kRowGap + kGridStep;
    }
    return places;
}

// The layers the lines pass without ending there, each pair of nodes counted once: how much
// work the layout library would have (its ranks are seldom longer than these).
long LayersPassed(const IndexEdges& edges, const std::vector<ColumnPlace>& places) {
    IndexEdges pairs = edges;
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    long passed = 0;
    for (const auto& [from, to] : pairs) {
        const int span = std::abs(places[static_cast<std::size_t>(from)].column -
                                  places[static_cast<std::size_t>(to)].column);
        passed += std::max(span - 1, 0);
    }
    return passed;
}

// The left edge of every column: each column as wide as its widest node, and each gap the least
// gap and a lane for every line crossing it (up to a bound).
std::vector<int> ColumnLefts(const std::vector<LayoutNode>& nodes, const IndexEdges& edges,
                             const std::vector<ColumnPlace>& places, std::vector<int>& widths) {
    int columns = 0;
    for (const ColumnPlace& place : places)
        columns = std::max(columns, place.column + 1);
    widths.assign(static_cast<std::size_t>(columns), 0);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        int& width = widths[static_cast<std::size_t>(places[i].column)];
        width = std::max(width, CeilToGrid(std::max(nodes[i].width, 0)));
    }
    std::vector<int> crossings(static_cast<std::size_t>(columns), 0);
    for (const auto& [from, to] : edges) {
        const int a = places[static_cast<std::size_t>(from)].column;
        const int b = places[static_cast<std::size_t>(to)].column;
        for (int c = std::min(a, b); c < std::max(a, b); ++c)
            ++crossings[static_cast<std::size_t>(c)];
    }
    std::vector<int> lefts(static_cast<std::size_t>(columns), kMargin);
    for (std::size_t c = 1; c < lefts.size(); ++c)
        lefts[c] = lefts[c - 1] + widths[c - 1] + kColumnGap +
                   std::min(crossings[c - 1], kMaxExtraLanes) * kGridStep;
    return lefts;
}

// Grid rectangles in the columns: first-column nodes flush right (towards the flow), last-column
// nodes flush left, the others centred.
std::vector<CPixelRect> Arrange(const std::vector<LayoutNode>& nodes, const IndexEdges& edges,
                                const std::vector<ColumnPlace>& places) {
    std::vector<int> widths;
    const std::vector<int> lefts = ColumnLefts(nodes, edges, places, widths);
    std::vector<CPixelRect> rects;
    rects.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const auto column = static_cast<std::size_t>(places[i].column);
        const int width = std::max(nodes[i].width, 0);
        const int height = std::max(nodes[i].height, 0);
        const int room = widths[column] - width;
        const int inset = nodes[i].column == LayoutColumn::First  ? FloorToGrid(room)
                          : nodes[i].column == LayoutColumn::Last ? 0
                                                                  : FloorToGrid(room / 2);
        const int top = Round10(static_cast<int>(std::lround(places[i].centreY - height / 2.0)));
        rects.push_back(CPixelRect::FromSize(lefts[column] + inset, top, width, height));
    }
    return rects;
}

bool TooClose(const CPixelRect& a, const CPixelRect& b) {
    return a.left < b.right + kColumnGap && b.left < a.right + kColumnGap && a.top < b.bottom + kRowGap &&
           b.top < a.bottom + kRowGap;
}

// Moves nodes down, topmost first, until no two are closer than the gaps.
void NudgeApart(std::vector<CPixelRect>& rects) {
    std::vector<std::size_t> order(rects.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rects[a].top < rects[b].top; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        CPixelRect& rect = rects[order[k]];
        for (bool moved = true; moved;) {
            moved = false;
            for (std::size_t j = 0; j < k; ++j) {
                const CPixelRect& placed = rects[order[j]];
                if (TooClose(rect, placed)) {
                    rect = rect.Offset(0, CeilToGrid(placed.bottom + kRowGap) - rect.top);
                    moved = true;
                }
            }
        }
    }
}

// Grid places of the nodes in their columns, apart by the gaps, the least corner at the margin.
std::vector<LayoutPlace> Place(const std::vector<LayoutNode>& nodes, const IndexEdges& edges,
                               const std::vector<ColumnPlace>& places) {
    std::vector<CPixelRect> rects = Arrange(nodes, edges, places);
    NudgeApart(rects);
    int left = rects.front().left;
    int top = rects.front().top;
    for (const CPixelRect& rect : rects) {
        left = std::min(left, rect.left);
        top = std::min(top, rect.top);
    }
    std::vector<LayoutPlace> result;
    result.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        result.push_back({nodes[i].id, {rects[i].left - left + kMargin, rects[i].top - top + kMargin}});
    return result;
}

} // namespace

std::vector<LayoutPlace> LayOutLayered(const std::vector<LayoutNode>& nodes,
                                       const std::vector<LayoutEdge>& edges) {
    if (nodes.empty())
        return {};
    const IndexEdges indexEdges = AcyclicEdges(nodes, edges);
    const std::vector<ColumnPlace> columns = FallbackColumns(nodes, indexEdges);
    const long work = LayersPassed(indexEdges, columns);
    const auto centres = work <= kMaxWork ? LayoutCentres(nodes, indexEdges, work) : std::nullopt;
    return Place(nodes, indexEdges, centres ? ColumnsFromCentres(nodes, *centres) : columns);
}

std::vector<LayoutPlace> LayOutInColumns(const std::vector<LayoutNode>& nodes,
                                         const std::vector<LayoutEdge>& edges) {
    if (nodes.empty())
        return {};
    const IndexEdges indexEdges = AcyclicEdges(nodes, edges);
    return Place(nodes, indexEdges, FallbackColumns(nodes, indexEdges));
}

} // namespace kestra
