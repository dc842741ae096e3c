// Opening the Browse Library dialog on a library of 5,000 modules in 200 folders, on Qt's
// offscreen platform, up to its first paint: the folders are read, "LibraryOrg.dat" restores the
// expanded folders and the selection, and only the selected module is analysed. Target: under
// 300 ms.
#include "library/browse_library_dialog.h"
#include "offscreen_main.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

using namespace kestra;
namespace fs = std::filesystem;

constexpr int kGroups = 20;
constexpr int kFoldersPerGroup = 9;   // with the groups themselves: 200 folders
constexpr int kModulesPerFolder = 28; // in the 180 inner folders: 5,040 modules

std::string ModuleSource(const std::string& name) {
    return "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + name +
           " is\n\tgeneric (WIDTH : integer := 8; DEPTH : integer := 16);\n"
           "\tport (CLK : in std_logic; D : in std_logic; Q : out std_logic);\nend " +
           name + ";\n\narchitecture rtl of " + name + " is\nbegin\n\tQ <= D;\nend rtl;\n";
}

struct LargeLibrary {
    LargeLibrary() {
        for (int group = 0; group < kGroups; ++group) {
            const fs::path groupFolder = root / ("group" + std::to_string(group));
            for (int folder = 0; folder < kFoldersPerGroup; ++folder) {
                const fs::path inner = groupFolder / ("cores" + std::to_string(folder));
                fs::create_directories(inner);
                for (int module = 0; module < kModulesPerFolder; ++module) {
                    const std::string name = "M" + std::to_string(group) + "_" + std::to_string(folder) +
                                             "_" + std::to_string(module);
                    test::WriteBytes(inner / (name + ".vhd"), ModuleSource(name));
                }
            }
        }
        // The user left a few folders open and a module selected deep down.
        CBrowseLibraryDialog dialog(root, LibraryKind::Library, prompts);
        dialog.LoadLibrary();
        CLibraryTree& tree = dialog.Browser().Tree();
        for (const char* group : {"group3", "group11", "group19"})
            tree.SetExpanded(tree.FindItem({group}), true);
        dialog.SelectItem(tree.FindItem({"group11", "cores4", "M11_4_17"}));
        dialog.reject();
    }
    test::TempFolder folder;
    fs::path root = folder / "Library";
    CScriptedPrompts prompts;
};

void OpenLargeLibrary(benchmark::State& state) {
    LargeLibrary library;
    for (auto _ : state) {
        auto dialog =
            std::make_unique<CBrowseLibraryDialog>(library.root, LibraryKind::Library, library.prompts);
        dialog->LoadLibrary();
        dialog->show();
        benchmark::DoNotOptimize(dialog->grab());
        state.PauseTiming();
        dialog->reject();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenLargeLibrary)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kestra::bench::RunOffscreen(argc, argv);
}
