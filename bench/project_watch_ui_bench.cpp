// What following other programs' writes costs on a project of 10,000 modules, each with a
// small source file of its own: starting to watch (the look at every file's attributes and
// one watch per folder and file) as it is added to opening the project, and noticing one
// edited source and analysing it again (the window waits CProjectWatch::kSettleMilliseconds
// of quiet before it looks, which comes on top of the figure).
// The core's headers before Qt's, whose "signals" keyword they use as a name.
// clang-format off
// The core's headers before Qt's, whose "signals" keyword they use as a name.
#include "analysis/scanner.h"
#include "operations/analyze_module.h"
#include "operations/outside_changes.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/scripted_prompts.h"
#include "system/file_system.h"
#include "offscreen_main.h"
#include "projectframe/project_watch.h"
// clang-format on

#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kestra;

constexpr int kModules = 10000;

std::string Source(const std::string& name, int revision) {
    return "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + name +
           " is\n\tgeneric (WIDTH: integer := " + std::to_string(revision) +
           ");\n\tport (a: in std_logic; y: out std_logic);\nend " + name + ";\n\narchitecture rtl of " +
           name + " is\nbegin\n\ty <= a;\nend rtl;\n";
}

class WatchedProject {
public:
    WatchedProject() {
        std::random_device seed;
        m_folder = fs::temp_directory_path() / ("kestra-bench-" + std::to_string(std::mt19937_64(seed())()));
        fs::create_directories(m_folder);
        m_path = (m_folder / "watched.kst").string();
        CKSTDoc doc(m_prompts, m_log);
        static_cast<void>(doc.OnNewDocument(m_path));
        doc.OnFirstUpdate();
        fs::create_directories(doc.GetModuleFolderPath());
        CHierarchyTree& tree = doc.Tree();
        for (int number = 0; number < kModules; ++number) {
            const std::string name = "M" + std::to_string(number);
            CHierarchyItem* item = tree.InsertItem(name, HierarchyKind::Normal, tree.GetRootItem());
            item->Object()->SetEntryCount(1);
            item->Object()->SetEntry(0, EntryKind::Vhdl, name, name + ".vhd");
            static_cast<void>(
                ReplaceFileSafely(doc.GetModuleFolderPath() / (name + ".vhd"), Source(name, 1)));
        }
        static_cast<void>(doc.DoFileSave());
    }
    ~WatchedProject() {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    bool Open(CKSTDoc& doc) {
        if (!doc.OnOpenDocument(m_path))
            return false;
        doc.OnFirstUpdate();
        return doc.Tree().ItemCount() == kModules + 1;
    }
    CScriptedPrompts& Prompts() { return m_prompts; }
    CMemoryLog& Log() { return m_log; }

private:
    fs::path m_folder;
    std::string m_path;
    CScriptedPrompts m_prompts;
    CMemoryLog m_log;
};

WatchedProject& Project() {
    static WatchedProject project;
    return project;
}

void BM_OpenProject(benchmark::State& state) {
    for (auto _ : state) {
        CKSTDoc doc(Project().Prompts(), Project().Log());
        if (!Project().Open(doc))
            state.SkipWithError("open failed");
    }
}

// What the window adds to opening: the baseline and the watches of an open project.
void BM_StartWatching(benchmark::State& state) {
    CKSTDoc doc(Project().Prompts(), Project().Log());
    if (!Project().Open(doc)) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        CProjectWatch watch(doc);
        watch.Restart();
        if (watch.Incomplete())
            state.SkipWithError("the system refused watches");
        state.PauseTiming();
        watch.Stop();
        state.ResumeTiming();
    }
}

// One source edited by another program: the look that finds it and its analysis.
void BM_NoticeAndAnalyzeOneChangedSource(benchmark::State& state) {
    CKSTDoc doc(Project().Prompts(), Project().Log());
    if (!Project().Open(doc)) {
        state.SkipWithError("open failed");
        return;
    }
    CDiskBaseline baseline;
    baseline.Take(doc);
    AnalysisContext context;
    const fs::path edited = doc.GetModuleFolderPath() / "M5000.vhd";
    int revision = 2;
    for (auto _ : state) {
        state.PauseTiming();
        static_cast<void>(ReplaceFileSafely(edited, Source("M5000", revision++)));
        state.ResumeTiming();
        const CDiskBaseline::Changes changes = baseline.Look(doc);
        if (changes.changedSources.size() != 1)
            state.SkipWithError("the change was not noticed");
        for (CHierarchyItem* item : changes.changedSources)
            AnalyzeModule(doc, item, context);
        doc.Log().ClearLog();
    }
}

BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWatching)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoticeAndAnalyzeOneChangedSource)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    static_cast<void>(Project()); // made before the first measurement
    return kestra::bench::RunOffscreen(argc, argv);
}
