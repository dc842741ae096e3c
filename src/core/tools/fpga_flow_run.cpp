#include "project/message_log.h"
#include "system/file_system.h"
#include "text/char_class.h"
#include "tools/fpga_flow.h"
#include "tools/vhdl_check.h"

#include <algorithm>

namespace kestra {

namespace {

// The output's lines as log lines.
std::string LogLines(std::string_view output) {
    std::string text;
    for (std::string_view line : TextLines(output))
        text += kLogNewLine + std::string(line);
    return text;
}

// The messages of one step's output, added to the report; the run of a simulation has none of
// its own (its reports and assertions are the test bench's, its exit status says how it went).
void ReadStepMessages(const FlowStep& step, const FlowPlan& plan, std::string_view output,
                      FlowReport& report) {
    if (step.reportAs == "GHDL" && step.title != "Simulation") {
        for (CheckMessage& message : ParseAnalyzerOutput(VhdlAnalyzer::Kind::Ghdl, output))
            report.messages.push_back(std::move(message));
    } else if (step.reportAs == "yosys") {
        ReadSynthesisReport(output, *plan.target.family, report);
    } else if (step.reportAs == "nextpnr") {
        ReadPlaceReport(output, *plan.target.family, plan.constraints, report);
    }
}

bool RunStep(const FlowStep& step, const FlowPlan& plan, CProcessRunner& runner, CMessageLog& log,
             FlowReport& report, const std::atomic<bool>* cancel) {
    const ToolProcess& process = step.process;
    log.AppendLog(ToolStartLine(process));
    std::string output;
    const int status =
        step.standardOutput.empty()
            ? runner.Run(process.program, process.arguments, process.workingFolder, output, cancel)
            : runner.RunToFile(process.program, process.arguments, process.workingFolder, step.standardOutput,
                               output, cancel);
    log.AppendLog(LogLines(output));
    const std::size_t known = report.messages.size();
    // A program that writes a full log is read there (its output has only its warnings and errors).
    const std::string full =
        step.fullLog.empty() ? std::string() : ReadWholeFile(step.fullLog).ValueOr(std::string());
    ReadStepMessages(step, plan, full.empty() ? output : full, report);
    bool failed = status != 0;
    for (std::size_t i = known; i < report.messages.size(); ++i) {
        log.AppendLog(kLogNewLine + FlowMessageLine(step.reportAs, report.messages[i]));
        failed = failed || report.messages[i].error;
    }
    log.AppendLog(ToolEndLine(process.title, status, status < 0));
    if (step.reportAs == "nextpnr" && report.MissesTiming()) {
        log.AppendError("A clock misses its target frequency: the placed design is not used.");
        failed = true;
    }
    return !failed;
}

} // namespace

FlowOutcome RunFlow(const FlowPlan& plan, CProcessRunner& runner, CMessageLog& log,
                    const std::atomic<bool>* cancel) {
    FlowOutcome outcome;
    std::error_code error;
    std::filesystem::create_directories(plan.folder, error);
    if (error) {
        log.AppendError("Cannot make the folder " + plan.folder.string() + ": " + error.message() + ".");
        outcome.failedStep = "the flow's folder";
        return outcome;
    }
    for (const FlowStep& step : plan.steps) {
        if (cancel != nullptr && cancel->load()) {
            outcome.failedStep = step.title;
            break;
        }
        if (!RunStep(step, plan, runner, log, outcome.report, cancel)) {
            outcome.failedStep = step.title;
            break;
        }
    }
    outcome.passed = outcome.failedStep.empty();
    log.AppendLog(FlowSummaryText(outcome.report, outcome.passed ? plan.result : std::filesystem::path()));
    const std::string title = FlowTitle(plan.kind);
    if (outcome.passed)
        log.AppendLog(kLogNewLine + title + " passed.");
    else
        log.AppendError(title + " failed at " + outcome.failedStep + ".");
    return outcome;
}

} // namespace kestra
