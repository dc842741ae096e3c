#pragma once

#include "project/hierarchy_item.h"
#include "session/project_session.h"

#include <string>

namespace kestra {

class CHierarchyItem;

// The module commands of a project's hierarchy: Add Module, the end of name editing (renaming
// the project or a module with its file), Remove, the four moves and Set As kind. They work on
// the session's selection, write the message log and ask the views to take part through the
// session's observer.
class CModuleCommands {
public:
    explicit CModuleCommands(CProjectSession& session) : m_session(session) {}

    // Add Module: "<New Object>" as the last child of the selection (a normal module or the
    // root), selected, with status 4; the views are asked to start editing its name. Null
    // when the selection cannot take a module.
    CHierarchyItem* OnAddModule();
    // End of name editing with the typed text: renames the root's module folder or a module
    // and its file (or creates or imports the file of a new module), and analyses it. The
    // variant for names that come from elsewhere than the tree's editor (a paste, the block
    // diagram: `fromPaste`) reloads no views, never reopens the editor on a refused name, and
    // analyses the item and its parent. False when the name was refused or ignored.
    bool EndNameEdit(CHierarchyItem* item, const std::string& text, bool fromPaste = false);
    // The name editing of an item ended without a name (Escape, or the text left as it was):
    // a module that never got a name, and so has no file, goes again and its parent is
    // selected. True when it was removed.
    bool OnNameEditingCancelled(CHierarchyItem* item);
    // A child module created by naming a module block in the parent's diagram: the last child
    // of the parent (a normal module or the root), its source file created (or imported) as
    // for a module named in the tree, analysed with its parent, and the log line "<name> added
    // from block diagram entry.". Null, with the item gone again, when the name is not a VHDL
    // identifier or the hierarchy refuses it (with its own warning).
    CHierarchyItem* AddNamedModule(CHierarchyItem* parent, const std::string& name);
    // Remove, after the "ENQUIRY" question: the selection and its subtree with their records;
    // files are set aside as ".bak". False when refused or answered No.
    bool OnRemove();
    // Remove of any module (the block diagram removes a child of the shown module): the same
    // question and work; the selection moves to the parent only when it was in the subtree.
    bool RemoveItem(CHierarchyItem* item);
    bool OnMove(MoveCommand command);
    // Set As Normal / Library / Predefined / Package. False when nothing happened.
    bool OnSetKind(HierarchyKind kind);

private:
    bool RenameRoot(CHierarchyItem* item, const std::string& oldText, const std::string& text);
    bool RenameModule(CHierarchyItem* item, const std::string& oldText, const std::string& text,
                      bool fromPaste);

    CProjectSession& m_session;
};

// A removed item's file is set aside: module folder + name + ".vhd" becomes name + ".bak",
// replacing an older one, unless the item is a predefined module whose name an item outside
// the removed subtree still bears (predefined modules of one name share one file). Logs the
// removal, or the reason the file could not be set aside.
void RemoveItemRecords(CKSTDoc& doc, CHierarchyItem* item, const CHierarchyItem* removedSubtree);

} // namespace kestra
