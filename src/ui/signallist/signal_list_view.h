#pragma once

#include "actions/edit_target.h"
#include "panes/signal_grid.h"

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <array>

class QPrinter;

namespace kestra {

class CSettingsStore;
class CSignalListModel;

// Edits the Mode cells with a list of the five modes and the Data Type cells with an editable
// list of the thirteen types; Name and Range with a line editor.
class CSignalDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // The editor open now, if any.
    QWidget* Editor() const { return m_editor; }

private:
    QWidget* MakeEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    mutable QPointer<QWidget> m_editor;
};

// The "SIGNAL LIST" pane: the ports of the module the hierarchy last showed, one row per
// signal under "Name", "Mode", "Data Type" and "Range", with a status image in the row header
// and the mode's colour behind the cells. Every finished edit goes to the core's signal grid,
// which writes the signals back and tells the listener; when the focus leaves the pane, the
// module's source gets the new port clause. The pane is shared by all project windows.
class CSignalListView : public QTableView, public CEditTarget {
    Q_OBJECT

public:
    static constexpr const char* kWidthSection = "SignalList column width";
    static constexpr std::array<int, 5> kDefaultWidths = {20, 125, 45, 125, 150};
    static constexpr int kMinimumWidth = 10;

    explicit CSignalListView(CSettingsStore& settings, QWidget* parent = nullptr);
    ~CSignalListView() override;

    CSignalGrid& Grid() { return m_grid; }
    void SetListener(CSignalsListener* listener) { m_grid.SetListener(listener); }

    // Shows the item's signals (nothing for an item without them, or for no item).
    void SetOwner(CProjectSession* session, CHierarchyItem* item);
    // Another part changed the owner's signals: the rows are read again and the change is
    // passed on.
    void OnSignalsChangedElsewhere(CProjectSession& session, CHierarchyItem* owner);
    // The owner's project commits its editors (before saving, analysing, choosing another item).
    void CommitItem(CHierarchyItem* item);
    // Writes back and updates the source's port list (focus loss, print preview).
    bool CommitToSource();
    // The item or the project goes away: the pane lets go of it.
    void ForgetItem(const CHierarchyItem* item);
    void ForgetSession(const CProjectSession* session);
    QString Caption() const;

    // The widths of the status column and the four cell columns.
    std::array<int, 5> ColumnWidths() const;
    // The status column's width; the user drags its border as the other columns' borders.
    void SetStatusColumnWidth(int width);
    void WriteColumnWidths() const;

    // The widget is the pane or in it, also in a window the pane opened (a cell's drop-down).
    bool Contains(const QWidget* widget) const;

    // The row holding the focus cell, or -1.
    int FocusRow() const;
    bool HasOwner() const { return m_grid.HasOwner(); }
    bool CanInsert() const { return m_grid.HasOwner(); }
    void OnInsert();
    // The selection covers whole rows.
    bool CanRemove() const;
    void OnRemove();
    bool CanMove() const;
    void OnMove(MoveCommand command);
    bool CanCutOrCopy() const;
    void OnCut();
    void OnCopy();
    bool CanPaste() const;
    void OnPaste();
    void OnCopyView();
    Result<int> Print(QPrinter& printer);

    // Every edit command but undo and redo, while the pane has the focus; the preview of a
    // print writes the rows back into the source first.
    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override { return Print(printer); }
    void SetPreviewing(bool previewing) override;

signals:
    void contextMenuRequested(const QPoint& globalPos);
    void captionChanged(const QString& caption);
    void commandStateChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The selection's bounding cells, or an invalid rectangle.
    QRect SelectedCells() const;
    void SetFocusCell(int row, int column);
    void OnHeaderMenu(Qt::Orientation orientation, const QPoint& pos);
    void OnFocusChanged(QWidget* old, QWidget* now);

    CSettingsStore& m_settings;
    CSignalGrid m_grid;
    CSignalListModel* m_model;
    CSignalDelegate* m_delegate;
};

} // namespace kestra
