#include "command_line.h"
#include "model/file_version.h"
#include "settings/qt_settings_store.h"

#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

namespace {

void NameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalle Software"));
    QCoreApplication::setApplicationName(QStringLiteral("KESTRA"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kestra::kProgramVersionText));
}

// Headless: a subcommand, --help or --version. Never opens a window.
int RunHeadless(int argc, char* argv[], const std::vector<std::string>& arguments) {
    QCoreApplication app(argc, argv);
    NameApplication();
    kestra::CQtSettingsStore settings;
    const int status = kestra::RunCommandLine(arguments, settings, std::cout, std::cerr);
    std::cout.flush();
    return status;
}

// No subcommand: the windowed application, with an optional project file to open.
int RunWindowed(const std::vector<std::string>&) {
    std::cout << "KESTRA " << kestra::kProgramVersionText
              << "\nThe windowed application is not available in this build; run kestra --help for the "
                 "command line.\n";
    return kestra::kExitSuccess;
}

} // namespace

int main(int argc, char* argv[]) {
    // Project text is 8-bit: the words are taken as the bytes they are, before Qt sees them.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    if (kestra::IsCommandLineRequest(arguments))
        return RunHeadless(argc, argv, arguments);
    return RunWindowed(arguments);
}
