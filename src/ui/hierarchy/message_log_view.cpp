#include "hierarchy/message_log_view.h"

#include "strings/qt_text.h"
#include "tools/vhdl_check.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace kestra {

CKSTEditView::CKSTEditView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void CKSTEditView::AppendLog(const std::string& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(MessageToQt(LogTextForDisplay(text)));
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CKSTEditView::ClearLog() {
    // Clearing is not an edit: the pane stays read-only throughout.
    clear();
}

CommandAnswer CKSTEditView::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Copy:
        return AnswerIf(textCursor().hasSelection());
    case EditCommand::Cut:
    case EditCommand::Paste:
        return CommandAnswer::Disabled;
    case EditCommand::Remove:
    case EditCommand::SelectAll:
        return CommandAnswer::Enabled;
    default:
        return CommandAnswer::NotMine;
    }
}

void CKSTEditView::Run(EditCommand command) {
    if (command == EditCommand::Copy)
        copy();
    else if (command == EditCommand::Remove)
        ClearLog();
    else if (command == EditCommand::SelectAll)
        selectAll();
}

Result<int> CKSTEditView::PrintPages(QPrinter&) {
    return 0;
}

bool CKSTEditView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+Del is the window's Remove command (which clears the log), not a text edit.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backtab ||
            (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier))) {
            emit previousPaneRequested();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && RequestSourceLine())
            return true;
    }
    return QPlainTextEdit::event(event);
}

void CKSTEditView::mouseDoubleClickEvent(QMouseEvent* event) {
    setTextCursor(cursorForPosition(event->position().toPoint()));
    if (!RequestSourceLine())
        QPlainTextEdit::mouseDoubleClickEvent(event);
}

bool CKSTEditView::RequestSourceLine() {
    const QString line = textCursor().block().text();
    const std::optional<SourceLocation> location = LocationInCheckLine(MessageFromQt(line));
    if (!location)
        return false;
    emit sourceLineRequested(PathToQt(location->file), location->line);
    return true;
}

} // namespace kestra
