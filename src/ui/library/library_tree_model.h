#pragma once

#include "library/library_tree.h"

#include <QAbstractItemModel>
#include <vector>

namespace kestra {

// The Browse Library dialog's tree over the core's library tree: one column of names (file
// names, in the system's encoding) with the folder, library module and predefined module images
// (their selected forms for the selected item). Module items can be dragged; folders and modules
// (standing for their folder) take drops, which the model hands on instead of moving anything.
class CLibraryTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    static constexpr const char* kMimeType = "application/x-kestra-library-module";

    explicit CLibraryTreeModel(CLibraryTree& tree, QObject* parent = nullptr);

    static CLibraryItem* ItemAt(const QModelIndex& index);
    QModelIndex IndexOf(const CLibraryItem* item) const;
    // The tree changed in the core: views start over.
    void Reload();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // The dragged module that the data names, when it is still in this tree.
    CLibraryItem* DraggedModule(const QMimeData* data) const;

signals:
    void moduleDropped(kestra::CLibraryItem* module, kestra::CLibraryItem* target);

private:
    CLibraryTree& m_tree;
};

} // namespace kestra
