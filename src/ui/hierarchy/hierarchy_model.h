#pragma once

#include "project/hierarchy_tree.h"

#include <QAbstractItemModel>
#include <filesystem>
#include <functional>

namespace kestra {

// A project's hierarchy as a Qt item model for the tree pane. It holds no items of its own:
// every index points at a CHierarchyItem, and the model follows the tree's structure through
// the tree's listener. The bold item is the one the panes show.
class CHierarchyModel : public QAbstractItemModel, private CHierarchyListener {
    Q_OBJECT

public:
    explicit CHierarchyModel(CHierarchyTree& tree, QObject* parent = nullptr);
    ~CHierarchyModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static CHierarchyItem* ItemAt(const QModelIndex& index);
    QModelIndex IndexOf(const CHierarchyItem* item) const;

    // Where an item's file lies, for its tool tip (kind, file and status in words).
    void SetFileOf(std::function<std::filesystem::path(const CHierarchyItem&)> fileOf) {
        m_fileOf = std::move(fileOf);
    }

    CHierarchyItem* BoldItem() const { return m_bold; }
    void SetBoldItem(CHierarchyItem* item);

signals:
    // Sent before the item and its subtree go away, while they can still be read.
    void itemAboutToBeRemoved(kestra::CHierarchyItem* item);

private:
    void ItemAboutToBeInserted(CHierarchyItem* parent, int index) override;
    void ItemInserted(CHierarchyItem* item) override;
    void ItemAboutToBeRemoved(CHierarchyItem* item) override;
    void ItemRemoved(CHierarchyItem* parent, int index) override;
    void ItemAboutToBeMoved(CHierarchyItem* item, int newIndex) override;
    void ItemMoved(CHierarchyItem* item) override;
    void ItemChanged(CHierarchyItem* item) override;
    void TreeAboutToBeReset() override;
    void TreeReset() override;

    CHierarchyTree& m_tree;
    CHierarchyItem* m_bold = nullptr;
    std::function<std::filesystem::path(const CHierarchyItem&)> m_fileOf;
    bool m_moving = false;
};

} // namespace kestra
