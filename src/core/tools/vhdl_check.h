#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CHierarchyItem;
struct CompletedWork;
class CKSTDoc;

// The real VHDL analyser the check runs: GHDL when it is on PATH, else NVC, else none.
struct VhdlAnalyzer {
    enum class Kind { None, Ghdl, Nvc };
    Kind kind = Kind::None;
    std::string program;
    // "GHDL" or "NVC": the prefix of the check's log lines.
    const char* Name() const;
};

// findProgram answers a program's full path on PATH, or empty.
VhdlAnalyzer FindVhdlAnalyzer(const std::function<std::string(std::string_view)>& findProgram);

// Whether a source uses what only VHDL-2008 has (process (all), contexts, matching operators,
// the 2008 IEEE packages); comments and strings are not looked at.
bool NeedsVhdl2008(std::string_view source);

// The options every file of a check is analysed with: the tool's own sources and generated files
// use IEEE.std_logic_arith and friends, so VHDL-93 with the Synopsys packages; a check in which
// one file needs VHDL-2008 analyses all of its files as VHDL-2008 (one work library).
std::vector<std::string> AnalyzerOptions(VhdlAnalyzer::Kind kind, bool vhdl2008);

// What one check analyses: files in order (what a file needs comes before it), each with the
// VHDL library it is compiled into (lower case), and the top unit to elaborate after them (none
// after Analyze), which is in the library of the last file.
struct CheckFile {
    std::filesystem::path path;
    std::string library = "work";
};
// A check of a generated file knows where each module's units begin in it, so that an error
// marks the module it is in. A check after a Generate that failed says nothing when it finds
// nothing: that Generate did not succeed.
struct CheckedUnit {
    int firstLine = 1;
    const CHierarchyItem* module = nullptr;
};
struct CheckJob {
    std::vector<CheckFile> files;
    std::string top;
    std::vector<CheckedUnit> units;
    bool afterFailedCommand = false;
    // A folder kept from one check to the next, so that only what changed is analysed again;
    // empty: a private temporary folder for this check alone.
    std::filesystem::path workFolder;
    bool Empty() const { return files.empty(); }
};

// The check after Analyze: the project's packages, then the sources of the modules of the given
// subtrees, children first, each file once. Predefined modules
// (kept in the predefined library) and missing files are left out.
CheckJob ModuleCheckJob(const CKSTDoc& doc, const std::vector<const CHierarchyItem*>& analyzed);

// The checks of what Analyze or Generate just did: each generated file with its top, or else
// the analysed subtree's sources.
std::vector<CheckJob> CheckJobsAfter(const CKSTDoc& doc, const CompletedWork& work);

// Gives each job a kept work folder of its own below the project's (CheckWorkFolderFor), named
// after its last file, so that the checks of different subtrees and generated files never share
// libraries; an empty project folder leaves the jobs to private folders.
void KeepCheckWorkFolders(std::vector<CheckJob>& jobs, const std::filesystem::path& projectFolder);

// Runs a program to its end, collecting its standard output and error; the application's is a
// QProcess, tests may script it. A program that cannot start gives -1. Stops early (and answers
// -1) when the flag is raised.
class CProcessRunner {
public:
    virtual ~CProcessRunner() = default;
    [[nodiscard]] virtual int Run(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::filesystem::path& folder, std::string& output,
                                  const std::atomic<bool>* cancel) = 0;
    // As Run, with the program's standard output written to the file and only its standard
    // error collected in `output` (a program that writes its result there, such as a netlist).
    // This one runs the program and writes all it collected.
    [[nodiscard]] virtual int RunToFile(const std::string& program, const std::vector<std::string>& arguments,
                                        const std::filesystem::path& folder,
                                        const std::filesystem::path& standardOutput, std::string& output,
                                        const std::atomic<bool>* cancel);
};

// One message of the analyser: where (file empty when it names none) and what.
struct CheckMessage {
    std::string file;
    int line = 0;
    int column = 0;
    std::string text;
    bool error = true;
};

std::vector<CheckMessage> ParseAnalyzerOutput(VhdlAnalyzer::Kind kind, std::string_view output);

// Whether the file a message names is the job's file at `path`: the same path, or the same name
// (the analyser may name it as seen from its work folder).
bool MessageNamesFile(const std::string& reported, const std::filesystem::path& path);

struct CheckOutcome {
    bool cancelled = false;
    bool analyzerFailed = false; // the analyser could not be started
    std::vector<CheckMessage> messages;
    int errors = 0;
    // The files with errors, by their paths in the job.
    std::vector<std::filesystem::path> failedFiles;
    // The files the run analysed (in a kept work folder, those that were not current), by their
    // paths in the job.
    std::vector<std::filesystem::path> analyzedFiles;
};

// Analyses the job's files one at a time, each into its library, in the job's work folder or a
// private one (so good files stay in the libraries for the ones that need them), then elaborates
// the top when there was no error. In a kept work folder only the files that changed, failed or
// are new, and the files that use what they declare, are analysed again (see check_manifest.h);
// the top is elaborated every time. Errors with no file of their own (elaboration) count for the
// job's last file. progress(done, total) is told before each step.
CheckOutcome RunVhdlCheck(const CheckJob& job, const VhdlAnalyzer& analyzer, CProcessRunner& runner,
                          const std::atomic<bool>* cancel = nullptr,
                          const std::function<void(int, int)>& progress = {});

// Every tree item whose source the check analysed shows its result: failed for a file with
// errors, cleared for the others (a module used in several places is one file). For a
// generated file, the modules whose units hold an error show failed, the others of the file
// are cleared.
void MarkCheckedItems(const CKSTDoc& doc, const CheckJob& job, const CheckOutcome& outcome);

// The log text of a check: "<NAME>: file:line:column: message" per message, then a summary
// per failed file ("GHDL check: 2 errors in CHANNEL_A.vhd.") or one line for a clean check.
std::string CheckLogText(const VhdlAnalyzer& analyzer, const CheckJob& job, const CheckOutcome& outcome);

// The file and line a log line of a check names ("GHDL: /p/A.vhd:12:5: ..."); none for
// other lines.
struct SourceLocation {
    std::filesystem::path file;
    int line = 0;
};
[[nodiscard]] std::optional<SourceLocation> LocationInCheckLine(std::string_view line);

// The line once per run of the program when no analyser is found.
inline constexpr const char* kNoAnalyzerLine =
    "No VHDL analyser (ghdl or nvc) was found on PATH: sources and generated files are not checked.";

// The "Tools" setting that turns the check off ("0"); on when missing.
inline constexpr const char* kCheckSettingKey = "Check with VHDL analyser";

} // namespace kestra
