#include "tools/fpga_flow.h"

#include "analysis/design_units.h"
#include "commands/generate_commands.h"
#include "model/design_object.h"
#include "model/item_kind.h"
#include "project/hierarchy_item.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/project_session.h"
#include "system/file_system.h"
#include "system/settings_store.h"
#include "text/char_class.h"
#include "tools/vhdl_check.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace kestra {

namespace {

using FindProgram = std::function<std::string(std::string_view)>;

// "12", "12.5", "12 MHz": the number's text; none for anything else or a number not above 0.
std::optional<std::string> FrequencyNumber(std::string_view text) {
    std::string number(TrimBlanks(text));
    if (number.size() > 3 && SameTextNoCase(number.substr(number.size() - 3), "MHz"))
        number = std::string(TrimBlanks(std::string_view(number).substr(0, number.size() - 3)));
    if (number.empty() || number.find_first_not_of("0123456789.") != std::string::npos ||
        std::count(number.begin(), number.end(), '.') > 1 || number == ".")
        return std::nullopt;
    return std::strtod(number.c_str(), nullptr) > 0 ? std::optional<std::string>(number) : std::nullopt;
}

std::string FrequencyRefusal(const std::string& text) {
    return "The target frequency \"" + text + "\" is no number of MHz above 0.";
}

// The setting's name as the flow writes it.
const char* CanonicalName(std::string_view name) {
    for (const char* known : {kTargetEntry, kTargetFrequencyEntry, kConstraintsEntry, kTestbenchEntry}) {
        if (SameTextNoCase(name, known))
            return known;
    }
    return "";
}

std::string RootEntry(const CKSTDoc& doc, std::string_view name) {
    const CHierarchyItem* root = doc.Tree().GetRootItem();
    const CKSTObject* object = root != nullptr ? root->Object() : nullptr;
    for (int i = 1; object != nullptr && i < object->GetEntryCount(); ++i) {
        if (SameTextNoCase(object->GetEntryName(i), name))
            return object->GetEntryValue(i);
    }
    return {};
}

// The programs of a plan, found on PATH, or what to install.
class CProgramSearch {
public:
    explicit CProgramSearch(const FindProgram& find) : m_find(find) {}
    std::string operator()(const FlowProgram& wanted) {
        std::string found = m_find(wanted.program);
        if (found.empty() && m_missing.empty())
            m_missing = std::string(wanted.program) + " was not found on PATH: install the Debian package " +
                        std::string(wanted.debianPackage) + ".";
        return found;
    }
    const std::string& Missing() const { return m_missing; }

private:
    const FindProgram& m_find;
    std::string m_missing;
};

constexpr FlowProgram kGhdl{"ghdl", "ghdl"};
constexpr FlowProgram kYosys{"yosys", "yosys"};

std::vector<std::string> GhdlCommand(std::string_view command, bool vhdl2008, const std::string& library) {
    std::vector<std::string> arguments{std::string(command)};
    for (std::string& option : AnalyzerOptions(VhdlAnalyzer::Kind::Ghdl, vhdl2008))
        arguments.push_back(std::move(option));
    arguments.push_back("--work=" + library);
    return arguments;
}

FlowStep Step(const std::string& title, const std::string& program, std::vector<std::string> arguments,
              const FlowPlan& plan, const std::string& reportAs) {
    return {title, {title, program, std::move(arguments), plan.folder}, {}, reportAs, {}};
}

void AddAnalysis(FlowPlan& plan, const std::string& ghdl, const FlowRequest& request) {
    for (const GeneratedLibraryFile& file : request.design.libraryFiles) {
        std::vector<std::string> arguments = GhdlCommand("-a", request.vhdl2008, file.library);
        arguments.push_back(file.path.string());
        plan.steps.push_back(Step("GHDL analysis", ghdl, arguments, plan, "GHDL"));
    }
}

// GHDL writes the netlist to its standard output; yosys writes its whole log to a file, its
// warnings and errors to the message log.
void AddSynthesis(FlowPlan& plan, CProgramSearch& search, const FlowRequest& request) {
    const std::string ghdl = search(kGhdl);
    const std::string yosys = search(kYosys);
    AddAnalysis(plan, ghdl, request);
    const std::string& top = request.design.top;
    std::vector<std::string> synth = GhdlCommand("--synth", request.vhdl2008, request.design.library);
    synth.insert(synth.end(), {"--out=verilog", request.design.path.string(), "-e", top});
    plan.steps.push_back(Step("GHDL synthesis", ghdl, synth, plan, "GHDL"));
    plan.steps.back().standardOutput = plan.folder / (top + ".v");
    const std::string script = "read_verilog " + top + ".v; " +
                               std::string(plan.target.family->synthesisCommand) + " -top " + top +
                               " -json " + top + ".json";
    const std::string log = top + ".yosys.log";
    plan.steps.push_back(Step("yosys synthesis", yosys, {"-q", "-l", log, "-p", script}, plan, "yosys"));
    plan.steps.back().fullLog = plan.folder / log;
    plan.result = plan.folder / (top + ".json");
}

void AddImplementation(FlowPlan& plan, CProgramSearch& search, const FlowRequest& request) {
    const FpgaFamily& family = *plan.target.family;
    const std::string placer = search(family.placeAndRoute);
    const std::string packer = search(family.packer);
    const std::string& top = request.design.top;
    const std::string placed = top + std::string(family.placedExtension);
    const std::string log = top + ".nextpnr.log";
    std::vector<std::string> arguments{"-q",
                                       "-l",
                                       log,
                                       std::string(plan.target.device->option),
                                       "--package",
                                       plan.target.package,
                                       "--json",
                                       top + ".json",
                                       std::string(family.constraintsOption),
                                       plan.constraints.string(),
                                       std::string(family.placedOption),
                                       placed};
    if (const std::optional<std::string> megahertz = FrequencyNumber(request.settings.frequency))
        arguments.insert(arguments.end(), {"--freq", *megahertz});
    plan.steps.push_back(Step("Place and route", placer, arguments, plan, "nextpnr"));
    plan.steps.back().fullLog = plan.folder / log;
    const std::string bitstream = top + std::string(family.bitstreamExtension);
    plan.steps.push_back(Step("Bitstream", packer, {placed, bitstream}, plan, "icepack"));
    plan.result = plan.folder / bitstream;
}

// The first entity of the test bench's file; fails with the reason.
Result<std::string> TestbenchEntity(const std::filesystem::path& bench) {
    if (bench.empty())
        return Result<std::string>::Failed(std::string("Set the project's Link parameter \"") +
                                           kTestbenchEntry + "\" to the test bench's VHDL file.");
    const Result<std::string> text = ReadWholeFile(bench);
    if (!text)
        return Result<std::string>::Failed(
            WithReason("Cannot read the test bench " + bench.string() + ".", text.Reason()));
    for (const DesignUnit& unit : ReadDesignUnits(*text).units) {
        if (unit.kind == DesignUnitKind::Entity)
            return unit.name;
    }
    return Result<std::string>::Failed("The test bench " + bench.string() + " declares no entity.");
}

Outcome AddSimulation(FlowPlan& plan, CProgramSearch& search, const FlowRequest& request) {
    const Result<std::string> entity = TestbenchEntity(request.settings.testbench);
    if (!entity)
        return Outcome::Failed(entity.Reason());
    const std::string ghdl = search(kGhdl);
    AddAnalysis(plan, ghdl, request);
    std::vector<std::string> analyse = GhdlCommand("-a", request.vhdl2008, request.design.library);
    analyse.push_back(request.design.path.string());
    plan.steps.push_back(Step("GHDL analysis", ghdl, analyse, plan, "GHDL"));
    analyse = GhdlCommand("-a", request.vhdl2008, "work");
    analyse.push_back(request.settings.testbench.string());
    plan.steps.push_back(Step("GHDL analysis", ghdl, analyse, plan, "GHDL"));
    std::vector<std::string> elaborate = GhdlCommand("-e", request.vhdl2008, "work");
    elaborate.push_back(*entity);
    plan.steps.push_back(Step("GHDL elaboration", ghdl, elaborate, plan, "GHDL"));
    const std::string wave = *entity + ".ghw";
    std::vector<std::string> run = GhdlCommand("-r", request.vhdl2008, "work");
    run.insert(run.end(), {*entity, "--wave=" + wave, "--assert-level=error"});
    plan.steps.push_back(Step("Simulation", ghdl, run, plan, "GHDL"));
    plan.result = plan.folder / wave;
    return Outcome::Ok();
}

Outcome ChooseTarget(FlowPlan& plan, const FlowRequest& request) {
    if (request.settings.target.empty())
        return Outcome::Failed(std::string("Set the project's parameter \"") + kTargetEntry +
                               "\" to the FPGA the design is for, for example \"iCE40 HX1K tq144\".");
    Result<FpgaTarget> target = ParseFpgaTarget(request.settings.target);
    if (!target)
        return Outcome::Failed(target.Reason());
    plan.target = *target;
    if (!request.settings.frequency.empty() && !FrequencyNumber(request.settings.frequency))
        return Outcome::Failed(FrequencyRefusal(request.settings.frequency));
    if (request.kind == FlowKind::Implementation) {
        plan.constraints = request.settings.constraints;
        if (plan.constraints.empty())
            return Outcome::Failed(std::string("Set the project's Link parameter \"") + kConstraintsEntry +
                                   "\" to the constraint file (" +
                                   std::string(plan.target.family->constraintsExtension) +
                                   ") that gives each port its pin.");
        std::error_code error;
        if (!std::filesystem::is_regular_file(plan.constraints, error))
            return Outcome::Failed("The constraint file " + plan.constraints.string() + " does not exist.");
    }
    return Outcome::Ok();
}

} // namespace

FlowSettings ReadFlowSettings(const CKSTDoc& doc) {
    const std::filesystem::path folder = std::filesystem::path(doc.GetPathName()).parent_path();
    const auto file = [&](const char* name) {
        const std::string value = RootEntry(doc, name);
        return value.empty() ? std::filesystem::path() : (folder / value).lexically_normal();
    };
    return {RootEntry(doc, kTargetEntry), RootEntry(doc, kTargetFrequencyEntry), file(kConstraintsEntry),
            file(kTestbenchEntry)};
}

FlowRequest FlowRequestFor(const CKSTDoc& doc, FlowKind kind, const GeneratedFile& design) {
    FlowRequest request{kind, ReadFlowSettings(doc), design,
                        doc.ResolvedDestinationFolder() / "flow" / design.top, false};
    std::vector<std::filesystem::path> files{design.path};
    for (const GeneratedLibraryFile& file : design.libraryFiles)
        files.push_back(file.path);
    for (const std::filesystem::path& file : files)
        request.vhdl2008 = request.vhdl2008 || NeedsVhdl2008(ReadWholeFile(file).ValueOr(std::string()));
    return request;
}

bool IsFlowSetting(std::string_view name) {
    return SameTextNoCase(name, kTargetEntry) || SameTextNoCase(name, kTargetFrequencyEntry) ||
           SameTextNoCase(name, kConstraintsEntry) || SameTextNoCase(name, kTestbenchEntry);
}

Outcome SetFlowSetting(CKSTDoc& doc, std::string_view name, const std::string& value) {
    if (!IsFlowSetting(name))
        return Outcome::Failed(std::string(name) + " is not a setting of the flow.");
    const bool file = SameTextNoCase(name, kConstraintsEntry) || SameTextNoCase(name, kTestbenchEntry);
    std::string stored = value;
    if (SameTextNoCase(name, kTargetEntry) && !value.empty()) {
        const Result<FpgaTarget> target = ParseFpgaTarget(value);
        if (!target)
            return Outcome::Failed(target.Reason());
        stored = target->Text();
    } else if (SameTextNoCase(name, kTargetFrequencyEntry) && !value.empty()) {
        const std::optional<std::string> megahertz = FrequencyNumber(value);
        if (!megahertz)
            return Outcome::Failed(FrequencyRefusal(value));
        stored = *megahertz;
    }
    CHierarchyItem* root = doc.Tree().GetRootItem();
    CKSTObject* object = root != nullptr ? root->Object() : nullptr;
    if (object == nullptr)
        return Outcome::Failed("The project has no root item.");
    int entry = -1;
    for (int i = 1; i < object->GetEntryCount() && entry < 0; ++i) {
        if (SameTextNoCase(object->GetEntryName(i), name))
            entry = i;
    }
    if (entry < 0) {
        entry = object->AddEntry() - 1;
        object->SetEntry(entry, file ? EntryKind::Link : EntryKind::Note, CanonicalName(name), "");
    }
    if (object->GetEntryValue(entry) != stored) {
        object->SetEntryText(entry, EntryField::Value, stored);
        doc.SetModifiedFlag(true);
    }
    return Outcome::Ok();
}

const char* FlowTitle(FlowKind kind) {
    switch (kind) {
    case FlowKind::Synthesis:
        return "Synthesis";
    case FlowKind::Implementation:
        return "Implementation";
    case FlowKind::Simulation:
        return "Simulation";
    }
    return "";
}

Result<FlowPlan> PlanFlow(const FlowRequest& request, const FindProgram& findProgram) {
    FlowPlan plan;
    plan.kind = request.kind;
    plan.folder = request.folder;
    CProgramSearch search(findProgram);
    Outcome planned = Outcome::Ok();
    if (request.kind == FlowKind::Simulation) {
        planned = AddSimulation(plan, search, request);
    } else {
        planned = ChooseTarget(plan, request);
        if (planned) {
            AddSynthesis(plan, search, request);
            if (request.kind == FlowKind::Implementation)
                AddImplementation(plan, search, request);
        }
    }
    if (!planned)
        return Result<FlowPlan>::Failed(planned.Reason());
    if (!search.Missing().empty())
        return Result<FlowPlan>::Failed(search.Missing());
    return plan;
}

CHierarchyItem* FlowTopOf(CHierarchyItem* item) {
    if (item == nullptr)
        return nullptr;
    if (item->Kind() == HierarchyKind::Root)
        return item->FirstChild();
    while (item->Parent() != nullptr && item->Parent()->Kind() != HierarchyKind::Root)
        item = item->Parent();
    return item;
}

Result<FlowPlan> PrepareFlow(CProjectSession& session, CHierarchyItem* module, FlowKind kind,
                             const FindProgram& findProgram) {
    if (module == nullptr)
        return Result<FlowPlan>::Failed("The project has no module to build.");
    CHierarchyItem* selected = session.Selected();
    session.Select(module);
    CGenerateCommands commands(session);
    const bool generated = commands.OnGenerate(false) && !commands.Completed().generated.empty();
    session.Select(selected);
    if (!generated)
        return Result<FlowPlan>::Failed("Generate did not write the design of " + module->Text() +
                                        ": the log says why.");
    return PlanFlow(FlowRequestFor(session.Doc(), kind, commands.Completed().generated.front()), findProgram);
}

std::filesystem::path LatestWaveform(const CKSTDoc& doc) {
    std::filesystem::path latest;
    std::filesystem::file_time_type latestTime;
    std::error_code error;
    const std::filesystem::path flows = doc.ResolvedDestinationFolder() / "flow";
    for (const auto& top : std::filesystem::directory_iterator(flows, error)) {
        for (const auto& file : std::filesystem::directory_iterator(top.path(), error)) {
            if (file.path().extension() != ".ghw")
                continue;
            const auto time = std::filesystem::last_write_time(file.path(), error);
            if (!error && (latest.empty() || time > latestTime)) {
                latest = file.path();
                latestTime = time;
            }
        }
    }
    return latest;
}

bool RunsOwnFlow(std::string_view program, std::string_view projectLink) {
    const std::string name = std::filesystem::path(program).filename().string();
    return projectLink.empty() && (name == "yosys" || name == "ghdl" || name.starts_with("nextpnr-"));
}

std::optional<FlowKind> OwnFlowOf(ExternalTool tool, CSettingsStore& settings, const CKSTDoc& doc,
                                  const FindProgram& findProgram) {
    std::optional<FlowKind> kind;
    if (tool == ExternalTool::Synthesizer)
        kind = FlowKind::Synthesis;
    else if (tool == ExternalTool::Implementer)
        kind = FlowKind::Implementation;
    else if (tool == ExternalTool::VhdlSimulator)
        kind = FlowKind::Simulation;
    if (!kind)
        return std::nullopt;
    const ExternalToolRow& row = ToolRow(tool);
    std::string program = settings.ReadSetting(kToolsSection, row.programKey);
    for (std::size_t i = 0; program.empty() && i < row.searchNames.size(); ++i)
        program = findProgram(row.searchNames[i]);
    if (program.empty() || !RunsOwnFlow(program, ProjectLinkValue(doc, tool)))
        return std::nullopt;
    return kind;
}

} // namespace kestra
