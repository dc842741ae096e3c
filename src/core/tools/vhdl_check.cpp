#include "tools/vhdl_check.h"

#include "analysis/token_reader.h"
#include "commands/completed_work.h"
#include "project/hierarchy_item.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "text/char_class.h"
#include "tools/check_manifest.h"

#include <algorithm>
#include <set>

namespace kestra {

namespace {

bool IsModuleWithSource(const CHierarchyItem& item) {
    return item.Kind() == HierarchyKind::Normal || item.Kind() == HierarchyKind::Library ||
           item.Kind() == HierarchyKind::Package;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "file:line:column:rest" with the numbers found from the left of the first ":<n>:<n>:".
bool SplitLocation(std::string_view line, CheckMessage& message) {
    for (std::size_t colon = line.find(':'); colon != std::string_view::npos;
         colon = line.find(':', colon + 1)) {
        const std::size_t second = line.find(':', colon + 1);
        if (second == std::string_view::npos)
            return false;
        const std::size_t third = line.find(':', second + 1);
        if (third == std::string_view::npos)
            return false;
        const std::string_view lineText = line.substr(colon + 1, second - colon - 1);
        const std::string_view columnText = line.substr(second + 1, third - second - 1);
        if (colon == 0 || !IsDigits(lineText) || !IsDigits(columnText))
            continue;
        message.file = std::string(line.substr(0, colon));
        message.line = std::stoi(std::string(lineText));
        message.column = std::stoi(std::string(columnText));
        std::string_view rest = line.substr(third + 1);
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        if (rest.starts_with("warning:") || rest.starts_with("note:")) {
            message.error = false;
            rest.remove_prefix(rest.find(':') + 1);
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
        }
        message.text = std::string(rest);
        return true;
    }
    return false;
}

std::string FileName(const std::filesystem::path& path) {
    return path.filename().string();
}

} // namespace

bool MessageNamesFile(const std::string& reported, const std::filesystem::path& path) {
    return std::filesystem::path(reported).lexically_normal() == path.lexically_normal() ||
           std::filesystem::path(reported).filename() == path.filename();
}

const char* VhdlAnalyzer::Name() const {
    switch (kind) {
    case Kind::Ghdl:
        return "GHDL";
    case Kind::Nvc:
        return "NVC";
    case Kind::None:
        break;
    }
    return "VHDL analyser";
}

VhdlAnalyzer FindVhdlAnalyzer(const std::function<std::string(std::string_view)>& findProgram) {
    if (std::string ghdl = findProgram("ghdl"); !ghdl.empty())
        return {VhdlAnalyzer::Kind::Ghdl, std::move(ghdl)};
    if (std::string nvc = findProgram("nvc"); !nvc.empty())
        return {VhdlAnalyzer::Kind::Nvc, std::move(nvc)};
    return {};
}

bool NeedsVhdl2008(std::string_view source) {
    static constexpr std::string_view kWords2008[] = {"context",           "numeric_std_unsigned",
                                                      "fixed_pkg",         "float_pkg",
                                                      "fixed_generic_pkg", "float_generic_pkg"};
    CTokenReader reader(source);
    VhdlToken previous[2];
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        const std::string_view text = source.substr(token.start, token.end - token.start);
        if (token.Is('?'))
            return true;
        if (token.kind == TokenKind::Word) {
            for (std::string_view word : kWords2008) {
                if (SameTextNoCase(text, word))
                    return true;
            }
            // process (all)
            if (SameTextNoCase(text, "all") && previous[1].Is('(') && previous[0].kind == TokenKind::Word &&
                SameTextNoCase(source.substr(previous[0].start, previous[0].end - previous[0].start),
                               "process"))
                return true;
        }
        previous[0] = previous[1];
        previous[1] = token;
    }
    return false;
}

std::vector<std::string> AnalyzerOptions(VhdlAnalyzer::Kind kind, bool vhdl2008) {
    if (kind == VhdlAnalyzer::Kind::Nvc)
        return {vhdl2008 ? "--std=2008" : "--std=1993"};
    return {vhdl2008 ? "--std=08" : "--std=93c", "--ieee=synopsys", "-fexplicit", "-fno-caret-diagnostics"};
}

CheckJob ModuleCheckJob(const CKSTDoc& doc, const std::vector<const CHierarchyItem*>& analyzed) {
    CheckJob job;
    std::set<std::filesystem::path> seen;
    auto add = [&](const CHierarchyItem& item) {
        if (!IsModuleWithSource(item))
            return;
        const std::filesystem::path path = doc.ModuleSourcePath(item);
        if (path.empty() || !FileExists(path) || !seen.insert(path.lexically_normal()).second)
            return;
        job.files.push_back({path, doc.ModuleLibrary(item)});
        for (const std::filesystem::path& file : doc.ModuleArchitectureFiles(item)) {
            if (FileExists(file) && seen.insert(file.lexically_normal()).second)
                job.files.push_back({file, doc.ModuleLibrary(item)});
        }
    };
    const CHierarchyTree& tree = doc.Tree();
    for (const CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->Kind() == HierarchyKind::Package)
            add(*item);
    }
    for (const CHierarchyItem* module : analyzed) {
        // Children before parents: the subtree backwards.
        CHierarchyItem* subtree = const_cast<CHierarchyItem*>(module);
        for (CHierarchyItem* item = CHierarchyTree::LastDescendant(subtree);;
             item = CHierarchyTree::PreviousItem(item)) {
            add(*item);
            if (item == module)
                break;
        }
    }
    return job;
}

std::vector<CheckJob> CheckJobsAfter(const CKSTDoc& doc, const CompletedWork& work) {
    std::vector<CheckJob> jobs;
    for (const GeneratedFile& file : work.generated) {
        CheckJob job;
        for (const GeneratedLibraryFile& libraryFile : file.libraryFiles)
            job.files.push_back({libraryFile.path, libraryFile.library});
        job.files.push_back({file.path, file.library});
        job.top = file.top;
        job.afterFailedCommand = work.failed;
        for (const GeneratedUnits& unit : file.units)
            job.units.push_back({unit.firstLine, unit.module});
        jobs.push_back(std::move(job));
    }
    if (jobs.empty() && work.analyzedSubtree != nullptr) {
        CheckJob job = ModuleCheckJob(doc, {work.analyzedSubtree});
        job.afterFailedCommand = work.failed;
        if (!job.Empty())
            jobs.push_back(std::move(job));
    }
    return jobs;
}

void KeepCheckWorkFolders(std::vector<CheckJob>& jobs, const std::filesystem::path& projectFolder) {
    if (projectFolder.empty())
        return;
    for (CheckJob& job : jobs) {
        if (!job.Empty())
            job.workFolder = projectFolder / HexHash(job.files.back().path.lexically_normal().string());
    }
}

std::vector<CheckMessage> ParseAnalyzerOutput(VhdlAnalyzer::Kind kind, std::string_view output) {
    std::vector<CheckMessage> messages;
    for (std::string_view line : TextLines(output)) {
        if (line.empty())
            continue;
        CheckMessage message;
        if (kind == VhdlAnalyzer::Kind::Nvc) {
            // "** Error: text" followed by a line "    > file:line" (NVC 1.x).
            const std::size_t first = line.find_first_not_of(' ');
            std::string_view trimmed = line.substr(first == std::string_view::npos ? line.size() : first);
            if (trimmed.starts_with("** Error:") || trimmed.starts_with("** Fatal:") ||
                trimmed.starts_with("** Warning:")) {
                message.error = !trimmed.starts_with("** Warning:");
                trimmed.remove_prefix(trimmed.find(':') + 1);
                message.text =
                    std::string(trimmed.substr(trimmed.find_first_not_of(' ') == std::string_view::npos
                                                   ? trimmed.size()
                                                   : trimmed.find_first_not_of(' ')));
                messages.push_back(message);
            } else if (trimmed.starts_with("> ") && !messages.empty() && messages.back().file.empty()) {
                const std::string_view where = trimmed.substr(2);
                const std::size_t colon = where.rfind(':');
                if (colon != std::string_view::npos && IsDigits(where.substr(colon + 1))) {
                    messages.back().file = std::string(where.substr(0, colon));
                    messages.back().line = std::stoi(std::string(where.substr(colon + 1)));
                }
            }
            continue;
        }
        if (SplitLocation(line, message)) {
            messages.push_back(std::move(message));
            continue;
        }
        // A message of the program itself ("ghdl: ...", "/usr/bin/ghdl-mcode: cannot find ...").
        const std::size_t colon = line.find(": ");
        if (colon != std::string_view::npos) {
            const std::string name =
                std::filesystem::path(std::string(line.substr(0, colon))).filename().string();
            if (name.starts_with("ghdl")) {
                message.text = std::string(line.substr(colon + 2));
                if (message.text != "compilation error")
                    messages.push_back(std::move(message));
            }
        }
    }
    return messages;
}

namespace {

// The module whose units hold the line of a generated file: the last one that begins at or
// before it.
const CHierarchyItem* ModuleAtLine(const std::vector<CheckedUnit>& units, int line) {
    const CHierarchyItem* module = nullptr;
    for (const CheckedUnit& unit : units) {
        if (unit.firstLine <= line)
            module = unit.module;
    }
    return module;
}

void MarkGeneratedUnits(const CKSTDoc& doc, const CheckJob& job, const CheckOutcome& outcome) {
    std::set<const CHierarchyItem*> failed;
    const bool fileFailed = !outcome.failedFiles.empty();
    for (const CheckMessage& message : outcome.messages) {
        if (!message.error)
            continue;
        // An error without a place (elaboration) is the top's.
        const CHierarchyItem* module = message.file.empty() || message.line <= 0
                                           ? job.units.front().module
                                           : ModuleAtLine(job.units, message.line);
        if (module != nullptr)
            failed.insert(module);
    }
    for (CHierarchyItem* item = doc.Tree().GetRootItem(); item != nullptr; item = doc.Tree().NextItem(item)) {
        const bool inFile = std::any_of(job.units.begin(), job.units.end(),
                                        [item](const CheckedUnit& unit) { return unit.module == item; });
        if (inFile)
            item->SetCheckFailed(fileFailed && failed.count(item) != 0);
    }
}

} // namespace

void MarkCheckedItems(const CKSTDoc& doc, const CheckJob& job, const CheckOutcome& outcome) {
    if (!job.units.empty()) {
        MarkGeneratedUnits(doc, job, outcome);
        return;
    }
    for (CHierarchyItem* item = doc.Tree().GetRootItem(); item != nullptr; item = doc.Tree().NextItem(item)) {
        if (!IsModuleWithSource(*item))
            continue;
        const std::filesystem::path path = doc.ModuleSourcePath(*item);
        if (path.empty())
            continue;
        if (std::find(outcome.failedFiles.begin(), outcome.failedFiles.end(), path) !=
            outcome.failedFiles.end())
            item->SetCheckFailed(true);
        else if (std::any_of(job.files.begin(), job.files.end(),
                             [&path](const CheckFile& file) { return file.path == path; }))
            item->SetCheckFailed(false);
    }
}

std::string CheckLogText(const VhdlAnalyzer& analyzer, const CheckJob& job, const CheckOutcome& outcome) {
    const std::string name = analyzer.Name();
    std::string text;
    if (outcome.cancelled)
        return text;
    if (outcome.analyzerFailed)
        return "\r\n" + name + " check: " + analyzer.program + " could not be run.";
    for (const CheckMessage& message : outcome.messages) {
        text += "\r\n" + name + ": ";
        if (!message.file.empty()) {
            // The analyser runs in its work folder: a file it names is one of the job's paths.
            std::string file = message.file;
            for (const CheckFile& checked : job.files) {
                if (MessageNamesFile(message.file, checked.path))
                    file = checked.path.string();
            }
            text += file + ":" + std::to_string(message.line) + ":" + std::to_string(message.column) + ": ";
            if (!message.error)
                text += "warning: ";
        }
        text += message.text;
    }
    if (outcome.failedFiles.empty()) {
        // After a command that failed, a clean check is no good news: it is not reported.
        if (job.afterFailedCommand)
            return text;
        text += "\r\n" + name + " check: no error in " +
                (job.files.size() == 1 ? FileName(job.files[0].path)
                                       : std::to_string(job.files.size()) + " files") +
                ".";
        return text;
    }
    // Errors per failed file, by the file each message names (or the file it was found in).
    for (const std::filesystem::path& file : outcome.failedFiles) {
        int count = 0;
        for (const CheckMessage& message : outcome.messages) {
            if (message.error && !message.file.empty() && MessageNamesFile(message.file, file))
                ++count;
        }
        if (count == 0)
            count = 1;
        text += "\r\n" + name + " check: " + std::to_string(count) +
                (count == 1 ? " error in " : " errors in ") + FileName(file) + ".";
    }
    return text;
}

int CProcessRunner::RunToFile(const std::string& program, const std::vector<std::string>& arguments,
                              const std::filesystem::path& folder,
                              const std::filesystem::path& standardOutput, std::string& output,
                              const std::atomic<bool>* cancel) {
    const int status = Run(program, arguments, folder, output, cancel);
    if (!ReplaceFileSafely(standardOutput, output)) {
        output = "Cannot write " + standardOutput.string() + ".";
        return -1;
    }
    output.clear();
    return status;
}

std::optional<SourceLocation> LocationInCheckLine(std::string_view line) {
    // The check's lines, and the lines of the flow's tools (FlowMessageLine).
    for (const char* prefix : {"GHDL: ", "NVC: ", "yosys: ", "nextpnr: "}) {
        if (!line.starts_with(prefix))
            continue;
        CheckMessage message;
        if (!SplitLocation(line.substr(std::string_view(prefix).size()), message))
            return std::nullopt;
        return SourceLocation{message.file, message.line};
    }
    return std::nullopt;
}

} // namespace kestra
