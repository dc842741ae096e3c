#include "commands/project_session.h"

#include "commands/tree_clipboard.h"
#include "project/kst_doc.h"
#include "project/message_log.h"

namespace kestra {

COpenProjects::COpenProjects()
    : m_ownClipboard(std::make_unique<CMemoryTreeClipboard>()), m_clipboard(m_ownClipboard.get()) {}

COpenProjects::COpenProjects(CTreeClipboard& clipboard) : m_clipboard(&clipboard) {}

COpenProjects::~COpenProjects() = default;

CProjectSession* COpenProjects::Find(std::uint32_t id) const {
    const auto found = m_sessions.find(id);
    return found == m_sessions.end() ? nullptr : found->second;
}

CProjectSession* COpenProjects::ClipboardSource() const {
    const std::optional<std::uint32_t> id = m_clipboard->Pane();
    return id ? Find(*id) : nullptr;
}

std::uint32_t COpenProjects::Add(CProjectSession& session) {
    const std::uint32_t id = m_nextId++;
    m_sessions.emplace(id, &session);
    return id;
}

void COpenProjects::Remove(std::uint32_t id) {
    m_sessions.erase(id);
    if (m_clipboard->Pane() == id)
        m_clipboard->Clear();
}

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
