#pragma once

#include "analysis/scanner.h"

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CProjectObserver;

// The commands of a project's hierarchy, without a window: they work on the project's
// records and files, write the message log and ask the views to take part through the
// observer. The selection is the item the commands act on.
class CHierarchyCommands {
public:
    explicit CHierarchyCommands(CKSTDoc& doc, CProjectObserver* observer = nullptr);

    CKSTDoc& Doc() { return m_doc; }
    AnalysisContext& Context() { return m_context; }
    CProjectObserver& Observer() { return *m_observer; }
    void SetObserver(CProjectObserver* observer);

    CHierarchyItem* Selected() const { return m_selected; }
    void Select(CHierarchyItem* item) { m_selected = item; }

    // Analyse Module: the selected subtree, children before parents and later siblings before
    // earlier ones, analysing what is not analysed and the selected item always, and stopping
    // after the first module that is not analysed afterwards. True when every module analysed
    // is analysed afterwards.
    bool OnAnalyzeModule();

private:
    CKSTDoc& m_doc;
    CProjectObserver* m_observer;
    AnalysisContext m_context;
    CHierarchyItem* m_selected = nullptr;
};

// The item before this one in pre-order: the previous sibling's last descendant, or the parent.
CHierarchyItem* PreviousItem(CHierarchyItem* item);

} // namespace kestra
