#pragma once

#include "tools/external_tools.h"

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace kestra {

class CUserPrompts;

// Starts external tools as child processes and copies their output into the message log of
// the project that started them, line by line while they run (the event loop must run). The
// output goes through a file of the runner's own temporary folder rather than a pipe, so a
// tool the user leaves running outlives the window without losing its output channel.
class CQtToolRunner : public CToolStarter {
public:
    CQtToolRunner();
    // Tools still running are stopped, except those let go by Release.
    ~CQtToolRunner() override;
    CQtToolRunner(const CQtToolRunner&) = delete;
    CQtToolRunner& operator=(const CQtToolRunner&) = delete;

    std::string FindProgram(std::string_view name) override;
    bool Start(const ToolProcess& process, CMessageLog* log) override;

    // The titles of the tools still running that write into the log (all of them for null).
    std::vector<std::string> Running(const CMessageLog* log = nullptr);
    // Stops those tools; their end line is still written.
    void Stop(const CMessageLog* log = nullptr);
    // Lets those tools run on without a log: nothing more is written, and neither closing the
    // project nor ending the program stops them.
    void Release(const CMessageLog* log = nullptr);
    // Runs the event loop until every tool has finished or the time is up (tests).
    bool WaitForAll(int milliseconds);

private:
    struct Run;
    void Purge();

    QTemporaryDir m_folder;
    int m_count = 0;
    std::vector<std::unique_ptr<Run>> m_runs;
};

// The full path of the program on PATH; empty when there is none.
std::string FindProgramOnPath(std::string_view name);

// Before the tools that write into the log lose it (null: all tools, as the program ends): asks
// whether to stop them; No lets them run on.
void AskToStopTools(CQtToolRunner& tools, CUserPrompts& prompts, const CMessageLog* log);

} // namespace kestra
