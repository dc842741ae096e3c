#pragma once

#include "cli_prompts.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/project_session.h"
#include "system/application_paths.h"
#include "system/outcome.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace kestra {

class CBlockDiagram;
class CSettingsStore;

// Writes a block diagram's picture into a file in the format of its extension (SVG, PDF, PNG).
// Only the program that has the window's libraries can draw; the command line is given its
// writer by that program.
using DiagramPictureWriter = Outcome (*)(const CBlockDiagram& diagram, const std::filesystem::path& path);

// One project as a subcommand sees it: the document with its log and prompts, the project
// session the commands work on (no views, so every observer call is ignored), the start-up folders, and
// the stream the subcommand prints on. The log holds only what happened after the opening;
// what the opening itself reported goes to the error stream at once.
class CCliSession {
public:
    CCliSession(CSettingsStore& settings, ApplicationPaths paths, std::ostream& out, std::ostream& err);
    CCliSession(const CCliSession&) = delete;
    CCliSession& operator=(const CCliSession&) = delete;

    // New Project at the path (asking before an existing file is replaced) and its first
    // update; the opening line stays in the log, since creating the project is the command.
    bool CreateProject(const std::string& path);
    // Opens the project, runs its first update, prints what the opening logged (an old file
    // version, repairs; not the routine "Open project:" line) on the error stream, and clears
    // the log.
    bool OpenProject(const std::string& path);
    // Writes the project to its path, as closing its window does.
    bool SaveProject() { return m_doc.DoFileSave(); }

    // The first item in pre-order whose text is exactly the name, or the item a path of names
    // from a top module leads to ("TOP/CHILD/GRANDCHILD"); null when none is.
    CHierarchyItem* FindItem(const std::string& text) const;

    // The log as lines for a terminal: no leading line break, a line break at the end.
    std::string LogLines() const;
    bool LogHasWarningOrError() const;
    // Why a command did nothing, as the window would have shown it: the reason it gave, the
    // last message box, or the last warning or error of the log; empty when none was given.
    std::string RefusalReason() const;
    // The last analysis the commands ran ended in an error.
    bool AnalysisFailed() { return m_session.Context().HasError(); }

    CKSTDoc& Doc() { return m_doc; }
    CProjectSession& Session() { return m_session; }
    CSettingsStore& Settings() { return m_settings; }
    const ApplicationPaths& Paths() const { return m_paths; }
    std::ostream& Out() { return m_out; }
    // The writer of diagram pictures; null in a program that cannot draw.
    DiagramPictureWriter DiagramWriter() const { return m_diagramWriter; }
    void SetDiagramWriter(DiagramPictureWriter writer) { m_diagramWriter = writer; }

private:
    CSettingsStore& m_settings;
    ApplicationPaths m_paths;
    std::ostream& m_out;
    std::ostream& m_err;
    DiagramPictureWriter m_diagramWriter = nullptr;
    CCliPrompts m_prompts;
    CMemoryLog m_log;
    CKSTDoc m_doc;
    COpenProjects m_projects;
    CProjectSession m_session;
};

} // namespace kestra
