#include "tools/fpga_report.h"

#include "project/message_log.h"
#include "text/char_class.h"
#include "tools/fpga_targets.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kestra {

namespace {

// The number at the text's start, after blanks; what follows it is not looked at.
std::optional<int> NumberOf(std::string_view text) {
    text = TrimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

std::optional<double> DecimalOf(std::string_view text) {
    text = TrimBlanks(text);
    std::string copy(text.substr(0, text.find_first_not_of("0123456789.")));
    if (copy.empty())
        return std::nullopt;
    return std::strtod(copy.c_str(), nullptr);
}

// "Info: \t ICESTORM_LC:    40/ 1280     3%"
void ReadResourceLine(std::string_view line, const FpgaFamily& family, FlowReport& report) {
    for (const FpgaResource& resource : family.resources) {
        const std::size_t at = line.find(std::string(resource.cell) + ":");
        if (at == std::string_view::npos)
            continue;
        const std::string_view counts = line.substr(at + resource.cell.size() + 1);
        const std::size_t slash = counts.find('/');
        const std::optional<int> used = NumberOf(counts.substr(0, slash));
        const std::optional<int> available =
            slash == std::string_view::npos ? std::nullopt : NumberOf(counts.substr(slash + 1));
        if (!used || !available)
            return;
        auto known = std::find_if(report.resources.begin(), report.resources.end(),
                                  [&](const ResourceUse& use) { return use.label == resource.label; });
        if (known == report.resources.end())
            report.resources.push_back({std::string(resource.label), *used, *available});
        else
            *known = {std::string(resource.label), *used, *available};
        return;
    }
}

// "Info: Max frequency for clock 'CLK$SB_IO_IN_$glb_clk': 179.12 MHz (PASS at 12.00 MHz)"
void ReadClockLine(std::string_view line, FlowReport& report) {
    constexpr std::string_view kMark = "Max frequency for clock '";
    const std::size_t at = line.find(kMark);
    if (at == std::string_view::npos)
        return;
    std::string_view rest = line.substr(at + kMark.size());
    const std::size_t quote = rest.find('\'');
    if (quote == std::string_view::npos)
        return;
    std::string clock(rest.substr(0, quote));
    clock = clock.substr(0, clock.find('$')); // the net's name before the tool's suffixes
    rest = rest.substr(quote + 1);
    const std::optional<double> maximum = DecimalOf(rest.substr(std::min(rest.find(':') + 1, rest.size())));
    const std::size_t verdict =
        rest.find("PASS at ") != std::string_view::npos ? rest.find("PASS at ") : rest.find("FAIL at ");
    if (!maximum || verdict == std::string_view::npos)
        return;
    const ClockResult result{clock, *maximum, DecimalOf(rest.substr(verdict + 8)).value_or(0),
                             rest.substr(verdict, 4) == "PASS"};
    auto known = std::find_if(report.clocks.begin(), report.clocks.end(),
                              [&](const ClockResult& seen) { return seen.clock == clock; });
    if (known == report.clocks.end())
        report.clocks.push_back(result);
    else
        *known = result; // the report after routing is the last word
}

// "ERROR: package does not have a pin named '199' (on line 3)", "Warning: unmatched constraint
// 'NOPE' (on line 2)"
void ReadPlaceMessage(std::string_view line, const std::filesystem::path& constraints, FlowReport& report) {
    const bool error = line.starts_with("ERROR: ");
    const bool unmatched = line.starts_with("Warning: unmatched constraint");
    if (!error && !unmatched)
        return;
    std::string_view text = line.substr(line.find(':') + 2);
    CheckMessage message{"", 0, 0, std::string(text), true};
    constexpr std::string_view kOnLine = " (on line ";
    if (const std::size_t at = text.rfind(kOnLine); at != std::string_view::npos) {
        if (const std::optional<int> number = NumberOf(text.substr(at + kOnLine.size()))) {
            message = {constraints.string(), *number, 1, std::string(text.substr(0, at)), true};
            if (unmatched)
                message.text += ": the design has no port of that name";
        }
    }
    report.messages.push_back(std::move(message));
}

std::string Megahertz(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MHz", value);
    return text;
}

} // namespace

bool FlowReport::HasErrors() const {
    return std::any_of(messages.begin(), messages.end(),
                       [](const CheckMessage& message) { return message.error; });
}

bool FlowReport::MissesTiming() const {
    return std::any_of(clocks.begin(), clocks.end(), [](const ClockResult& clock) { return !clock.met; });
}

void ReadSynthesisReport(std::string_view output, const FpgaFamily& family, FlowReport& report) {
    int flipFlops = -1;
    for (std::string_view line : TextLines(output)) {
        if (line.starts_with("ERROR: ")) {
            report.messages.push_back({"", 0, 0, std::string(line.substr(7)), true});
            continue;
        }
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.starts_with("Number of cells:")) {
            flipFlops = 0; // a new statistics block: the last one is the design's
            continue;
        }
        if (flipFlops < 0 || !trimmed.starts_with(family.flipFlopPrefix))
            continue;
        const std::size_t blank = trimmed.find_first_of(" \t");
        if (blank != std::string_view::npos)
            flipFlops += NumberOf(trimmed.substr(blank)).value_or(0);
    }
    if (flipFlops >= 0)
        report.flipFlops = flipFlops;
}

void ReadPlaceReport(std::string_view output, const FpgaFamily& family,
                     const std::filesystem::path& constraints, FlowReport& report) {
    bool utilisation = false;
    for (std::string_view line : TextLines(output)) {
        if (line.find("Device utilisation:") != std::string_view::npos) {
            utilisation = true;
            continue;
        }
        if (utilisation && line.find('/') != std::string_view::npos)
            ReadResourceLine(line, family, report);
        else
            utilisation = false;
        ReadClockLine(line, report);
        ReadPlaceMessage(line, constraints, report);
    }
}

std::string FlowSummaryText(const FlowReport& report, const std::filesystem::path& result) {
    std::string text;
    if (!report.resources.empty() || report.flipFlops >= 0) {
        std::string use;
        for (const ResourceUse& resource : report.resources) {
            use += (use.empty() ? "" : ", ") + resource.label + " " + std::to_string(resource.used) + " / " +
                   std::to_string(resource.available);
            if (resource.label == report.resources.front().label && report.flipFlops >= 0)
                use += ", flip-flops " + std::to_string(report.flipFlops);
        }
        if (report.resources.empty())
            use = "flip-flops " + std::to_string(report.flipFlops);
        text += kLogNewLine + std::string("Device use: ") + use + ".";
    }
    for (const ClockResult& clock : report.clocks)
        text += kLogNewLine + std::string("Clock ") + clock.clock + ": at most " +
                Megahertz(clock.maximumMHz) + ", target " + Megahertz(clock.targetMHz) +
                (clock.met ? ": met." : ": MISSED.");
    if (!result.empty())
        text += kLogNewLine + std::string("Result: ") + result.string();
    return text;
}

std::string FlowMessageLine(std::string_view tool, const CheckMessage& message) {
    const std::string kind = message.error ? "error: " : "warning: ";
    if (message.file.empty())
        return std::string(tool) + ": " + kind + message.text;
    return std::string(tool) + ": " + message.file + ":" + std::to_string(message.line) + ":" +
           std::to_string(std::max(message.column, 1)) + ": " + kind + message.text;
}

} // namespace kestra
