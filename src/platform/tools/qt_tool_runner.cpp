#include "tools/qt_tool_runner.h"

#include "project/message_log.h"
#include "strings/qt_text.h"
#include "system/user_prompts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace kestra {

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kStartMilliseconds = 10000;

} // namespace

struct CQtToolRunner::Run {
    std::string title;
    CMessageLog* log = nullptr;
    QProcess* process = nullptr; // deleted when finished, left alone once released
    QFile output;
    std::string pending; // the last line, until its end arrives
    QTimer poll;
    bool done = false;
    bool released = false;

    // Copies what the tool wrote since the last look into the log, whole lines only unless
    // the tool has ended.
    void ReadOutput(bool last) {
        const QByteArray bytes = output.readAll();
        pending.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        std::size_t start = 0;
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             end = pending.find('\n', start)) {
            WriteLine(pending.substr(start, end - start));
            start = end + 1;
        }
        pending.erase(0, start);
        if (last && !pending.empty()) {
            WriteLine(pending);
            pending.clear();
        }
    }

    void WriteLine(std::string line) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (log != nullptr)
            log->AppendLog(kLogNewLine + line);
    }

    void Finished(int exitCode, QProcess::ExitStatus status) {
        poll.stop();
        ReadOutput(true);
        if (log != nullptr)
            log->AppendLog(ToolEndLine(title, exitCode, status == QProcess::CrashExit));
        output.close();
        output.remove();
        done = true;
        process->deleteLater();
        process = nullptr;
    }
};

CQtToolRunner::CQtToolRunner() = default;

CQtToolRunner::~CQtToolRunner() {
    for (const std::unique_ptr<Run>& run : m_runs) {
        if (run->process == nullptr)
            continue;
        QObject::disconnect(run->process, nullptr, nullptr, nullptr);
        if (run->released) {
            // Deleting a QProcess kills its program: a released one is never deleted.
            run->process = nullptr;
            continue;
        }
        run->process->kill();
        run->process->waitForFinished(3000);
        delete run->process;
        run->process = nullptr;
    }
}

std::string CQtToolRunner::FindProgram(std::string_view name) {
    return FindProgramOnPath(name);
}

std::string FindProgramOnPath(std::string_view name) {
    return PathFromQt(QStandardPaths::findExecutable(MessageToQt(name))).string();
}

bool CQtToolRunner::Start(const ToolProcess& tool, CMessageLog* log) {
    Purge();
    if (!m_folder.isValid())
        return false;
    auto run = std::make_unique<Run>();
    run->title = tool.title;
    run->log = log;
    run->output.setFileName(m_folder.filePath(QStringLiteral("tool-%1.out").arg(++m_count)));
    if (!run->output.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;

    auto* process = new QProcess();
    process->setProgram(PathToQt(tool.program));
    QStringList arguments;
    for (const std::string& argument : tool.arguments)
        arguments << MessageToQt(argument);
    process->setArguments(arguments);
    if (!tool.workingFolder.empty())
        process->setWorkingDirectory(PathToQt(tool.workingFolder));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(run->output.fileName(), QIODevice::Append);
    if (log != nullptr)
        log->AppendLog(ToolStartLine(tool));
    process->start();
    if (!process->waitForStarted(kStartMilliseconds)) {
        delete process;
        run->output.close();
        run->output.remove();
        return false;
    }
    run->process = process;
    Run* raw = run.get();
    QObject::connect(&raw->poll, &QTimer::timeout, [raw] { raw->ReadOutput(false); });
    QObject::connect(process, &QProcess::finished,
                     [raw](int exitCode, QProcess::ExitStatus status) { raw->Finished(exitCode, status); });
    raw->poll.start(kPollMilliseconds);
    m_runs.push_back(std::move(run));
    return true;
}

std::vector<std::string> CQtToolRunner::Running(const CMessageLog* log) {
    Purge();
    std::vector<std::string> titles;
    for (const std::unique_ptr<Run>& run : m_runs) {
        if (!run->released && (log == nullptr || run->log == log))
            titles.push_back(run->title);
    }
    return titles;
}

void CQtToolRunner::Stop(const CMessageLog* log) {
    for (const std::unique_ptr<Run>& run : m_runs) {
        if (run->done || run->released || (log != nullptr && run->log != log))
            continue;
        run->process->kill();
        if (run->process->waitForFinished(3000) && run->process != nullptr && !run->done)
            run->Finished(run->process->exitCode(), run->process->exitStatus());
    }
    Purge();
}

void CQtToolRunner::Release(const CMessageLog* log) {
    for (const std::unique_ptr<Run>& run : m_runs) {
        if (run->done || (log != nullptr && run->log != log))
            continue;
        run->log = nullptr;
        run->released = true;
    }
}

bool CQtToolRunner::WaitForAll(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!Running().empty()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void CQtToolRunner::Purge() {
    std::erase_if(m_runs, [](const std::unique_ptr<Run>& run) { return run->done; });
}

void AskToStopTools(CQtToolRunner& tools, CUserPrompts& prompts, const CMessageLog* log) {
    const std::vector<std::string> running = tools.Running(log);
    if (running.empty())
        return;
    std::string names;
    for (const std::string& title : running)
        names += (names.empty() ? "" : ", ") + title;
    const std::string question =
        running.size() == 1
            ? names + " is still running.\nStop it?\n\nNo lets it run on without showing its output."
            : names + " are still running.\nStop them?\n\nNo lets them run on without showing their output.";
    if (prompts.AskYesNo(kDefaultPromptTitle, question, PromptIcon::Question, false))
        tools.Stop(log);
    else
        tools.Release(log);
}

} // namespace kestra
