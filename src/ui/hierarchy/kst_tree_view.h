#pragma once

#include "actions/edit_target.h"
#include "commands/analysis_commands.h"
#include "commands/clipboard_commands.h"
#include "commands/generate_commands.h"
#include "commands/import_commands.h"
#include "commands/library_commands.h"
#include "commands/module_commands.h"
#include "print/hierarchy_printer.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <string>
#include <vector>

class QLineEdit;
class QPrinter;

namespace kestra {

class CHierarchyModel;
class CKSTDoc;
class CProjectObserver;
struct UiContext;

// Edits item names in place. The typed name never goes into the model directly: it is
// handed on, so that the core decides whether the name is taken.
class CNameEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The next editor opens on this text instead of the item's.
    void SetInitialText(const QString& text) { m_initialText = text; }
    QLineEdit* Editor() const;
    // The item the open (or last) editor edits.
    QPersistentModelIndex EditedIndex() const { return m_editedIndex; }
    void InitOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
        initStyleOption(option, index);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void nameEdited(const QPersistentModelIndex& index, const QString& text) const;

private:
    mutable QString m_initialText;
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_editedIndex;
};

// The project window's hierarchy pane: shows the project's hierarchy with kind and status
// images, follows the selection into the other panes through the project observer, and
// forwards the module, clipboard and analysis commands to the core. The bold item is always
// the one the panes show; while a command runs, selection changes wait until the command has
// chosen its item.
class CKSTTreeView : public QTreeView, public CEditTarget {
    Q_OBJECT

public:
    CKSTTreeView(CKSTDoc& doc, CProjectSession& session, CProjectObserver& panes, const UiContext& ui,
                 QWidget* parent = nullptr);
    ~CKSTTreeView() override;

    CHierarchyModel& Model() { return *m_model; }
    CProjectSession& Session() { return m_session; }
    CHierarchyItem* SelectedItem() const { return m_session.Selected(); }
    // Makes the item the current one, committing the panes of the previous one first.
    void SelectItem(CHierarchyItem* item);
    // The first update of a new or opened project: repairs the root and selects it.
    void OnInitialUpdate();
    // The items shown expanded, as paths of names ("TOP/CHILD").
    std::vector<std::string> ExpandedPaths() const;
    // Before the project is read again: the items shown are about to go.
    void ForgetItems() { m_shown = nullptr; }
    // After it was read again: the items of those paths that still exist are expanded and the
    // one at `selected` is selected (the project item when it is gone).
    void Restore(const std::vector<std::string>& expanded, const std::string& selected);
    // While print preview runs, selection changes do not reload the panes.
    void SetBusy(bool busy) { m_busy = busy; }
    bool IsBusy() const { return m_busy; }

    void StartNameEditing(CHierarchyItem* item);
    void ShowItem(CHierarchyItem* item);
    QLineEdit* NameEditor() const { return m_delegate->Editor(); }

    bool CanAddModule() const;
    bool CanCutOrCopy() const;
    bool CanPaste() const { return m_clipboard.CanPaste(); }
    bool CanRemove() const;
    // Label editing: every item but a predefined module, whose name is its library's.
    bool CanRename() const;
    bool CanInsertLibraryModule() const { return m_library.CanInsertLibraryModule(); }
    bool CanCreateLibraryModule() const { return m_library.CanCreateLibraryModule(); }
    bool CanCreatePredefinedModule() const { return m_library.CanCreatePredefinedModule(); }

    void OnAddModule();
    void OnRemove();
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnMove(MoveCommand command);
    void OnSetKind(HierarchyKind kind);
    void OnAnalyzeModule();
    // Insert Library Module and Insert Predefined Module select the new item (`selectNew`); a
    // click in the library bar or a block in the parent's diagram keeps the parent selected,
    // so that the next insertion goes beside it. The new item is shown either way.
    void OnInsertLibraryModule(LibraryInsertMode mode, const std::string& path, CLibraryChooser* chooser,
                               bool selectNew);
    void OnCreateLibraryModule(bool predefined, CLibraryStore& store);
    // Imports the previewed design below the selection; the first top it brings in is selected
    // and shown with its children.
    void OnImportDesign(const DesignImportPreview& preview);
    void OnGenerate(bool individual);
    // What the last Analyze or Generate did.
    const CompletedWork& LastCompleted() const { return m_completed; }
    void OnEditVhdl();
    void OnRename();
    void OnExpandAll();
    void OnCollapseAll();
    void OnCopyView();

    // The clipboard, removal, move and Copy View commands while the hierarchy has the focus;
    // printing goes through the project window, which prints the pane last active.
    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override { return Print(printer); }

    // The visible items in display order, for printing and Copy View.
    std::vector<HierarchyRow> VisibleRows() const;
    // Prints the hierarchy with the heading and page footer; returns the pages printed.
    Result<int> Print(QPrinter& printer);

signals:
    void contextMenuRequested(const QPoint& globalPos);
    // The selection, the marks or the structure changed: command states may differ.
    void commandStateChanged();
    // Analyze or Generate ran: what it did is in LastCompleted().
    void analysisDone();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    // Escape ends the name editing without a name.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    template <typename Command>
    void RunCommand(Command command);
    void ChangeSelection(CHierarchyItem* item);
    void SyncSelection();
    void OnNameEdited(const QPersistentModelIndex& index, const QString& text);
    // After the editor has gone: an item that was never named goes again.
    void OnNameEditingCancelled(const QPersistentModelIndex& index);
    void OnItemAboutToBeRemoved(CHierarchyItem* item);
    bool IsOnStatusImage(const QModelIndex& index, const QPoint& pos) const;

    CKSTDoc& m_doc;
    CProjectSession& m_session;
    CModuleCommands m_modules;
    CClipboardCommands m_clipboard;
    CAnalysisCommands m_analysis;
    CGenerateCommands m_generation;
    CompletedWork m_completed;
    CLibraryCommands m_library;
    CProjectObserver& m_panes;
    const UiContext& m_ui;
    CHierarchyModel* m_model;
    CNameEditDelegate* m_delegate;
    CHierarchyItem* m_shown = nullptr; // the item whose records the panes hold
    int m_commandDepth = 0;
    bool m_busy = false;
    // A name that was not a VHDL identifier: editing reopens on it.
    std::string m_retypeText;
};

} // namespace kestra
