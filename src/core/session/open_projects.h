#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace kestra {

class CProjectSession;
class CTreeClipboard;

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

} // namespace kestra
