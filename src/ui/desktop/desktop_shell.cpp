#include "desktop/desktop_shell.h"

#include "desktop/qt_text.h"
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

bool CDesktopShell::EditSource(const CSettingsStore& settings, const std::filesystem::path& source,
                               const std::filesystem::path& workingFolder) {
    const std::optional<ToolLaunch> launch = HdlEditorLaunch(settings, source.string());
    if (!launch)
        return OpenDocument(source);
    return StartProgram(MessageToQt(launch->program), QProcess::splitCommand(MessageToQt(launch->parameters)),
                        workingFolder);
}

} // namespace kestra
