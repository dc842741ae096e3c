#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CKSTDoc;
class CMessageLog;
class CSettingsStore;

// The external programs of the "Tools" settings, in the order of the Tools Setting dialog.
enum class ExternalTool {
    Synthesizer,
    Implementer,
    VhdlSimulator,
    FunctionalSimulator,
    TimingSimulator,
    HdlEditor,
    StateEditor,
};

// One row of the "Tools" settings: the program and parameter text keys, the root item's Link
// parameter that names the tool's project file (none for the editors), and the programs looked
// for on PATH, in order, when no program is set.
struct ExternalToolRow {
    ExternalTool tool;
    const char* title; // as the menu and the log name the tool
    const char* programKey;
    const char* parametersKey;
    const char* linkParameter;
    std::vector<std::string_view> searchNames;
};

inline constexpr const char* kToolsSection = "Tools";
inline constexpr const char* kNoApplicationMessage =
    "No application is set for this function!\nOpen tool setting menu (Tools -> Settting...) to define "
    "application.";
inline constexpr const char* kCannotLaunchMessage =
    "Unable to launch application!\nOpen tool setting menu (Tools -> Settting...) to verify for valid "
    "application.";

// How the launch of a tool ended: started, no program set or found, the program could not be
// started, or it was not started because it had nothing to work on (a batch tool such as a
// synthesizer found on PATH, with neither parameters nor the project's link file).
enum class LaunchOutcome { Started, NoApplication, CannotLaunch, NothingToDo };

// What the user is told after a launch of the tool: kNoApplicationMessage,
// kCannotLaunchMessage, what to set for a tool with nothing to do, or nothing (empty) when the
// tool started.
std::string LaunchMessage(LaunchOutcome outcome, ExternalTool tool);

std::span<const ExternalToolRow> ExternalToolRows();
const ExternalToolRow& ToolRow(ExternalTool tool);

// A program, its arguments and the folder it starts in, ready to run without a shell.
struct ToolProcess {
    std::string title;
    std::string program;
    std::vector<std::string> arguments;
    std::filesystem::path workingFolder;
};

// Where programs are found and started: the Qt process runner in the application, a recording
// one in tests. Start runs the program directly (never through a shell) with its standard
// input closed, and writes its output into the log line by line while it runs, between a start
// and an end line; it returns false when the program could not be started. The log may be
// null (no project open): the output then goes nowhere.
class CToolStarter {
public:
    virtual ~CToolStarter() = default;
    // The full path of the program on PATH; empty when there is none.
    virtual std::string FindProgram(std::string_view name) = 0;
    [[nodiscard]] virtual bool Start(const ToolProcess& process, CMessageLog* log) = 0;
};

// The words of a command text as a shell splits them: blanks separate, single and double quotes
// group (each literal inside the other), no escapes, no variables. endsInWord tells whether the
// text ends inside a word (text appended directly then joins that word).
std::vector<std::string> SplitArguments(std::string_view text, bool* endsInWord = nullptr);

// The parameter text with the project's link value appended in double quotes, directly after
// it: the value joins the text's last word when the text ends in one. The value never adds a
// word of its own.
std::vector<std::string> ArgumentsWithLink(std::string_view parameters, std::string_view link);

// The launch of one tool: read its program and parameters, look for a program on PATH when
// none is set (writing the found one back, with a parameter text for it when none is set), take
// the project's destination folder and the root item's link parameter when a project is open
// (a relative value names a file in the project folder and is passed in full), and start it.
[[nodiscard]] LaunchOutcome LaunchExternalTool(CSettingsStore& settings, CToolStarter& starter,
                                               ExternalTool tool, CKSTDoc* project);

// The value of the project root's Link parameter of the tool (empty without one).
std::string ProjectLinkValue(const CKSTDoc& project, ExternalTool tool);

// The start and end lines a tool's run writes around its output.
std::string ToolStartLine(const ToolProcess& process);
std::string ToolEndLine(const std::string& title, int exitStatus, bool crashed);

} // namespace kestra
