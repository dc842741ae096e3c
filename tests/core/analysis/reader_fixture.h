#pragma once

// Runs the entity and architecture readers over a text the way the analysis of a module does:
// entry 0 set, signals emptied, entity first, architectures only after a clean entity.

#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <string>
#include <vector>

namespace kestra::test {

struct ModuleAnalysis {
    AnalysisContext context;
    CKSTObject object;
    CVHDLSignal signals;

    // Entries after entry 0 as "LABEL name=value [choice,choice]" lines, for compact checks.
    std::vector<std::string> Entries() const {
        std::vector<std::string> lines;
        for (int i = 1; i < object.GetEntryCount(); ++i) {
            std::string line = std::string(EntryKindLabel(object.GetEntryKind(i))) + " " +
                               object.GetEntryName(i) + "=" + object.GetEntryValue(i);
            const std::vector<std::string>& choices = object.GetChoiceList(i);
            if (!choices.empty()) {
                line += " [";
                for (std::size_t c = 0; c < choices.size(); ++c)
                    line += (c == 0 ? "" : ",") + choices[c];
                line += "]";
            }
            lines.push_back(line);
        }
        return lines;
    }

    // Signals as "name mode type(range)" texts.
    std::vector<std::string> Signals() const {
        std::vector<std::string> rows;
        for (int i = 0; i < signals.GetSignalCount(); ++i) {
            std::string row = signals.GetSignalText(i, 0) + " " + signals.GetSignalText(i, 1) + " " +
                              signals.GetSignalText(i, 2);
            if (!signals.GetSignalText(i, 3).empty())
                row += "(" + signals.GetSignalText(i, 3) + ")";
            rows.push_back(row);
        }
        return rows;
    }
};

inline void AnalyzeModuleSource(const std::string& text, const std::string& module, ModuleAnalysis& result,
                                const CKSTObject* previous = nullptr,
                                const ArchitectureOptions& options = {}) {
    result.context.Reset();
    result.context.moduleName = module;
    result.context.previousObject = previous;
    result.object.SetEntryCount(1);
    result.object.SetEntry(0, EntryKind::Vhdl, module, module + ".vhd");
    result.signals.SetSignalCount(0);
    const CScanner scanner(text, &result.context);
    std::size_t cursor = 0;
    AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &result.object, &result.signals);
    if (!result.context.HasError())
        AnalyzeArchitectures(scanner, &result.object, options);
}

// Entity text with the given generic clause body (may be empty for none) and port clause body.
inline std::string EntityText(const std::string& name, const std::string& generics, const std::string& ports,
                              const std::string& declarations = "") {
    std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + name + " is\n";
    if (!generics.empty())
        text += "\tgeneric (" + generics + ");\n";
    if (!ports.empty())
        text += "\tport (" + ports + ");\n";
    return text + declarations + "end " + name + ";\n";
}

inline std::string ArchitectureText(const std::string& name, const std::string& entity,
                                    const std::string& declarations = "",
                                    const std::string& statements = "") {
    return "\narchitecture " + name + " of " + entity + " is\n" + declarations + "begin\n" + statements +
           "end " + name + ";\n";
}

} // namespace kestra::test
