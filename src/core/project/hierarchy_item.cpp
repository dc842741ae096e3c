#include "project/hierarchy_item.h"

namespace kestra {

CHierarchyItem::~CHierarchyItem() {
    // A file may hold a chain of items many thousands deep: take the subtree apart level by
    // level instead of letting each child's destructor recurse into the next.
    std::vector<std::unique_ptr<CHierarchyItem>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<CHierarchyItem> item = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<CHierarchyItem>& child : item->m_children)
            pending.push_back(std::move(child));
        item->m_children.clear();
    }
}

CHierarchyItem* CHierarchyItem::Parent() const {
    return m_parent != nullptr && m_parent->m_parent != nullptr ? m_parent : nullptr;
}

CHierarchyItem* CHierarchyItem::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return m_children[static_cast<std::size_t>(index)].get();
}

CHierarchyItem* CHierarchyItem::NextSibling() const {
    return m_parent != nullptr ? m_parent->Child(m_index + 1) : nullptr;
}

CHierarchyItem* CHierarchyItem::PrevSibling() const {
    return m_parent != nullptr ? m_parent->Child(m_index - 1) : nullptr;
}

bool CHierarchyItem::IsAncestorOf(const CHierarchyItem* item) const {
    for (const CHierarchyItem* up = item != nullptr ? item->Parent() : nullptr; up != nullptr;
         up = up->Parent()) {
        if (up == this)
            return true;
    }
    return false;
}

void CHierarchyItem::Renumber(std::size_t from) {
    for (std::size_t i = from; i < m_children.size(); ++i)
        m_children[i]->m_index = static_cast<int>(i);
}

} // namespace kestra
