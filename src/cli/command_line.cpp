#include "command_line.h"

#include "cli_commands.h"
#include "cli_session.h"
#include "model/file_version.h"
#include "system/application_paths.h"
#include "system/path_text.h"

#include <filesystem>
#include <ostream>

namespace kestra {

namespace {

constexpr std::size_t kSynopsisWidth = 50;

bool IsOption(const std::string& word) {
    return word.size() > 1 && word.front() == '-';
}

bool IsProjectFile(const std::string& word) {
    return EndsWithNoCase(word, ".kst");
}

int UsageError(std::ostream& err, std::string_view subcommand, const std::string& explanation) {
    err << "kestra";
    if (!subcommand.empty())
        err << ' ' << subcommand;
    err << ": " << explanation << " (see kestra --help)\n";
    return kExitUsage;
}

// Splits the words after the subcommand name; "--" ends the options, so that a value that
// starts with dashes can still be given.
bool SplitArguments(const CliSubcommand& subcommand, const std::vector<std::string>& words,
                    CliArguments& arguments, std::string& problem) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word.size() > 2 && word.starts_with("--")) {
            const std::string name = word.substr(0, word.find('='));
            if (subcommand.TakesValue(name)) {
                if (name.size() < word.size()) {
                    arguments.options.push_back(word);
                } else if (i + 1 < words.size()) {
                    arguments.options.push_back(name + "=" + words[++i]);
                } else {
                    problem = "option '" + name + "' needs a value";
                    return false;
                }
            } else if (subcommand.AcceptsOption(word)) {
                arguments.options.push_back(word);
            } else {
                problem = "unknown option '" + word + "'";
                return false;
            }
        } else {
            operands.push_back(word);
        }
    }
    const int count = static_cast<int>(operands.size());
    if (count < subcommand.minOperands || count > subcommand.maxOperands) {
        problem = "expected " + std::string(subcommand.synopsis);
        return false;
    }
    if (subcommand.project != ProjectUse::None) {
        arguments.project = operands.front();
        operands.erase(operands.begin());
    }
    arguments.operands = std::move(operands);
    return true;
}

int RunSubcommand(const CliSubcommand& subcommand, const CliArguments& arguments, CSettingsStore& settings,
                  std::ostream& out, std::ostream& err) {
    std::error_code error;
    const std::filesystem::path startFolder = std::filesystem::current_path(error);
    CCliSession session(settings, InitialiseApplicationPaths(settings, startFolder), out, err);

    bool opened = true;
    if (subcommand.project == ProjectUse::Create)
        opened = session.CreateProject(arguments.project);
    else if (subcommand.project == ProjectUse::Open)
        opened = session.OpenProject(arguments.project);
    if (!opened) {
        out << session.LogLines();
        return kExitFailure;
    }

    const CommandResult result = subcommand.run(session, arguments);
    if (result.outcome == CommandOutcome::UsageError)
        return UsageError(err, subcommand.name, result.explanation);

    const bool saved = subcommand.project == ProjectUse::None || session.SaveProject();
    out << session.LogLines();
    // A refusal says why, as the window would; some log nothing (a move at the end).
    if (result.outcome == CommandOutcome::Refused) {
        const std::string reason = session.RefusalReason();
        err << "kestra " << subcommand.name << ": "
            << (reason.empty() ? std::string("refused, or nothing to do") : "refused: " + reason) << '\n';
    }
    const bool failed = result.outcome == CommandOutcome::Refused ||
                        result.outcome == CommandOutcome::Failed || !saved ||
                        session.LogHasWarningOrError() || session.AnalysisFailed();
    return failed ? kExitFailure : kExitSuccess;
}

} // namespace

bool IsCommandLineRequest(const std::vector<std::string>& arguments) {
    return !arguments.empty() && !IsProjectFile(arguments.front());
}

void PrintHelp(std::ostream& out) {
    out << "Usage: kestra SUBCOMMAND P.kst [ARGUMENTS]\n"
           "       kestra --help | --version\n"
           "\n"
           "Subcommands run without a window, print the log lines of what they did and save the project.\n"
           "\n";
    for (const CliSubcommand& subcommand : Subcommands()) {
        std::string synopsis = "  " + std::string(subcommand.name) + ' ' + std::string(subcommand.synopsis);
        if (synopsis.size() + 1 < kSynopsisWidth)
            synopsis.append(kSynopsisWidth - synopsis.size(), ' ');
        else
            synopsis += "\n" + std::string(kSynopsisWidth, ' ');
        out << synopsis << subcommand.summary << '\n';
    }
    out << "\n"
           "MODULE and PARENT name the first item in hierarchy order with exactly that text, or one\n"
           "instance by the path of names from its top module (TOP/CHILD/GRANDCHILD); the project\n"
           "itself is named by its root item's text. Questions are answered Yes; message boxes are\n"
           "printed on the error stream; a refused subcommand says why there.\n"
           "\n"
           "Exit status: 0 done; 1 refused, nothing done, a warning or error logged, or an analysis\n"
           "failed; 2 usage error.\n";
}

int RunCommandLine(const std::vector<std::string>& arguments, CSettingsStore& settings, std::ostream& out,
                   std::ostream& err) {
    if (arguments.empty()) {
        PrintHelp(out);
        return kExitSuccess;
    }
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        if (arguments.size() != 1)
            return UsageError(err, {}, "--help takes no arguments");
        PrintHelp(out);
        return kExitSuccess;
    }
    if (first == "--version") {
        if (arguments.size() != 1)
            return UsageError(err, {}, "--version takes no arguments");
        out << "KESTRA " << kProgramVersionText << '\n';
        return kExitSuccess;
    }
    if (IsOption(first))
        return UsageError(err, {}, "unknown option '" + first + "'");
    const CliSubcommand* subcommand = FindSubcommand(first);
    if (subcommand == nullptr)
        return UsageError(err, {}, "unknown subcommand '" + first + "'");
    CliArguments split;
    std::string problem;
    if (!SplitArguments(*subcommand, arguments, split, problem))
        return UsageError(err, subcommand->name, problem);
    return RunSubcommand(*subcommand, split, settings, out, err);
}

} // namespace kestra
