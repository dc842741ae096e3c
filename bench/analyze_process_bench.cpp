// Analysing one large module written in the tool's own form (2,000 generics, 30,000 ports, 30,000
// signals, about 3 MB): the whole `kestra analyze` process beside `ghdl -a` of the same file, run
// in turns, and the same analysis inside one process (read, analyse, refresh the components).
#include "commands/analysis_commands.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/open_projects.h"
#include "session/project_session.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "system/file_system.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace kestra;

constexpr int kGenerics = 2000;
constexpr int kPorts = 30000;
constexpr int kSignals = 30000;

// The module as the tool writes it: CR LF, tab indents, one generic of a tool type per line, an
// entity declarative part of types and constants, then an architecture of signals and assignments.
std::string ToolFormModule(const std::string& name) {
    std::string text = "-- " + name +
                       "\r\nlibrary IEEE;\r\nuse IEEE.std_logic_1164.all;\r\n"
                       "use IEEE.std_logic_arith.all;\r\n\r\nentity " +
                       name + " is\r\n\tgeneric (\r\n";
    for (int i = 0; i < kGenerics; ++i) {
        const std::string n = std::to_string(i);
        const std::string values[] = {"WIDTH_" + n + " : integer := 8", "LEVEL_" + n + " : std_logic := '1'",
                                      "LABEL_" + n + " : string := \"unit " + n + "\""};
        text += "\t\t" + values[i % 3] + (i + 1 < kGenerics ? ";\r\n" : "\r\n");
    }
    text += "\t);\r\n\tport (\r\n";
    for (int i = 0; i < kPorts; ++i) {
        const std::string n = std::to_string(i);
        text += i % 2 == 0 ? "\t\td_in_" + n + " : in STD_LOGIC_VECTOR(7 downto 0)"
                           : "\t\td_out_" + n + " : out STD_LOGIC_VECTOR(7 downto 0)";
        text += i + 1 < kPorts ? ";\r\n" : "\r\n";
    }
    text += "\t);\r\n\ttype ENUM_MODE is (slow, fast);\r\n\tconstant MODE: ENUM_MODE := fast;\r\nend " +
            name + ";\r\n\r\n";
    text += "architecture " + name + "_arch of " + name + " is\r\n";
    for (int i = 0; i < kSignals; ++i)
        text += "\tsignal s_" + std::to_string(i) + " : STD_LOGIC_VECTOR(7 downto 0);\r\n";
    text += "begin\r\n";
    for (int i = 0; i + 1 < kPorts; i += 4)
        text += "\td_out_" + std::to_string(i + 1) + " <= d_in_" + std::to_string(i) + ";\r\n";
    return text + "end " + name + "_arch;\r\n";
}

// Runs a program without a shell, its output thrown away; its time in milliseconds, or a negative
// number when it could not start or did not exit with 0.
double TimedRun(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1.0;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

#ifdef KESTRA_EXECUTABLE
// Each iteration runs `kestra analyze` (the time measured) and then, when it is installed, GHDL on
// the same file (timed beside it), so that both see the same machine state.
void BM_AnalyzeWholeProcess(benchmark::State& state) {
    test::TempFolder folder;
    const std::string project = (folder.Path() / "P.kst").string();
    const std::string kestra = KESTRA_EXECUTABLE;
    if (TimedRun({kestra, "new", project}) < 0 || TimedRun({kestra, "add", project, "ProjectA", "BIG"}) < 0) {
        state.SkipWithError("kestra could not make the project");
        return;
    }
    const fs::path source = folder.Path() / "ProjectA" / "BIG.vhd";
    const std::string text = ToolFormModule("BIG");
    static_cast<void>(ReplaceFileSafely(source, text));
    const std::vector<std::string> analyze = {kestra, "analyze", project, "BIG"};
    const fs::path work = folder.Path() / "work";
    fs::create_directories(work);
    const std::vector<std::string> ghdl = {
        "ghdl",         "-a", "--std=93c", "--ieee=synopsys", "-fexplicit", "--workdir=" + work.string(),
        source.string()};
    const bool withGhdl = TimedRun(ghdl) >= 0;
    if (TimedRun(analyze) < 0) {
        state.SkipWithError("kestra analyze failed");
        return;
    }
    std::vector<double> kestraTimes;
    std::vector<double> ghdlTimes;
    for (auto _ : state) {
        const double time = TimedRun(analyze);
        state.PauseTiming();
        kestraTimes.push_back(time);
        if (withGhdl)
            ghdlTimes.push_back(TimedRun(ghdl));
        state.ResumeTiming();
    }
    state.counters["source_bytes"] = static_cast<double>(text.size());
    state.counters["kestra_median_ms"] = Median(kestraTimes);
    if (withGhdl) {
        state.counters["ghdl_median_ms"] = Median(ghdlTimes);
        state.counters["ghdl_over_kestra"] = Median(ghdlTimes) / Median(kestraTimes);
    }
}
BENCHMARK(BM_AnalyzeWholeProcess)->Unit(benchmark::kMillisecond)->Iterations(9);
#endif

// The same analysis in one process: the source read, its entity and architectures analysed and
// its component declarations refreshed, as Analyze Module does.
void BM_AnalyzeCommandInProcess(benchmark::State& state) {
    test::TempFolder folder;
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc(prompts, log);
    doc.SetIdentity({"bench", "host"});
    static_cast<void>(doc.OnNewDocument((folder.Path() / "bench.kst").string()));
    doc.OnFirstUpdate();
    CHierarchyItem* item = doc.Tree().InsertItem("BIG", HierarchyKind::Normal, doc.Tree().GetRootItem());
    item->Object()->SetEntryCount(1);
    item->Object()->SetEntry(0, EntryKind::Vhdl, "BIG", "BIG.vhd");
    const std::string text = ToolFormModule("BIG");
    static_cast<void>(ReplaceFileSafely(doc.GetModuleFolderPath() / "BIG.vhd", text));
    COpenProjects projects;
    CProjectSession session(doc, projects);
    session.Select(item);
    for (auto _ : state) {
        if (!CAnalysisCommands(session).OnAnalyzeModule()) {
            state.SkipWithError(("the module did not analyse: " + log.Text()).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_AnalyzeCommandInProcess)->Unit(benchmark::kMillisecond);

} // namespace
