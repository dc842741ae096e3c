#pragma once

#include "actions/edit_target.h"

#include <Qsci/qsciscintilla.h>
#include <Qsci/qscistyle.h>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QMenu;

namespace kestra {

enum class LineEnds;
struct CheckMessage;

// The text of one VHDL source in the VHDL editor: the VHDL lexer's colours in a monospace font,
// line numbers, the current line marked, folding, brace matching and automatic indent, and the
// messages of the last check as markers in the margin with their text under the line. The text is the file's
// bytes, one character a byte, with the file's own line ends, so that its bytes come back as they were read
// plus the edits. It answers the window's edit commands, and takes Ctrl+S, Ctrl+F, Ctrl+H, Ctrl+G and Ctrl+/
// before the window's shortcuts do, and Ctrl+Space (completion) and F2 (the child the word at the
// cursor names).
class CSourceEditor : public QsciScintilla, public CEditTarget {
    Q_OBJECT

public:
    // The margin's markers of a line with an error and of one with only warnings.
    static constexpr int kErrorMarker = 8;
    static constexpr int kWarningMarker = 9;

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
    // Puts the bytes in place of the selection (at the cursor without one), as one step of undo.
    void InsertBytes(const std::string& bytes);
    // Replaces the markers and annotations of the last check by the messages' (lines from 1):
    // a line shows the error marker when one of its messages is an error, else the warning
    // marker, and its messages' text under it. The text's edits move them with their lines.
    void ShowCheckMessages(const std::vector<CheckMessage>& messages);
    // The names completion offers, asked for each time its list opens, sorted without letter
    // case.
    void SetCompletionSource(std::function<std::vector<std::string>()> names) { m_names = std::move(names); }
    // Lists the names that begin with the word before the cursor (without letter case); the one
    // chosen replaces that word. `typed`: a character was just typed, and the list opens only
    // after the third character of a word that some longer name begins with.
    void ShowCompletions(bool typed);
    // The word the cursor stands in or after.
    QString WordAtCursor() const;

    CommandAnswer Answer(EditCommand command) const override;
    void Run(EditCommand command) override;
    Result<int> PrintPages(QPrinter& printer) override;

signals:
    void saveRequested();
    void findRequested(bool replace);
    void goToLineRequested();
    void childSourceRequested();
    // The context menu is about to show: the controller adds its commands.
    void contextMenuShowing(QMenu& menu);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetUpLook();
    void SetUpMarkers();
    bool TakeKey(const QKeyEvent& key);
    void OnCharacterAdded(int character);
    void OnCompletionChosen(int list, const QString& name);

    std::function<std::vector<std::string>()> m_names;

    // The annotations' styles, numbered above the lexer's and Scintilla's own (a style made
    // without a number takes one of a few that the whole program shares).
    QsciStyle m_errorStyle{64};
    QsciStyle m_warningStyle{65};
};

} // namespace kestra
