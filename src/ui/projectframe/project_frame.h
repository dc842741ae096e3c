#pragma once

#include "actions/edit_target.h"
#include "project/project_observer.h"

#include <QWidget>
#include <memory>
#include <string>

class QSplitter;

namespace kestra {

class CProjectSession;
class CKSTDoc;
class CKSTEditView;
class CKSTListView;
class CKSTTreeView;
class CProjectSync;
class CVhdlChecker;
struct UiContext;

// A project window: one project document shown in three panes, the hierarchy tree and the
// parameter list side by side above the message log. It is the project's observer, so core
// commands reach its panes, and it keeps the splitter positions in the settings between runs.
// Closing saves the project without asking. It prints the pane that was active last, and hands
// the clipboard commands and Copy View to the hierarchy while the focus is in no pane that
// answers them.
class C3SplitFrame : public QWidget, public CProjectObserver, public CEditTarget {
    Q_OBJECT

public:
    explicit C3SplitFrame(const UiContext& ui, QWidget* parent = nullptr);
    ~C3SplitFrame() override;

    // New Project: asks for the file (with the overwrite question), creates the project and
    // shows it. False when cancelled or when the file could not be written.
    bool NewProject();
    bool OpenProject(const std::string& path);
    // Save: never over what another program saved meanwhile without asking (see CProjectSync).
    bool Save();
    // The project was saved under another name: its new files are the ones watched.
    void SavedAs();
    // Before the project is read again: the panes and the running check let go of its items.
    void LetGoOfItems();
    CProjectSync& Sync() const { return *m_sync; }

    CKSTDoc& Doc() { return *m_doc; }
    CProjectSession& Session() { return *m_session; }
    CKSTTreeView* TreeView() const { return m_treeView; }
    CKSTListView* ListView() const { return m_listView; }
    CKSTEditView* LogView() const { return m_logView; }
    CVhdlChecker& Checker() const { return *m_checker; }
    // The pane that had the focus last, the hierarchy or the parameter list: printing prints it.
    QWidget* ActiveView() const;
    QSplitter* RowSplitter() const { return m_rows; }
    QSplitter* ColumnSplitter() const { return m_columns; }
    // Once closing has begun the frame answers no commands.
    bool IsClosing() const { return m_closing; }
    void UpdateTitle();

    void CommitPanes(CHierarchyItem* item) override;
    void ReloadPanes(CHierarchyItem* item, int panes = kAllPanes) override;
    void StartNameEditing(CHierarchyItem* item) override;
    void ShowItem(CHierarchyItem* item) override;
    void ModuleInserted(CHierarchyItem* parent, CHierarchyItem* item) override;
    void ShowStatus(const std::string& text) override;

    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override;
    void SetPreviewing(bool previewing) override;

signals:
    void commandStateChanged();
    void closing(kestra::C3SplitFrame* frame);
    // The main window's bars show the item last shown here (the signal list and the block
    // diagram, by the observer's pane flags): load it, commit their edits of it, let go of the
    // project when it ends.
    void sharedPanesReload(kestra::CProjectSession* session, kestra::CHierarchyItem* item, int panes);
    void sharedPanesCommit(kestra::CHierarchyItem* item);
    void sessionEnding(kestra::CProjectSession* session);
    // A command inserted a module below the parent (the block diagram adds its block).
    void moduleInserted(kestra::CHierarchyItem* parent, kestra::CHierarchyItem* item);
    // A command's word for the status bar.
    void statusMessage(const QString& text);
    // The project was changed or saved.
    void modifiedChanged();
    // Another program changed module sources, which were analysed again (the VHDL editor
    // reloads them).
    void sourcesChangedOutside();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplyLayoutSettings();
    void WriteLayoutSettings();

    const UiContext& m_ui;
    QSplitter* m_rows;
    QSplitter* m_columns;
    CKSTEditView* m_logView;
    std::unique_ptr<CKSTDoc> m_doc;
    std::unique_ptr<CProjectSession> m_session;
    CKSTListView* m_listView;
    CKSTTreeView* m_treeView;
    QWidget* m_activeView = nullptr;
    // Declared last, so destroyed first: its worker stops before the document goes.
    std::unique_ptr<CVhdlChecker> m_checker;
    CProjectSync* m_sync;
    bool m_layoutApplied = false;
    bool m_layoutSettling = false;
    bool m_closing = false;
};

} // namespace kestra
