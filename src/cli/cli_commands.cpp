#include "cli_commands.h"

#include "analysis/scanner.h"
#include "cli_session.h"
#include "project_printer.h"

#include <array>
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
    CHierarchyCommands& commands = session.Commands();
    commands.Select(parent);
    CHierarchyItem* item = commands.OnAddModule();
    if (item == nullptr)
        return CommandResult::Refused();
    if (!commands.EndNameEdit(item, arguments.operands[1])) {
        // Nobody can go on editing the name here: a module that got no name is not kept.
        session.Doc().Tree().DeleteItem(item);
        commands.Select(parent);
        return CommandResult::Refused();
    }
    return CommandResult::Done();
}

// The handlers below act on one selected module named by the first operand.
CHierarchyItem* SelectModule(CCliSession& session, const std::string& name) {
    CHierarchyItem* item = session.FindItem(name);
    if (item != nullptr)
        session.Commands().Select(item);
    return item;
}

CommandResult RunRename(CCliSession& session, const CliArguments& arguments) {
    CHierarchyItem* item = SelectModule(session, arguments.operands[0]);
    if (item == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(session.Commands().EndNameEdit(item, arguments.operands[1]));
}

CommandResult RunRemove(CCliSession& session, const CliArguments& arguments) {
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(session.Commands().OnRemove());
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
    return CommandResult::From(session.Commands().OnMove(*command) && item->IndexInParent() != before);
}

CommandResult RunSetKind(CCliSession& session, const CliArguments& arguments) {
    static constexpr std::array<std::pair<std::string_view, int>, 4> kWords{{
        {"normal", kItemNormal},
        {"library", kItemLibrary},
        {"predefined", kItemPredefined},
        {"package", kItemPackage},
    }};
    const int* kind = FindWord(kWords, arguments.operands[1]);
    if (kind == nullptr)
        return CommandResult::Usage("expected normal, library, predefined or package, not '" +
                                    arguments.operands[1] + "'");
    if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(session.Commands().OnSetKind(*kind));
}

CommandResult RunSet(CCliSession& session, const CliArguments& arguments) {
    const std::string& module = arguments.operands[0];
    const std::string& parameter = arguments.operands[1];
    CHierarchyItem* item = SelectModule(session, module);
    if (item == nullptr)
        return NoSuchModule(module);
    const CKSTObject& object = *item->Object();
    for (int entry = 0; entry < object.GetEntryCount(); ++entry) {
        if (SameTextNoCase(object.GetEntryName(entry), parameter))
            return CommandResult::From(
                session.Commands().EndParameterEdit(item, entry, 1, arguments.operands[2]));
    }
    return CommandResult::Usage("module '" + module + "' has no parameter '" + parameter + "'");
}

CommandResult RunAnalyze(CCliSession& session, const CliArguments& arguments) {
    if (arguments.operands.empty())
        session.Commands().Select(session.Doc().Tree().GetRootItem());
    else if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(session.Commands().OnAnalyzeModule());
}

CommandResult RunGenerate(CCliSession& session, const CliArguments& arguments) {
    if (arguments.operands.empty())
        session.Commands().Select(session.Doc().Tree().GetRootItem());
    else if (SelectModule(session, arguments.operands[0]) == nullptr)
        return NoSuchModule(arguments.operands[0]);
    return CommandResult::From(session.Commands().OnGenerate(arguments.HasOption("--individual")));
}

constexpr CliSubcommand kSubcommands[] = {
    {"new", "P.kst", "create a project (its file and module folder)", 1, 1, "", ProjectUse::Create, RunNew},
    {"show", "P.kst [--json]", "print the hierarchy with each item's entries and signals", 1, 1, "--json",
     ProjectUse::Open, RunShow},
    {"add", "P.kst PARENT NAME", "add module NAME under PARENT (a normal module or the project)", 3, 3, "",
     ProjectUse::Open, RunAdd},
    {"rename", "P.kst MODULE NEWNAME", "rename a module and its file, or the project and its module folder",
     3, 3, "", ProjectUse::Open, RunRename},
    {"remove", "P.kst MODULE", "remove a module and its children; their files are kept as .bak", 2, 2, "",
     ProjectUse::Open, RunRemove},
    {"move", "P.kst MODULE top|up|down|bottom", "move a module among its siblings", 3, 3, "",
     ProjectUse::Open, RunMove},
    {"set-kind", "P.kst MODULE normal|library|predefined|package",
     "set the kind of a module without children", 3, 3, "", ProjectUse::Open, RunSetKind},
    {"set", "P.kst MODULE PARAMETER VALUE", "set a parameter's value (name in any letter case)", 4, 4, "",
     ProjectUse::Open, RunSet},
    {"analyze", "P.kst [MODULE]", "analyse a module and its subtree (default: the whole project)", 1, 2, "",
     ProjectUse::Open, RunAnalyze},
    {"generate", "P.kst [MODULE] [--individual]",
     "write synthesizable VHDL of a module and its children (default: every top module) to the destination "
     "folder; --individual leaves the children out",
     1, 2, "--individual", ProjectUse::Open, RunGenerate},
};

} // namespace

bool CliArguments::HasOption(std::string_view option) const {
    for (const std::string& given : options) {
        if (given == option)
            return true;
    }
    return false;
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
