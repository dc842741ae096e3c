#pragma once

namespace kestra {

// The four reorderings of an item among its siblings or a row among the rows of a list.
enum class MoveCommand { Top, Up, Down, Bottom };

// Where the command takes the row at `row` among the rows first .. last: Up and Down may step
// outside them, which the caller refuses or clamps.
inline int MoveTarget(MoveCommand command, int row, int first, int last) {
    switch (command) {
    case MoveCommand::Top:
        return first;
    case MoveCommand::Up:
        return row - 1;
    case MoveCommand::Down:
        return row + 1;
    case MoveCommand::Bottom:
        return last;
    }
    return row;
}

} // namespace kestra
