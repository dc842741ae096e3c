#pragma once

#include <string>

namespace kestra {

class CHierarchyItem;

// How a core command asks the views of a project to take part without knowing them: write
// their edits back into an item's records, show an item's records again, start editing an
// item's name, bring an item into view. Every call may be ignored (the command line has no
// views).
class CProjectObserver {
public:
    enum Pane : int { kParameterList = 1, kSignalList = 2, kBlockDiagram = 4, kAllPanes = 7 };

    virtual ~CProjectObserver() = default;
    virtual void CommitPanes(CHierarchyItem* /*item*/) {}
    virtual void ReloadPanes(CHierarchyItem* /*item*/, int /*panes*/ = kAllPanes) {}
    virtual void StartNameEditing(CHierarchyItem* /*item*/) {}
    virtual void ShowItem(CHierarchyItem* /*item*/) {}
    // A module was inserted below parent: a diagram that shows the parent gains its block.
    virtual void ModuleInserted(CHierarchyItem* /*parent*/, CHierarchyItem* /*item*/) {}
    // Why a command refused what the user typed, for the status bar (the log has it too).
    virtual void ShowStatus(const std::string& /*text*/) {}
};

} // namespace kestra
