#include "desktop/desktop_shell.h"

#include "desktop/qt_text.h"
#include "system/settings_store.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace kestra {

bool CDesktopShell::OpenDocument(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQt(path)));
}

bool CDesktopShell::StartProgram(const QString& program, const QStringList& arguments,
                                 const std::filesystem::path& workingFolder) {
    return QProcess::startDetached(program, arguments, PathToQt(workingFolder));
}

bool CDesktopShell::EditSource(const CSettingsStore& settings, const std::filesystem::path& source,
                               const std::filesystem::path& workingFolder) {
    const std::string editor = settings.ReadSetting("Tools", "HDL Editor");
    if (editor.empty())
        return OpenDocument(source);
    const QString parameter = MessageToQt(settings.ReadSetting("Tools", "HDL Editor param"));
    const QString commandLine =
        parameter + QLatin1Char(' ') + QLatin1Char('"') + PathToQt(source) + QLatin1Char('"');
    return StartProgram(PathToQt(editor), QProcess::splitCommand(commandLine), workingFolder);
}

} // namespace kestra
