#pragma once

#include "library/library_roots.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kestra {

enum class LibraryItemKind { Root, Folder, Module };

// Images of the library tree, from the hierarchy's image strip; the selected image is one more.
inline constexpr int kLibraryFolderImage = 12;
inline constexpr int kLibraryModuleImage = 4;
inline constexpr int kPredefinedModuleImage = 6;

// The order of names in a library listing: case ignored first, then byte order.
bool LibraryNameLess(const std::string& a, const std::string& b);

// One item of a library tree: the root, a folder or a module. Children are kept sorted by
// name; only the root and folders have children.
class CLibraryItem {
public:
    CLibraryItem(const CLibraryItem&) = delete;
    CLibraryItem& operator=(const CLibraryItem&) = delete;

    const std::string& Name() const { return m_name; }
    LibraryItemKind Kind() const { return m_kind; }
    // The root counts as a folder.
    bool IsFolder() const { return m_kind != LibraryItemKind::Module; }
    bool IsModule() const { return m_kind == LibraryItemKind::Module; }
    bool IsExpanded() const { return m_expanded; }

    CLibraryItem* Parent() const { return m_parent; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    CLibraryItem* Child(int index) const;
    int IndexInParent() const;

private:
    friend class CLibraryTree;
    CLibraryItem(std::string name, LibraryItemKind kind, CLibraryItem* parent)
        : m_name(std::move(name)), m_kind(kind), m_parent(parent) {}

    std::string m_name;
    LibraryItemKind m_kind;
    CLibraryItem* m_parent;
    bool m_expanded = false;
    std::vector<std::unique_ptr<CLibraryItem>> m_children;
};

// The folders and modules of one library as a tree, with the appearance a view shows of it
// (expanded folders, the selected item, the first visible item). The content always comes from
// the folders: folders whose names do not begin with '.', and "*.vhd" files as modules named
// without their extension. Every level is sorted by name, case ignored first.
class CLibraryTree {
public:
    // An empty tree (the root alone); Rescan fills it.
    CLibraryTree(std::filesystem::path rootFolder, LibraryKind kind);

    // Reads the folders again; expansion, selection and top item start over.
    void Rescan();

    LibraryKind Kind() const { return m_kind; }
    const std::filesystem::path& RootFolder() const { return m_rootFolder; }
    CLibraryItem* Root() const { return m_root.get(); }
    // Pre-order: the root, then each child's subtree in order; none after the last item.
    CLibraryItem* NextItem(const CLibraryItem* item) const;
    static int Depth(const CLibraryItem* item);
    int ItemCount() const;

    int Image(const CLibraryItem* item) const;
    int SelectedImage(const CLibraryItem* item) const { return Image(item) + 1; }

    // The names from the root's child down to the item; empty for the root.
    static std::vector<std::string> ItemPath(const CLibraryItem* item);
    // Follows the names from the root; none when some name is borne by no child. Where a folder
    // and a module share a name, the folder is taken.
    CLibraryItem* FindItem(const std::vector<std::string>& path) const;

    // A folder item's folder; a module item's file.
    std::filesystem::path FullPath(const CLibraryItem* item) const;
    // The item if it is a folder, else the folder holding it; the root for none.
    CLibraryItem* TargetFolder(CLibraryItem* item) const;

    // Inserts a child in name order; an item of that name and kind already there is returned
    // instead. The parent must be a folder.
    CLibraryItem* InsertItem(CLibraryItem* parent, const std::string& name, LibraryItemKind kind);
    // Deletes an item other than the root with its subtree; selection and top item inside it
    // are cleared.
    bool DeleteItem(CLibraryItem* item);

    void SetExpanded(CLibraryItem* item, bool expanded);
    CLibraryItem* Selected() const { return m_selected; }
    // Selecting an item makes it visible: its ancestors are expanded.
    void Select(CLibraryItem* item);
    CLibraryItem* TopItem() const { return m_topItem; }
    void SetTopItem(CLibraryItem* item);

private:
    void ScanFolder(CLibraryItem* parent, const std::filesystem::path& folder,
                    std::vector<std::filesystem::path>& ancestors);
    void ExpandAncestors(CLibraryItem* item);

    std::filesystem::path m_rootFolder;
    LibraryKind m_kind;
    std::unique_ptr<CLibraryItem> m_root;
    CLibraryItem* m_selected = nullptr;
    CLibraryItem* m_topItem = nullptr;
};

} // namespace kestra
