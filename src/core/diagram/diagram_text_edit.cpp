// Text editing and double-clicks of CDiagramEditor.
#include "diagram/diagram_editor.h"

namespace kestra {

bool CDiagramEditor::BeginTextEdit() {
    const CDiagramBlock* block = m_diagram.FindBlock(m_diagram.SelectedBlock());
    const int mode = static_cast<int>(m_mode);
    if (!block || !(mode == 1 || (mode >= 3 && mode <= 10)))
        return false;
    m_textEdit = CTextEditBox{block->id, block->rect.Inflate(-1, -1), block->colour, block->text};
    m_mode = EditMode::EditText;
    return true;
}

void CDiagramEditor::EndTextEdit(const std::optional<std::string>& text) {
    if (m_mode != EditMode::EditText || !m_textEdit)
        return;
    const int id = m_textEdit->blockId;
    m_textEdit.reset();
    m_mode = EditMode::Select;
    const CDiagramBlock* block = m_diagram.FindBlock(id);
    if (!block || !text || text->empty() || *text == block->text)
        return;
    const std::string oldText = block->text;
    const BlockKind kind = block->kind;
    if (kind == BlockKind::CustomBlock || kind == BlockKind::Module)
        m_diagram.ReplaceBlock(id, *text, kind, block->colour);
    if (kind == BlockKind::CustomBlock)
        return;
    // Module, port and text blocks: the pane carries the new name into the project and, for
    // ports and text, re-creates the block.
    CBlockNotify notify;
    notify.code = CBlockNotify::kInsertOrEdit;
    notify.blockId = id;
    notify.kind = static_cast<int>(kind);
    notify.rect = m_diagram.BlockRect(id);
    notify.newText = *text;
    notify.oldText = oldText;
    Notify(notify);
}

bool CDiagramEditor::OnDoubleClick(CPixelPoint window) {
    m_doubleClicked = m_diagram.Blocks().BlockAt(m_diagram.Blocks().ToDiagram(window));
    const CDiagramBlock* block = m_diagram.FindBlock(m_diagram.SelectedBlock());
    if (!block)
        return true;
    CBlockNotify notify;
    notify.code = CBlockNotify::kDoubleClick;
    notify.blockId = block->id;
    notify.kind = static_cast<int>(block->kind);
    notify.rect = block->rect;
    return Notify(notify) == 0;
}

int CDiagramEditor::TakeDoubleClickedBlock() {
    const int id = m_doubleClicked;
    m_doubleClicked = -1;
    return id;
}

} // namespace kestra
