#include "hierarchy/hierarchy_commands.h"

#include "analysis/analyze_module.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/project_observer.h"
#include "hierarchy/tree_clipboard.h"

#include <unordered_map>

namespace kestra {

namespace {

CProjectObserver g_noViews;

std::unordered_map<std::uint32_t, CHierarchyCommands*>& Panes() {
    static std::unordered_map<std::uint32_t, CHierarchyCommands*> panes;
    return panes;
}

std::uint32_t g_nextPaneId = 1;

} // namespace

CTreeClipboard& ProcessTreeClipboard() {
    static CMemoryTreeClipboard clipboard;
    return clipboard;
}

CHierarchyCommands::CHierarchyCommands(CKSTDoc& doc, CProjectObserver* observer, CTreeClipboard* clipboard)
    : m_doc(doc), m_observer(observer != nullptr ? observer : &g_noViews),
      m_clipboard(clipboard != nullptr ? clipboard : &ProcessTreeClipboard()), m_paneId(g_nextPaneId++) {
    Panes().emplace(m_paneId, this);
}

CHierarchyCommands::~CHierarchyCommands() {
    Panes().erase(m_paneId);
    if (m_clipboard->Pane() == m_paneId)
        m_clipboard->Clear();
}

CHierarchyCommands* CHierarchyCommands::PaneById(std::uint32_t paneId) {
    const auto found = Panes().find(paneId);
    return found == Panes().end() ? nullptr : found->second;
}

void CHierarchyCommands::SetObserver(CProjectObserver* observer) {
    m_observer = observer != nullptr ? observer : &g_noViews;
}

CHierarchyItem* PreviousItem(CHierarchyItem* item) {
    if (CHierarchyItem* sibling = item->PrevSibling())
        return CHierarchyTree::LastDescendant(sibling);
    return item->Parent();
}

bool CHierarchyCommands::OnAnalyzeModule() {
    CHierarchyItem* selected = m_selected;
    if (selected == nullptr)
        return false;
    m_observer->CommitPanes(selected);
    bool allAnalysed = true;
    for (CHierarchyItem* item = CHierarchyTree::LastDescendant(selected);; item = PreviousItem(item)) {
        if (item == selected || item->Status() != kStatusAnalysed) {
            AnalyzeModule(m_doc, item, m_context);
            if (item->Status() != kStatusAnalysed) {
                // The root item and other items that are not modules have no status to reach.
                allAnalysed = item->Kind() == kItemRoot;
                if (item->Kind() != kItemRoot)
                    break;
            }
        }
        if (item == selected)
            break;
    }
    m_observer->ReloadPanes(selected);
    return allAnalysed;
}

} // namespace kestra
