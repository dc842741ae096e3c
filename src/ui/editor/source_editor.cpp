#include "editor/source_editor.h"

#include "operations/edited_source.h"
#include "strings/qt_text.h"
#include "tools/vhdl_check.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPrinter>
#include <Qsci/qscilexervhdl.h>
#include <map>
#include <memory>

namespace kestra {

namespace {

constexpr std::string_view kCommentMark = "-- ";

constexpr int kCompletionList = 1;
// Completion opens by itself after this many characters of a word.
constexpr int kTypedPrefix = 3;

bool IsEditorKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_F2)
        return key.modifiers() == Qt::NoModifier;
    if (key.modifiers() != Qt::ControlModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Space:
    case Qt::Key_S:
    case Qt::Key_F:
    case Qt::Key_H:
    case Qt::Key_G:
    case Qt::Key_Slash:
        return true;
    default:
        return false;
    }
}

bool IsWordCharacter(int character) {
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
           (character >= '0' && character <= '9') || character == '_';
}

int LeadingBlanks(const QString& line) {
    int count = 0;
    while (count < line.size() && (line[count] == QLatin1Char(' ') || line[count] == QLatin1Char('\t')))
        ++count;
    return count;
}

} // namespace

CSourceEditor::CSourceEditor(QWidget* parent) : QsciScintilla(parent) {
    SetUpLook();
    SetUpMarkers();
    setAutoCompletionCaseSensitivity(false);
    connect(this, &QsciScintillaBase::SCN_CHARADDED, this, &CSourceEditor::OnCharacterAdded);
    connect(this, &QsciScintilla::userListActivated, this, &CSourceEditor::OnCompletionChosen);
}

void CSourceEditor::ShowCompletions(bool typed) {
    if (!m_names || isReadOnly())
        return;
    const auto position = static_cast<unsigned long>(SendScintilla(SCI_GETCURRENTPOS));
    const auto start = static_cast<long>(SendScintilla(SCI_WORDSTARTPOSITION, position, 1L));
    // The word's bytes alone (with room for the terminating NUL): a keystroke never copies the whole text.
    std::string prefix(position - static_cast<unsigned long>(start) + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, start, static_cast<long>(position), prefix.data());
    prefix.pop_back();
    if (typed && prefix.size() < kTypedPrefix)
        return;
    const QString wanted = TextToQt(prefix);
    QStringList names;
    for (const std::string& name : m_names()) {
        const QString shown = TextToQt(name);
        if (shown.startsWith(wanted, Qt::CaseInsensitive))
            names << shown;
    }
    if (names.isEmpty() || (typed && names.size() == 1 && names.front().size() == wanted.size()))
        return;
    showUserList(kCompletionList, names);
}

QString CSourceEditor::WordAtCursor() const {
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    return wordAtLineIndex(line, index);
}

void CSourceEditor::OnCharacterAdded(int character) {
    if (IsWordCharacter(character) && !isListActive())
        ShowCompletions(true);
}

void CSourceEditor::OnCompletionChosen(int list, const QString& name) {
    if (list != kCompletionList)
        return;
    const auto position = static_cast<long>(SendScintilla(SCI_GETCURRENTPOS));
    const auto start =
        static_cast<long>(SendScintilla(SCI_WORDSTARTPOSITION, static_cast<unsigned long>(position), 1L));
    SendScintilla(SCI_SETSELECTION, static_cast<unsigned long>(start), position);
    InsertBytes(TextFromQt(name));
}

void CSourceEditor::SetUpLook() {
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* lexer = new QsciLexerVHDL(this);
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    lexer->setFoldComments(true);
    lexer->setFoldCompact(false);
    setLexer(lexer);
    // One character a byte: the file's bytes read as Latin-1, the core's text convention.
    setUtf8(false);
    setMarginsFont(font);
    setMarginType(0, QsciScintilla::NumberMargin);
    setMarginWidth(0, QStringLiteral("000000"));
    setMarginLineNumbers(0, true);
    setFolding(QsciScintilla::BoxedTreeFoldStyle, 2);
    setCaretLineVisible(true);
    setCaretLineBackgroundColor(QColor(0xe8, 0xf0, 0xfe));
    setBraceMatching(QsciScintilla::SloppyBraceMatch);
    setAutoIndent(true);
    setIndentationGuides(true);
    setTabWidth(4);
    setEolVisibility(false);
    setWrapMode(QsciScintilla::WrapNone);
}

void CSourceEditor::SetUpMarkers() {
    constexpr int kSymbolMargin = 1;
    setMarginType(kSymbolMargin, QsciScintilla::SymbolMargin);
    setMarginWidth(kSymbolMargin, 16);
    setMarginMarkerMask(kSymbolMargin, (1 << kErrorMarker) | (1 << kWarningMarker));
    markerDefine(QsciScintilla::Circle, kErrorMarker);
    setMarkerBackgroundColor(QColor(0xd0, 0x20, 0x20), kErrorMarker);
    setMarkerForegroundColor(QColor(0x80, 0x00, 0x00), kErrorMarker);
    markerDefine(QsciScintilla::RightTriangle, kWarningMarker);
    setMarkerBackgroundColor(QColor(0xf0, 0xb0, 0x00), kWarningMarker);
    setMarkerForegroundColor(QColor(0x80, 0x60, 0x00), kWarningMarker);
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_errorStyle.setColor(QColor(0x80, 0x00, 0x00));
    m_errorStyle.setPaper(QColor(0xff, 0xe4, 0xe4));
    m_errorStyle.setFont(font);
    m_warningStyle.setColor(QColor(0x60, 0x48, 0x00));
    m_warningStyle.setPaper(QColor(0xff, 0xf4, 0xd0));
    m_warningStyle.setFont(font);
    setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
}

void CSourceEditor::ShowCheckMessages(const std::vector<CheckMessage>& messages) {
    // One repaint for all of them, not one a marker.
    setUpdatesEnabled(false);
    markerDeleteAll(kErrorMarker);
    markerDeleteAll(kWarningMarker);
    clearAnnotations();
    struct LineMessages {
        QString text;
        bool error = false;
    };
    std::map<int, LineMessages> byLine;
    for (const CheckMessage& message : messages) {
        if (message.line < 1 || message.line > lines())
            continue;
        LineMessages& line = byLine[message.line - 1];
        if (!line.text.isEmpty())
            line.text += QLatin1Char('\n');
        line.text += MessageToQt(message.text);
        line.error = line.error || message.error;
    }
    for (const auto& [line, shown] : byLine) {
        markerAdd(line, shown.error ? kErrorMarker : kWarningMarker);
        annotate(line, shown.text, shown.error ? m_errorStyle : m_warningStyle);
    }
    setUpdatesEnabled(true);
}

void CSourceEditor::LoadBytes(std::string_view bytes, LineEnds lineEnds) {
    const bool wasReadOnly = isReadOnly();
    setReadOnly(false);
    setEolMode(lineEnds == LineEnds::CrLf ? QsciScintilla::EolWindows : QsciScintilla::EolUnix);
    // The bytes go in as they are (NUL bytes too), never through a conversion of line ends.
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    setReadOnly(wasReadOnly);
}

std::string CSourceEditor::Bytes() const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH));
    std::string bytes(length + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    bytes.resize(length);
    return bytes;
}

void CSourceEditor::ToggleComment() {
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    if (fromLine < 0) {
        getCursorPosition(&fromLine, &fromIndex);
        toLine = fromLine;
    } else if (toIndex == 0 && toLine > fromLine) {
        --toLine; // a selection that ends at a line's start leaves that line alone
    }
    const QString mark = QString::fromLatin1(kCommentMark.data(), static_cast<int>(kCommentMark.size()));
    const QString bare = mark.trimmed();
    bool allMarked = true;
    for (int line = fromLine; line <= toLine; ++line) {
        const QString lineText = text(line);
        if (!lineText.trimmed().isEmpty())
            allMarked = allMarked && lineText.mid(LeadingBlanks(lineText)).startsWith(bare);
    }
    beginUndoAction();
    for (int line = fromLine; line <= toLine; ++line) {
        const QString lineText = text(line);
        if (lineText.trimmed().isEmpty())
            continue;
        const int indent = LeadingBlanks(lineText);
        if (!allMarked) {
            insertAt(mark, line, indent);
            continue;
        }
        const auto length =
            static_cast<int>(lineText.mid(indent).startsWith(mark) ? mark.size() : bare.size());
        setSelection(line, indent, line, indent + length);
        removeSelectedText();
    }
    endUndoAction();
}

void CSourceEditor::GoToLine(int line) {
    const int index = std::max(line, 1) - 1;
    setCursorPosition(index, 0);
    ensureLineVisible(index);
    setFocus();
}

void CSourceEditor::InsertBytes(const std::string& bytes) {
    beginUndoAction();
    // The bytes as they are, never through a conversion of line ends.
    SendScintilla(SCI_REPLACESEL, 0UL, bytes.c_str());
    endUndoAction();
}

CommandAnswer CSourceEditor::Answer(EditCommand command) const {
    switch (command) {
    case EditCommand::Undo:
        return AnswerIf(isUndoAvailable());
    case EditCommand::Redo:
        return AnswerIf(isRedoAvailable());
    case EditCommand::Cut:
    case EditCommand::Remove:
        return AnswerIf(hasSelectedText() && !isReadOnly());
    case EditCommand::Copy:
        return AnswerIf(hasSelectedText());
    case EditCommand::Paste:
        return AnswerIf(!isReadOnly());
    case EditCommand::SelectAll:
        return CommandAnswer::Enabled;
    default:
        return CommandAnswer::NotMine;
    }
}

void CSourceEditor::Run(EditCommand command) {
    switch (command) {
    case EditCommand::Undo:
        return undo();
    case EditCommand::Redo:
        return redo();
    case EditCommand::Cut:
        return cut();
    case EditCommand::Copy:
        return copy();
    case EditCommand::Paste:
        return paste();
    case EditCommand::Remove:
        return removeSelectedText();
    case EditCommand::SelectAll:
        return selectAll(true);
    default:
        return;
    }
}

Result<int> CSourceEditor::PrintPages(QPrinter& printer) {
    static_cast<void>(printer); // the editor prints nothing: the Print command is not its
    return 0;
}

bool CSourceEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsEditorKey(*static_cast<QKeyEvent*>(event))) {
        // The editor's keys win over the window's shortcuts of the same keys (Save Project).
        event->accept();
        return true;
    }
    return QsciScintilla::event(event);
}

void CSourceEditor::keyPressEvent(QKeyEvent* event) {
    if (IsEditorKey(*event) && TakeKey(*event))
        return;
    QsciScintilla::keyPressEvent(event);
}

void CSourceEditor::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (menu == nullptr)
        return;
    if (!hasSelectedText() && event->reason() == QContextMenuEvent::Mouse) {
        // The commands about the word at the cursor mean the word clicked.
        const QPoint point = viewport()->mapFromGlobal(event->globalPos());
        const long position = SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(point.x()),
                                            static_cast<long>(point.y()));
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(position));
    }
    emit contextMenuShowing(*menu);
    menu->exec(event->globalPos());
}

bool CSourceEditor::TakeKey(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_S:
        emit saveRequested();
        return true;
    case Qt::Key_F:
    case Qt::Key_H:
        emit findRequested(key.key() == Qt::Key_H);
        return true;
    case Qt::Key_G:
        emit goToLineRequested();
        return true;
    case Qt::Key_Slash:
        if (!isReadOnly())
            ToggleComment();
        return true;
    case Qt::Key_Space:
        ShowCompletions(false);
        return true;
    case Qt::Key_F2:
        emit childSourceRequested();
        return true;
    default:
        return false;
    }
}

} // namespace kestra
