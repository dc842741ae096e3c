#pragma once

#include "commands/project_session.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;

// Analyze Module and the Generate commands (which analyse first where needed) on the
// session's selection; every outcome goes to the message log.
class CAnalysisCommands {
public:
    explicit CAnalysisCommands(CProjectSession& session) : m_session(session) {}

    // Analyse Module: the selected subtree, children before parents and later siblings before
    // earlier ones, analysing what is not analysed and the selected item always, and stopping
    // after the first module that is not analysed afterwards. True when every module analysed
    // is analysed afterwards.
    bool OnAnalyzeModule();

    // Generate: synthesizable VHDL of the selected module and everything below it, one file
    // per top module in the destination folder (each top-level module when the root is
    // selected); Generate Individual writes the selected module alone. Analyses first where
    // needed. True when every file was written.
    bool OnGenerate(bool individual = false);
    bool OnGenerateIndividual() { return OnGenerate(true); }

    // Generate writes into this folder instead of the destination folder (the command line's
    // check generates into a scratch folder).
    void SetOutputFolder(std::filesystem::path folder) { m_outputFolder = std::move(folder); }

    // What the commands did, for the check that follows them: the subtree Analyze Module was
    // given (none when it analysed nothing) and the files Generate wrote with their top entity.
    struct GeneratedFile {
        std::filesystem::path path;
        std::string top;
    };
    const CHierarchyItem* AnalysedSubtree() const { return m_analysedSubtree; }
    const std::vector<GeneratedFile>& Generated() const { return m_generated; }

private:
    bool GenerateTop(CHierarchyItem* top, bool individual);

    CProjectSession& m_session;
    std::optional<std::filesystem::path> m_outputFolder;
    const CHierarchyItem* m_analysedSubtree = nullptr;
    std::vector<GeneratedFile> m_generated;
};

} // namespace kestra
