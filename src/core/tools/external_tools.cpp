#include "tools/external_tools.h"

#include "model/design_object.h"
#include "project/hierarchy_item.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/path_text.h"
#include "system/settings_store.h"
#include "text/char_class.h"

#include <algorithm>
#include <array>

namespace kestra {

namespace {

// GHDL's mcode back end analyses, elaborates and runs in one call; the project's link names a
// response file (the files and "-r TOP" with its run options), which "@" reads.
constexpr const char* kGhdlParameters = "-c --std=93c --ieee=synopsys -fexplicit @";

const std::array<ExternalToolRow, 7> kRows = {{
    {ExternalTool::Synthesizer,
     "VHDL Synthesizer",
     "Synthesizer",
     "Synthesizer param",
     "Synthesis",
     {"yosys"}},
    {ExternalTool::Implementer,
     "Implementation Tool",
     "Implementer",
     "Implementer param",
     "Implemention",
     {"nextpnr-ice40", "nextpnr-ecp5", "nextpnr-gowin", "nextpnr-generic"}},
    {ExternalTool::VhdlSimulator,
     "VHDL Simulator",
     "VHDLSim",
     "VHDLSim param",
     "VHDL_Simulation",
     {"ghdl", "nvc"}},
    {ExternalTool::FunctionalSimulator,
     "Functional Simulator",
     "FuncSim",
     "FuncSim param",
     "Functional_Simulation",
     {"ghdl", "nvc"}},
    {ExternalTool::TimingSimulator, "Timing Simulator", "TimeSim", "TimeSim param", "Timing_Simulation", {}},
    {ExternalTool::HdlEditor, "HDL Editor", "HDL Editor", "HDL Editor param", nullptr, {}},
    {ExternalTool::StateEditor, "State Editor", "State Editor", "State Editor param", nullptr, {}},
}};

// The programs looked for on PATH are batch tools that read what they work on from their
// arguments: without any, or with GHDL's response-file mark "@" and no file after it, a run
// would do nothing (and report success).
bool HasNothingToDo(const ExternalToolRow& row, const ToolProcess& process) {
    const std::string name = std::filesystem::path(process.program).filename().string();
    const bool batchTool = std::any_of(row.searchNames.begin(), row.searchNames.end(),
                                       [&name](std::string_view searched) { return name == searched; });
    return batchTool && (process.arguments.empty() || process.arguments.back() == "@");
}

// The value of the root item's Link parameter of that name (letter case ignored); empty when
// there is none.
std::string RootLinkValue(const CKSTDoc& project, const char* name) {
    const CHierarchyItem* root = project.Tree().GetRootItem();
    const CKSTObject* object = root != nullptr ? root->Object() : nullptr;
    if (object == nullptr)
        return {};
    for (int i = 0; i < object->GetEntryCount(); ++i) {
        if (object->GetEntryKind(i) == EntryKind::Link && SameTextNoCase(object->GetEntryName(i), name))
            return object->GetEntryValue(i);
    }
    return {};
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// A program name or argument as a reader of the log would type it.
std::string Quoted(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\"'") == std::string::npos)
        return word;
    return (word.find('"') == std::string::npos ? "\"" + word + "\"" : "'" + word + "'");
}

} // namespace

std::string LaunchMessage(LaunchOutcome outcome, ExternalTool tool) {
    switch (outcome) {
    case LaunchOutcome::NoApplication:
        return kNoApplicationMessage;
    case LaunchOutcome::CannotLaunch:
        return kCannotLaunchMessage;
    case LaunchOutcome::NothingToDo: {
        const ExternalToolRow& row = ToolRow(tool);
        return std::string(row.title) + " was not started: it has nothing to work on.\nSet the project's " +
               "Link parameter \"" + (row.linkParameter != nullptr ? row.linkParameter : "") +
               "\" to the file it should read, or give the program its parameters in Tools > Setting...";
    }
    case LaunchOutcome::Started:
        break;
    }
    return "";
}

std::span<const ExternalToolRow> ExternalToolRows() {
    return kRows;
}

const ExternalToolRow& ToolRow(ExternalTool tool) {
    return kRows[static_cast<std::size_t>(tool)];
}

std::vector<std::string> SplitArguments(std::string_view text, bool* endsInWord) {
    std::vector<std::string> words;
    bool inWord = false;
    char quote = 0;
    for (char c : text) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                words.back() += c;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            inWord = false;
        } else {
            if (!inWord)
                words.emplace_back();
            inWord = true;
            if (IsQuote(c))
                quote = c;
            else
                words.back() += c;
        }
    }
    if (endsInWord != nullptr)
        *endsInWord = inWord;
    return words;
}

std::vector<std::string> ArgumentsWithLink(std::string_view parameters, std::string_view link) {
    bool endsInWord = false;
    std::vector<std::string> words = SplitArguments(parameters, &endsInWord);
    if (endsInWord)
        words.back() += link;
    else
        words.emplace_back(link);
    return words;
}

LaunchOutcome LaunchExternalTool(CSettingsStore& settings, CToolStarter& starter, ExternalTool tool,
                                 CKSTDoc* project) {
    const ExternalToolRow& row = ToolRow(tool);
    std::string program = settings.ReadSetting(kToolsSection, row.programKey);
    std::string parameters = settings.ReadSetting(kToolsSection, row.parametersKey);
    if (program.empty()) {
        for (std::string_view name : row.searchNames) {
            program = starter.FindProgram(name);
            if (program.empty())
                continue;
            settings.WriteSetting(kToolsSection, row.programKey, program);
            if (parameters.empty() && name == "ghdl") {
                parameters = kGhdlParameters;
                settings.WriteSetting(kToolsSection, row.parametersKey, parameters);
            }
            break;
        }
        if (program.empty())
            return LaunchOutcome::NoApplication;
    }

    ToolProcess process{row.title, program, SplitArguments(parameters), {}};
    CMessageLog* log = nullptr;
    if (project != nullptr) {
        log = &project->Log();
        process.workingFolder = project->ResolvedDestinationFolder();
        const std::string link =
            row.linkParameter != nullptr ? RootLinkValue(*project, row.linkParameter) : "";
        if (link.find_first_of(std::string_view("\"\r\n\0", 4)) != std::string::npos) {
            // A project file comes from someone else: its value must not reach the command line
            // as anything but the one file name.
            log->AppendWarning(std::string("The link parameter ") + row.linkParameter +
                               " holds a double quote or a line break and is not passed to " + row.title +
                               ".");
        } else if (!link.empty()) {
            // A relative link names a file in the project folder; the tool starts elsewhere.
            process.arguments =
                ArgumentsWithLink(parameters, ResolvePath(project->GetProjectFolder(), link).string());
        }
    }
    if (HasNothingToDo(row, process))
        return LaunchOutcome::NothingToDo;
    if (!starter.Start(process, log))
        return LaunchOutcome::CannotLaunch;
    return LaunchOutcome::Started;
}

std::string ProjectLinkValue(const CKSTDoc& project, ExternalTool tool) {
    const char* name = ToolRow(tool).linkParameter;
    return name != nullptr ? RootLinkValue(project, name) : std::string();
}

std::string ToolStartLine(const ToolProcess& process) {
    std::string line = kLogNewLine + std::string(process.title) + ": " + Quoted(process.program);
    for (const std::string& argument : process.arguments)
        line += " " + Quoted(argument);
    if (!process.workingFolder.empty())
        line += "  (in " + process.workingFolder.string() + ")";
    return line;
}

std::string ToolEndLine(const std::string& title, int exitStatus, bool crashed) {
    if (crashed)
        return kLogNewLine + title + " stopped abnormally.";
    return kLogNewLine + title + " finished with exit status " + std::to_string(exitStatus) + ".";
}

} // namespace kestra
