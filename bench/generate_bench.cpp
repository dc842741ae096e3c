// Generate on synthetic hierarchies of depth 4, beside the time it takes just to read every
// source once: generation must grow no faster than the text it writes.
#include "commands/generate_commands.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/scripted_prompts.h"
#include "system/file_system.h"

#include <benchmark/benchmark.h>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace kestra;

std::string ModuleSource(const std::string& name) {
    return "library IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n\r\n"
           "entity " +
           name +
           " is\r\n"
           "\tgeneric (W : integer := 4; LEVEL : std_logic := '1');\r\n"
           "\tport (CLK : in std_logic; D : in std_logic_vector(W-1 downto 0); "
           "Q : out std_logic_vector(W-1 downto 0));\r\n"
           "end " +
           name +
           ";\r\n\r\n"
           "architecture " +
           name + "_arch of " + name +
           " is\r\n"
           "\tsignal s : std_logic_vector(W-1 downto 0);\r\n"
           "begin\r\n"
           "\ts <= D when CLK = LEVEL else (others => '0');\r\n"
           "\tQ <= s;\r\n"
           "end " +
           name + "_arch;\r\n";
}

// A project with `count` modules below one top module, three levels of children under it,
// analysed once so that every parent declares and instantiates its children.
struct SyntheticProject {
    explicit SyntheticProject(int count) : doc(prompts, log), session(doc, projects) {
        folder = fs::temp_directory_path() / ("kestra-generate-bench-" + std::to_string(count) + "-" +
                                              std::to_string(std::random_device()()));
        fs::create_directories(folder);
        // A project that cannot be written fails the generation, which the benchmark reports.
        static_cast<void>(doc.OnNewDocument((folder / "bench.kst").string()));
        doc.OnFirstUpdate();
        // Fan-out f with 1 + f + f^2 + f^3 >= count.
        int fanOut = 1;
        while (1 + fanOut + fanOut * fanOut + fanOut * fanOut * fanOut < count)
            ++fanOut;
        std::deque<std::pair<CHierarchyItem*, int>> open;
        top = Add(doc.Tree().GetRootItem(), "M0");
        open.emplace_back(top, 0);
        int made = 1;
        while (made < count && !open.empty()) {
            auto [parent, depth] = open.front();
            open.pop_front();
            for (int i = 0; i < fanOut && made < count && depth < 3; ++i) {
                CHierarchyItem* child = Add(parent, "M" + std::to_string(made++));
                open.emplace_back(child, depth + 1);
            }
        }
        session.Select(top);
        CAnalysisCommands(session).OnAnalyzeModule();
        for (CHierarchyItem* item = top; item != nullptr; item = doc.Tree().NextItem(item, top))
            sources.push_back(doc.GetModuleFolderPath() / (item->Text() + ".vhd"));
    }
    ~SyntheticProject() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    CHierarchyItem* Add(CHierarchyItem* parent, const std::string& name) {
        CHierarchyItem* item = doc.Tree().InsertItem(name, HierarchyKind::Normal, parent);
        item->Object()->SetEntryCount(1);
        item->Object()->SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
        // A module left without its source fails the generation, which the benchmark reports.
        static_cast<void>(ReplaceFileSafely(doc.GetModuleFolderPath() / (name + ".vhd"), ModuleSource(name)));
        return item;
    }

    fs::path folder;
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc;
    COpenProjects projects;
    CProjectSession session;
    CHierarchyItem* top = nullptr;
    std::vector<fs::path> sources;
};

SyntheticProject& Project(int count) {
    static std::map<int, std::unique_ptr<SyntheticProject>> projects;
    auto& project = projects[count];
    if (!project)
        project = std::make_unique<SyntheticProject>(count);
    return *project;
}

void BM_Generate(benchmark::State& state) {
    SyntheticProject& project = Project(static_cast<int>(state.range(0)));
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        project.session.Select(project.top);
        project.log.ClearLog();
        if (!CGenerateCommands(project.session).OnGenerate()) {
            state.SkipWithError("generation failed");
            return;
        }
        bytes = FileSize(project.doc.ResolvePath(project.doc.GetDestinationFolder()) / "M0.vhd").value_or(0);
    }
    state.counters["modules"] = static_cast<double>(project.sources.size());
    state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Generate)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAllSources(benchmark::State& state) {
    SyntheticProject& project = Project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t total = 0;
        for (const fs::path& source : project.sources)
            total += ReadWholeFile(source).ValueOr(std::string()).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadAllSources)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
