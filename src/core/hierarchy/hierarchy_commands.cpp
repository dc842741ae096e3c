#include "hierarchy/hierarchy_commands.h"

#include "analysis/analyze_module.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/project_observer.h"

namespace kestra {

namespace {
CProjectObserver g_noViews;
}

CHierarchyCommands::CHierarchyCommands(CKSTDoc& doc, CProjectObserver* observer)
    : m_doc(doc), m_observer(observer != nullptr ? observer : &g_noViews) {}

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
