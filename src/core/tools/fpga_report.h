#pragma once

#include "tools/vhdl_check.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

struct FpgaFamily;

// A resource of the device: how much the design uses of what there is.
struct ResourceUse {
    std::string label;
    int used = 0;
    int available = 0;
};

// The fastest clock a placed design allows, against the frequency it was placed for.
struct ClockResult {
    std::string clock;
    double maximumMHz = 0;
    double targetMHz = 0;
    bool met = true;
};

// What a designer reads of a flow's tools: device use, flip-flops (none: -1), clocks, and the
// tools' messages that name a place (file and line) or stop the flow.
struct FlowReport {
    std::vector<ResourceUse> resources;
    int flipFlops = -1;
    std::vector<ClockResult> clocks;
    std::vector<CheckMessage> messages;
    bool HasErrors() const;
    bool MissesTiming() const;
};

// The flip-flops of yosys's last statistics: the cells whose names begin with the family's
// flip-flop prefix. yosys's "ERROR:" lines become messages.
void ReadSynthesisReport(std::string_view output, const FpgaFamily& family, FlowReport& report);

// Place and route's device use (the family's resources, in the family's order), the last maximum
// frequency it reports for each clock, and its errors and warnings about the constraint file
// ("... (on line 3)" becomes a message at that line of `constraints`); a constraint for a port
// the design lacks is an error: the flow never ignores a pin it was told about.
void ReadPlaceReport(std::string_view output, const FpgaFamily& family,
                     const std::filesystem::path& constraints, FlowReport& report);

// The summary lines of the report: device use with flip-flops, each clock against its target,
// and the result file (the bitstream or the waveform) when there is one.
std::string FlowSummaryText(const FlowReport& report, const std::filesystem::path& result);

// A message as a log line "<TOOL>: file:line:column: error: text", which the log opens at its
// place; a message without a file is "<TOOL>: error: text".
std::string FlowMessageLine(std::string_view tool, const CheckMessage& message);

} // namespace kestra
