#include "cli_session.h"

#include "system/file_system.h"

#include <filesystem>
#include <ostream>
#include <sstream>

namespace kestra {

CCliSession::CCliSession(CSettingsStore& settings, ApplicationPaths paths, std::ostream& out,
                         std::ostream& err)
    : m_settings(settings), m_paths(std::move(paths)), m_out(out), m_err(err), m_prompts(err),
      m_doc(m_prompts, m_log), m_session(m_doc, m_projects) {}

bool CCliSession::CreateProject(const std::string& path) {
    std::string projectPath = path;
    // The New Project dialog's default extension.
    if (std::filesystem::path(projectPath).extension().empty())
        projectPath += ".kst";
    if (FileExists(projectPath) && !m_prompts.AskYesNo(kDefaultPromptTitle, kMsgProjectExists))
        return false;
    if (!m_doc.OnNewDocument(projectPath))
        return false;
    m_doc.OnFirstUpdate();
    m_session.Select(m_doc.Tree().GetRootItem());
    return true;
}

bool CCliSession::OpenProject(const std::string& path) {
    if (!m_doc.OnOpenDocument(path))
        return false;
    m_doc.OnFirstUpdate();
    std::istringstream opening(LogTextForDisplay(m_log.Text()));
    for (std::string line; std::getline(opening, line);) {
        if (!line.empty() && !line.starts_with(kLogOpenProject))
            m_err << line << '\n';
    }
    m_err.flush();
    m_log.ClearLog();
    m_session.Select(m_doc.Tree().GetRootItem());
    return true;
}

CHierarchyItem* CCliSession::FindItem(const std::string& text) const {
    const CHierarchyTree& tree = m_doc.Tree();
    if (text.find('/') != std::string::npos)
        return tree.FindItemByPath(text);
    for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->Text() == text)
            return item;
    }
    return nullptr;
}

std::string CCliSession::LogLines() const {
    std::string lines = LogTextForDisplay(m_log.Text());
    if (!lines.empty() && lines.front() == '\n')
        lines.erase(0, 1);
    if (!lines.empty() && lines.back() != '\n')
        lines += '\n';
    return lines;
}

std::string CCliSession::RefusalReason() const {
    if (!m_session.LastRefusal().empty())
        return LogTextForDisplay(m_session.LastRefusal());
    if (!m_prompts.LastMessage().empty())
        return m_prompts.LastMessage();
    const std::string& text = m_log.Text();
    std::size_t at = std::string::npos;
    for (const char* prefix : {kLogWarningPrefix, kLogErrorPrefix}) {
        const std::size_t found = text.rfind(prefix);
        if (found != std::string::npos && (at == std::string::npos || found > at))
            at = found;
    }
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + 2; // past the line break that begins the prefix
    const std::size_t end = text.find('\r', start);
    return LogTextForDisplay(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

bool CCliSession::LogHasWarningOrError() const {
    const std::string& text = m_log.Text();
    return text.find(kLogWarningPrefix) != std::string::npos ||
           text.find(kLogErrorPrefix) != std::string::npos;
}

} // namespace kestra
