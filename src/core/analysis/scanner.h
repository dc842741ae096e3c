#pragma once

#include "analysis/analysis_errors.h"
#include "text/word_reader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestra {

class CKSTObject;

// The one shared state of an analysis run: the first error and its line, where the text
// being analysed starts, which module is being analysed, and that module's design object
// as it stood before the run (owned by the operation that made the copy).
struct AnalysisContext {
    AnalysisErrorCode errorCode = AnalysisErrorCode::NoError;
    int errorLine = 0; // 1-based; 0 = no line known
    std::size_t textStart = 0;
    std::string moduleName;
    const CKSTObject* previousObject = nullptr;

    void Reset() { *this = AnalysisContext(); }
    bool HasError() const { return errorCode != AnalysisErrorCode::NoError; }
    // Forgets the error and its line, so that the next one is kept.
    void ClearError() {
        errorCode = AnalysisErrorCode::NoError;
        errorLine = 0;
    }
    // Keeps the first error of a run: a later code does not replace an earlier one.
    void SetError(AnalysisErrorCode code, int line = 0);
};

// Cursor operations of the analysis over one whole 8-bit VHDL text held in memory, on top of
// the word reader: words, values, statements, comments and line numbers, with errors reported
// into the shared analysis context.
class CScanner : public CWordReader {
public:
    explicit CScanner(std::string_view text, AnalysisContext* context = nullptr);

    AnalysisContext* Context() const { return m_context; }

    std::string ReadWord(std::size_t& cursor) const;
    char ReadChar(std::size_t& cursor) const;
    std::string ReadDigits(std::size_t& cursor) const;
    // Sets error 15 in the context (without a line) for an empty value or a misplaced or
    // unclosed double quote, and then returns the empty text.
    std::string ReadValue(std::size_t& cursor) const;

    [[nodiscard]] std::optional<std::size_t> IsInComment(std::size_t pos, std::size_t textStart = 0) const;
    [[nodiscard]] std::optional<std::size_t> CodeEndBeforeComment(std::size_t pos,
                                                                  std::size_t textStart = 0) const;
    std::size_t BackSkipBlanks(std::size_t cursor) const;
    std::size_t BackSkipBlanksAndComments(std::size_t cursor, std::size_t textStart = 0) const;

    [[nodiscard]] std::optional<std::size_t> FindWord(std::size_t pos, std::string_view word) const;
    [[nodiscard]] std::optional<std::size_t> FindWordOutsideComments(std::size_t pos,
                                                                     std::string_view word) const;
    [[nodiscard]] std::optional<std::size_t> FindTextOutsideComments(std::size_t pos,
                                                                     std::string_view text) const;
    [[nodiscard]] std::optional<std::size_t> NextStatement(std::size_t pos) const;
    [[nodiscard]] std::optional<std::size_t> StatementStartBefore(std::size_t pos,
                                                                  std::size_t textStart = 0) const;

    // Line numbers count from the context's text start (0 without a context).
    int LineOfPosition(std::size_t pos) const;

    // True when nothing but blanks and comments stands between the last ';' (outside comments)
    // and pos, or between the text start and pos: pos begins a statement.
    bool StartsStatement(std::size_t pos, std::size_t textStart = 0) const;

    // Start of the "--" that makes pos part of a comment, if it is one.
    [[nodiscard]] std::optional<std::size_t> CommentStart(std::size_t pos, std::size_t textStart = 0) const;

private:
    // Up to this many bytes a scan goes byte by byte; beyond, the library's byte searches win.
    static constexpr std::size_t kShortScan = 16;
    std::size_t LineStart(std::size_t pos, std::size_t textStart) const;
    // The first ';' or '-' at or after pos, or End().
    std::size_t NextSemicolonOrDash(std::size_t pos) const;
    // The first "--" that starts in [from, to], or npos, found by the library's byte search.
    std::size_t FirstDoubleDash(std::size_t from, std::size_t to) const;
    [[nodiscard]] std::optional<std::size_t> FindCharBackOutsideComments(std::size_t pos, char c,
                                                                         std::size_t textStart) const;

    // The part of one line that comment tests have looked at: [lineStart, scannedEnd) holds no
    // line break, and firstDash is the first "--" that starts in it (npos when none). A scanner
    // is therefore used by one thread at a time.
    struct LineCache {
        bool valid = false;
        std::size_t textStart = 0;
        std::size_t lineStart = 0;
        std::size_t scannedEnd = 0;
        std::size_t firstDash = 0;
    };

    AnalysisContext* m_context;
    mutable LineCache m_lineCache;
};

} // namespace kestra
