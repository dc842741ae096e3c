#pragma once

#include "analysis/scanner.h"
#include "project/move_command.h"
#include "project/project_observer.h"
#include "session/open_projects.h"

#include <cstdint>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// One open project as its commands see it: the document, the views that take part (through
// the observer; without one every call is ignored, as on the command line), the item the
// commands act on, and the context of the last analysis. The command classes of this layer
// each work on a session; the panes of one project window share one. The session is listed in
// the open projects while it exists.
class CProjectSession {
public:
    CProjectSession(CKSTDoc& doc, COpenProjects& projects, CProjectObserver* observer = nullptr);
    ~CProjectSession();
    CProjectSession(const CProjectSession&) = delete;
    CProjectSession& operator=(const CProjectSession&) = delete;

    std::uint32_t Id() const { return m_id; }
    CKSTDoc& Doc() const { return m_doc; }
    COpenProjects& Projects() const { return m_projects; }
    AnalysisContext& Context() { return m_context; }
    CProjectObserver& Observer() const { return *m_observer; }
    void SetObserver(CProjectObserver* observer);

    CHierarchyItem* Selected() const { return m_selected; }
    void Select(CHierarchyItem* item) { m_selected = item; }

    // A typed name or value was refused: the reason goes into the log as a warning and onto
    // the status bar.
    void ReportRefusal(const std::string& reason);
    // The last reason given that way (the command line repeats it).
    const std::string& LastRefusal() const { return m_lastRefusal; }

private:
    CKSTDoc& m_doc;
    COpenProjects& m_projects;
    CProjectObserver m_noViews;
    CProjectObserver* m_observer;
    std::uint32_t m_id;
    AnalysisContext m_context;
    CHierarchyItem* m_selected = nullptr;
    std::string m_lastRefusal;
};

} // namespace kestra
