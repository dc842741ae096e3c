#include "project/hierarchy_tree.h"

#include <algorithm>
#include <utility>

namespace kestra {

CHierarchyTree::CHierarchyTree() = default;

CHierarchyTree::~CHierarchyTree() = default;

CHierarchyItem* CHierarchyTree::InsertItem(const std::string& text, HierarchyKind kind,
                                           CHierarchyItem* parent, CHierarchyItem* after) {
    int index = -1;
    if (after != nullptr && after->m_parent == Container(parent))
        index = after->m_index + 1;
    return InsertItemAt(text, kind, parent, index);
}

CHierarchyItem* CHierarchyTree::InsertItemAt(const std::string& text, HierarchyKind kind,
                                             CHierarchyItem* parent, int index) {
    CHierarchyItem* container = Container(parent);
    const int count = container->ChildCount();
    if (index < 0 || index > count)
        index = count;

    std::unique_ptr<CHierarchyItem> item(new CHierarchyItem());
    item->m_text = text;
    item->m_kind = kind;
    item->m_parent = container;
    item->m_object = std::make_unique<CKSTObject>();
    if (KindHasSignalList(kind))
        item->m_signals = std::make_unique<CVHDLSignal>();
    item->m_blockData = std::make_unique<CBlockData>();

    if (m_listener != nullptr)
        m_listener->ItemAboutToBeInserted(parent, index);
    CHierarchyItem* inserted = item.get();
    container->m_children.insert(container->m_children.begin() + index, std::move(item));
    container->Renumber(static_cast<std::size_t>(index));
    ++m_count;
    if (parent == nullptr)
        m_moduleFolder = text + "/";
    if (m_listener != nullptr)
        m_listener->ItemInserted(inserted);
    return inserted;
}

void CHierarchyTree::DeleteItem(CHierarchyItem* item) {
    if (item == nullptr || item == &m_top)
        return;
    int removed = 0;
    for (const CHierarchyItem* it = item; it != nullptr; it = NextItem(it, item))
        ++removed;
    if (m_listener != nullptr)
        m_listener->ItemAboutToBeRemoved(item);
    CHierarchyItem* container = item->m_parent;
    const int index = item->m_index;
    // Take the item out first so that its destruction sees a consistent tree.
    std::unique_ptr<CHierarchyItem> owned = std::move(container->m_children[static_cast<std::size_t>(index)]);
    container->m_children.erase(container->m_children.begin() + index);
    container->Renumber(static_cast<std::size_t>(index));
    m_count -= removed;
    owned.reset();
    if (m_listener != nullptr)
        m_listener->ItemRemoved(container == &m_top ? nullptr : container, index);
}

void CHierarchyTree::DeleteAllItems() {
    if (m_listener != nullptr)
        m_listener->TreeAboutToBeReset();
    m_top.m_children.clear();
    m_count = 0;
    if (m_listener != nullptr)
        m_listener->TreeReset();
}

bool CHierarchyTree::MoveItemTo(CHierarchyItem* item, int index) {
    if (item == nullptr || item->m_parent == nullptr)
        return false;
    CHierarchyItem* container = item->m_parent;
    const int last = container->ChildCount() - 1;
    index = std::clamp(index, 0, last);
    const int from = item->m_index;
    if (index == from)
        return true;
    if (m_listener != nullptr)
        m_listener->ItemAboutToBeMoved(item, index);
    auto& children = container->m_children;
    if (index < from)
        std::rotate(children.begin() + index, children.begin() + from, children.begin() + from + 1);
    else
        std::rotate(children.begin() + from, children.begin() + from + 1, children.begin() + index + 1);
    container->Renumber(static_cast<std::size_t>(std::min(index, from)));
    if (m_listener != nullptr)
        m_listener->ItemMoved(item);
    return true;
}

CHierarchyItem* CHierarchyTree::CopySubtree(const CHierarchyItem& source, CHierarchyItem* parent) {
    // List the source subtree in pre-order before inserting anything, so that copying an
    // item into its own subtree copies what was there, once.
    std::vector<std::pair<const CHierarchyItem*, int>> order; // item, index of its parent's copy
    std::vector<std::pair<const CHierarchyItem*, int>> pending{{&source, -1}};
    while (!pending.empty()) {
        const auto [item, parentIndex] = pending.back();
        pending.pop_back();
        const int index = static_cast<int>(order.size());
        order.emplace_back(item, parentIndex);
        // Pushed last child first, so that the first child comes off the stack first.
        for (std::size_t child = item->m_children.size(); child-- > 0;)
            pending.emplace_back(item->m_children[child].get(), index);
    }
    std::vector<CHierarchyItem*> copies;
    copies.reserve(order.size());
    for (const auto& [from, parentIndex] : order) {
        CHierarchyItem* into = parentIndex < 0 ? parent : copies[static_cast<std::size_t>(parentIndex)];
        CHierarchyItem* copy = InsertItem(from->m_text, from->m_kind, into);
        SetStatus(copy, from->m_status);
        copy->m_object->CopyFrom(*from->m_object);
        if (copy->m_signals && from->m_signals)
            copy->m_signals->CopyFrom(*from->m_signals);
        copy->m_blockData->CopyFrom(*from->m_blockData);
        copies.push_back(copy);
    }
    return copies.front();
}

int CHierarchyTree::ItemDepth(const CHierarchyItem* item) {
    int depth = 0;
    for (const CHierarchyItem* up = item->Parent(); up != nullptr; up = up->Parent())
        ++depth;
    return depth;
}

CHierarchyItem* CHierarchyTree::NextItem(const CHierarchyItem* item, const CHierarchyItem* within) const {
    if (item == nullptr)
        return GetRootItem();
    if (!item->m_children.empty())
        return item->m_children.front().get();
    for (const CHierarchyItem* up = item; up != nullptr && up != &m_top; up = up->m_parent) {
        if (up == within)
            return nullptr;
        if (CHierarchyItem* sibling = up->NextSibling())
            return sibling;
    }
    return nullptr;
}

CHierarchyItem* CHierarchyTree::LastDescendant(CHierarchyItem* item) {
    while (item != nullptr && !item->m_children.empty())
        item = item->m_children.back().get();
    return item;
}

void CHierarchyTree::Changed(CHierarchyItem* item) {
    if (m_listener != nullptr)
        m_listener->ItemChanged(item);
}

void CHierarchyTree::SetItemText(CHierarchyItem* item, const std::string& text) {
    item->m_text = text;
    Changed(item);
}

void CHierarchyTree::SetItemKind(CHierarchyItem* item, HierarchyKind kind) {
    item->m_kind = kind;
    if (!KindHasSignalList(kind))
        item->m_signals.reset();
    else if (!item->m_signals)
        item->m_signals = std::make_unique<CVHDLSignal>();
    Changed(item);
}

void CHierarchyTree::SetStatus(CHierarchyItem* item, AnalysisStatus status) {
    if (item->m_status == status)
        return;
    item->m_status = status;
    Changed(item);
}

void CHierarchyTree::SetCutMark(CHierarchyItem* item, bool marked) {
    if (item->m_cutMark == marked)
        return;
    item->m_cutMark = marked;
    Changed(item);
}

void CHierarchyTree::SetCopyMark(CHierarchyItem* item, bool marked) {
    if (item->m_copyMark == marked)
        return;
    item->m_copyMark = marked;
    Changed(item);
}

void CHierarchyTree::ClearAllMarks() {
    for (CHierarchyItem* item = GetRootItem(); item != nullptr; item = NextItem(item)) {
        SetCutMark(item, false);
        SetCopyMark(item, false);
    }
}

void CHierarchyTree::MarkSubtree(CHierarchyItem* item, bool cut) {
    for (CHierarchyItem* it = item; it != nullptr; it = NextItem(it, item)) {
        if (cut)
            SetCutMark(it, true);
        else
            SetCopyMark(it, true);
    }
}

CHierarchyItem* CHierarchyTree::FirstMarkedItem() const {
    for (CHierarchyItem* item = GetRootItem(); item != nullptr; item = NextItem(item)) {
        if (item->m_cutMark || item->m_copyMark)
            return item;
    }
    return nullptr;
}

CHierarchyItem* CHierarchyTree::PreviousItem(CHierarchyItem* item) {
    if (CHierarchyItem* sibling = item->PrevSibling())
        return LastDescendant(sibling);
    return item->Parent();
}

std::string CHierarchyTree::ItemPath(const CHierarchyItem* item) {
    std::string path;
    for (; item != nullptr && item->Parent() != nullptr; item = item->Parent())
        path = path.empty() ? item->Text() : item->Text() + "/" + path;
    return path;
}

CHierarchyItem* CHierarchyTree::FindItemByPath(const std::string& path) const {
    CHierarchyItem* item = GetRootItem();
    std::size_t start = 0;
    while (item != nullptr && start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string name = path.substr(start, end - start);
        CHierarchyItem* next = nullptr;
        for (int i = 0; i < item->ChildCount() && next == nullptr; ++i) {
            if (item->Child(i)->Text() == name)
                next = item->Child(i);
        }
        item = next;
        start = end + 1;
    }
    return item;
}

} // namespace kestra
