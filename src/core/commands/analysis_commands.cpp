#include "commands/analysis_commands.h"

#include "operations/analyze_module.h"
#include "project/kst_doc.h"

namespace kestra {

bool CAnalysisCommands::OnAnalyzeModule() {
    CHierarchyItem* selected = m_session.Selected();
    if (selected == nullptr)
        return false;
    m_session.Observer().CommitPanes(selected);
    m_analyzedSubtree = nullptr;
    bool allAnalyzed = true;
    for (CHierarchyItem* item = CHierarchyTree::LastDescendant(selected);;
         item = CHierarchyTree::PreviousItem(item)) {
        if (item == selected || item->Status() != AnalysisStatus::Analyzed) {
            AnalyzeModule(m_session.Doc(), item, m_session.Context());
            if (item->Status() != AnalysisStatus::Analyzed) {
                // The root item and other items that are not modules have no status to reach.
                allAnalyzed = item->Kind() == HierarchyKind::Root;
                if (item->Kind() != HierarchyKind::Root)
                    break;
            }
        }
        if (item == selected)
            break;
    }
    m_session.Observer().ReloadPanes(selected);
    m_analyzedSubtree = selected;
    return allAnalyzed;
}

} // namespace kestra
