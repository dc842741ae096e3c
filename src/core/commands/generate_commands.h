#pragma once

#include "commands/analysis_commands.h"
#include "session/project_session.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;

// The status bar's word after a Generate that did not write every file (the log says why).
inline constexpr const char* kGenerateFailedStatus = "Generate failed: see the message log.";
class CGenerationSession;
class CDesignCopy;

// Generate and Generate Individual on the session's selection (analysing first where needed);
// every outcome goes to the message log.
class CGenerateCommands {
public:
    explicit CGenerateCommands(CProjectSession& session) : m_session(session), m_analysis(session) {}

    // Generate: synthesizable VHDL of the selected module and everything below it, one file
    // per top module in the destination folder (each top-level module when the root is
    // selected); Generate Individual writes the selected module alone. Analyses first where
    // needed. True when every file was written.
    bool OnGenerate(bool individual = false);
    bool OnGenerateIndividual() { return OnGenerate(true); }

    // Generate writes into this folder instead of the destination folder (the command line's
    // check generates into a scratch folder).
    void SetOutputFolder(std::filesystem::path folder) { m_outputFolder = std::move(folder); }

    const std::vector<GeneratedFile>& Generated() const { return m_generated; }
    // What the last Generate did: the subtree it analysed first and the files it wrote.
    CompletedWork Completed() const { return {m_analysis.AnalyzedSubtree(), m_generated, m_failed}; }

private:
    bool Generate(bool individual);
    bool GenerateTop(CHierarchyItem* top, bool individual);
    // A tree brought in from existing files (a module in a library other than work, or in a file
    // not named after it, or instantiated as an entity) is generated as a copy of its units.
    bool IsDesignCopy(CHierarchyItem* top) const;
    bool GenerateDesignCopy(CHierarchyItem* top);
    bool WriteDesignCopy(CHierarchyItem* top, const CDesignCopy& copy,
                         const std::filesystem::path& outputPath, std::vector<GeneratedUnits> units);
    // The units of the modules below the top, in pre-order; false (logged) when a source
    // cannot be read.
    bool GenerateUnits(CHierarchyItem* top, bool individual, CGenerationSession& session, std::string& output,
                       std::vector<GeneratedUnits>& units);

    CProjectSession& m_session;
    CAnalysisCommands m_analysis;
    std::optional<std::filesystem::path> m_outputFolder;
    std::vector<GeneratedFile> m_generated;
    bool m_failed = false;
};

} // namespace kestra
