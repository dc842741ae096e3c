#include "tools/hdl_editor.h"

#include "system/settings_store.h"

namespace kestra {

namespace {

void ReplaceAll(std::string& text, std::string_view placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

} // namespace

std::optional<ToolLaunch> HdlEditorLaunch(const CSettingsStore& settings, const std::string& sourcePath,
                                          int line) {
    const std::string editor = settings.ReadSetting("Tools", "HDL Editor");
    if (editor.empty())
        return std::nullopt;
    std::string parameters = settings.ReadSetting("Tools", "HDL Editor param");
    ReplaceAll(parameters, "%l", std::to_string(line > 0 ? line : 1));
    const std::string quoted = "\"" + sourcePath + "\"";
    if (parameters.find("%f") != std::string::npos) {
        ReplaceAll(parameters, "%f", quoted);
        return ToolLaunch{editor, parameters};
    }
    return ToolLaunch{editor, parameters + " " + quoted};
}

bool OpensInBuiltInEditor(const CSettingsStore& settings) {
    return settings.ReadSetting("Tools", "HDL Editor").empty();
}

} // namespace kestra
