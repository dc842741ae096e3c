#pragma once

#include "commands/completed_work.h"
#include "tools/check_messages.h"
#include "tools/vhdl_check.h"

#include <QObject>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

namespace kestra {

class CKSTDoc;
class CProjectSession;
struct UiContext;

// The check of a project window's sources and generated files with a real VHDL analyser,
// after Analyze and Generate. It runs on a worker thread so the window stays usable; progress
// goes to the status bar, the analyser's messages and the result to the project's log, and a
// module whose source fails shows the failed status until a later check passes it, and the last
// messages of each file it analysed are kept for the VHDL editor's markers. A new check replaces
// one still running.
class CVhdlChecker : public QObject {
    Q_OBJECT

public:
    CVhdlChecker(const UiContext& ui, CProjectSession& session, QObject* parent = nullptr);
    // Stops a running check and waits for its worker.
    ~CVhdlChecker() override;

    // Checks what the commands just did: the modules they analysed, else the files they wrote.
    void CheckAfter(const CompletedWork& work);
    // Stops a running check; what it had not yet shown is dropped (the project is read again).
    void Stop();
    bool IsRunning() const { return m_worker.joinable() && !m_done->load(); }
    // Runs the event loop until the check is over and its result shown (tests).
    bool WaitForIdle(int milliseconds);
    // Shows the outcome of one job: its log text, the tree's marks and the messages of its files
    // (tests feed it an outcome of their own).
    void ShowOutcome(const CheckJob& job, const CheckOutcome& outcome);
    // The messages of the last check of each file.
    const CCheckMessageStore& Messages() const { return m_messages; }

signals:
    // The tree shows changed check marks.
    void marksChanged();
    // The files whose messages a check replaced.
    void messagesChanged(const std::vector<std::filesystem::path>& files);

private:
    void Start(std::vector<CheckJob> jobs, const VhdlAnalyzer& analyzer);
    void Finish(int generation, const CheckJob& job, const CheckOutcome& outcome);

    const UiContext& m_ui;
    CProjectSession& m_session;
    VhdlAnalyzer m_analyzer;
    CCheckMessageStore m_messages;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<std::atomic<bool>> m_done;
    int m_generation = 0;
    int m_pending = 0;
    // A missing analyser is told once in the project's log.
    bool m_toldNoAnalyzer = false;
};

} // namespace kestra
