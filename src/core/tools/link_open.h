#pragma once

#include "tools/hdl_editor.h"

#include <filesystem>
#include <string>

namespace kestra {

class CSettingsStore;

// How a Link parameter's value opens: with the state editor of the "Tools" settings (".asf"
// files, when one is set), as an address the desktop opens (http://, ftp://, mailto:), as a
// file the desktop opens with its program, or, for an empty value, by choosing a link file.
// Relative names (and '\' separators) are resolved in linkFolder: the folder the item keeps its
// linked files in (CParameterCommands::LinkFolder); absolute names stay as they are.
struct LinkOpening {
    enum class Kind { ChooseFile, StateEditor, Address, File };
    Kind kind = Kind::ChooseFile;
    ToolLaunch launch;  // StateEditor
    std::string target; // Address: the value as it stands; File: the resolved path
};

LinkOpening DecideLinkOpening(const CSettingsStore& settings, const std::filesystem::path& linkFolder,
                              const std::string& value);

} // namespace kestra
