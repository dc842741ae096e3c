#pragma once

#include "model/block_data.h"
#include "model/design_object.h"
#include "model/item_kind.h"
#include "model/vhdl_signal.h"

#include <memory>
#include <string>
#include <vector>

namespace kestra {

// Analysis status: the item's state image.
enum class AnalysisStatus : int {
    None = 0,
    SourceMissing = 1,
    Analyzed = 2,
    NeedsAnalysis = 3,
    New = 4,
    Failed = 5,
};

inline constexpr const char* kNewObjectText = "<New Object>";

// One node of a project hierarchy: text, kind, analysis status, cut and copy marks, ordered
// children and the item's records. The item owns its children and records; the design object
// and block record always exist, the signal list exactly when the kind has one (as created
// by the tree). Structure and attributes change only through CHierarchyTree.
class CHierarchyItem {
public:
    ~CHierarchyItem();
    CHierarchyItem(const CHierarchyItem&) = delete;
    CHierarchyItem& operator=(const CHierarchyItem&) = delete;

    const std::string& Text() const { return m_text; }
    HierarchyKind Kind() const { return m_kind; }
    int Image() const { return static_cast<int>(m_kind); }
    int SelectedImage() const { return Image() + 1; }
    AnalysisStatus Status() const { return m_status; }
    bool HasCutMark() const { return m_cutMark; }
    bool HasCopyMark() const { return m_copyMark; }
    // Set by the last check of the source with a VHDL analyser; shown as a failure, never stored.
    bool CheckFailed() const { return m_checkFailed; }
    void SetCheckFailed(bool failed) { m_checkFailed = failed; }

    // None for a top-level item.
    CHierarchyItem* Parent() const;
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    CHierarchyItem* Child(int index) const;
    CHierarchyItem* FirstChild() const { return Child(0); }
    CHierarchyItem* NextSibling() const;
    CHierarchyItem* PrevSibling() const;
    int IndexInParent() const { return m_index; }
    bool IsAncestorOf(const CHierarchyItem* item) const;

    CKSTObject* Object() { return m_object.get(); }
    const CKSTObject* Object() const { return m_object.get(); }
    CVHDLSignal* Signals() { return m_signals.get(); }
    const CVHDLSignal* Signals() const { return m_signals.get(); }
    CBlockData* BlockData() { return m_blockData.get(); }
    const CBlockData* BlockData() const { return m_blockData.get(); }

private:
    friend class CHierarchyTree;
    CHierarchyItem() = default;
    void Renumber(std::size_t from);

    std::string m_text;
    HierarchyKind m_kind = HierarchyKind::Normal;
    AnalysisStatus m_status = AnalysisStatus::None;
    bool m_cutMark = false;
    bool m_copyMark = false;
    bool m_checkFailed = false;
    CHierarchyItem* m_parent = nullptr; // the tree's hidden top for top-level items
    int m_index = 0;
    std::vector<std::unique_ptr<CHierarchyItem>> m_children;
    std::unique_ptr<CKSTObject> m_object;
    std::unique_ptr<CVHDLSignal> m_signals;
    std::unique_ptr<CBlockData> m_blockData;
};

} // namespace kestra
