#pragma once

#include <QStringList>
#include <filesystem>
#include <string>

namespace kestra {

class CSettingsStore;

// The desktop's "open" and "edit" actions and the starting of external programs. Programs run
// on their own: nothing waits for them. Tests put a recording shell in its place.
class CDesktopShell {
public:
    virtual ~CDesktopShell() = default;
    // Opens the file with the program the desktop associates with it.
    virtual bool OpenDocument(const std::filesystem::path& path);
    // Opens an address (web page, file transfer site, mail) with the desktop's program for it.
    virtual bool OpenAddress(const QString& address);
    // Starts the program detached, in the working folder.
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const std::filesystem::path& workingFolder);

    // Opens a module source in the HDL editor of the "Tools" settings: the editor with the
    // "HDL Editor param" text, a blank and the quoted path as its command line, or the
    // desktop's own program for the file when no editor is set.
    bool EditSource(const CSettingsStore& settings, const std::filesystem::path& source,
                    const std::filesystem::path& workingFolder);
};

} // namespace kestra
