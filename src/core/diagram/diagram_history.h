#pragma once

#include "diagram/block_diagram.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

// Whether two diagrams draw the same: blocks (id, kind, text, rectangle, colour), lines and the
// extent. Selection, scroll position and the attributes of new lines are not the drawing.
bool SameDrawing(const CBlockDiagram& a, const CBlockDiagram& b);

// What an edit did, in the words of the Edit menu ("move block", "remove line", ...).
std::string DescribeChange(const CBlockDiagram& before, const CBlockDiagram& after);

// The undo and redo history of the diagram's own edits while one module is shown. Each step
// keeps the whole diagram as it was before the step: diagrams are small, the routed lines
// come back exactly as they were (re-routing on undo could find other paths), and no edit
// needs an inverse of its own. The history keeps at most kMaxSteps steps and kMaxBytes of
// snapshots, dropping the oldest first.
class CDiagramHistory {
public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxBytes = std::size_t{32} << 20;

    // Forgets every step, and a step begun but not ended.
    void Clear();
    // A step begins from this state; a step already begun keeps its earlier state.
    void Begin(const CBlockDiagram& before);
    // The step ends: kept when the drawing changed, under the name or else under what changed.
    // True when a step was kept; the redo steps go then.
    bool End(const CBlockDiagram& after, const std::string& name = {});

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    const std::string& UndoName() const;
    const std::string& RedoName() const;
    // Takes the diagram back to the state before the last step (forward again for Redo),
    // keeping its window size and scroll position, and marks it changed.
    bool Undo(CBlockDiagram& diagram);
    bool Redo(CBlockDiagram& diagram);

    std::size_t StepCount() const { return m_undo.size(); }
    std::size_t Bytes() const { return m_bytes; }

private:
    struct Step {
        std::string name;
        CBlockDiagram state;
        std::size_t bytes = 0;
    };
    static std::size_t SizeOf(const CBlockDiagram& diagram);
    static void Restore(CBlockDiagram& diagram, const CBlockDiagram& state);
    void Push(std::deque<Step>& steps, Step step);
    bool Shift(std::deque<Step>& from, std::deque<Step>& to, CBlockDiagram& diagram);

    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    std::optional<CBlockDiagram> m_pending;
    std::size_t m_bytes = 0;
};

} // namespace kestra
