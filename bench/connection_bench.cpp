// The block diagram as the structure of the VHDL: a top of 40 instances, 70 ports and 400
// associations drawn from its source (reading, laid out, routed), a drag step of a block with 50
// connected lines, and one connection made in a project's source and analysed again.
#include "commands/analysis_commands.h"
#include "diagram/module_diagram.h"
#include "diagram/structure_diagram.h"
#include "model/vhdl_signal.h"
#include "panes/diagram_pane.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/open_projects.h"
#include "session/project_session.h"
#include "support/scripted_prompts.h"
#include "system/file_system.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kestra;

CVHDLSignal PortList(int inputs, int outputs) {
    CVHDLSignal ports;
    ports.SetSignalCount(inputs + outputs);
    for (int i = 0; i < inputs + outputs; ++i)
        ports.SetSignalAll(i, (i < inputs ? "I" : "O") + std::to_string(i < inputs ? i : i - inputs),
                           i < inputs ? "in" : "out", "std_logic", "", "");
    return ports;
}

// A top and the port lists of the units its instances name.
struct Scene : IModulePorts {
    std::string text;
    CVHDLSignal top;
    std::map<std::string, CVHDLSignal> units;
    std::vector<CChildModule> children;
    const CVHDLSignal* PortsOf(const std::string& name) const override {
        const auto found = units.find(name);
        return found != units.end() ? &found->second : nullptr;
    }
};

std::string Entity(const std::string& name, const CVHDLSignal& ports) {
    std::string text = "entity " + name + " is\n  port (";
    for (int i = 0; i < ports.GetSignalCount(); ++i)
        text += (i > 0 ? ";\n    " : "") + ports.GetSignalText(i, 0) + " : " + ports.GetSignalText(i, 1) +
                " std_logic";
    return text + ");\nend " + name + ";\n";
}

// 40 instances of four units with five inputs and five outputs each, in a chain: the first seven
// read the top's 35 inputs, the last seven drive its 35 outputs, the others pass signals on.
Scene ChainScene() {
    Scene scene;
    scene.top = PortList(35, 35);
    for (int u = 0; u < 4; ++u) {
        scene.units["UNIT" + std::to_string(u)] = PortList(5, 5);
        scene.children.push_back({"UNIT" + std::to_string(u), HierarchyKind::Normal});
    }
    std::string signals;
    std::string statements;
    for (int k = 0; k < 40; ++k) {
        statements += "  U" + std::to_string(k) + ": UNIT" + std::to_string(k % 4) + " port map (";
        for (int j = 0; j < 10; ++j) {
            std::string actual;
            if (j < 5)
                actual = k < 7 ? "I" + std::to_string((k * 5 + j) % 35)
                               : "s" + std::to_string(k - 1) + "_" + std::to_string(j);
            else if (k >= 33)
                actual = "O" + std::to_string(((k - 33) * 5 + j - 5) % 35);
            else
                actual = "s" + std::to_string(k) + "_" + std::to_string(j - 5);
            if (j >= 5 && k < 33)
                signals += "  signal " + actual + " : std_logic;\n";
            statements += (j > 0 ? ", " : "") + std::string(j < 5 ? "I" : "O") + std::to_string(j % 5) +
                          " => " + actual;
        }
        statements += ");\n";
    }
    scene.text = Entity("TOP", scene.top) + "architecture rtl of TOP is\n" + signals + "begin\n" +
                 statements + "end rtl;\n";
    return scene;
}

// One instance with 25 inputs and 25 outputs, each joined to a port of the top.
Scene HubScene() {
    Scene scene;
    scene.top = PortList(25, 25);
    scene.units["HUB"] = PortList(25, 25);
    scene.children.push_back({"HUB", HierarchyKind::Normal});
    std::string statements = "  U_HUB: HUB port map (";
    for (int j = 0; j < 50; ++j) {
        const std::string port = (j < 25 ? "I" : "O") + std::to_string(j % 25);
        statements += (j > 0 ? ", " : "") + port + " => " + port;
    }
    scene.text =
        Entity("TOP", scene.top) + "architecture rtl of TOP is\nbegin\n" + statements + ");\nend rtl;\n";
    return scene;
}

void Draw(CBlockDiagram& diagram, const Scene& scene) {
    diagram.SetModulePorts(&scene);
    const std::optional<ArchitectureStructure> structure = ReadArchitectureStructure(scene.text, "TOP");
    const CBlockData record;
    LoadModuleDiagram(diagram, &record, scene.children, &scene.top);
    DrawStructure(diagram, *structure, scene.children, StructurePlacement::LayOutAll);
}

int UnroutedLines(const CBlockDiagram& diagram) {
    int unrouted = 0;
    for (const auto& [id, line] : diagram.Lines().Lines())
        unrouted += IsUnrouted(line) ? 1 : 0;
    return unrouted;
}

void BM_DrawTopFromItsVhdl(benchmark::State& state) {
    const Scene scene = ChainScene();
    CBlockDiagram diagram;
    for (auto _ : state) {
        Draw(diagram, scene);
        benchmark::DoNotOptimize(diagram.Lines().Count());
    }
    state.counters["blocks"] = diagram.BlockCount();
    state.counters["lines"] = diagram.Lines().Count();
    state.counters["unrouted"] = UnroutedLines(diagram);
}
BENCHMARK(BM_DrawTopFromItsVhdl)->Unit(benchmark::kMillisecond);

// A drag step as the drop ends it: the block moves a grid step and its lines are routed again.
void BM_DragBlockWithFiftyLines(benchmark::State& state) {
    const Scene scene = HubScene();
    CBlockDiagram diagram;
    Draw(diagram, scene);
    int hub = -1;
    for (const auto& [id, block] : diagram.Blocks().Blocks())
        hub = block.kind == BlockKind::Module ? id : hub;
    int step = 0;
    for (auto _ : state) {
        const CPixelRect rect = diagram.BlockRect(hub);
        diagram.MoveBlock(hub, rect.Offset(0, (step++ % 2 == 0) ? kGridStep : -kGridStep));
        diagram.RevalidateAllLines();
        benchmark::DoNotOptimize(diagram.Lines().Count());
    }
    state.counters["lines"] = diagram.Lines().Count();
    state.counters["unrouted"] = UnroutedLines(diagram);
}
BENCHMARK(BM_DragBlockWithFiftyLines)->Unit(benchmark::kMillisecond);

// A project on disk whose top instantiates a child twice; each iteration connects an output pin
// to an input pin and takes the connection back (two source rewrites and analyses).
class ConnectionProject {
public:
    ConnectionProject() {
        std::random_device seed;
        m_folder = fs::temp_directory_path() / ("kestra-bench-" + std::to_string(std::mt19937_64(seed())()));
        fs::create_directories(m_folder);
        m_doc.SetIdentity({"bench", "host"});
        static_cast<void>(m_doc.OnNewDocument((m_folder / "bench.kst").string()));
        m_doc.OnFirstUpdate();
        CHierarchyItem* top =
            Add(m_doc.Tree().GetRootItem(), "TOP",
                "entity TOP is\n  port (A : in bit; Y : out bit);\nend TOP;\n"
                "architecture rtl of TOP is\n  signal m : bit;\nbegin\n"
                "  U1: CELL port map (D => A, Q => m);\n  U2: CELL port map (D => m, Q => Y);\n"
                "  U3: CELL port map (D => A, Q => open);\nend rtl;\n");
        Add(top, "CELL",
            "entity CELL is\n  port (D : in bit; Q : out bit);\nend CELL;\n"
            "architecture rtl of CELL is\nbegin\n  Q <= not D;\nend rtl;\n");
        m_top = top;
    }
    ~ConnectionProject() {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    CHierarchyItem* Add(CHierarchyItem* parent, const std::string& name, const std::string& text) {
        CHierarchyItem* item = m_doc.Tree().InsertItem(name, HierarchyKind::Normal, parent);
        item->Object()->SetEntryCount(1);
        item->Object()->SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
        static_cast<void>(ReplaceFileSafely(m_doc.GetModuleFolderPath() / (name + ".vhd"), text));
        return item;
    }
    CKSTDoc& Doc() { return m_doc; }
    CHierarchyItem* Top() { return m_top; }

private:
    fs::path m_folder;
    CScriptedPrompts m_prompts;
    CMemoryLog m_log;
    CKSTDoc m_doc{m_prompts, m_log};
    CHierarchyItem* m_top = nullptr;
};

void BM_ConnectOnePin(benchmark::State& state) {
    ConnectionProject project;
    COpenProjects projects;
    CProjectSession session(project.Doc(), projects);
    session.Select(project.Top());
    static_cast<void>(CAnalysisCommands(session).OnAnalyzeModule());
    CDiagramPane pane;
    pane.Show(&session, project.Top());
    const ConnectionEnd out{"U3", "Q"};
    const ConnectionEnd in{"U1", "D"};
    const ConnectionEnd port{"", "A"};
    for (auto _ : state) {
        state.PauseTiming();
        const bool freed = pane.ChangeConnection(ConnectionChange::Disconnect, in, port);
        state.ResumeTiming();
        const bool connected = pane.ChangeConnection(ConnectionChange::Connect, in, out);
        state.PauseTiming();
        const bool restored = pane.ChangeConnection(ConnectionChange::Disconnect, in, out) &&
                              pane.ChangeConnection(ConnectionChange::Connect, in, port);
        state.ResumeTiming();
        if (!freed || !connected || !restored) {
            state.SkipWithError("a connection was refused");
            break;
        }
    }
}
BENCHMARK(BM_ConnectOnePin)->Unit(benchmark::kMillisecond);

} // namespace
