// Importing a design of the size of a small processor (60 files, about 1.5 MB of VHDL, 40
// entities, 2 packages): the whole `kestra import` process on a new project, the import inside
// one process (read, plan, copy, build the tree, analyse), and GHDL analysing the same files
// for comparison.
#include "commands/import_commands.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/open_projects.h"
#include "session/project_session.h"
#include "support/design_counters.h"
#include "support/scripted_prompts.h"
#include "support/synthetic_design.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

using namespace kestra;

// A new project in a folder of its own, with its session.
class BenchProject {
public:
    explicit BenchProject(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        m_doc.SetIdentity({"bench", "host"});
        static_cast<void>(m_doc.OnNewDocument((folder / "bench.kst").string()));
        m_doc.OnFirstUpdate();
        m_session.Select(m_doc.Tree().GetRootItem());
    }
    CProjectSession& Session() { return m_session; }
    const CMemoryLog& Log() const { return m_log; }

private:
    CScriptedPrompts m_prompts;
    CMemoryLog m_log;
    CKSTDoc m_doc{m_prompts, m_log};
    COpenProjects m_projects;
    CProjectSession m_session{m_doc, m_projects};
};

void BM_ImportInProcess(benchmark::State& state) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "design");
    const bench::SyntheticDesign design = bench::WriteSyntheticDesign(folder.Path() / "design");
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto project = std::make_unique<BenchProject>(folder.Path() / ("p" + std::to_string(++round)));
        state.ResumeTiming();
        const DesignImportPreview preview = PreviewDesignImport({{folder.Path() / "design"}, {}});
        if (!CImportCommands(project->Session()).OnImportDesign(preview)) {
            state.SkipWithError(("the import failed: " + project->Log().Text()).c_str());
            return;
        }
        state.PauseTiming();
        project.reset();
        state.ResumeTiming();
    }
    bench::DescribeDesign(state, design);
}
BENCHMARK(BM_ImportInProcess)->Unit(benchmark::kMillisecond);

int Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

#ifdef KESTRA_EXECUTABLE
void BM_ImportWholeProcess(benchmark::State& state) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "design");
    const bench::SyntheticDesign design = bench::WriteSyntheticDesign(folder.Path() / "design");
    const std::string kestra = std::string("'") + KESTRA_EXECUTABLE + "'";
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path project = folder.Path() / ("p" + std::to_string(++round)) / "P.kst";
        std::filesystem::create_directories(project.parent_path());
        if (Run(kestra + " new '" + project.string() + "'") != 0) {
            state.SkipWithError("kestra new failed");
            return;
        }
        state.ResumeTiming();
        if (Run(kestra + " import '" + project.string() + "' ProjectA '" +
                (folder.Path() / "design").string() + "'") != 0) {
            state.SkipWithError("kestra import failed");
            return;
        }
    }
    bench::DescribeDesign(state, design);
}
BENCHMARK(BM_ImportWholeProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

// GHDL analysing the same files into a fresh library each time: in one run (argument 0), or one
// run per file as the tool's check does (argument 1).
void BM_GhdlAnalyzesTheFiles(benchmark::State& state) {
    if (Run("command -v ghdl") != 0) {
        state.SkipWithError("ghdl is not on PATH");
        return;
    }
    test::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "design");
    const bench::SyntheticDesign design = bench::WriteSyntheticDesign(folder.Path() / "design");
    std::string files;
    for (const std::filesystem::path& file : design.files)
        files += " '" + file.string() + "'";
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path work = folder.Path() / ("work" + std::to_string(++round));
        std::filesystem::create_directories(work);
        state.ResumeTiming();
        const std::string ghdl =
            "ghdl -a --std=93c --ieee=synopsys -fexplicit --workdir='" + work.string() + "'";
        bool analysed = true;
        if (state.range(0) == 0) {
            analysed = Run(ghdl + files) == 0;
        } else {
            for (const std::filesystem::path& file : design.files)
                analysed = analysed && Run(ghdl + " '" + file.string() + "'") == 0;
        }
        if (!analysed) {
            state.SkipWithError("ghdl found errors");
            return;
        }
    }
    bench::DescribeDesign(state, design);
}
BENCHMARK(BM_GhdlAnalyzesTheFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
