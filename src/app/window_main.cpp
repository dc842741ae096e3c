// The window program: the windowed application, and every command line (the `kestra` program
// starts it for the window and for the subcommands that draw pictures).
#include "command_line.h"
#include "mainframe/application.h"
#include "model/file_version.h"
#include "picture/diagram_export.h"
#include "settings/qt_settings_store.h"
#include "startup/startup_folders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Headless: a subcommand, --help or --version (the `kestra` program runs all but the diagram
// subcommand itself). Never opens a window.
int RunHeadless(int argc, char* argv[], const std::vector<std::string>& arguments) {
    // Drawing a diagram needs fonts, hence a GUI application, but never a display.
    const bool draws = kestra::NeedsPictures(arguments);
    if (draws)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = draws ? std::make_unique<QGuiApplication>(argc, argv)
                                                  : std::make_unique<QCoreApplication>(argc, argv);
    kestra::NameApplication();
    kestra::CQtSettingsStore settings;
    const int status = kestra::RunCommandLine(arguments, settings, kestra::FindStartupFolders(), std::cout,
                                              std::cerr, &kestra::ExportDiagram);
    std::cout.flush();
    return status;
}

// A window needs a screen someone can see: an X or Wayland display, or a platform named
// explicitly that draws somewhere ("offscreen" and "minimal" draw nowhere).
bool DisplayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return !platform.startsWith("offscreen") && !platform.startsWith("minimal");
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// No subcommand: the windowed application, with an optional project file to open.
int RunWindowed(int argc, char* argv[], const std::vector<std::string>& arguments) {
    if (!DisplayAvailable()) {
        std::cout << "KESTRA " << kestra::kProgramVersionText
                  << "\nNo display is available for the windowed application; run kestra --help for the "
                     "command line.\n";
        // Asked to open a project, nothing was opened.
        return arguments.empty() ? kestra::kExitSuccess : kestra::kExitFailure;
    }
    QApplication app(argc, argv);
    kestra::NameApplication();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kestra.svg")));
    kestra::CQtSettingsStore settings;
    return kestra::RunWindowedApplication(arguments, settings, kestra::FindStartupFolders());
}

} // namespace

int main(int argc, char* argv[]) {
    // Project text is 8-bit: the words are taken as the bytes they are, before Qt sees them.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    if (kestra::IsCommandLineRequest(arguments))
        return RunHeadless(argc, argv, arguments);
    return RunWindowed(argc, argv, arguments);
}
