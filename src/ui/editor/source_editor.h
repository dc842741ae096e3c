#pragma once

#include "actions/edit_target.h"

#include <Qsci/qsciscintilla.h>
#include <string>
#include <string_view>

namespace kestra {

enum class LineEnds;

// The text of one VHDL source in the VHDL editor: the VHDL lexer's colours in a monospace font,
// line numbers, the current line marked, folding, brace matching and automatic indent. The
// text is the file's bytes, one character a byte, with the file's own line ends, so that its
// bytes come back as they were read plus the edits. It answers the window's edit commands, and
// takes Ctrl+S, Ctrl+F, Ctrl+H, Ctrl+G and Ctrl+/ before the window's shortcuts do.
class CSourceEditor : public QsciScintilla, public CEditTarget {
    Q_OBJECT

public:
    explicit CSourceEditor(QWidget* parent = nullptr);

    // Replaces the text by the bytes; the undo history starts there and the text counts as
    // unmodified.
    void LoadBytes(std::string_view bytes, LineEnds lineEnds);
    std::string Bytes() const;
    // Puts "-- " before every selected line (the cursor's line without a selection), or takes
    // it away when each of them has it.
    void ToggleComment();
    // Moves the cursor to the line (1 is the first) and shows it.
    void GoToLine(int line);

    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    int PrintPages(QPrinter& printer) override;

signals:
    void saveRequested();
    void findRequested(bool replace);
    void goToLineRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetUpLook();
    bool TakeKey(const QKeyEvent& key);
};

} // namespace kestra
