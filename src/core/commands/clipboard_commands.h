#pragma once

#include "session/project_session.h"

namespace kestra {

// Cut, Copy and Paste of module subtrees, within one project and between two open projects.
// Cut and Copy mark the selection's subtree and name this session on the tree clipboard of
// the open projects; Paste copies the marked subtree of the named session below the selection.
class CClipboardCommands {
public:
    explicit CClipboardCommands(CProjectSession& session) : m_session(session) {}

    bool OnCut();
    bool OnCopy();
    bool CanPaste() const;
    bool OnPaste();

private:
    bool Mark(bool cut);

    CProjectSession& m_session;
};

} // namespace kestra
