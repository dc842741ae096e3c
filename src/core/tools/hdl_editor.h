#pragma once

#include <optional>
#include <string>

namespace kestra {

class CSettingsStore;

// A program to start and the parameter text to give it.
struct ToolLaunch {
    std::string program;
    std::string parameters;
};

// How a module source opens in the HDL editor of the "Tools" settings: the "HDL Editor"
// program with the "HDL Editor param" text, a blank and the source path in double quotes.
// In the parameter text "%l" stands for the line to show (1 when none is given), and "%f" for
// the quoted path, which is then not appended (for editors that want "file:line").
// None when no editor is set: the tool's own VHDL editor opens it then.
[[nodiscard]] std::optional<ToolLaunch> HdlEditorLaunch(const CSettingsStore& settings,
                                                        const std::string& sourcePath, int line = 0);

// Whether a module source opens in the tool's own VHDL editor: when no HDL editor is set.
[[nodiscard]] bool OpensInBuiltInEditor(const CSettingsStore& settings);

} // namespace kestra
