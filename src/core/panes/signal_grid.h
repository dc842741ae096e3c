#pragma once

#include "panes/signals_listener.h"
#include "session/project_session.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;

// What a row's status column shows.
enum class SignalRowStatus { Valid = 0, Invalid = 1, ModeNotRecognised = 2 };

// The grid's editable columns, in their order after the status column.
enum class SignalColumn { Name = 0, Mode = 1, DataType = 2, Range = 3 };
inline constexpr int kSignalColumnCount = 4;

// The choices the Mode and Data Type cells offer, in their order.
inline constexpr std::array<const char*, 5> kSignalModeChoices = {"in", "out", "inout", "buffer", "linkage"};
inline constexpr std::array<const char*, 13> kSignalDataTypeChoices = {
    "STD_LOGIC", "STD_ULOGIC", "STD_LOGIC_VECTOR", "SIGNED",   "UNSIGNED",  "BIT",   "BIT_VECTOR",
    "BOOLEAN",   "INTEGER",    "NATURAL",          "POSITIVE", "CHARACTER", "STRING"};

// The signal list pane without a window: the rows of the owner module's signals as the grid
// shows them, each with its status and colour, and the pane's commands. Every edit sets the
// changed flag; writing back puts the rows into the owner's signal record, and committing to
// the source also rewrites the port clause of the module's file. Rows that are invalid or
// duplicate are marked with their problem, never refused; the port clause keeps the source's
// port such a row stands for as it was, and leaves a new one out (UpdatePortList). The owner is an item of
// the session's project; it must be forgotten before the item or the session goes.
class CSignalGrid {
public:
    struct Row {
        std::array<std::string, kSignalColumnCount> cells;
        // Not shown in the grid, but it belongs to the signal and moves with its row.
        std::string initialValue;
        SignalRowStatus status = SignalRowStatus::ModeNotRecognised;
        std::uint32_t colour = 0; // 0x00BBGGRR
        // Why the row cannot be declared; empty for a valid row.
        std::string problem;
    };

    void SetListener(CSignalsListener* listener) { m_listener = listener; }

    // Shows the item's signals. An item without a signal record (the project, a package) shows
    // no rows under the caption "n/a"; no item shows nothing under an empty caption.
    void SetOwner(CProjectSession* session, CHierarchyItem* item);
    // Reads the rows again from the owner's signal record; the changed flag is cleared.
    void Load();
    // Drops the owner when it is the item or lies below it, or belongs to the session.
    bool ForgetItem(const CHierarchyItem* item);
    bool ForgetSession(const CProjectSession* session);

    CHierarchyItem* Owner() const { return m_owner; }
    CProjectSession* Session() const { return m_session; }
    bool HasOwner() const { return m_owner != nullptr; }
    // The owner's name with every "_" shown as a space; "n/a" for an item without signals.
    const std::string& Caption() const { return m_caption; }
    bool IsChanged() const { return m_changed; }

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const Row& RowAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    const std::string& Cell(int row, SignalColumn column) const;
    // The tool tip of the row's status mark: why the row stays out of the source; empty for a
    // valid row.
    std::string StatusTip(int row) const;

    // A finished cell edit. The rows are validated (duplicates are marked on both), the row is
    // re-coloured when its mode changed, an invalid row's problem goes to the status bar, and
    // the grid is written back with notification. False for a cell outside the grid or an
    // unchanged text.
    bool EndCellEdit(int row, SignalColumn column, const std::string& text);
    // Several cells at once (a paste): rows run on below the last one as new rows. The first
    // invalid row touched shows its problem on the status bar. Written back with notification.
    // Returns how many rows were touched.
    int SetCells(int row, SignalColumn column, const std::vector<std::vector<std::string>>& cells);
    // A blank row above `before` (at the end when `before` is not a row); returns its index.
    int InsertRow(int before);
    // Deletes rows first to last; writes back with notification. Returns the row that takes
    // the place of the first (or the new last row; -1 when none is left).
    int RemoveRows(int first, int last);
    // Moves the row to the top, up, down or to the bottom. Returns the row it went to, or -1
    // when it stays (at either end, or outside the grid).
    int MoveRow(int row, MoveCommand command);

    // Puts the rows into the owner's signal record and clears the changed flag; tells the
    // listener when `notify` is set. False when there is no owner or nothing changed.
    bool WriteBack(bool notify);
    // Focus loss and print preview: writes back without notification and, when the rows differ
    // from the source (written back now or by an earlier edit), rewrites the port clause of the
    // owner's source and re-analyses the module (the parameter list and the tree follow). Every
    // invalid row is named in the log with its problem, and the first on the status bar. True
    // when the source was updated.
    bool CommitToSource();

private:
    void ValidateAll();
    void ShowProblemOf(int row);
    void Colour(Row& row);

    CProjectSession* m_session = nullptr;
    CHierarchyItem* m_owner = nullptr;
    CSignalsListener* m_listener = nullptr;
    std::string m_caption;
    std::vector<Row> m_rows;
    bool m_changed = false;
    // Rows written back into the record but not yet into the source's port clause.
    bool m_sourcePending = false;
};

// The caption of a module name: every "_" shown as a space.
std::string SignalListCaption(const std::string& moduleName);

} // namespace kestra
