#include "paramlist/parameter_delegate.h"

#include "paramlist/parameter_icons.h"
#include "paramlist/parameter_list_model.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

namespace kestra {

namespace {

constexpr int kTextMargin = 4;
constexpr int kKindRole = CParameterListModel::KindRole;

} // namespace

void CParameterDelegate::PrepareChoiceBox(const QStringList& choices, int current) {
    m_choices = choices;
    m_current = current;
    m_useChoices = true;
}

int CParameterDelegate::NameIndent() {
    return 2 + CParameterIcons::kWidth;
}

QRect CParameterDelegate::TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QRect rect = option.rect;
    if (index.column() == 0)
        rect.setLeft(rect.left() + NameIndent());
    return rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
}

bool CParameterDelegate::IsTruncated(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) >
           TextRect(option, index).width();
}

void CParameterDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    if (index.column() == 0) {
        const int top = option.rect.top() + (option.rect.height() - CParameterIcons::kHeight) / 2;
        painter->drawPixmap(
            option.rect.left() + 2, top,
            CParameterIcons::KindImage(static_cast<EntryKind>(index.data(kKindRole).toInt())));
    }
    const QRect textRect = TextRect(option, index);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, std::max(textRect.width(), 0)));
    if ((option.state & QStyle::State_HasFocus) != 0 && index.column() == 0) {
        painter->setPen(QPen(option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize CParameterDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const int indent = index.column() == 0 ? NameIndent() : 0;
    return {indent + option.fontMetrics.horizontalAdvance(text) + 2 * kTextMargin,
            std::max(CParameterIcons::kHeight, option.fontMetrics.height()) + 4};
}

QWidget* CParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const {
    if (m_useChoices) {
        auto* box = new QComboBox(parent);
        box->addItems(m_choices);
        box->setCurrentIndex(m_current);
        // Picking a choice ends the edit at once.
        connect(box, &QComboBox::activated, box, [this, box] {
            emit const_cast<CParameterDelegate*>(this)->commitData(box);
            emit const_cast<CParameterDelegate*>(this)->closeEditor(box, QAbstractItemDelegate::NoHint);
        });
        QTimer::singleShot(0, box, &QComboBox::showPopup);
        m_editor = box;
        return box;
    }
    auto* line = new QLineEdit(parent);
    line->setFrame(true);
    m_editor = line;
    return line;
}

void CParameterDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(index.data(Qt::DisplayRole).toString());
        line->selectAll();
    }
}

void CParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        text = line->text();
    else if (auto* box = qobject_cast<QComboBox*>(editor))
        text = box->currentIndex() >= 0 ? box->currentText() : QString();
    emit cellEdited(index.row(), index.column(), text);
}

void CParameterDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == m_editor)
        m_editor.clear();
    QStyledItemDelegate::destroyEditor(editor, index);
}

void CParameterDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const {
    QRect rect = option.rect;
    if (index.column() == 0)
        rect.setLeft(rect.left() + NameIndent());
    editor->setGeometry(rect);
}

} // namespace kestra
