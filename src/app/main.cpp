// The `kestra` program: the command line, run here with QtCore alone, so that a script's or a
// build server's command starts quickly; the window and the subcommands that draw pictures are
// the window program's, which this program becomes (same arguments) for them.
#include "command_line.h"
#include "settings/qt_settings_store.h"
#include "startup/startup_folders.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int RunHeadless(int argc, char* argv[], const std::vector<std::string>& arguments) {
    QCoreApplication app(argc, argv);
    kestra::NameApplication();
    kestra::CQtSettingsStore settings;
    const int status =
        kestra::RunCommandLine(arguments, settings, kestra::FindStartupFolders(), std::cout, std::cerr);
    std::cout.flush();
    return status;
}

// The window program: beside this one in the build folder, in the installation's folder of
// programs that users do not start themselves otherwise. Empty when neither has it.
fs::path WindowProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    for (const fs::path& candidate : {self.parent_path() / "kestra-window",
                                      (self.parent_path() / KESTRA_WINDOW_FROM_BINARY).lexically_normal()}) {
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Replaces this process by the window program with the same arguments; returns only when it
// could not be started, after saying why.
int BecomeWindowProgram(char* argv[]) {
    const fs::path program = WindowProgram();
    if (program.empty()) {
        std::cerr << "kestra: the window program (kestra-window) is not installed beside this one\n";
        return kestra::kExitFailure;
    }
    ::execv(program.c_str(), argv);
    std::cerr << "kestra: cannot start " << program.string() << ": " << std::strerror(errno) << '\n';
    return kestra::kExitFailure;
}

} // namespace

int main(int argc, char* argv[]) {
    // One command's run: large buffers (a source, the project's bytes, a rewritten source) come
    // from the heap and go back to it, so that the next one reuses their pages instead of
    // mapping and touching new ones.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    // Project text is 8-bit: the words are taken as the bytes they are, before Qt sees them.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    if (kestra::IsCommandLineRequest(arguments) && !kestra::NeedsPictures(arguments))
        return RunHeadless(argc, argv, arguments);
    return BecomeWindowProgram(argv);
}
