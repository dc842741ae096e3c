#include "library/library_tree_model.h"

#include "hierarchy/hierarchy_icons.h"
#include "strings/qt_text.h"

#include <QDataStream>
#include <QIODevice>
#include <QIcon>
#include <QMimeData>

namespace kestra {

CLibraryTreeModel::CLibraryTreeModel(CLibraryTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {}

CLibraryItem* CLibraryTreeModel::ItemAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<CLibraryItem*>(index.internalPointer()) : nullptr;
}

QModelIndex CLibraryTreeModel::IndexOf(const CLibraryItem* item) const {
    if (item == nullptr)
        return {};
    const int row = item->Parent() != nullptr ? item->IndexInParent() : 0;
    return createIndex(row, 0, const_cast<CLibraryItem*>(item));
}

void CLibraryTreeModel::Reload() {
    beginResetModel();
    endResetModel();
}

QModelIndex CLibraryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, 0, m_tree.Root()) : QModelIndex();
    const CLibraryItem* item = ItemAt(parent);
    if (row >= item->ChildCount())
        return {};
    return createIndex(row, 0, item->Child(row));
}

QModelIndex CLibraryTreeModel::parent(const QModelIndex& child) const {
    const CLibraryItem* item = ItemAt(child);
    return item != nullptr ? IndexOf(item->Parent()) : QModelIndex();
}

int CLibraryTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return 1;
    return parent.column() == 0 ? ItemAt(parent)->ChildCount() : 0;
}

int CLibraryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CLibraryTreeModel::data(const QModelIndex& index, int role) const {
    const CLibraryItem* item = ItemAt(index);
    if (item == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return item->Kind() == LibraryItemKind::Root ? QString::fromLatin1(LibraryRootText(m_tree.Kind()))
                                                     : PathToQt(item->Name());
    case Qt::DecorationRole: {
        QIcon icon(CHierarchyIcons::KindImage(m_tree.Image(item), false));
        icon.addPixmap(CHierarchyIcons::KindImage(m_tree.Image(item), true), QIcon::Selected);
        return icon;
    }
    case Qt::ToolTipRole:
        return item->IsModule() ? PathToQt(m_tree.FullPath(item)) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags CLibraryTreeModel::flags(const QModelIndex& index) const {
    const CLibraryItem* item = ItemAt(index);
    if (item == nullptr)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (item->IsModule())
        flags |= Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    return flags;
}

QStringList CLibraryTreeModel::mimeTypes() const {
    return {QString::fromLatin1(kMimeType)};
}

// A dragged module travels as its item path, which stays valid however the view is redrawn.
QMimeData* CLibraryTreeModel::mimeData(const QModelIndexList& indexes) const {
    const CLibraryItem* module = indexes.size() == 1 ? ItemAt(indexes.front()) : nullptr;
    if (module == nullptr || !module->IsModule())
        return nullptr;
    QStringList names;
    for (const std::string& name : CLibraryTree::ItemPath(module))
        names << PathToQt(name);
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << names;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType), bytes);
    return data;
}

CLibraryItem* CLibraryTreeModel::DraggedModule(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(kMimeType)))
        return nullptr;
    QStringList names;
    QDataStream stream(data->data(QString::fromLatin1(kMimeType)));
    stream >> names;
    if (stream.status() != QDataStream::Ok || names.isEmpty())
        return nullptr;
    // Folders down to the last name, which must be a module (a folder may share its name).
    CLibraryItem* item = m_tree.Root();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const std::string name = PathFromQt(names[i]).string();
        const bool last = i + 1 == names.size();
        CLibraryItem* next = nullptr;
        for (int child = 0; child < item->ChildCount() && next == nullptr; ++child) {
            CLibraryItem* candidate = item->Child(child);
            if (candidate->Name() == name && candidate->IsModule() == last)
                next = candidate;
        }
        if (next == nullptr)
            return nullptr;
        item = next;
    }
    return item;
}

bool CLibraryTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                        const QModelIndex& parent) const {
    CLibraryItem* module = DraggedModule(data);
    CLibraryItem* target = ItemAt(parent);
    return action == Qt::MoveAction && module != nullptr && target != nullptr &&
           m_tree.TargetFolder(target) != module->Parent();
}

bool CLibraryTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                     const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    // The dialog moves the file and rebuilds the view; the view must not remove any rows.
    emit moduleDropped(DraggedModule(data), ItemAt(parent));
    return false;
}

} // namespace kestra
