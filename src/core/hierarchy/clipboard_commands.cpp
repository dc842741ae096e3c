// Cut, Copy and Paste of module subtrees, within one project and between two open projects.
#include "analysis/analyze_module.h"
#include "analysis/source_rewrite.h"
#include "generation/linked_files.h"
#include "hierarchy/analysis_status.h"
#include "hierarchy/hierarchy_commands.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "hierarchy/project_observer.h"
#include "hierarchy/tree_clipboard.h"
#include "system/file_system.h"

#include <vector>

namespace kestra {

bool CHierarchyCommands::Mark(bool cut) {
    CHierarchyItem* item = m_selected;
    if (item == nullptr || item->Kind() == kItemRoot)
        return false;
    m_doc.Tree().ClearAllMarks();
    m_doc.Tree().MarkSubtree(item, cut);
    m_clipboard->SetPane(m_paneId);
    return true;
}

bool CHierarchyCommands::OnCut() {
    return Mark(true);
}

bool CHierarchyCommands::OnCopy() {
    return Mark(false);
}

bool CHierarchyCommands::CanPaste() const {
    const auto paneId = m_clipboard->Pane();
    CHierarchyCommands* source = paneId ? PaneById(*paneId) : nullptr;
    if (source == nullptr || m_selected == nullptr)
        return false;
    const CHierarchyItem* sourceItem = source->m_doc.Tree().FirstMarkedItem();
    if (sourceItem == nullptr)
        return false;
    if (m_selected->Kind() != kItemNormal && m_selected->Kind() != kItemRoot)
        return false;
    return source != this || (!m_selected->HasCutMark() && !m_selected->HasCopyMark());
}

bool CHierarchyCommands::OnPaste() {
    if (!CanPaste())
        return false;
    CHierarchyCommands& source = *PaneById(*m_clipboard->Pane());
    CHierarchyItem* sourceItem = source.m_doc.Tree().FirstMarkedItem();
    const bool cut = sourceItem->HasCutMark();
    const bool samePane = &source == this;
    CHierarchyItem* target = m_selected;
    m_observer->CommitPanes(target);

    CHierarchyItem* pasted = m_doc.Tree().CopySubtree(*sourceItem, target);
    if (!cut || !samePane) {
        // Pair every new item with its source item: both subtrees walk alike in pre-order.
        std::vector<std::pair<CHierarchyItem*, const CHierarchyItem*>> pairs;
        for (CHierarchyItem *copy = pasted, *original = sourceItem; copy != nullptr;
             copy = m_doc.Tree().NextItem(copy, pasted),
                            original = source.m_doc.Tree().NextItem(original, sourceItem))
            pairs.emplace_back(copy, original);
        const std::filesystem::path sourceFolder = source.m_doc.GetModuleFolderPath();
        for (auto [copy, original] : pairs) {
            if (samePane && copy->Kind() == kItemPredefined)
                continue;
            const std::string name = original->Text();
            const auto imported = ImportModuleFile(m_doc, copy->Kind() == kItemPredefined ? 1 : 0,
                                                   (sourceFolder / (name + ".vhd")).string(), name);
            if (imported && *imported != name) {
                m_doc.Tree().SetItemText(copy, *imported);
                RenameModuleObject(*copy->Object(), *imported);
                if (CHierarchyItem* parent = copy->Parent())
                    parent->BlockData()->RenameBlock(name, *imported);
            }
            if (!samePane)
                TransferLinkedFiles(*copy->Object(), sourceFolder, m_doc.GetModuleFolderPath(),
                                    cut ? TransferMode::Move : TransferMode::Copy);
        }
        if (cut) {
            for (CHierarchyItem* it = sourceItem; it != nullptr;
                 it = source.m_doc.Tree().NextItem(it, sourceItem))
                source.RemoveItemRecords(it, sourceItem);
        }
    }
    for (CHierarchyItem* it = pasted; it != nullptr; it = m_doc.Tree().NextItem(it, pasted)) {
        if (const auto time = GetLastWriteTime(m_doc.GetModuleFilePath(*it)))
            it->Object()->SetAnalysedTime(static_cast<std::uint32_t>(*time & 0xFFFFFFFFu),
                                          static_cast<std::uint32_t>(*time >> 32));
        UpdateAnalysisStatus(m_doc, it);
    }
    MarkNeedsAnalysis(m_doc, target);
    m_doc.Log().AppendLog("\r\nModule " + pasted->Text() + " is pasted.");
    m_doc.SetModifiedFlag();

    if (cut) {
        source.m_doc.Log().AppendLog("\r\nModule " + sourceItem->Text() + " is cut.");
        if (CHierarchyItem* parent = sourceItem->Parent())
            MarkNeedsAnalysis(source.m_doc, parent);
        if (source.m_selected == sourceItem ||
            (source.m_selected != nullptr && sourceItem->IsAncestorOf(source.m_selected)))
            source.m_selected = sourceItem->Parent();
        source.m_doc.Tree().DeleteItem(sourceItem);
        source.m_doc.Tree().ClearAllMarks();
        source.m_doc.SetModifiedFlag();
        m_clipboard->Clear();
    }
    m_observer->ShowItem(pasted);
    return true;
}

} // namespace kestra
