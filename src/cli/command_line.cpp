#include "command_line.h"

#include "cli_commands.h"
#include "cli_session.h"
#include "model/file_version.h"
#include "system/application_paths.h"
#include "system/file_lock.h"
#include "system/file_system.h"
#include "system/path_text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

namespace kestra {

namespace {

// The longest a run waits for another run of the program on the same project.
constexpr std::chrono::milliseconds kProjectLockWait{30000};

// Longer synopses push their summary further right rather than onto a line of its own.
constexpr std::size_t kSynopsisWidth = 44;

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

// The usage of one subcommand: its synopsis, what it does, and the details.
void PrintSubcommandUsage(std::ostream& stream, const CliSubcommand& subcommand) {
    stream << "Usage: kestra " << subcommand.name << ' ' << subcommand.synopsis << "\n       "
           << subcommand.summary << "\n\n"
           << subcommand.details << '\n';
}

// A subcommand given wrong arguments: the problem, then that subcommand's own usage.
int SubcommandUsageError(std::ostream& err, const CliSubcommand& subcommand, const std::string& explanation) {
    err << "kestra " << subcommand.name << ": " << explanation << '\n';
    PrintSubcommandUsage(err, subcommand);
    return kExitUsage;
}

// "--help" or "-h" among the words before "--".
bool AsksForHelp(const std::vector<std::string>& words) {
    for (std::size_t i = 1; i < words.size() && words[i] != "--"; ++i) {
        if (words[i] == "--help" || words[i] == "-h")
            return true;
    }
    return false;
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
        } else if (!optionsEnded && word == "-o" && subcommand.TakesValue("--output")) {
            // "-o FILE" is "--output FILE".
            if (i + 1 >= words.size()) {
                problem = "option '-o' needs a value";
                return false;
            }
            arguments.options.push_back("--output=" + words[++i]);
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
        problem = count < subcommand.minOperands ? "too few arguments" : "too many arguments";
        return false;
    }
    if (subcommand.project != ProjectUse::None) {
        arguments.project = operands.front();
        operands.erase(operands.begin());
    }
    arguments.operands = std::move(operands);
    return true;
}

// How long a run waits for another run on the same project; KESTRA_LOCK_WAIT_MS, a number of
// milliseconds, shortens or lengthens it.
std::chrono::milliseconds LockWait() {
    const char* text = std::getenv("KESTRA_LOCK_WAIT_MS");
    long long milliseconds = 0;
    if (text != nullptr) {
        const std::string_view value(text);
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), milliseconds);
        if (error == std::errc() && end == value.data() + value.size() && milliseconds >= 0)
            return std::chrono::milliseconds(milliseconds);
    }
    return kProjectLockWait;
}

// Runs on one project take turns from opening to saving, so that no run saves over what
// another added meanwhile. The lock is on the project's folder: the project file itself is
// replaced on every save. A folder that does not exist holds no project to guard; opening or
// creating it fails on its own.
Result<std::optional<CFileLock>> LockProjectFolder(const std::string& project) {
    const std::filesystem::path folder = AbsolutePath(NormalizeSeparators(project)).parent_path();
    if (!FolderExists(folder))
        return std::optional<CFileLock>();
    Result<CFileLock> lock = CFileLock::Acquire(folder, LockWait());
    if (!lock)
        return Result<std::optional<CFileLock>>::Failed(lock.Reason());
    return std::optional<CFileLock>(std::move(*lock));
}

int RunSubcommand(const CliSubcommand& subcommand, const CliArguments& arguments, CSettingsStore& settings,
                  const StartupFolders& folders, std::ostream& out, std::ostream& err,
                  DiagramPictureWriter diagramWriter) {
    Result<std::optional<CFileLock>> lock = std::optional<CFileLock>();
    if (subcommand.project != ProjectUse::None)
        lock = LockProjectFolder(arguments.project);
    if (!lock) {
        err << "kestra " << subcommand.name << ": " << lock.Reason() << '\n';
        return kExitFailure;
    }
    CCliSession session(settings, InitialiseApplicationPaths(settings, folders), out, err);
    session.SetDiagramWriter(diagramWriter);

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
        return SubcommandUsageError(err, subcommand, result.explanation);

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
    out << "Usage: kestra [P.kst]                       open the window, with a project\n"
           "       kestra SUBCOMMAND [ARGUMENTS]        work without a window\n"
           "       kestra SUBCOMMAND --help             the usage of one subcommand\n"
           "       kestra --help | --version\n"
           "\n"
           "Subcommands print the log lines of what they did and save the project:\n";
    std::size_t width = 0;
    for (const CliSubcommand& subcommand : Subcommands())
        width = std::max(width, subcommand.name.size() + 1 + subcommand.synopsis.size());
    width = std::min(width, kSynopsisWidth);
    for (const CliSubcommand& subcommand : Subcommands()) {
        std::string synopsis = std::string(subcommand.name) + ' ' + std::string(subcommand.synopsis);
        if (synopsis.size() < width)
            synopsis.append(width - synopsis.size(), ' ');
        out << "  " << synopsis << "  " << subcommand.summary << '\n';
    }
    out << "\n"
           "MODULE and PARENT name the first item in hierarchy order with exactly that text, or one\n"
           "instance by the path of names from its top module (TOP/CHILD/GRANDCHILD); the project\n"
           "itself is named by its root item's text. Questions are answered Yes; message boxes,\n"
           "what opening the project reported (an old file version) and why a subcommand was\n"
           "refused are printed on the error stream.\n"
           "\n"
           "Exit status:\n"
           "  0  done\n"
           "  1  refused or nothing done, a warning or error logged, or an analysis failed\n"
           "  2  usage error\n";
}

bool NeedsPictures(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == "diagram";
}

int RunCommandLine(const std::vector<std::string>& arguments, CSettingsStore& settings,
                   const StartupFolders& folders, std::ostream& out, std::ostream& err,
                   DiagramPictureWriter diagramWriter) {
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
    if (AsksForHelp(arguments)) {
        PrintSubcommandUsage(out, *subcommand);
        return kExitSuccess;
    }
    CliArguments split;
    std::string problem;
    if (!SplitArguments(*subcommand, arguments, split, problem))
        return SubcommandUsageError(err, *subcommand, problem);
    return RunSubcommand(*subcommand, split, settings, folders, out, err, diagramWriter);
}

} // namespace kestra
