#include "tools/hdl_editor.h"

#include "system/settings_store.h"

namespace kestra {

std::optional<ToolLaunch> HdlEditorLaunch(const CSettingsStore& settings, const std::string& sourcePath) {
    const std::string editor = settings.ReadSetting("Tools", "HDL Editor");
    if (editor.empty())
        return std::nullopt;
    return ToolLaunch{editor, settings.ReadSetting("Tools", "HDL Editor param") + " \"" + sourcePath + "\""};
}

} // namespace kestra
