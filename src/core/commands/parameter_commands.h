#pragma once

#include "model/design_object.h"
#include "model/entry_kind_facts.h"
#include "session/project_session.h"
#include "system/outcome.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTObject;

// The clipboard format under which parameters travel between parameter lists.
inline constexpr const char* kParameterClipboardFormat = "KESTRA parameter";

// The action for the row's kind: Invoke on the value column (column 1, not forced) or on the
// name column / Force Edit. None for an invalid row or column, and for a module, component,
// predefined or package row without a file name. ChoiceBox always edits the value column
// (architecture rows offer no name edit).
ParameterAction InvokeAction(const CKSTObject& object, int row, int column, bool force);
// Kinds 1, 2, 8, 9, 11 and 12 may be copied and cut.
bool CanCopyParameterKind(EntryKind kind);
// Rows from 1 on, except module, architecture, library name, component, predefined, folder and
// package rows.
bool CanRemoveParameter(int row, EntryKind kind);

// The parameter list's commands on the design object of the session's selected item. Every
// change is written into the object, the panes are reloaded and the module's source is
// rewritten at once (which also marks the parent modules as needing analysis). Rows are entry
// indices; row 0 is the item's own entry.
class CParameterCommands {
public:
    explicit CParameterCommands(CProjectSession& session) : m_session(session) {}

    // The end of editing a cell: column 0 is the entry's name, 1 its value. The text is
    // normalised and checked by the row's kind (its ValueRule; a Numeric value must be an
    // integer expression of numbers and the names the module sees, NamesVisibleToGeneric); a
    // refused text is reported with its reason (ReportRefusal). A change reaches the source at
    // once. False when nothing changed.
    bool EndParameterEdit(CHierarchyItem* item, int entry, int column, const std::string& text);

    // Adds an entry of kind 1, 2, 8, 9, 11 or 12 with its default name, value and choices after
    // the focused row (at the end when no row, or no valid row, is focused). Returns the new
    // entry's index, or -1 when nothing was added.
    int OnAdd(EntryKind kind, int focusedRow);
    // After the "ENQUIRY" question: removes the row. Returns the row to select afterwards (the
    // same index, or the new last row), or -1 when nothing was removed.
    int OnRemove(int row);
    // Moves the row to the top, up, down or to the bottom, never across an architecture entry
    // at the target. Returns the target row, or -1 when nothing moved.
    int OnMove(int row, MoveCommand command);
    // The row's entry text line for the clipboard; empty for kinds that are not copied.
    std::string CopyText(int row) const;
    // Cut: the copy text of the row when the row was removed after the question, else empty.
    std::string OnCut(int row);
    // Whether Paste accepts the text.
    static bool CanPaste(const std::string& text);
    // Inserts the entry read from the text after the focused row (or at the end), its name,
    // value and choices checked as typed ones are (a refusal is reported with its reason).
    // Returns its index, or -1 when the text is not acceptable.
    int OnPaste(const std::string& text, int focusedRow);
    // Copy View's text: "KESTRA Parameter List\n", then one entry text line per entry, each
    // ended by CR LF.
    std::string ListText() const;

    // The project item's destination folder row: asks for a folder starting at the project's
    // destination folder. The project folder and the module folder are refused with a log
    // warning (generated files would replace the sources). True when the destination changed.
    bool OnChooseDestinationFolder(int row);
    // "Select Link File", opened at the linked file or else in LinkFolder(). A file inside that
    // folder becomes the value as its path from there ("docs/board.pcf"). On the project item
    // any other file's full path becomes the value; on a module any other file is copied into
    // the module folder (where a module's linked files are kept) and its name becomes the value.
    // Cancelling, a failed copy and a name that cannot stand in a VHDL string change nothing.
    // True when the value changed.
    bool OnChooseLinkFile(int row);
    // The folder that relative Link values name files in: the project folder for the project
    // item, the module folder for modules. Pass it to DecideLinkOpening.
    std::filesystem::path LinkFolder() const;

private:
    // The entry to edit in the module's source as it is now: the same entry, or, when the
    // source changed on disk and was analysed again, the entry of the same name and kind; -1
    // (refused with the reason) when it is gone or the source no longer analyses.
    int EntryInCurrentSource(CHierarchyItem* item, int entry);

    CHierarchyItem* Item() const;
    CKSTObject* Object() const;
    // Inserts the entry after the focused row; returns its index.
    int Insert(const CKSTObject::Entry& entry, int focusedRow);
    // Reloads the parameter list and rewrites the source after a change of the object.
    void Changed();
    // A typed or pasted name, as the object takes it (blanks become '_'), or why it is refused;
    // `what` begins the reason.
    static Result<std::string> CheckedName(const CHierarchyItem& item, const std::string& text,
                                           const std::string& what);
    // A typed or pasted value of the entry (at `index` in the item's object, -1 when it is not
    // there yet), as the object takes it, or why it is refused. An empty text means no change.
    Result<std::string> CheckedValue(const CHierarchyItem& item, const CKSTObject::Entry& entry, int index,
                                     const std::string& text) const;
    // Checks and normalises the name, value and choices of an entry pasted at `index`.
    Outcome CheckPastedEntry(CKSTObject::Entry& entry, int index) const;

    CProjectSession& m_session;
};

} // namespace kestra
