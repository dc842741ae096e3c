#pragma once

#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>

namespace kestra {

// Draws the parameter list's rows (kind image, name and value cut to their columns) and edits
// a cell in place, with a line editor or a drop-down choice box. The edited text never goes
// into the list directly: it is handed on, so that the core decides what becomes of it.
class CParameterDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The next editor is a choice box over the choices, with the choice at `current`
    // preselected (none for -1); otherwise a line editor on the cell's text.
    void PrepareTextEditor() { m_choices.clear(), m_useChoices = false; }
    void PrepareChoiceBox(const QStringList& choices, int current);
    // The open editor: from its creation until the view releases it.
    QWidget* Editor() const { return m_editor.data(); }

    // Left margin of the name text in column 0: the kind image stands before it.
    static int NameIndent();
    // Whether the cell's text is wider than the room the row gives it.
    bool IsTruncated(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    void cellEdited(int row, int column, const QString& text) const;

private:
    QRect TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    QStringList m_choices;
    int m_current = -1;
    bool m_useChoices = false;
    mutable QPointer<QWidget> m_editor;
};

} // namespace kestra
