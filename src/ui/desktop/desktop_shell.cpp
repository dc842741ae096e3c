#include "desktop/desktop_shell.h"

#include "strings/qt_text.h"
#include "system/file_system.h"
#include "system/user_prompts.h"
#include "tools/hdl_editor.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace kestra {

bool CDesktopShell::OpenDocument(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQt(path)));
}

bool CDesktopShell::OpenAddress(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

bool CDesktopShell::StartProgram(const QString& program, const QStringList& arguments,
                                 const std::filesystem::path& workingFolder) {
    return QProcess::startDetached(program, arguments, PathToQt(workingFolder));
}

namespace {

void TellNotOpened(CUserPrompts& prompts, const QString& text) {
    prompts.ShowMessage(kDefaultPromptTitle, MessageFromQt(text), PromptIcon::Warning);
}

} // namespace

bool CDesktopShell::EditSource(const CSettingsStore& settings, CUserPrompts& prompts,
                               const std::filesystem::path& source,
                               const std::filesystem::path& workingFolder, int line) {
    if (OpensInBuiltInEditor(settings) && m_builtInEditor)
        return m_builtInEditor(source, line);
    const std::optional<ToolLaunch> launch = HdlEditorLaunch(settings, source.string(), line);
    if (!launch) {
        if (OpenDocument(source))
            return true;
        TellNotOpened(prompts, QStringLiteral("Cannot open %1.\nNo HDL editor is set and the desktop has no "
                                              "application for this file: choose the HDL Editor in the Tools "
                                              "Setting dialog.")
                                   .arg(PathToQt(source)));
        return false;
    }
    const QString program = MessageToQt(launch->program);
    if (StartProgram(program, QProcess::splitCommand(MessageToQt(launch->parameters)), workingFolder))
        return true;
    TellNotOpened(prompts,
                  QStringLiteral("Cannot start the HDL editor %1 to open %2.\nCheck the HDL Editor in "
                                 "the Tools Setting dialog.")
                      .arg(program, PathToQt(source)));
    return false;
}

bool CDesktopShell::OpenDocumentOrExplain(CUserPrompts& prompts, const std::filesystem::path& path) {
    if (!FileExists(path)) {
        TellNotOpened(prompts,
                      QStringLiteral("Cannot open %1.\nThe file does not exist.").arg(PathToQt(path)));
        return false;
    }
    if (OpenDocument(path))
        return true;
    TellNotOpened(prompts, QStringLiteral("Cannot open %1.\nThe desktop has no application for this file: "
                                          "set one in the desktop's file manager.")
                               .arg(PathToQt(path)));
    return false;
}

bool CDesktopShell::OpenAddressOrExplain(CUserPrompts& prompts, const QString& address) {
    if (OpenAddress(address))
        return true;
    TellNotOpened(
        prompts,
        QStringLiteral("Cannot open %1.\nThe desktop has no application for this address.").arg(address));
    return false;
}

} // namespace kestra
