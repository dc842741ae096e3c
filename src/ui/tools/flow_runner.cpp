#include "tools/flow_runner.h"

#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "tools/qt_process_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

namespace kestra {

namespace {

// The worker's log: each text goes to the runner on the window's thread.
class CQueuedLog : public CMessageLog {
public:
    CQueuedLog(std::function<void(std::string)> send) : m_send(std::move(send)) {}
    void AppendLog(const std::string& text) override { m_send(text); }
    void ClearLog() override {}

private:
    std::function<void(std::string)> m_send;
};

} // namespace

CFlowRunner::CFlowRunner(QObject* parent) : QObject(parent) {}

CFlowRunner::~CFlowRunner() {
    Stop();
}

void CFlowRunner::Stop() {
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
    ++m_generation; // lines still queued are dropped
    m_reported = true;
    m_session = nullptr;
}

void CFlowRunner::Start(FlowPlan plan, CProjectSession& session) {
    Stop();
    m_session = &session;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_done = std::make_shared<std::atomic<bool>>(false);
    m_reported = false;
    const int generation = m_generation;
    // The worker never outlives this object (Stop joins it), and queued calls to an object that
    // is gone are dropped: this is the context of every call back.
    CFlowRunner* self = this;
    m_worker = std::thread([self, plan = std::move(plan), cancel = m_cancel, done = m_done, generation] {
        CQtProcessRunner runner;
        CQueuedLog log([self, generation](std::string text) {
            QMetaObject::invokeMethod(
                self, [self, generation, text = std::move(text)] { self->Append(generation, text); },
                Qt::QueuedConnection);
        });
        const FlowOutcome outcome = RunFlow(plan, runner, log, cancel.get());
        const QString result = outcome.passed ? PathToQt(plan.result) : QString();
        const FlowKind kind = plan.kind;
        const bool passed = outcome.passed;
        QMetaObject::invokeMethod(
            self,
            [self, generation, kind, passed, result] { self->Finish(generation, kind, passed, result); },
            Qt::QueuedConnection);
        done->store(true);
    });
}

void CFlowRunner::Append(int generation, const std::string& text) {
    if (generation == m_generation && m_session != nullptr)
        m_session->Doc().Log().AppendLog(text);
}

void CFlowRunner::Finish(int generation, FlowKind kind, bool passed, const QString& result) {
    if (generation != m_generation)
        return;
    m_reported = true;
    emit finished(kind, passed, result);
}

bool CFlowRunner::WaitForIdle(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (IsRunning() || !m_reported) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace kestra
