#pragma once

#include "commands/completed_work.h"
#include "operations/design_import.h"
#include "session/project_session.h"

namespace kestra {

// Import VHDL Design: a design of several files brought in with its hierarchy under the
// selected item.
class CImportCommands {
public:
    explicit CImportCommands(CProjectSession& session) : m_session(session) {}

    // Imports the previewed design under the selection (the root or a normal module): the
    // problems the reading found go to the log with their files and lines, the files are copied,
    // the trees added and analysed, the architectures the code binds chosen, and the first top
    // selected. False, with the project left as it was, when the import is refused or a file
    // cannot be copied.
    bool OnImportDesign(const DesignImportPreview& preview);

    // The tops the last import added.
    const std::vector<CHierarchyItem*>& ImportedTops() const { return m_tops; }
    // For the check that follows: the first top's tree was analysed.
    CompletedWork Completed() const { return {m_tops.empty() ? nullptr : m_tops.front(), {}, false}; }

private:
    void ReportProblems(const DesignImportPreview& preview);
    int AnalyzeImported();
    void ReportNameClashes();
    void ChooseArchitectures(const std::vector<BoundArchitecture>& architectures);

    CProjectSession& m_session;
    std::vector<CHierarchyItem*> m_tops;
};

} // namespace kestra
