#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CCliSession;

// What a subcommand needs before it runs: nothing, an existing project, or a new one.
enum class ProjectUse { None, Open, Create };

// The words of one command line after the subcommand name.
struct CliArguments {
    std::string project;               // P.kst, when the subcommand uses a project
    std::vector<std::string> operands; // the words after it
    std::vector<std::string> options;  // "--json", "--folder=SUB", ...

    bool HasOption(std::string_view option) const;
    // The value of an option that takes one ("--folder" gives SUB); none when not given.
    std::optional<std::string> OptionValue(std::string_view option) const;
};

// Failed: the command ran and found a fault (a check that did not pass).
enum class CommandOutcome { Done, Refused, UsageError, Failed };

struct CommandResult {
    CommandOutcome outcome = CommandOutcome::Done;
    std::string explanation; // one line, for a usage error

    static CommandResult Done() { return {}; }
    static CommandResult Refused() { return {CommandOutcome::Refused, {}}; }
    static CommandResult Failed() { return {CommandOutcome::Failed, {}}; }
    static CommandResult Usage(std::string text) { return {CommandOutcome::UsageError, std::move(text)}; }
    // Done when the core call did something, Refused when it did nothing.
    static CommandResult From(bool acted) { return acted ? Done() : Refused(); }
};

// One subcommand: its words for the help text (synopsis and one-line summary for the list of
// subcommands, details for its own usage), how many operands it takes (counting P.kst),
// the options it accepts (space-separated; "--name=" takes a value, given as "--name VALUE" or
// "--name=VALUE") and the handler that calls the core.
struct CliSubcommand {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    std::string_view details;
    int minOperands;
    int maxOperands;
    std::string_view options;
    ProjectUse project;
    CommandResult (*run)(CCliSession& session, const CliArguments& arguments);

    bool AcceptsOption(std::string_view option) const;
    bool TakesValue(std::string_view option) const;
};

std::span<const CliSubcommand> Subcommands();
const CliSubcommand* FindSubcommand(std::string_view name);

} // namespace kestra
