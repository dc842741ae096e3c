#pragma once

#include "commands/project_session.h"

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

private:
    bool GenerateTop(CHierarchyItem* top, bool individual);

    CProjectSession& m_session;
};

} // namespace kestra
