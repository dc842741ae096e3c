#include "session/open_projects.h"

#include "session/tree_clipboard.h"

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

} // namespace kestra
