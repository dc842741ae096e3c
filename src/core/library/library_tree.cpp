#include "library/library_tree.h"

#include "library/library_files.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

namespace fs = std::filesystem;

namespace {

// A folder comes before a module of the same name.
bool Before(const CLibraryItem& a, const std::string& name, LibraryItemKind kind) {
    if (a.Name() != name)
        return LibraryNameLess(a.Name(), name);
    return a.IsFolder() && kind == LibraryItemKind::Module;
}

} // namespace

bool LibraryNameLess(const std::string& a, const std::string& b) {
    const std::string lowerA = ToLowerAscii(a);
    const std::string lowerB = ToLowerAscii(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

CLibraryItem* CLibraryItem::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return m_children[static_cast<std::size_t>(index)].get();
}

int CLibraryItem::IndexInParent() const {
    if (m_parent == nullptr)
        return -1;
    for (int i = 0; i < m_parent->ChildCount(); ++i)
        if (m_parent->Child(i) == this)
            return i;
    return -1;
}

CLibraryTree::CLibraryTree(fs::path rootFolder, LibraryKind kind)
    : m_rootFolder(std::move(rootFolder)), m_kind(kind),
      m_root(new CLibraryItem(LibraryRootText(kind), LibraryItemKind::Root, nullptr)) {}

void CLibraryTree::Rescan() {
    m_selected = nullptr;
    m_topItem = nullptr;
    m_root->m_children.clear();
    m_root->m_expanded = false;
    std::vector<fs::path> ancestors{m_rootFolder};
    ScanFolder(m_root.get(), m_rootFolder, ancestors);
}

void CLibraryTree::ScanFolder(CLibraryItem* parent, const fs::path& folder,
                              std::vector<fs::path>& ancestors) {
    for (const std::string& name : ListFolders(folder)) {
        if (name.empty() || name.front() == '.')
            continue;
        const fs::path child = folder / name;
        // A link back to a folder above would never end.
        if (std::any_of(ancestors.begin(), ancestors.end(),
                        [&](const fs::path& above) { return SameFolder(above, child); }))
            continue;
        CLibraryItem* item = InsertItem(parent, name, LibraryItemKind::Folder);
        ancestors.push_back(child);
        ScanFolder(item, child, ancestors);
        ancestors.pop_back();
    }
    for (const std::string& name : ListFiles(folder))
        if (IsModuleFileName(name))
            InsertItem(parent, ModuleNameOfFile(name), LibraryItemKind::Module);
}

CLibraryItem* CLibraryTree::NextItem(const CLibraryItem* item) const {
    if (item == nullptr)
        return nullptr;
    if (item->ChildCount() > 0)
        return item->Child(0);
    for (; item->Parent() != nullptr; item = item->Parent())
        if (CLibraryItem* next = item->Parent()->Child(item->IndexInParent() + 1))
            return next;
    return nullptr;
}

int CLibraryTree::Depth(const CLibraryItem* item) {
    int depth = -1;
    for (; item != nullptr; item = item->Parent())
        ++depth;
    return depth;
}

int CLibraryTree::ItemCount() const {
    int count = 0;
    for (const CLibraryItem* item = Root(); item != nullptr; item = NextItem(item))
        ++count;
    return count;
}

int CLibraryTree::Image(const CLibraryItem* item) const {
    if (item == nullptr || item->IsFolder())
        return kLibraryFolderImage;
    return m_kind == LibraryKind::Library ? kLibraryModuleImage : kPredefinedModuleImage;
}

std::vector<std::string> CLibraryTree::ItemPath(const CLibraryItem* item) {
    std::vector<std::string> names;
    for (; item != nullptr && item->Parent() != nullptr; item = item->Parent())
        names.push_back(item->Name());
    std::reverse(names.begin(), names.end());
    return names;
}

CLibraryItem* CLibraryTree::FindItem(const std::vector<std::string>& path) const {
    CLibraryItem* item = m_root.get();
    for (const std::string& name : path) {
        CLibraryItem* found = nullptr;
        for (const auto& child : item->m_children) {
            if (child->Name() != name)
                continue;
            if (found == nullptr || (child->IsFolder() && !found->IsFolder()))
                found = child.get();
        }
        if (found == nullptr)
            return nullptr;
        item = found;
    }
    return item;
}

fs::path CLibraryTree::FullPath(const CLibraryItem* item) const {
    if (item == nullptr)
        return {};
    fs::path path = m_rootFolder;
    const std::vector<std::string> names = ItemPath(item->IsModule() ? item->Parent() : item);
    for (const std::string& name : names)
        path /= name;
    return item->IsModule() ? ModuleFilePath(path, item->Name()) : path;
}

CLibraryItem* CLibraryTree::TargetFolder(CLibraryItem* item) const {
    if (item == nullptr)
        return m_root.get();
    return item->IsFolder() ? item : item->Parent();
}

CLibraryItem* CLibraryTree::InsertItem(CLibraryItem* parent, const std::string& name, LibraryItemKind kind) {
    if (parent == nullptr || !parent->IsFolder() || kind == LibraryItemKind::Root)
        return nullptr;
    auto& children = parent->m_children;
    for (const auto& child : children)
        if (child->Name() == name && child->Kind() == kind)
            return child.get();
    const auto at = std::find_if(children.begin(), children.end(),
                                 [&](const auto& child) { return !Before(*child, name, kind); });
    return children.insert(at, std::unique_ptr<CLibraryItem>(new CLibraryItem(name, kind, parent)))->get();
}

bool CLibraryTree::DeleteItem(CLibraryItem* item) {
    if (item == nullptr || item->Parent() == nullptr)
        return false;
    auto within = [item](const CLibraryItem* other) {
        for (; other != nullptr; other = other->Parent())
            if (other == item)
                return true;
        return false;
    };
    if (within(m_selected))
        m_selected = nullptr;
    if (within(m_topItem))
        m_topItem = nullptr;
    auto& siblings = item->Parent()->m_children;
    siblings.erase(siblings.begin() + item->IndexInParent());
    return true;
}

void CLibraryTree::SetExpanded(CLibraryItem* item, bool expanded) {
    if (item != nullptr && item->IsFolder())
        item->m_expanded = expanded;
}

void CLibraryTree::ExpandAncestors(CLibraryItem* item) {
    for (CLibraryItem* above = item != nullptr ? item->Parent() : nullptr; above != nullptr;
         above = above->Parent())
        above->m_expanded = true;
}

void CLibraryTree::Select(CLibraryItem* item) {
    m_selected = item;
    ExpandAncestors(item);
}

void CLibraryTree::SetTopItem(CLibraryItem* item) {
    m_topItem = item;
    ExpandAncestors(item);
}

} // namespace kestra
