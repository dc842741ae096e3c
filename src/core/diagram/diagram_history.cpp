#include "diagram/diagram_history.h"

namespace kestra {

namespace {

bool SameBlocks(const CBlockList& a, const CBlockList& b) {
    if (a.Blocks().size() != b.Blocks().size())
        return false;
    auto other = b.Blocks().begin();
    for (const auto& [id, block] : a.Blocks()) {
        const CDiagramBlock& peer = other->second;
        if (id != other->first || block.kind != peer.kind || block.text != peer.text ||
            block.rect != peer.rect || block.colour != peer.colour)
            return false;
        ++other;
    }
    return true;
}

} // namespace

bool SameDrawing(const CBlockDiagram& a, const CBlockDiagram& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && SameBlocks(a.Blocks(), b.Blocks()) &&
           a.Lines().Lines() == b.Lines().Lines();
}

std::string DescribeChange(const CBlockDiagram& before, const CBlockDiagram& after) {
    const auto& blocksBefore = before.Blocks().Blocks();
    const auto& blocksAfter = after.Blocks().Blocks();
    const auto& linesBefore = before.Lines().Lines();
    const auto& linesAfter = after.Lines().Lines();
    if (blocksAfter.size() > blocksBefore.size())
        return "insert block";
    if (blocksAfter.size() < blocksBefore.size())
        return "remove block";
    if (linesAfter.size() < linesBefore.size())
        return "remove line";
    if (linesAfter.size() > linesBefore.size()) {
        for (const auto& [id, line] : linesAfter) {
            if (!linesBefore.contains(id))
                return (line.attributes & LineRecord::VariantMask) >> LineRecord::kVariantShift ==
                               LineRecord::kManualVariant
                           ? "manual link"
                           : "automatic link";
        }
    }
    for (const auto& [id, block] : blocksAfter) {
        const auto old = blocksBefore.find(id);
        if (old == blocksBefore.end())
            continue;
        if (old->second.text != block.text)
            return "edit text";
        if (old->second.colour != block.colour)
            return "colour";
        if (old->second.rect != block.rect)
            return old->second.rect.Width() == block.rect.Width() &&
                           old->second.rect.Height() == block.rect.Height()
                       ? "move block"
                       : "resize block";
    }
    for (const auto& [id, line] : linesAfter) {
        const auto old = linesBefore.find(id);
        if (old == linesBefore.end() || old->second == line)
            continue;
        if (old->second.colour != line.colour)
            return "colour";
        if ((old->second.attributes & LineRecord::WidthMask) != (line.attributes & LineRecord::WidthMask))
            return "line thickness";
        if ((old->second.attributes & (LineRecord::ArrowEnd | LineRecord::ArrowHead)) !=
            (line.attributes & (LineRecord::ArrowEnd | LineRecord::ArrowHead)))
            return "arrow";
        return "line style";
    }
    if (after.Width() != before.Width())
        return "increase width";
    if (after.Height() != before.Height())
        return "increase height";
    return "edit diagram";
}

void CDiagramHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_pending.reset();
    m_bytes = 0;
}

void CDiagramHistory::Begin(const CBlockDiagram& before) {
    if (!m_pending)
        m_pending = before;
}

bool CDiagramHistory::End(const CBlockDiagram& after, const std::string& name) {
    if (!m_pending)
        return false;
    CBlockDiagram before = std::move(*m_pending);
    m_pending.reset();
    if (SameDrawing(before, after))
        return false;
    const std::string stepName = name.empty() ? DescribeChange(before, after) : name;
    for (const Step& step : m_redo)
        m_bytes -= step.bytes;
    m_redo.clear();
    const std::size_t bytes = SizeOf(before);
    Push(m_undo, Step{stepName, std::move(before), bytes});
    return true;
}

const std::string& CDiagramHistory::UndoName() const {
    static const std::string none;
    return m_undo.empty() ? none : m_undo.back().name;
}

const std::string& CDiagramHistory::RedoName() const {
    static const std::string none;
    return m_redo.empty() ? none : m_redo.back().name;
}

bool CDiagramHistory::Undo(CBlockDiagram& diagram) {
    return Shift(m_undo, m_redo, diagram);
}

bool CDiagramHistory::Redo(CBlockDiagram& diagram) {
    return Shift(m_redo, m_undo, diagram);
}

// The last step of one list becomes the diagram; the diagram as it was goes onto the other list
// under the same name.
bool CDiagramHistory::Shift(std::deque<Step>& from, std::deque<Step>& to, CBlockDiagram& diagram) {
    if (from.empty())
        return false;
    m_pending.reset();
    Step step = std::move(from.back());
    from.pop_back();
    m_bytes -= step.bytes;
    Step current{step.name, diagram, SizeOf(diagram)};
    Restore(diagram, step.state);
    Push(to, std::move(current));
    return true;
}

std::size_t CDiagramHistory::SizeOf(const CBlockDiagram& diagram) {
    // The blocks with their outlines and texts, and the lines with their points: an estimate
    // of what a snapshot holds, for the bound.
    std::size_t bytes = sizeof(CBlockDiagram);
    for (const auto& [id, block] : diagram.Blocks().Blocks())
        bytes += sizeof(CDiagramBlock) + block.text.size() + 64;
    for (const auto& [id, line] : diagram.Lines().Lines())
        bytes += sizeof(LineRecord) + line.points.size() * sizeof(LinePoint) * 3;
    return bytes;
}

void CDiagramHistory::Restore(CBlockDiagram& diagram, const CBlockDiagram& state) {
    const int clientWidth = diagram.Blocks().ClientWidth();
    const int clientHeight = diagram.Blocks().ClientHeight();
    const int scrollX = diagram.Blocks().ScrollX();
    const int scrollY = diagram.Blocks().ScrollY();
    const std::uint32_t buttonFace = diagram.ButtonFaceColour();
    diagram = state;
    diagram.Blocks().SetClientSize(clientWidth, clientHeight);
    diagram.Blocks().ScrollTo(scrollX, scrollY);
    diagram.SetButtonFaceColour(buttonFace);
    diagram.SetDiagramChanged(true);
}

void CDiagramHistory::Push(std::deque<Step>& steps, Step step) {
    m_bytes += step.bytes;
    steps.push_back(std::move(step));
    while (steps.size() > kMaxSteps || (m_bytes > kMaxBytes && steps.size() > 1)) {
        m_bytes -= steps.front().bytes;
        steps.pop_front();
    }
}

} // namespace kestra
