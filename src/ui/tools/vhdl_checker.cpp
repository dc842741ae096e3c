#include "tools/vhdl_checker.h"

#include "commands/generate_commands.h"
#include "mainframe/ui_context.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/project_session.h"
#include "strings/qt_text.h"
#include "system/settings_store.h"
#include "tools/check_manifest.h"
#include "tools/external_tools.h"
#include "tools/qt_process_runner.h"
#include "tools/qt_tool_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

namespace kestra {

CVhdlChecker::CVhdlChecker(const UiContext& ui, CProjectSession& session, QObject* parent)
    : QObject(parent), m_ui(ui), m_session(session) {}

CVhdlChecker::~CVhdlChecker() {
    Stop();
}

void CVhdlChecker::Stop() {
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
    ++m_generation; // results still queued are stale
    m_pending = 0;
}

void CVhdlChecker::CheckAfter(const CompletedWork& work) {
    if (m_ui.settings.ReadSetting(kToolsSection, kCheckSettingKey) == "0")
        return;
    std::vector<CheckJob> jobs = CheckJobsAfter(m_session.Doc(), work);
    if (jobs.empty())
        return;
    KeepCheckWorkFolders(jobs, CheckWorkFolderFor(m_session.Doc().GetPathName()));
    const VhdlAnalyzer analyzer =
        FindVhdlAnalyzer([this](std::string_view name) { return m_ui.tools.FindProgram(name); });
    if (analyzer.kind == VhdlAnalyzer::Kind::None) {
        if (!m_toldNoAnalyzer)
            m_session.Doc().Log().AppendLog(std::string("\r\n") + kNoAnalyzerLine);
        m_toldNoAnalyzer = true;
        return;
    }
    Start(std::move(jobs), analyzer);
}

void CVhdlChecker::Start(std::vector<CheckJob> jobs, const VhdlAnalyzer& analyzer) {
    Stop();
    m_analyzer = analyzer;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_done = std::make_shared<std::atomic<bool>>(false);
    m_pending = static_cast<int>(jobs.size());
    const int generation = m_generation;
    // The worker never outlives this object (Stop joins it), and queued calls to an object that
    // is gone are dropped: this is the context of every call back.
    CVhdlChecker* self = this;
    m_worker =
        std::thread([self, jobs = std::move(jobs), analyzer, cancel = m_cancel, done = m_done, generation] {
            CQtProcessRunner runner;
            for (const CheckJob& job : jobs) {
                const std::string subject = job.files.back().path.filename().string();
                auto progress = [self, analyzer, subject](int step, int total) {
                    const QString text = QStringLiteral("Checking %1 with %2 (%3 of %4)...")
                                             .arg(MessageToQt(subject), QLatin1String(analyzer.Name()))
                                             .arg(step + 1)
                                             .arg(total);
                    QMetaObject::invokeMethod(
                        self, [self, text] { self->m_session.Observer().ShowStatus(MessageFromQt(text)); },
                        Qt::QueuedConnection);
                };
                const CheckOutcome outcome = RunVhdlCheck(job, analyzer, runner, cancel.get(), progress);
                if (cancel->load())
                    break;
                QMetaObject::invokeMethod(
                    self, [self, generation, job, outcome] { self->Finish(generation, job, outcome); },
                    Qt::QueuedConnection);
            }
            done->store(true);
        });
}

void CVhdlChecker::Finish(int generation, const CheckJob& job, const CheckOutcome& outcome) {
    if (generation != m_generation)
        return;
    ShowOutcome(job, outcome);
    if (--m_pending <= 0) {
        const std::string name = m_analyzer.Name();
        if (outcome.errors != 0)
            m_session.Observer().ShowStatus(name + " check found errors.");
        else
            m_session.Observer().ShowStatus(job.afterFailedCommand ? std::string(kGenerateFailedStatus)
                                                                   : name + " check passed.");
    }
}

void CVhdlChecker::ShowOutcome(const CheckJob& job, const CheckOutcome& outcome) {
    m_session.Doc().Log().AppendLog(CheckLogText(m_analyzer, job, outcome));
    MarkCheckedItems(m_session.Doc(), job, outcome);
    emit marksChanged();
    const std::vector<std::filesystem::path> files = m_messages.Record(job, outcome);
    if (!files.empty())
        emit messagesChanged(files);
}

bool CVhdlChecker::WaitForIdle(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (m_pending > 0 || IsRunning()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QCoreApplication::processEvents();
    return true;
}

} // namespace kestra
