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
// None when no editor is set: the desktop's own program for the file opens it then.
std::optional<ToolLaunch> HdlEditorLaunch(const CSettingsStore& settings, const std::string& sourcePath);

} // namespace kestra
