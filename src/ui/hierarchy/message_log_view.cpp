#include "hierarchy/message_log_view.h"

#include "desktop/qt_text.h"

#include <QKeyEvent>
#include <QScrollBar>

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
    }
    return QPlainTextEdit::event(event);
}

} // namespace kestra
