#pragma once

#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>

namespace kestra {

class CSettingsStore;
class CUserPrompts;

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

    // The window's own VHDL editor, which opens a source at a line (0: where it stands); none
    // clears it. The main window sets it for as long as it lives.
    using BuiltInEditor = std::function<bool(const std::filesystem::path& source, int line)>;
    void SetBuiltInEditor(BuiltInEditor editor) { m_builtInEditor = std::move(editor); }

    // Opens a module source in the HDL editor of the "Tools" settings: the editor with the
    // "HDL Editor param" text, a blank and the quoted path as its command line; when no editor
    // is set, the window's own VHDL editor, or without one the desktop's program for the file.
    // When nothing starts, the user is told which file and what to set.
    bool EditSource(const CSettingsStore& settings, CUserPrompts& prompts,
                    const std::filesystem::path& source, const std::filesystem::path& workingFolder,
                    int line = 0);
    // OpenDocument and OpenAddress that tell the user when nothing opened.
    bool OpenDocumentOrExplain(CUserPrompts& prompts, const std::filesystem::path& path);
    bool OpenAddressOrExplain(CUserPrompts& prompts, const QString& address);

private:
    BuiltInEditor m_builtInEditor;
};

} // namespace kestra
