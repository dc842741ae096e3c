#pragma once

#include "tools/fpga_flow.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

namespace kestra {

class CProjectSession;

// Runs one flow of the open toolchain at a time on a worker thread, so that the window stays
// usable: each step's command line and output reach the project's log as the step ends, then
// the summary. A flow of a project that closes is stopped first (Stop).
class CFlowRunner : public QObject {
    Q_OBJECT

public:
    explicit CFlowRunner(QObject* parent = nullptr);
    // Stops a running flow and waits for its worker.
    ~CFlowRunner() override;

    void Start(FlowPlan plan, CProjectSession& session);
    // Stops the running flow (its program is killed); what it had not yet shown is dropped.
    void Stop();
    bool IsRunning() const { return m_worker.joinable() && !m_done->load(); }
    const CProjectSession* Session() const { return m_session; }
    // Runs the event loop until the flow is over and its end reported (tests).
    bool WaitForIdle(int milliseconds);

signals:
    // The flow ended: whether it passed and the file it made (the bitstream, the waveform).
    void finished(kestra::FlowKind kind, bool passed, const QString& result);

private:
    void Append(int generation, const std::string& text);
    void Finish(int generation, FlowKind kind, bool passed, const QString& result);

    CProjectSession* m_session = nullptr;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<std::atomic<bool>> m_done = std::make_shared<std::atomic<bool>>(true);
    int m_generation = 0;
    bool m_reported = true;
};

} // namespace kestra
