#pragma once

#include "diagram/geometry.h"

#include <string>

namespace kestra {

// One end of a line that stands for a connection: a block, and the pin of it the line attaches
// to (empty for a port block, which stands for a port of the shown module).
struct LineEnd {
    int block = -1;
    std::string pin;
    bool operator==(const LineEnd&) const = default;
};

// What the diagram reports to its pane, and the pane's answer.
struct CBlockNotify {
    static constexpr int kControlId = 61448;
    static constexpr int kInsertOrEdit = -990; // a block inserted through the pane, or its text edited
    static constexpr int kDoubleClick = -991;  // the selected block was double-clicked
    static constexpr int kEnterOrSpace = -992; // Space or Enter with a block selected

    int code = 0;
    int blockId = -1; // -1 for an insertion
    // The block's kind; for an insertion 5 .. 9 for ports and 10, 11, 12 for a normal, library
    // or predefined module.
    int kind = 0;
    CPixelRect rect; // diagram coordinates
    std::string newText;
    std::string oldText;
    int result = -1; // the block the pane created or re-created
};

// The diagram's way out: beeps for refused gestures, block notifications to the pane.
class IDiagramListener {
public:
    virtual ~IDiagramListener() = default;
    virtual void Beep() = 0;
    // The pane's reply: 1 after it started a library or predefined module insertion, else 0.
    virtual int OnBlockNotify(CBlockNotify& notify) = 0;
    // A line was drawn from or to a pin: the pane makes the connection (or refuses it) and
    // answers true; false lets the diagram draw the line as a picture.
    virtual bool OnConnect(const LineEnd& from, const LineEnd& to) {
        (void)from;
        (void)to;
        return false;
    }
};

} // namespace kestra
