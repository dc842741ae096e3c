#pragma once

#include "actions/edit_target.h"
#include "commands/parameter_commands.h"
#include "print/parameter_list_printer.h"
#include "session/project_session.h"

#include <QElapsedTimer>
#include <QTreeView>
#include <filesystem>
#include <utility>
#include <vector>

class QPrinter;

namespace kestra {

class CKSTDoc;
class CKSTObject;
class CParameterDelegate;
class CParameterListModel;
struct UiContext;

// The parameter list pane: the design object of the item selected in the hierarchy, one row
// per entry (kind image, name under "Item", value under "Parameter"), through a model over the
// object. Every edit goes to the core's parameter commands, which change the object, rewrite
// the module's source and have the list reloaded. The only state of its own is the cell being
// edited and the cell clicked last.
class CKSTListView : public QTreeView, public CEditTarget {
    Q_OBJECT

public:
    static constexpr int kMinimumColumnWidth = 150;
    static constexpr int kDefaultItemColumnWidth = 150;

    CKSTListView(CKSTDoc& doc, CProjectSession& session, const UiContext& ui, QWidget* parent = nullptr);
    ~CKSTListView() override;

    // Shows the item's design object (no item clears the list) and remembers the module's
    // source path. A cell still being edited ends first.
    void SetObject(CHierarchyItem* item, const std::filesystem::path& sourcePath);
    // The object shown, while it is still the selected item's.
    CKSTObject* Object() const;
    const std::filesystem::path& SourcePath() const { return m_sourcePath; }
    // Object to list (reload the rows) or list to object (end the open cell edit, whose text
    // reaches the object through the core). False when there is nothing to commit to.
    bool SyncParameterList(bool toList);
    CParameterListModel& Model() const { return *m_model; }

    // The width column "Item" has whenever the view is wide enough: the stored width or the
    // one the user dragged it to. A narrower view narrows the column only while it is narrow.
    int ItemColumnWidth() const { return m_itemWidth; }
    void SetItemColumnWidth(int width);
    // The widths of the two columns in a view of that width, given the first row's width and
    // the wanted width of column "Item".
    static std::pair<int, int> ColumnWidths(int viewWidth, int rowWidth, int itemWidth);

    // The focused row, or -1.
    int FocusedRow() const;
    void SelectRow(int row);
    // The open cell editor (line editor or choice box), if any.
    QWidget* Editor() const;

    // Acts on the cell by its row's kind: opens an editor, a chooser, a link or the HDL editor.
    void Invoke(int row, int column, bool force);
    bool CanInvoke() const { return FocusedRow() >= 0; }
    bool CanForceEdit() const { return FocusedRow() > 0; }
    void OnInvoke() { Invoke(FocusedRow(), 1, false); }
    void OnForceEdit() { Invoke(FocusedRow(), 1, true); }
    void OnAddParameter(EntryKind kind);
    bool CanRemove() const;
    void OnRemove();
    bool CanCutOrCopy() const;
    void OnCut();
    void OnCopy();
    bool CanPaste() const;
    void OnPaste();
    bool CanMove() const;
    void OnMove(MoveCommand command);
    void OnCopyView();
    // The rows as shown, for printing and Copy View.
    std::vector<ParameterRow> Rows() const;
    // Prints the list with the heading and page footer; returns the pages printed.
    Result<int> Print(QPrinter& printer);

    // The clipboard, removal, move and Copy View commands while the list has the focus;
    // printing goes through the project window, which prints the pane last active.
    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override { return Print(printer); }

signals:
    void contextMenuRequested(const QPoint& globalPos);
    // The focused row or the list changed: command states may differ.
    void commandStateChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void ApplyColumnLayout();
    void OnSectionResized(int section, int oldSize, int newSize);
    void OnCellEdited(int row, int column, const QString& text);
    void ApplyPendingEdits();
    // Ends the open cell editor, if any, keeping what was typed.
    void EndOpenEdit();
    void OpenEditor(int row, int column);
    void OpenChoiceBox(int row);
    void OpenLink(int row);
    void ChooseLinkFile(int row);
    CHierarchyItem* Item() const;
    // The clipboard's parameter text, or empty.
    static std::string ClipboardParameterText();

    CKSTDoc& m_doc;
    CProjectSession& m_session;
    CParameterCommands m_parameters;
    const UiContext& m_ui;
    CParameterListModel* m_model;
    CParameterDelegate* m_delegate;
    CHierarchyItem* m_item = nullptr;
    CKSTObject* m_object = nullptr;
    // An edit ends when its editor closes, which may happen because another hierarchy item is
    // being selected: the edit is applied afterwards, to the item it was made on.
    struct PendingEdit {
        CHierarchyItem* item;
        CKSTObject* object;
        int row;
        int column;
        std::string text;
    };
    std::vector<PendingEdit> m_pendingEdits;
    std::filesystem::path m_sourcePath;
    std::pair<int, int> m_lastClicked{-1, -1};
    QElapsedTimer m_clickInvoked; // a double click right after a click that invoked does nothing
    int m_itemWidth = kDefaultItemColumnWidth;
    bool m_settingWidths = false;
};

} // namespace kestra
