// Cut, Copy and Paste of module subtrees, within one project and between two open projects.
#include "commands/clipboard_commands.h"

#include "commands/module_commands.h"
#include "operations/analyze_module.h"
#include "operations/linked_files.h"
#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "session/tree_clipboard.h"
#include "system/file_system.h"

#include <vector>

namespace kestra {

bool CClipboardCommands::Mark(bool cut) {
    CHierarchyItem* item = m_session.Selected();
    if (item == nullptr || item->Kind() == HierarchyKind::Root)
        return false;
    m_session.Doc().Tree().ClearAllMarks();
    m_session.Doc().Tree().MarkSubtree(item, cut);
    m_session.Projects().Clipboard().SetPane(m_session.Id());
    return true;
}

bool CClipboardCommands::OnCut() {
    return Mark(true);
}

bool CClipboardCommands::OnCopy() {
    return Mark(false);
}

bool CClipboardCommands::CanPaste() const {
    const CProjectSession* source = m_session.Projects().ClipboardSource();
    CHierarchyItem* target = m_session.Selected();
    if (source == nullptr || target == nullptr)
        return false;
    if (source->Doc().Tree().FirstMarkedItem() == nullptr)
        return false;
    if (target->Kind() != HierarchyKind::Normal && target->Kind() != HierarchyKind::Root)
        return false;
    return source != &m_session || (!target->HasCutMark() && !target->HasCopyMark());
}

bool CClipboardCommands::OnPaste() {
    if (!CanPaste())
        return false;
    CProjectSession& source = *m_session.Projects().ClipboardSource();
    CKSTDoc& sourceDoc = source.Doc();
    CKSTDoc& doc = m_session.Doc();
    CHierarchyItem* sourceItem = sourceDoc.Tree().FirstMarkedItem();
    const bool cut = sourceItem->HasCutMark();
    const bool samePane = &source == &m_session;
    CHierarchyItem* target = m_session.Selected();
    m_session.Observer().CommitPanes(target);

    CHierarchyItem* pasted = doc.Tree().CopySubtree(*sourceItem, target);
    if (!cut || !samePane) {
        // Pair every new item with its source item: both subtrees walk alike in pre-order.
        std::vector<std::pair<CHierarchyItem*, const CHierarchyItem*>> pairs;
        for (CHierarchyItem *copy = pasted, *original = sourceItem; copy != nullptr;
             copy = doc.Tree().NextItem(copy, pasted),
                            original = sourceDoc.Tree().NextItem(original, sourceItem))
            pairs.emplace_back(copy, original);
        const std::filesystem::path sourceFolder = sourceDoc.GetModuleFolderPath();
        for (auto [copy, original] : pairs) {
            if (samePane && copy->Kind() == HierarchyKind::Predefined)
                continue;
            const std::string name = original->Text();
            const auto imported = ImportModuleFile(
                doc, copy->Kind() == HierarchyKind::Predefined ? ImportMode::Overwrite : ImportMode::FreeName,
                sourceDoc.ModuleSourcePath(*original).string(), name);
            // A module of a design brought in gets a file of its own name in the copy.
            if (imported)
                copy->Object()->SetEntryText(0, EntryField::Value, *imported + ".vhd");
            if (imported && *imported != name) {
                doc.Tree().SetItemText(copy, *imported);
                RenameModuleObject(*copy->Object(), *imported);
                if (CHierarchyItem* parent = copy->Parent())
                    parent->BlockData()->RenameBlock(name, *imported);
            }
            if (!samePane)
                TransferLinkedFiles(*copy->Object(), sourceFolder, doc.GetModuleFolderPath(),
                                    cut ? TransferMode::Move : TransferMode::Copy);
        }
        if (cut) {
            for (CHierarchyItem* it = sourceItem; it != nullptr;
                 it = sourceDoc.Tree().NextItem(it, sourceItem))
                RemoveItemRecords(sourceDoc, it, sourceItem);
        }
    }
    for (CHierarchyItem* it = pasted; it != nullptr; it = doc.Tree().NextItem(it, pasted)) {
        if (const auto time = GetLastWriteTime(doc.GetModuleFilePath(*it)))
            it->Object()->SetAnalysedTime(static_cast<std::uint32_t>(*time & 0xFFFFFFFFu),
                                          static_cast<std::uint32_t>(*time >> 32));
        UpdateAnalysisStatus(doc, it);
    }
    MarkNeedsAnalysis(doc, target);
    doc.Log().AppendLog("\r\nModule " + pasted->Text() + " is pasted.");
    doc.SetModifiedFlag();

    if (cut) {
        sourceDoc.Log().AppendLog("\r\nModule " + sourceItem->Text() + " is cut.");
        if (CHierarchyItem* parent = sourceItem->Parent())
            MarkNeedsAnalysis(sourceDoc, parent);
        CHierarchyItem* sourceSelected = source.Selected();
        if (sourceSelected == sourceItem ||
            (sourceSelected != nullptr && sourceItem->IsAncestorOf(sourceSelected)))
            source.Select(sourceItem->Parent());
        sourceDoc.Tree().DeleteItem(sourceItem);
        sourceDoc.Tree().ClearAllMarks();
        sourceDoc.SetModifiedFlag();
        m_session.Projects().Clipboard().Clear();
    }
    m_session.Observer().ShowItem(pasted);
    return true;
}

} // namespace kestra
