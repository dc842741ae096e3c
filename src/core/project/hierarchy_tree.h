#pragma once

#include "project/hierarchy_item.h"

#include <memory>
#include <string>

namespace kestra {

// Told about every change of a hierarchy's structure and item attributes, before and after,
// so that a view can follow the tree. Top-level items have a null parent.
class CHierarchyListener {
public:
    virtual ~CHierarchyListener() = default;
    virtual void ItemAboutToBeInserted(CHierarchyItem* /*parent*/, int /*index*/) {}
    virtual void ItemInserted(CHierarchyItem* /*item*/) {}
    virtual void ItemAboutToBeRemoved(CHierarchyItem* /*item*/) {}
    virtual void ItemRemoved(CHierarchyItem* /*parent*/, int /*index*/) {}
    virtual void ItemAboutToBeMoved(CHierarchyItem* /*item*/, int /*newIndex*/) {}
    virtual void ItemMoved(CHierarchyItem* /*item*/) {}
    // Text, kind, status or marks changed.
    virtual void ItemChanged(CHierarchyItem* /*item*/) {}
    virtual void TreeAboutToBeReset() {}
    virtual void TreeReset() {}
};

// The project hierarchy: an ordered forest whose first top-level item is the project root,
// plus the module folder (the root's text and "/", relative to the project folder).
// Items are created with their records by InsertItem and destroyed with them by DeleteItem;
// item pointers stay valid until their item is deleted.
class CHierarchyTree {
public:
    CHierarchyTree();
    ~CHierarchyTree();
    CHierarchyTree(const CHierarchyTree&) = delete;
    CHierarchyTree& operator=(const CHierarchyTree&) = delete;

    void SetListener(CHierarchyListener* listener) { m_listener = listener; }

    // Inserts after the sibling `after`, or as the last child when after is null; a null
    // parent inserts at top level, which also makes text + "/" the module folder. Creates the
    // design object, the block record and, for kinds 0, 4 and 6, the signal list.
    CHierarchyItem* InsertItem(const std::string& text, HierarchyKind kind, CHierarchyItem* parent = nullptr,
                               CHierarchyItem* after = nullptr);
    // As InsertItem, at a position among the parent's children (clamped; -1 for the end).
    CHierarchyItem* InsertItemAt(const std::string& text, HierarchyKind kind, CHierarchyItem* parent,
                                 int index);
    // Deletes the item, its descendants and all their records.
    void DeleteItem(CHierarchyItem* item);
    void DeleteAllItems();
    // Moves the item among its siblings to the position (clamped); parent and children stay.
    bool MoveItemTo(CHierarchyItem* item, int index);
    // Inserts copies of the source item and its descendants (text, kind, status and records,
    // not marks) as the last child of parent, which may belong to another tree.
    CHierarchyItem* CopySubtree(const CHierarchyItem& source, CHierarchyItem* parent);

    CHierarchyItem* GetRootItem() const { return m_top.Child(0); }
    int TopLevelCount() const { return m_top.ChildCount(); }
    CHierarchyItem* TopLevelItem(int index) const { return m_top.Child(index); }
    bool IsEmpty() const { return m_top.ChildCount() == 0; }
    int ItemCount() const { return m_count; }

    // Number of ancestors.
    static int ItemDepth(const CHierarchyItem* item);
    // The names from a top module (a child of the root) down to the item, joined by '/': one
    // instance of a module used under several parents ("BLINKER/CHANNEL_B/DIVIDER"). Empty for
    // the root.
    static std::string ItemPath(const CHierarchyItem* item);
    // Follows such a path from the root, taking the first child of each name; null when a name
    // is borne by no child.
    CHierarchyItem* FindItemByPath(const std::string& path) const;
    static HierarchyKind ItemKind(const CHierarchyItem* item) { return item->Kind(); }
    // Pre-order successor: first child, else next sibling, else the next sibling of the
    // nearest ancestor that has one. With `within`, the walk ends on leaving that subtree.
    // A null item gives the first item.
    CHierarchyItem* NextItem(const CHierarchyItem* item, const CHierarchyItem* within = nullptr) const;
    // The last item of the subtree in pre-order (the item itself when it has no children).
    static CHierarchyItem* LastDescendant(CHierarchyItem* item);
    // The item before this one in pre-order: the previous sibling's last descendant, or the
    // parent.
    static CHierarchyItem* PreviousItem(CHierarchyItem* item);

    void SetItemText(CHierarchyItem* item, const std::string& text);
    // Changes the image and keeps the records in line: a signal list exactly for kinds 0, 4
    // and 6 (an existing list is kept, a missing one is created empty).
    void SetItemKind(CHierarchyItem* item, HierarchyKind kind);
    void SetStatus(CHierarchyItem* item, AnalysisStatus status);
    void SetCutMark(CHierarchyItem* item, bool marked);
    void SetCopyMark(CHierarchyItem* item, bool marked);
    void ClearAllMarks();
    // Marks the item and its descendants: the cut mark, or else the copy mark.
    void MarkSubtree(CHierarchyItem* item, bool cut);
    // The first item in pre-order that carries either mark.
    CHierarchyItem* FirstMarkedItem() const;

    const std::string& GetModuleFolder() const { return m_moduleFolder; }
    void SetModuleFolder(const std::string& folder) { m_moduleFolder = folder; }

private:
    CHierarchyItem* Container(CHierarchyItem* parent) { return parent != nullptr ? parent : &m_top; }
    void Changed(CHierarchyItem* item);

    CHierarchyItem m_top; // holds the top-level items; never visible
    int m_count = 0;
    std::string m_moduleFolder;
    CHierarchyListener* m_listener = nullptr;
};

} // namespace kestra
