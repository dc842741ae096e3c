#include "session/project_session.h"

#include "project/kst_doc.h"
#include "project/message_log.h"

namespace kestra {

CProjectSession::CProjectSession(CKSTDoc& doc, COpenProjects& projects, CProjectObserver* observer)
    : m_doc(doc), m_projects(projects), m_observer(observer != nullptr ? observer : &m_noViews),
      m_id(projects.Add(*this)) {}

CProjectSession::~CProjectSession() {
    m_projects.Remove(m_id);
}

void CProjectSession::SetObserver(CProjectObserver* observer) {
    m_observer = observer != nullptr ? observer : &m_noViews;
}

void CProjectSession::ReportRefusal(const std::string& reason) {
    m_lastRefusal = reason;
    m_doc.Log().AppendWarning(reason);
    Observer().ShowStatus(reason);
}

} // namespace kestra
