#include "system/file_lock.h"
#include "system/file_stamp.h"
#include "system/file_system.h"
#include "tools/check_manifest.h"
#include "tools/vhdl_check.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace kestra {

namespace {

// One run of a check in its work folder: the files of the plan analysed, each into its library,
// then the top elaborated, the program's messages recorded against the files they name.
class CCheckRun {
public:
    CCheckRun(const CheckJob& job, const VhdlAnalyzer& analyzer, CProcessRunner& runner,
              const std::atomic<bool>* cancel, const std::filesystem::path& work,
              std::vector<std::string> options)
        : m_job(job), m_analyzer(analyzer), m_runner(runner), m_cancel(cancel), m_work(work),
          m_options(std::move(options)), m_failed(job.files.size(), false),
          m_analyzed(job.files.size(), false) {}

    const CheckOutcome& Outcome() const { return m_outcome; }
    // Whether the file was analysed in this run, and without error.
    bool Analyzed(std::size_t index) const { return m_analyzed[index]; }
    bool Failed(std::size_t index) const { return m_failed[index]; }

    // Analyses the files the plan names, one at a time; false when the run stopped (cancelled, or
    // the analyser could not be run).
    bool AnalyzeFiles(const std::vector<bool>& plan, const std::function<void(int, int)>& progress,
                      int total) {
        int step = 0;
        for (std::size_t i = 0; i < m_job.files.size(); ++i) {
            if (!plan[i])
                continue;
            if (progress)
                progress(step++, total);
            std::string output;
            const int status =
                m_runner.Run(m_analyzer.program, AnalyzeArguments(m_job.files[i]), m_work, output, m_cancel);
            if (Cancelled())
                return false;
            if (status < 0 && output.empty()) {
                m_outcome.analyzerFailed = true;
                return false;
            }
            m_analyzed[i] = true;
            Record(output, i);
            // Failed without a message that names a file: count it for this file.
            CountFailure(status, i);
        }
        return true;
    }

    // Elaborates the top in the library of the last file; its errors without a file count for
    // that file. False when cancelled.
    bool ElaborateTop() {
        std::vector<std::string> arguments = LibraryArguments(m_job.files.back().library);
        if (m_analyzer.kind == VhdlAnalyzer::Kind::Nvc) {
            arguments.insert(arguments.end(), {"-e", m_job.top});
        } else {
            arguments.insert(arguments.begin(), "--elab-run");
            arguments.insert(arguments.end(), {m_job.top, "--no-run"});
        }
        std::string output;
        const int status = m_runner.Run(m_analyzer.program, arguments, m_work, output, m_cancel);
        if (Cancelled())
            return false;
        Record(output, m_job.files.size() - 1);
        CountFailure(status, m_job.files.size() - 1);
        return true;
    }

    // The outcome with the files that failed.
    CheckOutcome Finish() {
        for (std::size_t i = 0; i < m_job.files.size(); ++i) {
            if (m_failed[i])
                m_outcome.failedFiles.push_back(m_job.files[i].path);
            if (m_analyzed[i])
                m_outcome.analyzedFiles.push_back(m_job.files[i].path);
        }
        return std::move(m_outcome);
    }

private:
    // The options and the libraries of one run: the unit goes into `library` in the work folder,
    // where the other libraries are found too.
    std::vector<std::string> LibraryArguments(const std::string& library) const {
        std::vector<std::string> arguments = m_options;
        if (m_analyzer.kind == VhdlAnalyzer::Kind::Nvc) {
            arguments.insert(arguments.begin() + 1, {"--work=" + library + ":" + (m_work / library).string(),
                                                     "-L", m_work.string()});
        } else {
            arguments.insert(arguments.end(),
                             {"--workdir=" + m_work.string(), "-P" + m_work.string(), "--work=" + library});
        }
        return arguments;
    }

    std::vector<std::string> AnalyzeArguments(const CheckFile& file) const {
        std::vector<std::string> arguments = LibraryArguments(file.library);
        if (m_analyzer.kind == VhdlAnalyzer::Kind::Nvc)
            arguments.emplace_back("-a");
        else
            arguments.insert(arguments.begin(), "-a");
        arguments.push_back(file.path.string());
        return arguments;
    }

    bool Cancelled() {
        if (m_cancel == nullptr || !m_cancel->load())
            return false;
        m_outcome.cancelled = true;
        return true;
    }

    // The messages of one program run; an error counts for the file it names, else for `owner`.
    void Record(const std::string& output, std::size_t owner) {
        for (CheckMessage& message : ParseAnalyzerOutput(m_analyzer.kind, output)) {
            if (message.error) {
                ++m_outcome.errors;
                std::size_t index = owner;
                for (std::size_t i = 0; i < m_job.files.size(); ++i) {
                    if (!message.file.empty() && MessageNamesFile(message.file, m_job.files[i].path))
                        index = i;
                }
                m_failed[index] = true;
            }
            m_outcome.messages.push_back(std::move(message));
        }
    }

    // A run that failed without an error for the file counts as one.
    void CountFailure(int status, std::size_t index) {
        if (status != 0 && !m_failed[index]) {
            m_failed[index] = true;
            ++m_outcome.errors;
        }
    }

    const CheckJob& m_job;
    const VhdlAnalyzer& m_analyzer;
    CProcessRunner& m_runner;
    const std::atomic<bool>* m_cancel;
    const std::filesystem::path m_work;
    const std::vector<std::string> m_options;
    std::vector<bool> m_failed;
    std::vector<bool> m_analyzed;
    CheckOutcome m_outcome;
};

// The folder a check works in and what is analysed there. A kept folder is locked for the
// check, so that two programs checking one project take turns; one that cannot be made, locked
// or cleared gives way to a private folder, and the check analyses everything as it always did.
class CCheckPlace {
public:
    CCheckPlace(const CheckJob& job, CheckManifest now, const std::vector<std::string>& texts)
        : m_now(std::move(now)) {
        if (!job.workFolder.empty() && OpenKept(job.workFolder, texts))
            return;
        m_lock.reset();
        m_private = std::make_unique<CPrivateTempFolder>("kestra-check-");
        m_folder = m_private->Path();
        m_plan.analyze.assign(job.files.size(), true);
    }

    const std::filesystem::path& Folder() const { return m_folder; }
    const std::vector<bool>& Plan() const { return m_plan.analyze; }

    // Records what the run left in a kept folder: the files it analysed passed or not, the
    // files it did not reach must be analysed next time, the others stay as they were.
    void Keep(const CCheckRun& run) {
        if (m_private)
            return;
        for (std::size_t i = 0; i < m_now.files.size(); ++i)
            m_now.files[i].passed = run.Analyzed(i) ? !run.Failed(i) : !m_plan.analyze[i];
        // A manifest that cannot be written leaves the last one, or none: both mean "analyse
        // again", which is safe.
        static_cast<void>(ReplaceFileSafely(m_folder / kCheckManifestName, ManifestText(m_now)));
    }

private:
    bool OpenKept(const std::filesystem::path& folder, const std::vector<std::string>& texts) {
        if (!CreateFolders(folder))
            return false;
        Result<CFileLock> lock = CFileLock::Acquire(folder, std::chrono::seconds(60));
        if (!lock)
            return false;
        m_lock = std::make_unique<CFileLock>(std::move(*lock));
        std::optional<CheckManifest> last;
        if (const Result<std::string> text = ReadWholeFile(folder / kCheckManifestName); text)
            last = ParseManifest(*text);
        KnowUnits(last, texts);
        m_plan = PlanCheck(last, m_now);
        if (m_plan.clearFolder && !ClearFolder(folder))
            return false;
        m_folder = folder;
        return true;
    }

    // The units of the files: those of a file that did not change are known from the last check.
    void KnowUnits(const std::optional<CheckManifest>& last, const std::vector<std::string>& texts) {
        for (std::size_t i = 0; i < m_now.files.size(); ++i) {
            ManifestFile& file = m_now.files[i];
            const ManifestFile* before = nullptr;
            for (std::size_t k = 0; last && k < last->files.size() && before == nullptr; ++k) {
                if (last->files[k].path == file.path && last->files[k].hash == file.hash)
                    before = &last->files[k];
            }
            if (before != nullptr) {
                file.declares = before->declares;
                file.uses = before->uses;
                continue;
            }
            SourceUnits units = UnitsOfSource(texts[i]);
            file.declares = std::move(units.declares);
            file.uses = std::move(units.uses);
        }
    }

    CheckManifest m_now;
    CheckPlan m_plan;
    std::filesystem::path m_folder;
    std::unique_ptr<CFileLock> m_lock;
    std::unique_ptr<CPrivateTempFolder> m_private;
};

// What the job's files are now: their paths, libraries and hashes.
CheckManifest CurrentFiles(const CheckJob& job, const std::vector<std::string>& texts,
                           const VhdlAnalyzer& analyzer, std::vector<std::string> options) {
    CheckManifest now{analyzer.program, std::move(options), {}};
    for (std::size_t i = 0; i < job.files.size(); ++i)
        now.files.push_back(
            {job.files[i].path.string(), job.files[i].library, ContentHash(texts[i]), false, {}, {}});
    return now;
}

} // namespace

CheckOutcome RunVhdlCheck(const CheckJob& job, const VhdlAnalyzer& analyzer, CProcessRunner& runner,
                          const std::atomic<bool>* cancel, const std::function<void(int, int)>& progress) {
    if (job.Empty() || analyzer.kind == VhdlAnalyzer::Kind::None)
        return {};
    std::vector<std::string> texts;
    bool vhdl2008 = false;
    for (const CheckFile& file : job.files) {
        texts.push_back(ReadWholeFile(file.path).ValueOr(std::string()));
        vhdl2008 = vhdl2008 || NeedsVhdl2008(texts.back());
    }
    const std::vector<std::string> options = AnalyzerOptions(analyzer.kind, vhdl2008);
    CheckManifest now = CurrentFiles(job, texts, analyzer, options);
    CCheckPlace place(job, std::move(now), texts);
    if (place.Folder().empty()) {
        CheckOutcome outcome;
        outcome.analyzerFailed = true;
        return outcome;
    }
    CCheckRun run(job, analyzer, runner, cancel, place.Folder(), options);
    const std::vector<bool>& plan = place.Plan();
    const int total =
        static_cast<int>(std::count(plan.begin(), plan.end(), true)) + (job.top.empty() ? 0 : 1);
    const bool analyzed = run.AnalyzeFiles(plan, progress, total);
    place.Keep(run);
    if (!analyzed)
        return run.Outcome();
    if (!job.top.empty() && run.Outcome().errors == 0) {
        if (progress)
            progress(total - 1, total);
        if (!run.ElaborateTop())
            return run.Outcome();
    }
    return run.Finish();
}

} // namespace kestra
