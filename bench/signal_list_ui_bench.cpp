// Loading the signal list pane with a module of 30,000 ports and scrolling to its end, on Qt's
// offscreen platform. Target: the load under 200 ms.
#include "offscreen_main.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/project_session.h"
#include "signallist/signal_list_view.h"
#include "support/memory_settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace kestra;

constexpr int kPorts = 30000;

struct WideModule {
    WideModule() : doc(prompts, log), session(doc, projects) {
        doc.SetIdentity({"bench", "bench"});
        // Only the records in memory are measured: the project file is not needed.
        static_cast<void>(doc.OnNewDocument((folder / "wide.kst").string()));
        doc.OnFirstUpdate();
        item = doc.Tree().InsertItem("WIDE", HierarchyKind::Normal, doc.Tree().GetRootItem());
        CVHDLSignal& ports = *item->Signals();
        ports.SetSignalCount(kPorts);
        const char* const modes[] = {"in", "out", "inout", "buffer"};
        for (int i = 0; i < kPorts; ++i)
            ports.SetSignalAll(i, "P" + std::to_string(i), modes[i % 4],
                               i % 3 == 0 ? "STD_LOGIC_VECTOR" : "BIT", i % 3 == 0 ? "7 downto 0" : "", "");
    }
    test::TempFolder folder;
    CScriptedPrompts prompts;
    CMemoryLog log;
    CKSTDoc doc;
    COpenProjects projects;
    CProjectSession session;
    CHierarchyItem* item = nullptr;
};

void LoadWideModule(benchmark::State& state) {
    WideModule module;
    CMemorySettings settings;
    CSignalListView view(settings);
    view.resize(600, 400);
    view.show();
    for (auto _ : state) {
        view.SetOwner(&module.session, module.item);
        benchmark::DoNotOptimize(view.model()->rowCount());
        state.PauseTiming();
        view.SetOwner(nullptr, nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(LoadWideModule)->Unit(benchmark::kMillisecond);

void LoadAndScrollToTheEnd(benchmark::State& state) {
    WideModule module;
    CMemorySettings settings;
    CSignalListView view(settings);
    view.resize(600, 400);
    view.show();
    for (auto _ : state) {
        view.SetOwner(&module.session, module.item);
        view.scrollToBottom();
        view.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        view.SetOwner(nullptr, nullptr);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadAndScrollToTheEnd)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kestra::bench::RunOffscreen(argc, argv);
}
