#pragma once

#include "analysis/scanner.h"
#include "project/project_observer.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CProjectSession;
class CTreeClipboard;

// The four reorderings of an item among its siblings or a row among the rows of a list.
enum class MoveCommand { Top, Up, Down, Bottom };

// Where the command takes the row at `row` among the rows first .. last: Up and Down may step
// outside them, which the caller refuses or clamps.
inline int MoveTarget(MoveCommand command, int row, int first, int last) {
    switch (command) {
    case MoveCommand::Top:
        return first;
    case MoveCommand::Up:
        return row - 1;
    case MoveCommand::Down:
        return row + 1;
    case MoveCommand::Bottom:
        return last;
    }
    return row;
}

// The projects open in one running application, each under its session's id, and the tree
// clipboard through which Cut and Copy name the session that holds the marked items. Whoever
// runs the application owns it (the main window's start-up, a command-line run, a test) and
// gives it to every session; it outlives them all.
class COpenProjects {
public:
    // With a tree clipboard of its own, kept in memory.
    COpenProjects();
    explicit COpenProjects(CTreeClipboard& clipboard);
    ~COpenProjects();
    COpenProjects(const COpenProjects&) = delete;
    COpenProjects& operator=(const COpenProjects&) = delete;

    CTreeClipboard& Clipboard() const { return *m_clipboard; }
    CProjectSession* Find(std::uint32_t id) const;
    // The session whose marked items the clipboard names, while that session is open.
    CProjectSession* ClipboardSource() const;

private:
    friend class CProjectSession;
    std::uint32_t Add(CProjectSession& session);
    // A session that goes away empties the clipboard when the clipboard names it.
    void Remove(std::uint32_t id);

    std::unique_ptr<CTreeClipboard> m_ownClipboard;
    CTreeClipboard* m_clipboard;
    std::unordered_map<std::uint32_t, CProjectSession*> m_sessions;
    std::uint32_t m_nextId = 1;
};

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
