#pragma once

#include "actions/action_table.h"

#include <QObject>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QFileSystemWatcher;
class QMenu;
class QTimer;

namespace kestra {

class C3SplitFrame;
class CHierarchyItem;
class CDockBars;
class CProjectWindows;
class CSourceEditor;
class CVhdlEditorPane;
struct OpenSource;
struct UiContext;

// The VHDL editor's commands made from its action table.
struct CEditorActions {
    QAction* find = nullptr;
    QAction* replace = nullptr;
    QAction* goToLine = nullptr;
    QAction* toggleComment = nullptr;
    QAction* completeName = nullptr;
    QAction* openChildSource = nullptr;
    QAction* insertInstantiation = nullptr;
    // In menu order, a null entry as a separator.
    QList<QAction*> List() const {
        return {find,    replace,         goToLine,           nullptr, toggleComment, completeName,
                nullptr, openChildSource, insertInstantiation};
    }
};

// The VHDL editor's commands: it opens the sources that Edit VHDL, the check's log lines and the
// parameter list's module entry name while no HDL editor is set (the desktop shell hands them
// over), saves them safely with the module analysed again so that the project's panes follow,
// reloads a source another program changed (asking when the tab has unsaved changes), asks
// about unsaved changes before a project or the program closes, and shows in each tab the
// messages of the last check of its file (kept by the project's checker), and a save starts the
// check of the module as Analyze Module does. It completes the names the module's source can
// use, opens the source of the child the word at the cursor names (F2), and writes an
// instantiation of a child at the cursor (Insert Instantiation, Ctrl+Shift+I). Its commands
// are in the window's Edit menu and the editor's context menu.
class CEditorController : public QObject {
    Q_OBJECT

public:
    CEditorController(QWidget& frame, CDockBars& bars, const UiContext& ui, CProjectWindows& windows,
                      std::function<void()> changed);
    ~CEditorController() override;

    const CEditorActions& Actions() const { return m_actions; }
    void UpdateActions() const { m_rules.Update(); }
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
    // Every open source is compared with its file: also KESTRA's own commands rewrite sources
    // (a parameter's value, a component refresh), which the project's watch does not report.
    void OnFilesChanged();
    void Watch(const OpenSource& source);
    void ReloadOrAsk(OpenSource& source);
    void Reload(OpenSource& source, std::string text);
    void ShowCheckMessages(const OpenSource& source);
    void OnCheckMessages(const C3SplitFrame* frame, const std::vector<std::filesystem::path>& files);
    void Analyse(const OpenSource& source);
    void OnCloseRequested(OpenSource* source);
    void AskGoToLine();
    // The module of the current source and the children an instantiation can name; none
    // without a current source of a project's module.
    struct ModuleChildren {
        const CHierarchyItem* module = nullptr;
        std::vector<const CHierarchyItem*> children;
    };
    ModuleChildren CurrentModuleChildren() const;
    void AskInsertInstantiation();
    void InsertInstantiation(OpenSource& source, const CHierarchyItem& parent, const CHierarchyItem& child);
    void AddContextCommands(QMenu& menu);
    void MakeRules();
    // The current tab's editor when it may be changed; null without one.
    CSourceEditor* WritableEditor() const;
    const CHierarchyItem* ChildAtCursor() const;
    void OpenChildSource();
    std::vector<std::string> CompletionNamesOf(const CSourceEditor* editor) const;
    std::vector<OpenSource*> Modified(const C3SplitFrame* project) const;
    C3SplitFrame* ProjectOf(const std::filesystem::path& path) const;
    C3SplitFrame* FrameOf(const OpenSource& source) const;

    QWidget& m_frame;
    CDockBars& m_bars;
    const UiContext& m_ui;
    CProjectWindows& m_windows;
    CVhdlEditorPane* m_pane;
    QFileSystemWatcher* m_watcher;
    QTimer* m_settle;
    CEditorActions m_actions;
    CActionRules m_rules;
};

} // namespace kestra
