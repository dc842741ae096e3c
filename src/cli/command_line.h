#pragma once

#include "cli_session.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kestra {

class CSettingsStore;
struct StartupFolders;

// Exit statuses of the command line.
enum ExitStatus : int { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// True when the words after the program name ask for the command line: a subcommand (known or
// not) or an option. No words, or a project file to open, are for the windowed application.
bool IsCommandLineRequest(const std::vector<std::string>& arguments);

// Runs one command line headlessly: --help, --version, or a subcommand on a project. The
// subcommand's output and its log lines go to out; what opening the project logged (an old
// file version, repairs), message boxes and usage errors go to err. The library folders start
// from the given folders, never from the current one. A subcommand that ran saves the
// project. Returns the exit status. The diagram subcommand draws with `diagramWriter`, which
// only the program with the window's libraries has (null elsewhere: the subcommand refuses).
int RunCommandLine(const std::vector<std::string>& arguments, CSettingsStore& settings,
                   const StartupFolders& folders, std::ostream& out, std::ostream& err,
                   DiagramPictureWriter diagramWriter = nullptr);

// True when the command line draws pictures and so needs the program with the window's
// libraries (the diagram subcommand).
bool NeedsPictures(const std::vector<std::string>& arguments);

void PrintHelp(std::ostream& out);

} // namespace kestra
