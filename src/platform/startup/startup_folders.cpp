#include "startup/startup_folders.h"

#include "model/file_version.h"
#include "strings/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace kestra {

namespace {

std::filesystem::path FromQt(const QString& path) {
    return PathFromQt(QDir::cleanPath(path));
}

bool IsInside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path relative =
        path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

std::filesystem::path ChooseApplicationFolder(const std::vector<std::filesystem::path>& candidates) {
    for (const std::filesystem::path& candidate : candidates) {
        ApplicationPaths paths;
        paths.applicationPath = candidate.string();
        std::error_code error;
        if (std::filesystem::is_regular_file(UserManualPath(paths), error))
            return candidate;
    }
    return candidates.empty() ? std::filesystem::path() : candidates.front();
}

StartupFolders FindStartupFolders() {
    const std::filesystem::path executableFolder = FromQt(QCoreApplication::applicationDirPath());
    std::vector<std::filesystem::path> candidates{
        (executableFolder / KESTRA_DATA_FROM_BINARY).lexically_normal(),
        (executableFolder / KESTRA_DATA_FROM_WINDOW_PROGRAM).lexically_normal()};
    if (IsInside(executableFolder, KESTRA_BUILD_TREE))
        candidates.emplace_back(KESTRA_SOURCE_TREE);
    StartupFolders folders;
    folders.application = ChooseApplicationFolder(candidates);
    folders.userData = FromQt(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return folders;
}

void NameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalle Software"));
    QCoreApplication::setApplicationName(QStringLiteral("KESTRA"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersionText));
}

} // namespace kestra
