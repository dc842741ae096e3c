#pragma once

#include "commands/completed_work.h"
#include "system/outcome.h"
#include "tools/external_tools.h"
#include "tools/fpga_report.h"
#include "tools/fpga_targets.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CMessageLog;
class CProjectSession;
class CSettingsStore;
class CProcessRunner;

// The root item's parameters the open toolchain's flow reads: the target ("iCE40 HX1K tq144"),
// the clock frequency place and route aims at (in MHz), the constraint file and the test bench
// (Link parameters, relative to the project's folder).
inline constexpr const char* kTargetEntry = "Target";
inline constexpr const char* kTargetFrequencyEntry = "Target_frequency";
inline constexpr const char* kConstraintsEntry = "Constraints";
inline constexpr const char* kTestbenchEntry = "Testbench";

// The program that shows a simulation's waveform, and what the user is told without it.
inline constexpr const char* kWaveformViewer = "gtkwave";
inline constexpr const char* kNoWaveformViewer = "The waveform viewer gtkwave was not found on PATH: install "
                                                 "the Debian package gtkwave to view waveforms.";

struct FlowSettings {
    std::string target;
    std::string frequency;
    std::filesystem::path constraints;
    std::filesystem::path testbench;
};

// The flow's parameters of the project's root item (names in any letter case); empty where
// there is none.
FlowSettings ReadFlowSettings(const CKSTDoc& doc);

// Whether the name is one of the flow's parameters (letter case ignored).
bool IsFlowSetting(std::string_view name);

// Sets the root item's flow parameter of the name, adding it when the root has none: the target
// and the frequency as Note entries, the files as Link entries, kinds every version of the
// project file reads. An empty value clears it. Fails with the reason, changing nothing, for a
// target the table lacks, a frequency that is no positive number of MHz, or another name.
[[nodiscard]] Outcome SetFlowSetting(CKSTDoc& doc, std::string_view name, const std::string& value);

// Synthesis: GHDL's synthesis of the generated design to a Verilog netlist, then yosys's for the
// family. Implementation: synthesis, place and route for the device with the constraint file,
// then the bitstream. Simulation: the generated design and the test bench analysed, elaborated
// and run by GHDL, writing a waveform; an assertion of severity error or failure fails it.
enum class FlowKind { Synthesis, Implementation, Simulation };

const char* FlowTitle(FlowKind kind);

// One program run of a flow: what the log calls it, the process, the file its standard output
// goes to (none: into the log), the name its messages carry, and the full log the program
// writes (none: its output is all there is), which its report is read from while the message
// log gets only its warnings and errors.
struct FlowStep {
    std::string title;
    ToolProcess process;
    std::filesystem::path standardOutput;
    std::string reportAs;
    std::filesystem::path fullLog;
};

struct FlowPlan {
    FlowKind kind = FlowKind::Synthesis;
    std::vector<FlowStep> steps;
    std::filesystem::path folder; // where every step runs and writes
    std::filesystem::path result; // the bitstream, the waveform, or the netlist
    FpgaTarget target;            // none for a simulation
    std::filesystem::path constraints;
};

struct FlowRequest {
    FlowKind kind = FlowKind::Synthesis;
    FlowSettings settings;
    GeneratedFile design;
    std::filesystem::path folder;
    bool vhdl2008 = false;
};

// The request for the flow of a generated design of the project: the project's settings, the
// folder "flow/TOP" in its destination folder, VHDL-2008 when a file of the design needs it.
FlowRequest FlowRequestFor(const CKSTDoc& doc, FlowKind kind, const GeneratedFile& design);

// The steps of the flow with the programs found on PATH; fails with what to set or install: no
// or an unknown target, no constraint file, no test bench or one without an entity, a program
// that is not installed (with the Debian package that has it).
[[nodiscard]] Result<FlowPlan> PlanFlow(const FlowRequest& request,
                                        const std::function<std::string(std::string_view)>& findProgram);

// The top module that holds the item: its ancestor just below the project's root (the first
// top for the root); null for a project without modules.
CHierarchyItem* FlowTopOf(CHierarchyItem* item);

// Generates the module as Generate does (the log has what it wrote or why it failed) and plans
// its flow (PlanFlow); the session's selection is as it was. Fails with the reason.
[[nodiscard]] Result<FlowPlan> PrepareFlow(CProjectSession& session, CHierarchyItem* module, FlowKind kind,
                                           const std::function<std::string(std::string_view)>& findProgram);

// The newest waveform the project's simulations wrote (flow/*/*.ghw in its destination
// folder); empty when there is none.
std::filesystem::path LatestWaveform(const CKSTDoc& doc);

struct FlowOutcome {
    bool passed = false;
    std::string failedStep; // the title of the step that failed; empty when all passed
    FlowReport report;
};

// Runs the steps in order into the plan's folder, each step's command line and output into the
// log, its messages as lines the log opens at their place, and stops at the first that fails:
// the program could not start or ended with an error, a message of it is an error, or (place and
// route) a clock misses its target. Then the summary (FlowSummaryText) and one line saying
// whether the flow passed.
FlowOutcome RunFlow(const FlowPlan& plan, CProcessRunner& runner, CMessageLog& log,
                    const std::atomic<bool>* cancel = nullptr);

// Whether the Tools menu's launch runs the flow instead of starting the program: it is the open
// toolchain's (yosys, a nextpnr, GHDL) and the project names no file of its own for the tool.
bool RunsOwnFlow(std::string_view program, std::string_view projectLink);

// The flow the launch of the tool runs: synthesis for the synthesizer, implementation for the
// implementation tool, simulation for the VHDL simulator, when the tool's program (as set, else
// the first of its search names on PATH) and the project's Link say so (RunsOwnFlow). None for
// the other tools, or when the program is another or none is found.
std::optional<FlowKind> OwnFlowOf(ExternalTool tool, CSettingsStore& settings, const CKSTDoc& doc,
                                  const std::function<std::string(std::string_view)>& findProgram);

} // namespace kestra
