#include "hierarchy/hierarchy_model.h"

#include "hierarchy/hierarchy_icons.h"
#include "project/analysis_status.h"
#include "strings/qt_text.h"

#include <QBrush>
#include <QFont>
#include <QPalette>

namespace kestra {

CHierarchyModel::CHierarchyModel(CHierarchyTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {
    m_tree.SetListener(this);
}

CHierarchyModel::~CHierarchyModel() {
    m_tree.SetListener(nullptr);
}

CHierarchyItem* CHierarchyModel::ItemAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<CHierarchyItem*>(index.internalPointer()) : nullptr;
}

QModelIndex CHierarchyModel::IndexOf(const CHierarchyItem* item) const {
    if (item == nullptr)
        return {};
    return createIndex(item->IndexInParent(), 0, const_cast<CHierarchyItem*>(item));
}

QModelIndex CHierarchyModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const CHierarchyItem* parentItem = ItemAt(parent);
    CHierarchyItem* item = parentItem != nullptr ? parentItem->Child(row) : m_tree.TopLevelItem(row);
    return item != nullptr ? createIndex(row, 0, item) : QModelIndex();
}

QModelIndex CHierarchyModel::parent(const QModelIndex& child) const {
    const CHierarchyItem* item = ItemAt(child);
    return item != nullptr ? IndexOf(item->Parent()) : QModelIndex();
}

int CHierarchyModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const CHierarchyItem* item = ItemAt(parent);
    return item != nullptr ? item->ChildCount() : m_tree.TopLevelCount();
}

int CHierarchyModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CHierarchyModel::data(const QModelIndex& index, int role) const {
    const CHierarchyItem* item = ItemAt(index);
    if (item == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return TextToQt(item->Text());
    case Qt::DecorationRole:
        return CHierarchyIcons::ItemIcon(
            item->Image(), static_cast<int>(item->CheckFailed() ? AnalysisStatus::Failed : item->Status()),
            item->HasCutMark(), item->HasCopyMark());
    case Qt::FontRole:
        if (item == m_bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::ToolTipRole: {
        QString tip = QString::fromLatin1(HierarchyKindText(item->Kind()));
        const std::filesystem::path file = m_fileOf ? m_fileOf(*item) : std::filesystem::path();
        if (!file.empty())
            tip += QLatin1Char('\n') + PathToQt(file);
        if (item->Kind() != HierarchyKind::Root)
            tip += QLatin1Char('\n') + QString::fromLatin1(AnalysisStatusText(item->Status()));
        if (item->CheckFailed())
            tip += QStringLiteral("\nThe VHDL analyser reported errors in its source (see the message log).");
        return tip;
    }
    case Qt::ForegroundRole:
        if (item->HasCutMark())
            return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags CHierarchyModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CHierarchyModel::SetBoldItem(CHierarchyItem* item) {
    if (item == m_bold)
        return;
    CHierarchyItem* previous = m_bold;
    m_bold = item;
    for (const CHierarchyItem* changed :
         {static_cast<const CHierarchyItem*>(previous), static_cast<const CHierarchyItem*>(item)}) {
        const QModelIndex at = IndexOf(changed);
        if (at.isValid())
            emit dataChanged(at, at, {Qt::FontRole});
    }
}

void CHierarchyModel::ItemAboutToBeInserted(CHierarchyItem* parent, int index) {
    beginInsertRows(IndexOf(parent), index, index);
}

void CHierarchyModel::ItemInserted(CHierarchyItem*) {
    endInsertRows();
}

void CHierarchyModel::ItemAboutToBeRemoved(CHierarchyItem* item) {
    emit itemAboutToBeRemoved(item);
    if (m_bold == item || (m_bold != nullptr && item->IsAncestorOf(m_bold)))
        m_bold = nullptr;
    beginRemoveRows(IndexOf(item->Parent()), item->IndexInParent(), item->IndexInParent());
}

void CHierarchyModel::ItemRemoved(CHierarchyItem*, int) {
    endRemoveRows();
}

void CHierarchyModel::ItemAboutToBeMoved(CHierarchyItem* item, int newIndex) {
    const QModelIndex parentIndex = IndexOf(item->Parent());
    const int from = item->IndexInParent();
    // Qt counts the destination before the move: one further on when moving down.
    m_moving = beginMoveRows(parentIndex, from, from, parentIndex, newIndex > from ? newIndex + 1 : newIndex);
    if (!m_moving)
        beginResetModel();
}

void CHierarchyModel::ItemMoved(CHierarchyItem*) {
    if (m_moving)
        endMoveRows();
    else
        endResetModel();
    m_moving = false;
}

void CHierarchyModel::ItemChanged(CHierarchyItem* item) {
    const QModelIndex at = IndexOf(item);
    emit dataChanged(at, at);
}

void CHierarchyModel::TreeAboutToBeReset() {
    beginResetModel();
    m_bold = nullptr;
}

void CHierarchyModel::TreeReset() {
    endResetModel();
}

} // namespace kestra
