#pragma once

#include <QObject>
#include <filesystem>
#include <vector>

namespace kestra {

class C3SplitFrame;
class CDockBars;
class CProjectWindows;
class CVhdlEditorPane;
struct OpenSource;
struct UiContext;

// The VHDL editor's commands: it opens the sources that Edit VHDL, the check's log lines and the
// parameter list's module entry name while no HDL editor is set (the desktop shell hands them
// over), saves them safely with the module analysed again so that the project's panes follow,
// reloads a source another program changed (asking when the tab has unsaved changes), asks
// about unsaved changes before a project or the program closes, and shows in each tab the
// messages of the last check of its file (kept by the project's checker).
class CEditorController : public QObject {
    Q_OBJECT

public:
    CEditorController(QWidget& frame, CDockBars& bars, const UiContext& ui, CProjectWindows& windows);
    ~CEditorController() override;

    CVhdlEditorPane& Pane() const { return *m_pane; }
    // Opens the source in a tab (or shows its tab) at the line (0: where it stands). False when
    // the file could not be read; the user is told why.
    bool Open(const std::filesystem::path& path, int line);
    // Writes the source; false when it was not written (read-only, refused, or the user kept
    // another program's version).
    bool Save(OpenSource& source);
    // The sources of the project (all of them without one) that have unsaved changes are saved or
    // dropped as the user says; false when the user cancelled or a save failed.
    bool AskToSaveChanges(const C3SplitFrame* project);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnProjectAdded(C3SplitFrame* frame);
    void OnOutsideChanges(C3SplitFrame* frame);
    void ReloadOrAsk(OpenSource& source);
    void Reload(OpenSource& source, std::string text);
    void ShowCheckMessages(const OpenSource& source);
    void OnCheckMessages(const C3SplitFrame* frame, const std::vector<std::filesystem::path>& files);
    void Analyse(const OpenSource& source);
    void OnCloseRequested(OpenSource* source);
    void AskGoToLine();
    std::vector<OpenSource*> Modified(const C3SplitFrame* project) const;
    C3SplitFrame* ProjectOf(const std::filesystem::path& path) const;
    C3SplitFrame* FrameOf(const OpenSource& source) const;

    QWidget& m_frame;
    CDockBars& m_bars;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    CVhdlEditorPane* m_pane;
};

} // namespace kestra
