// Load and save of a synthetic project of 10,000 modules (a root with 100 modules of 99
// children each), every module with ten parameters, ten signals and a diagram of ten blocks
// and ten lines.
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/scripted_prompts.h"
#include "system/file_system.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kestra;

void FillModule(CHierarchyItem& item, int number) {
    const std::string name = item.Text();
    CKSTObject& object = *item.Object();
    object.SetEntryCount(11);
    object.SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
    const std::vector<std::string> levels{"HIGH", "LOW"};
    for (int p = 1; p <= 10; ++p) {
        const std::string parameter = "P" + std::to_string(p);
        switch (p % 3) {
        case 0:
            object.SetEntry(p, EntryKind::Numeric, parameter, std::to_string(number % 64));
            break;
        case 1:
            object.SetEntry(p, EntryKind::DataType, parameter, "std_logic_vector(7 downto 0)");
            break;
        default:
            object.SetEntry(p, EntryKind::Logic, parameter, "HIGH");
            object.SetChoiceList(p, &levels);
            break;
        }
    }
    object.SetAnalysedTime(0x89ABCDEF, 0x01DA0000);

    CVHDLSignal& signals = *item.Signals();
    signals.SetSignalCount(10);
    for (int s = 0; s < 10; ++s)
        signals.SetSignalAll(s, "sig" + std::to_string(s), s < 5 ? "in" : "out", "std_logic_vector",
                             "7 downto 0", "");

    CBlockData& blocks = *item.BlockData();
    blocks.Resize(10);
    for (int b = 0; b < 10; ++b) {
        const std::int32_t left = 50 + 120 * b;
        blocks.SetBlock(b, b < 5 ? "CHILD" + std::to_string(b) : "\\T:sig" + std::to_string(b), b,
                        {left, 40, left + 80, 100},
                        b < 5 ? ModuleColour(HierarchyKind::Normal) : PortColour(BlockKind::OutPort));
    }
    for (int l = 0; l < 10; ++l) {
        LineRecord line;
        line.attributes = LineRecord::ArrowEnd | 1;
        line.fromId = static_cast<std::uint32_t>(l);
        line.toId = static_cast<std::uint32_t>((l + 1) % 10);
        const std::int32_t x = 130 + 120 * l;
        line.points = {{x, 70}, {x + 20, 70}, {x + 20, 120}, {x + 40, 120}};
        blocks.AddLine(line);
    }
}

class SyntheticProject {
public:
    SyntheticProject() {
        std::random_device seed;
        m_folder = fs::temp_directory_path() / ("kestra-bench-" + std::to_string(std::mt19937_64(seed())()));
        fs::create_directories(m_folder);
        m_path = (m_folder / "bench.kst").string();
        m_doc.SetIdentity({"bench", "host"});
        // A project that cannot be written makes the benchmarks that save and load it skip with
        // an error.
        static_cast<void>(m_doc.OnNewDocument(m_path));
        m_doc.OnFirstUpdate();
        CHierarchyTree& tree = m_doc.Tree();
        int number = 0;
        for (int top = 0; top < 100; ++top) {
            CHierarchyItem* parent =
                tree.InsertItem("M" + std::to_string(number), HierarchyKind::Normal, tree.GetRootItem());
            FillModule(*parent, number++);
            for (int child = 0; child < 99; ++child) {
                CHierarchyItem* item =
                    tree.InsertItem("M" + std::to_string(number), HierarchyKind::Normal, parent);
                FillModule(*item, number++);
            }
        }
        static_cast<void>(m_doc.DoFileSave());
    }
    ~SyntheticProject() {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }

    CKSTDoc& Doc() { return m_doc; }
    const std::string& Path() const { return m_path; }
    CScriptedPrompts& Prompts() { return m_prompts; }
    CMemoryLog& Log() { return m_log; }

private:
    fs::path m_folder;
    std::string m_path;
    CScriptedPrompts m_prompts;
    CMemoryLog m_log;
    CKSTDoc m_doc{m_prompts, m_log};
};

SyntheticProject& Project() {
    static SyntheticProject project;
    return project;
}

void BM_ProjectSave(benchmark::State& state) {
    SyntheticProject& project = Project();
    for (auto _ : state) {
        if (!project.Doc().DoFileSave())
            state.SkipWithError("save failed");
    }
    state.counters["modules"] = project.Doc().Tree().ItemCount() - 1;
    state.counters["file_bytes"] = static_cast<double>(FileSize(project.Path()).value_or(0));
}

void BM_ProjectLoad(benchmark::State& state) {
    SyntheticProject& project = Project();
    for (auto _ : state) {
        CKSTDoc doc(project.Prompts(), project.Log());
        doc.SetIdentity({"bench", "host"});
        if (!doc.OnOpenDocument(project.Path()) || doc.Tree().ItemCount() != 10001)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.Tree().GetRootItem());
    }
}

// The same two steps without the file system.
void BM_ProjectStoreToBytes(benchmark::State& state) {
    SyntheticProject& project = Project();
    for (auto _ : state)
        benchmark::DoNotOptimize(project.Doc().StoreToBytes());
}

void BM_ProjectLoadFromBytes(benchmark::State& state) {
    SyntheticProject& project = Project();
    const std::string bytes = project.Doc().StoreToBytes();
    for (auto _ : state) {
        CKSTDoc doc(project.Prompts(), project.Log());
        doc.SetIdentity({"bench", "host"});
        if (!doc.LoadFromBytes(bytes))
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}

BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectStoreToBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectLoadFromBytes)->Unit(benchmark::kMillisecond);

} // namespace
