#include "tools/link_open.h"

#include "system/path_text.h"
#include "system/settings_store.h"

namespace kestra {

LinkOpening DecideLinkOpening(const CSettingsStore& settings, const std::filesystem::path& linkFolder,
                              const std::string& value) {
    LinkOpening opening;
    const std::string stateEditor = settings.ReadSetting("Tools", "State Editor");
    if (EndsWithNoCase(value, ".asf") && !stateEditor.empty()) {
        opening.kind = LinkOpening::Kind::StateEditor;
        opening.launch.program = stateEditor;
        opening.launch.parameters = settings.ReadSetting("Tools", "State Editor param") + "\"" +
                                    ResolvePath(linkFolder, value).string() + "\"";
        return opening;
    }
    if (value.empty())
        return opening;
    for (const char* scheme : {"http://", "ftp://", "mailto:"}) {
        if (value.starts_with(scheme)) {
            opening.kind = LinkOpening::Kind::Address;
            opening.target = value;
            return opening;
        }
    }
    opening.kind = LinkOpening::Kind::File;
    opening.target = ResolvePath(linkFolder, value).string();
    return opening;
}

} // namespace kestra
