// The open toolchain's flow: the project's settings, the steps planned from them, the reports
// read from the tools' own (recorded) output, and a run that stops at the first failed step.
#include "project/message_log.h"
#include "support/project_fixture.h"
#include "tools/fpga_flow.h"
#include "tools/vhdl_check.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::ProjectFixture;

const FpgaFamily& Ice40() {
    return FpgaFamilies().front();
}

// Place and route's report as the tool writes it: the device use, a first and a final timing
// estimate, a constraint for no port and a pin the package lacks.
const char* const kPlaceOutput =
    "Info: Device utilisation:\n"
    "Info: \t         ICESTORM_LC:   812/ 1280    63%\n"
    "Info: \t        ICESTORM_RAM:     3/   16    18%\n"
    "Info: \t               SB_IO:     9/  112     8%\n"
    "Info: \t               SB_GB:     1/    8    12%\n"
    "Info: \t        ICESTORM_PLL:     0/    1     0%\n"
    "\n"
    "Info: Max frequency for clock 'clk_sys$SB_IO_IN_$glb_clk': 58.10 MHz (PASS at 48.00 MHz)\n"
    "Warning: unmatched constraint 'BTN' (on line 7)\n"
    "Info: Max frequency for clock 'clk_sys$SB_IO_IN_$glb_clk': 41.33 MHz (FAIL at 48.00 MHz)\r\n"
    "ERROR: package does not have a pin named '200' (on line 4)\n";

// yosys's log: the statistics of a submodule, then the design's.
const char* const kSynthesisLog =
    "   Number of cells:                  4\n"
    "     SB_DFF                          4\n"
    "=== top ===\n"
    "   Number of cells:                 80\n"
    "     SB_CARRY                       20\n"
    "     SB_DFFER                        2\n"
    "     SB_DFFR                        26\n"
    "     SB_LUT4                        31\n"
    "ERROR: Module `\\\\missing' referenced in module `top' is not part of the design.\n";

TEST(FlowReport, DeviceUseClocksAndLocatedMessagesFromTheToolsOutput) {
    FlowReport report;
    ReadSynthesisReport(kSynthesisLog, Ice40(), report);
    ReadPlaceReport(kPlaceOutput, Ice40(), "/p/board pins.pcf", report);
    EXPECT_EQ(report.flipFlops, 28);
    ASSERT_EQ(report.resources.size(), 4u);
    EXPECT_EQ(report.resources[0].label, "logic cells");
    EXPECT_EQ(report.resources[0].used, 812);
    EXPECT_EQ(report.resources[0].available, 1280);
    EXPECT_EQ(report.resources[1].used, 3);
    ASSERT_EQ(report.clocks.size(), 1u);
    EXPECT_EQ(report.clocks[0].clock, "clk_sys");
    EXPECT_DOUBLE_EQ(report.clocks[0].maximumMHz, 41.33);
    EXPECT_TRUE(report.MissesTiming());

    ASSERT_EQ(report.messages.size(), 3u);
    EXPECT_TRUE(report.messages[0].file.empty());
    EXPECT_EQ(report.messages[1].file, "/p/board pins.pcf");
    EXPECT_EQ(report.messages[1].line, 7);
    EXPECT_TRUE(report.messages[1].error); // a pin constraint for no port is never ignored
    EXPECT_EQ(report.messages[2].line, 4);
    EXPECT_EQ(report.messages[2].text, "package does not have a pin named '200'");
    // The log opens a message at its place.
    const std::optional<SourceLocation> at =
        LocationInCheckLine(FlowMessageLine("nextpnr", report.messages[2]));
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(at->file, fs::path("/p/board pins.pcf"));
    EXPECT_EQ(at->line, 4);

    const std::string summary = FlowSummaryText(report, "/p/flow/top.bin");
    EXPECT_NE(
        summary.find("Device use: logic cells 812 / 1280, flip-flops 28, RAM blocks 3 / 16, I/O 9 / 112"),
        std::string::npos)
        << summary;
    EXPECT_NE(summary.find("Clock clk_sys: at most 41.33 MHz, target 48.00 MHz: MISSED."), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("Result: /p/flow/top.bin"), std::string::npos);
}

// The project's settings are added to its root as entries every version reads, and refused
// with the reason when the flow could not use them.
TEST(FlowSettingsOfAProject, SetReadAndRefused) {
    ProjectFixture project;
    ASSERT_TRUE(SetFlowSetting(project.doc, "target", "ice40 up5k"));
    ASSERT_TRUE(SetFlowSetting(project.doc, kTargetFrequencyEntry, "48 MHz"));
    ASSERT_TRUE(SetFlowSetting(project.doc, kConstraintsEntry, "board/pins.pcf"));
    EXPECT_FALSE(SetFlowSetting(project.doc, kTargetFrequencyEntry, "fast"));
    EXPECT_FALSE(SetFlowSetting(project.doc, kTargetEntry, "iCE40 UP5K tq144"));
    EXPECT_FALSE(SetFlowSetting(project.doc, "Synthesis", "x"));
    const CKSTObject& root = *project.Root()->Object();
    const int target = root.FindEntry(kTargetEntry);
    ASSERT_GT(target, 0);
    EXPECT_EQ(root.GetEntryKind(target), EntryKind::Note);
    EXPECT_EQ(root.GetEntryValue(target), "iCE40 UP5K sg48");
    EXPECT_EQ(root.GetEntryKind(root.FindEntry(kConstraintsEntry)), EntryKind::Link);

    const FlowSettings settings = ReadFlowSettings(project.doc);
    EXPECT_EQ(settings.frequency, "48");
    EXPECT_EQ(settings.constraints, (project.folder / "board" / "pins.pcf").lexically_normal());
    EXPECT_TRUE(settings.testbench.empty());
}

class FlowPlans : public ::testing::Test {
protected:
    FlowPlans() {
        request.settings = {"iCE40 HX8K ct256", "50", folder / "my pins.pcf", folder / "tb.vhd"};
        request.design.path = folder / "TOP.vhd";
        request.design.top = "TOP";
        request.design.libraryFiles = {{folder / "TOP.olo.vhd", "olo"}};
        request.folder = folder / "flow" / "TOP";
        test::WriteBytes(folder / "my pins.pcf", "set_io CLK 1\n");
        test::WriteBytes(folder / "tb.vhd",
                         "-- bench\nentity TB_TOP is end;\narchitecture a of TB_TOP is begin end;\n");
    }
    Result<FlowPlan> Plan(FlowKind kind, const std::string& missing = "") {
        request.kind = kind;
        return PlanFlow(request, [missing](std::string_view name) {
            return name == missing ? std::string() : "/usr/bin/" + std::string(name);
        });
    }
    static const FlowStep& StepOf(const FlowPlan& plan, const std::string& title) {
        for (const FlowStep& step : plan.steps) {
            if (step.title == title)
                return step;
        }
        ADD_FAILURE() << "no step " << title;
        return plan.steps.front();
    }
    test::TempFolder folder;
    FlowRequest request;
};

// Implementation: the other library's file first, GHDL's netlist to a file, yosys for the
// family, place and route for the device and package with the constraint file as one argument,
// then the packer; the result is the bitstream. Simulation runs the test bench's entity.
TEST_F(FlowPlans, TheStepsOfImplementationAndSimulation) {
    const Result<FlowPlan> plan = Plan(FlowKind::Implementation);
    ASSERT_TRUE(plan) << plan.Reason();
    std::vector<std::string> titles;
    for (const FlowStep& step : plan->steps)
        titles.push_back(step.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"GHDL analysis", "GHDL synthesis", "yosys synthesis",
                                                "Place and route", "Bitstream"}));
    EXPECT_EQ(plan->steps[0].process.arguments.back(), (folder / "TOP.olo.vhd").string());
    EXPECT_NE(std::find(plan->steps[0].process.arguments.begin(), plan->steps[0].process.arguments.end(),
                        "--work=olo"),
              plan->steps[0].process.arguments.end());
    EXPECT_EQ(StepOf(*plan, "GHDL synthesis").standardOutput, request.folder / "TOP.v");
    EXPECT_NE(StepOf(*plan, "yosys synthesis").process.arguments.back().find("synth_ice40 -top TOP"),
              std::string::npos);
    const std::vector<std::string>& place = StepOf(*plan, "Place and route").process.arguments;
    for (const std::string& wanted :
         {std::string("--hx8k"), std::string("ct256"), (folder / "my pins.pcf").string()})
        EXPECT_NE(std::find(place.begin(), place.end(), wanted), place.end()) << wanted;
    EXPECT_EQ(place.back(), "50");
    EXPECT_EQ(plan->result, request.folder / "TOP.bin");
    EXPECT_EQ(plan->steps.back().process.workingFolder, request.folder);

    const Result<FlowPlan> simulation = Plan(FlowKind::Simulation);
    ASSERT_TRUE(simulation) << simulation.Reason();
    const std::vector<std::string>& run = simulation->steps.back().process.arguments;
    EXPECT_EQ(run.front(), "-r");
    EXPECT_NE(std::find(run.begin(), run.end(), "TB_TOP"), run.end());
    EXPECT_NE(std::find(run.begin(), run.end(), "--assert-level=error"), run.end());
    EXPECT_EQ(simulation->result, request.folder / "TB_TOP.ghw");
}

// What is missing is said, naming what to set or which package to install.
TEST_F(FlowPlans, WhatIsMissingIsRefusedWithWhatToDo) {
    EXPECT_NE(Plan(FlowKind::Implementation, "nextpnr-ice40")
                  .Reason()
                  .find("install the Debian package nextpnr-ice40"),
              std::string::npos);
    EXPECT_NE(Plan(FlowKind::Implementation, "icepack").Reason().find("fpga-icestorm"), std::string::npos);
    request.settings.constraints = folder / "none.pcf";
    EXPECT_NE(Plan(FlowKind::Implementation).Reason().find("does not exist"), std::string::npos);
    EXPECT_TRUE(Plan(FlowKind::Synthesis)); // synthesis needs no constraint file
    request.settings.target.clear();
    EXPECT_NE(Plan(FlowKind::Synthesis).Reason().find("Set the project's parameter \"Target\""),
              std::string::npos);
    test::WriteBytes(folder / "tb.vhd", "package P is end;\n");
    EXPECT_NE(Plan(FlowKind::Simulation).Reason().find("declares no entity"), std::string::npos);
}

// A runner that answers each program with a scripted status and output.
class CScriptedFlowRunner : public CProcessRunner {
public:
    int Run(const std::string& program, const std::vector<std::string>&, const std::filesystem::path&,
            std::string& output, const std::atomic<bool>*) override {
        ran.push_back(fs::path(program).filename().string());
        output = program.ends_with("nextpnr-ice40") ? kPlaceOutput : "ok\n";
        return program.ends_with("nextpnr-ice40") ? 255 : 0;
    }
    std::vector<std::string> ran;
};

// The run stops at the step that fails, writes the located messages and says where it failed;
// the netlist written from the program's output lands in its file.
TEST_F(FlowPlans, ARunStopsAtTheFailedStep) {
    Result<FlowPlan> plan = Plan(FlowKind::Implementation);
    ASSERT_TRUE(plan);
    CScriptedFlowRunner runner;
    CMemoryLog log;
    const FlowOutcome outcome = RunFlow(*plan, runner, log);
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.failedStep, "Place and route");
    EXPECT_EQ(runner.ran, (std::vector<std::string>{"ghdl", "ghdl", "yosys", "nextpnr-ice40"}));
    EXPECT_EQ(test::ReadBytes(request.folder / "TOP.v"), "ok\n");
    EXPECT_NE(
        log.Text().find("nextpnr: " + (folder / "my pins.pcf").string() + ":4:1: error: package does not"),
        std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find("ERROR: Implementation failed at Place and route."), std::string::npos);
    EXPECT_EQ(log.Text().find("Result:"), std::string::npos);
}

} // namespace
} // namespace kestra
