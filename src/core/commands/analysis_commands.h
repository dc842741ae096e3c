#pragma once

#include "commands/completed_work.h"
#include "operations/outside_changes.h"
#include "session/project_session.h"

namespace kestra {

class CHierarchyItem;

// Analyze Module on the session's selection; every outcome goes to the message log.
class CAnalysisCommands {
public:
    explicit CAnalysisCommands(CProjectSession& session) : m_session(session) {}

    // Analyse Module: the selected subtree, children before parents and later siblings before
    // earlier ones, analysing what is not analysed and the selected item always, and stopping
    // after the first module that is not analysed afterwards. True when every module analysed
    // is analysed afterwards.
    bool OnAnalyzeModule();

    // Sources another program changed are analysed again (one log line names each file) and
    // the modules of removed ones are marked; the panes show the result. The project file's
    // own changes are the window's to handle.
    void OnOutsideChanges(const CDiskBaseline::Changes& changes);

    // The VHDL editor saved the file: every module whose source or architecture file it is is
    // analysed again (one log line names the file), and the panes show the result. False when
    // the file is no module's.
    bool OnSourceSaved(const std::filesystem::path& path);

    // The subtree the last Analyze Module was given (none when it analysed nothing).
    const CHierarchyItem* AnalyzedSubtree() const { return m_analyzedSubtree; }
    CompletedWork Completed() const { return {m_analyzedSubtree, {}, false}; }
    // Forgets what the last command did.
    void Reset() { m_analyzedSubtree = nullptr; }

private:
    CProjectSession& m_session;
    const CHierarchyItem* m_analyzedSubtree = nullptr;
};

} // namespace kestra
