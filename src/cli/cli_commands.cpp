#include "cli_commands.h"

#include "analysis/scanner.h"
#include "cli_session.h"
#include "commands/analysis_commands.h"
#include "commands/clipboard_commands.h"
#include "commands/generate_commands.h"
#include "commands/import_commands.h"
#include "commands/library_commands.h"
#include "commands/module_commands.h"
#include "commands/parameter_commands.h"
#include "diagram/picture_bounds.h"
#include "library/library_chooser.h"
#include "library/library_roots.h"
#include "library/library_store.h"
#include "library/library_tree.h"
#include "panes/diagram_pane.h"
#include "project/message_log.h"
#include "project_printer.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "tools/check_manifest.h"
#include "tools/fpga_flow.h"
#include "tools/qt_process_runner.h"
#include "tools/qt_tool_runner.h"
#include "tools/vhdl_check.h"

#include <array>
#include <filesystem>
#include <ostream>
#include <utility>

namespace kestra {

namespace {

CommandResult NoSuchModule(const std::string& name) {
    return CommandResult::Usage("no module named '" + name + "' in the project");
}

CommandResult RunNew(CCliSession&, const CliArguments&) {
    return CommandResult::Done();
}

CommandResult RunShow(CCliSession& session, const CliArguments& arguments) {
    if (arguments.HasOption("--json"))
        PrintHierarchyJson(session.Doc(), session.Out());
    else
        PrintHierarchy(session.Doc(), session.Out());
    return CommandResult::Done();
}

CommandResult RunAdd(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* parent = session.FindItem(arguments.operands[0]);
    if (parent == nullptr)
        return NoSuchModule(arguments.operands[0]);
    session.Session().Select(parent);
    CModuleCommands commands(session.Session());
    CHierarchyItem* item = commands.OnAddModule();
    if (item == nullptr)
        return CommandResult::Refused();
    if (!commands.EndNameEdit(item, arguments.operands[1])) {
        // Nobody can go on editing the name here: a module that got no name is not kept.
        session.Doc().Tree().DeleteItem(item);
        session.Session().Select(parent);
        return CommandResult::Refused();
    }
    return CommandResult::Done();
}

// The handlers below act on one selected module named by the first operand.
CHierarchyItem* SelectModule(CCliSession& session, const std::string& name) {
    CHierarchyItem* item = session.FindItem(name);
    if (item != nullptr)
        session.Session().Select(item);
    return item;
}

CommandResult RunRename(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* item = SelectModule(session, arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(CModuleCommands(session.Session()).EndNameEdit(item, arguments.operands[1]));
}

CommandResult RunRemove(CCliSession& session, const CliArguments& arguments) {
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(CModuleCommands(session.Session()).OnRemove());
}

// Words are compared ignoring case, as VHDL names are.
template <typename Value, std::size_t N>
const Value* FindWord(const std::array<std::pair<std::string_view, Value>, N>& words,
                      const std::string& word) {
    for (const auto& [text, value] : words) {
        if (SameTextNoCase(text, word))
            return &value;
    }
    return nullptr;
}

CommandResult RunMove(CCliSession& session, const CliArguments& arguments) {
    static constexpr std::array<std::pair<std::string_view, MoveCommand>, 4> kWords{{
        {"top", MoveCommand::Top},
        {"up", MoveCommand::Up},
        {"down", MoveCommand::Down},
        {"bottom", MoveCommand::Bottom},
    }};
    const MoveCommand* command = FindWord(kWords, arguments.operands[1]);
    if (command == nullptr)
        return CommandResult::Usage("expected top, up, down or bottom, not '" + arguments.operands[1] + "'");
    CHierarchyItem* item = SelectModule(session, arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    // A move at either end succeeds without moving anything; that counts as nothing done.
    const int before = item->IndexInParent();
    return CommandResult::From(CModuleCommands(session.Session()).OnMove(*command) &&
                               item->IndexInParent() != before);
}

CommandResult RunSetKind(CCliSession& session, const CliArguments& arguments) {
    static constexpr std::array<std::pair<std::string_view, HierarchyKind>, 4> kWords{{
        {"normal", HierarchyKind::Normal},
        {"library", HierarchyKind::Library},
        {"predefined", HierarchyKind::Predefined},
        {"package", HierarchyKind::Package},
    }};
    const HierarchyKind* kind = FindWord(kWords, arguments.operands[1]);
    if (kind == nullptr)
        return CommandResult::Usage("expected normal, library, predefined or package, not '" +
                                    arguments.operands[1] + "'");
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(CModuleCommands(session.Session()).OnSetKind(*kind));
}

CommandResult RunSet(CCliSession& session, const CliArguments& arguments) {
    const std::string& module = arguments.operands[0];
    const std::string& parameter = arguments.operands[1];
    CHierarchyItem* item = SelectModule(session, module);
    if (item == nullptr)
        return NoSuchModule(module);
    if (item->Kind() == HierarchyKind::Root && IsFlowSetting(parameter)) {
        // The flow's settings are added to the project when it has none yet.
        const Outcome set = SetFlowSetting(session.Doc(), parameter, arguments.operands[2]);
        if (!set)
            session.Session().ReportRefusal(set.Reason());
        return set ? CommandResult::Done() : CommandResult::Refused();
    }
    const CKSTObject& object = *item->Object();
    for (int entry = 0; entry < object.GetEntryCount(); ++entry) {
        if (SameTextNoCase(object.GetEntryName(entry), parameter))
            return CommandResult::From(CParameterCommands(session.Session())
                                           .EndParameterEdit(item, entry, 1, arguments.operands[2]));
    }
    // The names it does have, so that the script can be mended.
    std::string names;
    for (int entry = 1; entry < object.GetEntryCount(); ++entry)
        names += (names.empty() ? "" : ", ") + object.GetEntryName(entry);
    return CommandResult::Usage(
        "module '" + module + "' has no parameter '" + parameter + "'; " +
        (names.empty() ? std::string("it has no parameters") : "its parameters: " + names));
}

// Copy or Cut of a module with its subtree, then Paste below PARENT, as the tree's commands do
// (a copy under another parent is one more instance of the same modules).
CommandResult RunCopyOrCut(CCliSession& session, const CliArguments& arguments, bool cut) {
    CHierarchyItem* item = SelectModule(session, arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    CHierarchyItem* parent = session.FindItem(arguments.operands[1]);
    if (parent == nullptr)
        return NoSuchModule(arguments.operands[1]);
    CClipboardCommands clipboard(session.Session());
    if (!(cut ? clipboard.OnCut() : clipboard.OnCopy()))
        return CommandResult::Refused();
    session.Session().Select(parent);
    return CommandResult::From(clipboard.CanPaste() && clipboard.OnPaste());
}

CommandResult RunCopy(CCliSession& session, const CliArguments& arguments) {
    return RunCopyOrCut(session, arguments, false);
}

CommandResult RunCut(CCliSession& session, const CliArguments& arguments) {
    return RunCopyOrCut(session, arguments, true);
}

CommandResult RunAnalyze(CCliSession& session, const CliArguments& arguments) {
    if (arguments.operands.empty())
        session.Session().Select(session.Doc().Tree().GetRootItem());
    else if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(CAnalysisCommands(session.Session()).OnAnalyzeModule());
}

// Checks the jobs with the analyser on PATH, the lines going into the log; false when a check
// found errors or could not run at all.
bool CheckJobs(CCliSession& session, const std::vector<CheckJob>& jobs) {
    CMessageLog& log = session.Doc().Log();
    const VhdlAnalyzer analyzer = FindVhdlAnalyzer(FindProgramOnPath);
    if (analyzer.kind == VhdlAnalyzer::Kind::None) {
        log.AppendLog(std::string("\r\n") + kNoAnalyzerLine);
        return false;
    }
    CQtProcessRunner runner;
    bool passed = true;
    for (const CheckJob& job : jobs) {
        const CheckOutcome outcome = RunVhdlCheck(job, analyzer, runner);
        log.AppendLog(CheckLogText(analyzer, job, outcome));
        passed = passed && outcome.errors == 0 && !outcome.analyzerFailed;
    }
    return passed;
}

// The stored diagram of a module, loaded as the block diagram pane loads it (lines stored
// without points are routed), written as a picture file.
CommandResult RunDiagram(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* item = session.FindItem(arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    const std::optional<std::string> output = arguments.OptionValue("--output");
    if (!output)
        return CommandResult::Usage("expected -o FILE.svg, FILE.pdf or FILE.png");
    if (!DiagramFormatOf(*output))
        return CommandResult::Usage("the output file must end in .svg, .pdf or .png, not '" + *output + "'");
    if (session.DiagramWriter() == nullptr) {
        session.Session().ReportRefusal("this program cannot draw pictures: run the diagram command with the "
                                        "program that has the window");
        return CommandResult::Refused();
    }
    CDiagramPane pane;
    pane.Show(&session.Session(), item);
    if (item->BlockData() == nullptr || pane.Diagram().BlockCount() == 0) {
        session.Session().ReportRefusal(item->Text() + " has no block diagram to draw");
        return CommandResult::Refused();
    }
    if (const Outcome exported = session.DiagramWriter()(pane.Diagram(), *output); !exported) {
        session.Doc().Log().AppendError("Cannot write the diagram of " + item->Text() + " to " + *output +
                                        ": " + exported.Reason());
        return CommandResult::Failed();
    }
    session.Doc().Log().AppendLog("\r\nBlock diagram of " + item->Text() + " written to " + *output + ".");
    return CommandResult::Done();
}

// A connection made or removed in a module's architecture, as a line drawn or deleted in its
// block diagram does; the diagram's record follows.
CommandResult RunConnection(CCliSession& session, const CliArguments& arguments, ConnectionChange change) {
    CHierarchyItem* item = session.FindItem(arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    std::optional<ConnectionEnd> ends[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& text = arguments.operands[static_cast<std::size_t>(i) + 1];
        ends[i] = ParseConnectionEnd(text);
        if (!ends[i]) {
            session.Session().ReportRefusal(
                "'" + text + "' is neither a port (NAME) nor a pin (LABEL.PORT) of VHDL identifiers");
            return CommandResult::Refused();
        }
    }
    // The module is analysed again after the edit, which needs its children analysed.
    if (item->Status() != AnalysisStatus::Analyzed) {
        session.Session().Select(item);
        if (!CAnalysisCommands(session.Session()).OnAnalyzeModule())
            return CommandResult::Failed();
    }
    CDiagramPane pane;
    pane.Show(&session.Session(), item);
    if (!pane.ChangeConnection(change, *ends[0], *ends[1]))
        return CommandResult::Refused();
    pane.WriteBack();
    return CommandResult::Done();
}

// A design of several files brought in under PARENT with its hierarchy, as Import VHDL Design
// does in the window; what the reading found goes to the log.
CommandResult RunImport(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* parent = SelectModule(session, arguments.operands[0]);
    if (parent == nullptr)
        return NoSuchModule(arguments.operands[0]);
    DesignImportRequest request;
    for (std::size_t i = 1; i < arguments.operands.size(); ++i)
        request.paths.emplace_back(arguments.operands[i]);
    request.top = arguments.OptionValue("--top").value_or(std::string());
    const DesignImportPreview preview = PreviewDesignImport(request);
    if (!preview.CanImport()) {
        session.Session().ReportRefusal(preview.refusal);
        return CommandResult::Refused();
    }
    return CommandResult::From(CImportCommands(session.Session()).OnImportDesign(preview));
}

CommandResult RunConnect(CCliSession& session, const CliArguments& arguments) {
    return RunConnection(session, arguments, ConnectionChange::Connect);
}

CommandResult RunDisconnect(CCliSession& session, const CliArguments& arguments) {
    return RunConnection(session, arguments, ConnectionChange::Disconnect);
}

CommandResult RunGenerate(CCliSession& session, const CliArguments& arguments) {
    if (arguments.operands.empty())
        session.Session().Select(session.Doc().Tree().GetRootItem());
    else if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    CGenerateCommands commands(session.Session());
    if (!commands.OnGenerate(arguments.HasOption("--individual")))
        return CommandResult::Refused();
    if (arguments.HasOption("--check")) {
        std::vector<CheckJob> jobs = CheckJobsAfter(session.Doc(), commands.Completed());
        KeepCheckWorkFolders(jobs, CheckWorkFolderFor(session.Doc().GetPathName()));
        if (!CheckJobs(session, jobs))
            return CommandResult::Failed();
    }
    return CommandResult::Done();
}

// Analyses, checks the analysed sources, generates into a scratch folder and checks the
// generated files; the project folder gets nothing but the project file's own update.
CommandResult RunCheck(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* selected = session.Doc().Tree().GetRootItem();
    if (!arguments.operands.empty()) {
        selected = SelectModule(session, arguments.operands[0]);
        if (selected == nullptr)
            return NoSuchModule(arguments.operands[0]);
    }
    if (selected->Kind() == HierarchyKind::Root && selected->ChildCount() == 0) {
        session.Session().ReportRefusal("the project has no module to check");
        return CommandResult::Refused();
    }
    session.Session().Select(selected);
    const bool analyzed = CAnalysisCommands(session.Session()).OnAnalyzeModule();
    std::vector<CheckJob> jobs;
    if (CheckJob job = ModuleCheckJob(session.Doc(), {selected}); !job.Empty())
        jobs.push_back(std::move(job));
    // The sources' libraries are kept for the next check; the generated files are new each time.
    KeepCheckWorkFolders(jobs, CheckWorkFolderFor(session.Doc().GetPathName()));
    bool generated = true;
    CPrivateTempFolder scratch("kestra-check-generate-");
    if (analyzed && scratch.Path().empty()) {
        session.Doc().Log().AppendError("Cannot make a scratch folder for the generated files.");
        generated = false;
    } else if (analyzed) {
        session.Session().Select(selected);
        CGenerateCommands commands(session.Session());
        commands.SetOutputFolder(scratch.Path());
        generated = commands.OnGenerate(false);
        if (generated) {
            for (CheckJob& job : CheckJobsAfter(session.Doc(), commands.Completed()))
                jobs.push_back(std::move(job));
        }
    }
    const bool passed = CheckJobs(session, jobs);
    return analyzed && generated && passed ? CommandResult::Done() : CommandResult::Failed();
}

// Generates MODULE (default: the project's first top module) as Generate does and runs the open
// toolchain's flow of the kind on it; exits 1 when a step fails.
CommandResult RunFlowCommand(CCliSession& session, const CliArguments& arguments, FlowKind kind) {
    CHierarchyItem* module = FlowTopOf(session.Doc().Tree().GetRootItem());
    if (!arguments.operands.empty()) {
        module = session.FindItem(arguments.operands[0]);
        if (module == nullptr)
            return NoSuchModule(arguments.operands[0]);
    }
    const Result<FlowPlan> plan = PrepareFlow(session.Session(), module, kind, FindProgramOnPath);
    if (!plan) {
        session.Session().ReportRefusal(plan.Reason());
        return CommandResult::Refused();
    }
    CQtProcessRunner runner;
    return CommandResult::From(RunFlow(*plan, runner, session.Doc().Log()).passed);
}

CommandResult RunBuild(CCliSession& session, const CliArguments& arguments) {
    return RunFlowCommand(session, arguments, FlowKind::Implementation);
}

CommandResult RunSimulate(CCliSession& session, const CliArguments& arguments) {
    return RunFlowCommand(session, arguments, FlowKind::Simulation);
}

namespace fs = std::filesystem;

// The library's root folder from the settings, created when missing; defaults and relative
// values are in the user's data folder, as in the window. A root that cannot be made is not
// reported here: the command finds nothing there to list or to insert and cannot store into it,
// and says so.
fs::path LibraryRoot(CCliSession& session, LibraryKind kind) {
    return OpenLibraryRoot(session.Settings(), kind, session.Paths().userDataFolder).path;
}

LibraryKind KindOption(const CliArguments& arguments) {
    return arguments.HasOption("--predefined") ? LibraryKind::Predefined : LibraryKind::Library;
}

CommandResult RunExport(CCliSession& session, const CliArguments& arguments) {
    if (arguments.HasOption("--library") == arguments.HasOption("--predefined"))
        return CommandResult::Usage("expected one of --library and --predefined");
    const LibraryKind kind = KindOption(arguments);
    fs::path folder = LibraryRoot(session, kind);
    if (const auto sub = arguments.OptionValue("--folder")) {
        const fs::path relative = NormalizeSeparators(*sub);
        bool inside = !relative.empty() && relative.is_relative();
        for (const fs::path& part : relative)
            inside = inside && part != "..";
        if (!inside)
            return CommandResult::Usage("--folder names a folder inside the library, not '" + *sub + "'");
        folder /= relative;
        if (!FolderExists(folder))
            return CommandResult::Usage("no folder '" + *sub + "' in " + LibraryRoot(session, kind).string());
    }
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    CFolderLibraryStore store(folder, session.Doc().Prompts());
    CLibraryCommands commands(session.Session());
    const bool stored = kind == LibraryKind::Predefined ? commands.OnCreatePredefinedModule(store)
                                                        : commands.OnCreateLibraryModule(store);
    if (stored)
        session.Out() << "Stored " << store.StoredFile().string() << '\n';
    return CommandResult::From(stored);
}

// FILE as given, else inside the library's root folder (".vhd" may be left out there).
std::optional<fs::path> FindModuleFile(CCliSession& session, LibraryKind kind, const std::string& text) {
    const fs::path given = NormalizeSeparators(text);
    std::error_code error;
    if (FileExists(given))
        return fs::absolute(given, error);
    if (given.is_absolute())
        return std::nullopt;
    const fs::path root = LibraryRoot(session, kind);
    for (const fs::path& candidate : {root / given, root / (given.string() + ".vhd")}) {
        if (FileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

CommandResult RunInsert(CCliSession& session, const CliArguments& arguments) {
    const LibraryKind kind = KindOption(arguments);
    const std::optional<fs::path> file = FindModuleFile(session, kind, arguments.operands[1]);
    if (!file)
        return CommandResult::Usage("no module file '" + arguments.operands[1] + "'");
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    CLibraryCommands commands(session.Session());
    if (kind == LibraryKind::Predefined) {
        CFixedLibraryChooser chooser(*file);
        return CommandResult::From(
            commands.InsertLibraryModule(LibraryInsertMode::ChoosePredefined, {}, &chooser) != nullptr);
    }
    return CommandResult::From(commands.InsertLibraryModule(LibraryInsertMode::LibraryFile, file->string()) !=
                               nullptr);
}

CommandResult RunLibrary(CCliSession& session, const CliArguments& arguments) {
    const LibraryKind kind = KindOption(arguments);
    CLibraryTree tree(LibraryRoot(session, kind), kind);
    tree.Rescan();
    std::ostream& out = session.Out();
    out << LibraryRootText(kind) << " (" << tree.RootFolder().string() << ")\n";
    for (const CLibraryItem* item = tree.NextItem(tree.Root()); item != nullptr; item = tree.NextItem(item)) {
        out << std::string(static_cast<std::size_t>(4 * CLibraryTree::Depth(item)), ' ') << item->Name()
            << (item->IsFolder() ? "/" : "") << '\n';
    }
    return CommandResult::Done();
}

constexpr CliSubcommand kSubcommands[] = {
    {"new", "P.kst", "create a project (its file and module folder)",
     "Writes P.kst and its module folder beside it (named after the root item, ProjectA for the "
     "first\nproject in a folder); an existing P.kst is replaced.",
     1, 1, "", ProjectUse::Create, RunNew},
    {"show", "P.kst [--json]", "print the hierarchy with each item's entries and signals",
     "Each item with its kind and analysis status, its entries (parameters, links, notes) and its\nsignals; "
     "--json prints the same as one JSON object.",
     1, 1, "--json", ProjectUse::Open, RunShow},
    {"add", "P.kst PARENT NAME", "add module NAME under PARENT (a module or the project)",
     "A new module gets the skeleton source NAME.vhd in the module folder; an existing NAME.vhd there\nis "
     "imported as it is and analysed.",
     3, 3, "", ProjectUse::Open, RunAdd},
    {"rename", "P.kst MODULE NEWNAME", "rename a module and its file, or the project and its folder",
     "A module's file is renamed and the names inside it rewritten; the project's root renames the\nmodule "
     "folder.",
     3, 3, "", ProjectUse::Open, RunRename},
    {"remove", "P.kst MODULE", "remove a module and its children (files kept as .bak)",
     "The module's file and those of its children stay in the module folder as NAME.bak.", 2, 2, "",
     ProjectUse::Open, RunRemove},
    {"copy", "P.kst MODULE PARENT", "copy a module with its children under PARENT",
     "The copy gets a free name (NAME_2) and a file of its own, as Copy and Paste in the window.", 3, 3, "",
     ProjectUse::Open, RunCopy},
    {"cut", "P.kst MODULE PARENT", "move a module with its children under PARENT",
     "The module and its children leave their parent and go below PARENT.", 3, 3, "", ProjectUse::Open,
     RunCut},
    {"move", "P.kst MODULE top|up|down|bottom", "move a module among its siblings",
     "top and bottom move past every sibling, up and down by one place.", 3, 3, "", ProjectUse::Open,
     RunMove},
    {"set-kind", "P.kst MODULE normal|library|predefined|package",
     "set the kind of a module without children",
     "normal, library, predefined or package; only for a module without children.", 3, 3, "",
     ProjectUse::Open, RunSetKind},
    {"set", "P.kst MODULE PARAMETER VALUE", "set a parameter's value (name in any letter case)",
     "The value is kept for this instance and written into the module's source as the generic's\ndefault.", 4,
     4, "", ProjectUse::Open, RunSet},
    {"analyze", "P.kst [MODULE]", "analyse a module and its subtree (default: the project)",
     "Reads each source again, children first, and updates parameters, signals and diagram ports.", 1, 2, "",
     ProjectUse::Open, RunAnalyze},
    {"generate", "P.kst [MODULE] [--individual] [--check]",
     "write synthesizable VHDL (default: every top module)",
     "One file per top module in the project's destination folder, each specialised copy of a child\nunder "
     "its own name; --individual writes MODULE alone. Modules not analysed are analysed first.\n--check "
     "checks the written files with GHDL (or NVC) and exits 1 when a check fails.",
     1, 2, "--individual --check", ProjectUse::Open, RunGenerate},
    {"import", "P.kst PARENT PATH... [--top ENTITY]",
     "import a design of several VHDL files with its hierarchy",
     "PATH is a file or a folder (searched below for .vhd and .vhdl). Each top (ENTITY, else every\n"
     "entity no other one instantiates) goes under PARENT with one module per instance and the\n"
     "packages it uses; the files are copied into the module folder as they are (those of another\n"
     "VHDL library into a folder of its name) and analysed. Instances of entities no file declares\n"
     "are reported as warnings; exits 1 when nothing can be imported.",
     3, 100000, "--top=", ProjectUse::Open, RunImport},
    {"connect", "P.kst MODULE A B", "connect two ends in a module's architecture",
     "A and B are each a port of MODULE (LEDS) or a pin, the port of an instance in its architecture\n"
     "(U_CNT.Q, the label as written). The instance's port map gets the association (named; a\n"
     "positional map becomes named); two pins get a signal named after the driving pin. Exits 1\n"
     "with the reason when the connection is refused (two drivers, different types, ...).",
     4, 4, "", ProjectUse::Open, RunConnect},
    {"disconnect", "P.kst MODULE A B", "remove a connection from a module's architecture",
     "The pin that reads the signal leaves it: an output becomes open, an input gets a signal of\n"
     "its own. Exits 1 when A and B are not connected.",
     4, 4, "", ProjectUse::Open, RunDisconnect},
    {"diagram", "P.kst MODULE -o FILE.svg|FILE.pdf|FILE.png", "render a module's block diagram to a file",
     "Draws the module's stored block diagram as the window shows it (as printing draws it: white\n"
     "background, framed blocks) into an SVG or PDF picture (vector: texts and lines stay so) or a\n"
     "PNG image. Needs no display. A module with nothing to draw exits 1.",
     2, 2, "--output=", ProjectUse::Open, RunDiagram},
    {"check", "P.kst [MODULE]", "check sources and generated VHDL with GHDL (or NVC)",
     "Analyses MODULE (default: the project), checks the analysed sources, generates into a scratch\n"
     "folder and checks the generated files; exits 1 when a check fails, 0 when all pass.",
     1, 2, "", ProjectUse::Open, RunCheck},
    {"build", "P.kst [MODULE]", "synthesise, place and route MODULE and write its bitstream",
     "Generates MODULE (default: the first top module) and runs the open toolchain on it: GHDL's\n"
     "synthesis, yosys, nextpnr and the bitstream packer, for the project's Target parameter\n"
     "(\"iCE40 HX1K tq144\") with its Constraints file, aiming at its Target_frequency (MHz), in\n"
     "the folder flow/MODULE of the destination folder. Prints device use, the clocks' maximum\n"
     "frequencies and the bitstream's path; exits 1 when a step fails.",
     1, 2, "", ProjectUse::Open, RunBuild},
    {"simulate", "P.kst [MODULE]", "run the project's test bench on MODULE and write a waveform",
     "Generates MODULE (default: the first top module) and runs the project's Testbench file on\n"
     "it with GHDL, writing the waveform TB.ghw into the folder flow/MODULE of the destination\n"
     "folder; exits 1 when the test bench reports an error or a failure.",
     1, 2, "", ProjectUse::Open, RunSimulate},
    {"export", "P.kst MODULE --library|--predefined [--folder SUB]",
     "store a module into the module or predefined library",
     "--library stores the module with every module below it, --predefined the module alone, into\nthe "
     "library's root folder or its existing folder SUB; a module of the same name there is\n"
     "replaced.",
     2, 2, "--library --predefined --folder=", ProjectUse::Open, RunExport},
    {"insert", "P.kst PARENT FILE [--predefined]", "insert a library module file under PARENT and analyse it",
     "FILE is a path, or a module's path inside the library without .vhd (gates/AND2); the module\nis copied "
     "into the module folder under a free name and analysed.",
     3, 3, "--predefined", ProjectUse::Open, RunInsert},
    {"library", "[--predefined]", "print the folders and modules of a library",
     "The module library, or with --predefined the predefined-module library, as a tree of folders\nand "
     "modules.",
     0, 0, "--predefined", ProjectUse::None, RunLibrary},
};

} // namespace

bool CliArguments::HasOption(std::string_view option) const {
    for (const std::string& given : options) {
        if (given == option)
            return true;
    }
    return false;
}

std::optional<std::string> CliArguments::OptionValue(std::string_view option) const {
    for (const std::string& given : options) {
        if (given.size() > option.size() && given.starts_with(option) && given[option.size()] == '=')
            return given.substr(option.size() + 1);
    }
    return std::nullopt;
}

bool CliSubcommand::TakesValue(std::string_view option) const {
    return AcceptsOption(std::string(option) + "=");
}

bool CliSubcommand::AcceptsOption(std::string_view option) const {
    std::string_view rest = options;
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == option)
            return true;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

std::span<const CliSubcommand> Subcommands() {
    return kSubcommands;
}

const CliSubcommand* FindSubcommand(std::string_view name) {
    for (const CliSubcommand& subcommand : kSubcommands) {
        if (subcommand.name == name)
            return &subcommand;
    }
    return nullptr;
}

} // namespace kestra
