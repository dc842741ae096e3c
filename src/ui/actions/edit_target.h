#pragma once

#include "project/move_command.h"
#include "system/outcome.h"

#include <optional>

class QPrinter;

namespace kestra {

// The edit commands that act on whichever pane has the focus.
enum class EditCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Remove,
    SelectAll,
    CopyView,
    Insert,
    MoveToTop,
    MoveUp,
    MoveDown,
    MoveToBottom,
    Print,
};

// A pane's answer to an edit command: not its command (the next pane in line is asked), its
// command but not possible now, or possible.
enum class CommandAnswer { NotMine, Disabled, Enabled };

inline CommandAnswer AnswerIf(bool possible) {
    return possible ? CommandAnswer::Enabled : CommandAnswer::Disabled;
}

// The reordering a move command asks for; none for the other commands.
inline std::optional<MoveCommand> MoveOf(EditCommand command) {
    switch (command) {
    case EditCommand::MoveToTop:
        return MoveCommand::Top;
    case EditCommand::MoveUp:
        return MoveCommand::Up;
    case EditCommand::MoveDown:
        return MoveCommand::Down;
    case EditCommand::MoveToBottom:
        return MoveCommand::Bottom;
    default:
        return std::nullopt;
    }
}

// A pane that answers the edit commands while it has the focus. The main window asks the
// focused pane, then the project window, and runs the command on the first that takes it.
class CEditTarget {
public:
    virtual ~CEditTarget() = default;

    virtual CommandAnswer Answer(EditCommand command) const = 0;
    // Runs a command the pane answered Enabled; Print goes through PrintPages.
    virtual void Run(EditCommand command) = 0;
    // Paints the pane's pages of the printer's chosen range onto the printer; returns the number
    // of pages printed, or why printing stopped.
    virtual Result<int> PrintPages(QPrinter& printer) = 0;
    // Print preview shows the pages while this is true.
    virtual void SetPreviewing(bool previewing) { static_cast<void>(previewing); }
};

} // namespace kestra
