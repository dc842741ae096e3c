#include "commands/analysis_commands.h"

#include "operations/analyze_module.h"
#include "operations/edited_source.h"
#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"

#include <set>

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

void CAnalysisCommands::OnOutsideChanges(const CDiskBaseline::Changes& changes) {
    if (changes.changedSources.empty() && changes.removedSources.empty())
        return;
    CKSTDoc& doc = m_session.Doc();
    if (CHierarchyItem* selected = m_session.Selected())
        m_session.Observer().CommitPanes(selected);
    std::set<std::filesystem::path> named;
    for (CHierarchyItem* item : changes.changedSources) {
        const std::filesystem::path path = doc.GetModuleFilePath(*item);
        if (named.insert(path).second)
            doc.Log().AppendLog("\r\n" + path.string() + " was changed by another program: " + item->Text() +
                                " is analyzed again.");
        AnalyzeModule(doc, item, m_session.Context());
    }
    for (CHierarchyItem* item : changes.removedSources) {
        const std::filesystem::path path = doc.GetModuleFilePath(*item);
        if (named.insert(path).second)
            doc.Log().AppendWarning(path.string() + " was removed or renamed by another program: " +
                                    item->Text() + " has no source now.");
        UpdateAnalysisStatus(doc, item);
    }
    if (CHierarchyItem* selected = m_session.Selected())
        m_session.Observer().ReloadPanes(selected);
}

bool CAnalysisCommands::OnSourceSaved(const std::filesystem::path& path) {
    CKSTDoc& doc = m_session.Doc();
    const std::vector<CHierarchyItem*> modules = ModulesOfSource(doc, path);
    if (modules.empty())
        return false;
    if (CHierarchyItem* selected = m_session.Selected())
        m_session.Observer().CommitPanes(selected);
    doc.Log().AppendLog("\r\n" + path.string() + " was saved in the VHDL editor: " +
                        (modules.size() == 1 ? modules[0]->Text() + " is" : "its modules are") +
                        " analyzed again.");
    for (CHierarchyItem* item : modules)
        AnalyzeModule(doc, item, m_session.Context());
    if (CHierarchyItem* selected = m_session.Selected())
        m_session.Observer().ReloadPanes(selected);
    return true;
}

} // namespace kestra
