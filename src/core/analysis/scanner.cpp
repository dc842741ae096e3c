#include "analysis/scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kestra {

void AnalysisContext::SetError(AnalysisErrorCode code, int line) {
    if (HasError())
        return;
    errorCode = code;
    errorLine = line;
}

CScanner::CScanner(std::string_view text, AnalysisContext* context) : CWordReader(text), m_context(context) {}

std::string CScanner::ReadWord(std::size_t& cursor) const {
    std::size_t pos = cursor;
    if (SkipBlanksAndComments(pos) == 0)
        return {};
    cursor = pos;
    return ReadIdentifier(cursor);
}

char CScanner::ReadChar(std::size_t& cursor) const {
    SkipBlanksAndComments(cursor);
    if (cursor >= End())
        return '\0';
    return m_text[cursor++];
}

std::string CScanner::ReadDigits(std::size_t& cursor) const {
    SkipBlanksAndComments(cursor);
    const std::size_t start = cursor;
    while (IsDigit(At(cursor)))
        ++cursor;
    return std::string(m_text.substr(start, cursor - start));
}

std::string CScanner::ReadValue(std::size_t& cursor) const {
    std::optional<std::string> value = ReadValueText(cursor);
    if (!value) {
        if (m_context != nullptr)
            m_context->SetError(AnalysisErrorCode::WrongExpression);
        return {};
    }
    return std::move(*value);
}

std::size_t CScanner::LineStart(std::size_t pos, std::size_t textStart) const {
    // A short way back byte by byte; a long line's start is found by the library's backward byte
    // search (the last CR or LF in [textStart, pos)).
    const std::size_t nearStop =
        pos - std::min<std::size_t>(pos > textStart ? pos - textStart : 0, kShortScan);
    while (pos > nearStop && !IsLineBreak(m_text[pos - 1]))
        --pos;
    if (pos > nearStop || pos <= textStart)
        return pos;
    const char* const from = m_text.data() + textStart;
    const std::size_t length = pos - textStart;
    const void* lineFeed = memrchr(from, '\n', length);
    const std::size_t searched = lineFeed != nullptr ? static_cast<const char*>(lineFeed) - from + 1 : 0;
    const void* carriageReturn = memrchr(from + searched, '\r', length - searched);
    if (carriageReturn != nullptr)
        return textStart + static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - from) + 1;
    return textStart + searched;
}

std::size_t CScanner::FirstDoubleDash(std::size_t from, std::size_t to) const {
    const std::string_view scanned = m_text.substr(0, to + 1);
    for (std::size_t j = scanned.find('-', from); j != std::string_view::npos; j = scanned.find('-', j + 1)) {
        if (At(j + 1) == '-')
            return j;
    }
    return std::string_view::npos;
}

std::optional<std::size_t> CScanner::CommentStart(std::size_t pos, std::size_t textStart) const {
    if (pos >= End() || IsLineBreak(m_text[pos]))
        return std::nullopt;
    if (pos < textStart) {
        for (std::size_t j = LineStart(pos, textStart); j <= pos; ++j) {
            if (m_text[j] == '-' && At(j + 1) == '-')
                return j;
        }
        return std::nullopt;
    }
    // Comment tests walk along a line forwards (searches) and backwards (back skips); the cache
    // keeps the scanned part of the current line so that a long line is not rescanned from its
    // start for every test.
    LineCache& cache = m_lineCache;
    std::size_t scanFrom = 0;
    if (cache.valid && cache.textStart == textStart && pos >= cache.lineStart) {
        if (pos < cache.scannedEnd)
            return cache.firstDash <= pos ? std::optional<std::size_t>(cache.firstDash) : std::nullopt;
        // Back to the line's start or to the scanned part: a few bytes inline, a long way by
        // the library's search.
        std::size_t j = pos;
        const std::size_t shortStop = pos - std::min(pos - cache.scannedEnd, kShortScan);
        while (j > shortStop && !IsLineBreak(m_text[j - 1]))
            --j;
        if (j == shortStop && j > cache.scannedEnd)
            j = LineStart(j, cache.scannedEnd);
        if (j > cache.scannedEnd) { // a line break lies between: pos is on a later line
            cache.lineStart = j;
            cache.firstDash = std::string_view::npos;
        }
        scanFrom = j;
    } else {
        cache.valid = true;
        cache.textStart = textStart;
        cache.lineStart = LineStart(pos, textStart);
        cache.firstDash = std::string_view::npos;
        scanFrom = cache.lineStart;
    }
    if (cache.firstDash == std::string_view::npos && pos - scanFrom <= kShortScan) {
        for (std::size_t j = scanFrom; j <= pos; ++j) {
            if (m_text[j] == '-' && At(j + 1) == '-') {
                cache.firstDash = j;
                break;
            }
        }
    } else if (cache.firstDash == std::string_view::npos) {
        cache.firstDash = FirstDoubleDash(scanFrom, pos);
    }
    cache.scannedEnd = pos + 1;
    return cache.firstDash <= pos ? std::optional<std::size_t>(cache.firstDash) : std::nullopt;
}

std::optional<std::size_t> CScanner::IsInComment(std::size_t pos, std::size_t textStart) const {
    const auto start = CommentStart(pos, textStart);
    if (!start)
        return std::nullopt;
    const std::size_t lineFeed = m_text.find('\n', *start);
    if (lineFeed == std::string_view::npos)
        return End();
    std::size_t after = lineFeed;
    SkipBlanksAndComments(after);
    return after;
}

std::optional<std::size_t> CScanner::CodeEndBeforeComment(std::size_t pos, std::size_t textStart) const {
    const auto start = CommentStart(pos, textStart);
    if (!start)
        return std::nullopt;
    return BackSkipBlanksAndComments(*start, textStart);
}

std::size_t CScanner::BackSkipBlanks(std::size_t cursor) const {
    if (cursor > End())
        cursor = End();
    if (cursor > 0)
        --cursor;
    while (cursor > 0 && IsBlank(At(cursor)))
        --cursor;
    return cursor;
}

std::size_t CScanner::BackSkipBlanksAndComments(std::size_t cursor, std::size_t textStart) const {
    std::size_t pos = cursor > End() ? End() : cursor;
    while (pos > textStart) {
        --pos;
        if (IsBlank(m_text[pos]))
            continue;
        if (const auto start = CommentStart(pos, textStart)) {
            pos = *start;
            continue;
        }
        return pos;
    }
    return textStart;
}

bool CScanner::StartsStatement(std::size_t pos, std::size_t textStart) const {
    if (pos <= textStart)
        return true;
    const std::size_t before = BackSkipBlanksAndComments(pos, textStart);
    if (At(before) == ';')
        return true;
    // Reaching the text start means only blanks and comments precede pos, unless the text
    // start itself holds code.
    return before == textStart && (IsBlank(At(before)) || CommentStart(before, textStart).has_value());
}

std::optional<std::size_t> CScanner::FindWord(std::size_t pos, std::string_view word) const {
    if (word.empty() || word.size() > End())
        return std::nullopt;
    // The candidates are the places of the word's first letter in either case, found by the
    // library's byte search: the next lower-case one, and an upper-case one only before it, so
    // that no search runs past the first match and no byte is searched twice for one case.
    const char lower = LowerAscii(word[0]);
    const char upper = UpperAscii(word[0]);
    const std::size_t end = End() - word.size() + 1; // candidates lie in [pos, end)
    const auto find = [this](char c, std::size_t from, std::size_t to) {
        if (from >= to)
            return std::string_view::npos;
        const void* found = std::memchr(m_text.data() + from, c, to - from);
        return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - m_text.data())
                                : std::string_view::npos;
    };
    std::size_t nextLower = std::string_view::npos;
    bool lowerKnown = false;
    for (std::size_t i = pos; i < end;) {
        if (!lowerKnown || (nextLower != std::string_view::npos && nextLower < i)) {
            nextLower = find(lower, i, end);
            lowerKnown = true;
        }
        const std::size_t upperLimit = nextLower != std::string_view::npos ? nextLower : end;
        const std::size_t nextUpper = lower != upper ? find(upper, i, upperLimit) : std::string_view::npos;
        const std::size_t candidate = nextUpper != std::string_view::npos ? nextUpper : nextLower;
        if (candidate == std::string_view::npos)
            return std::nullopt;
        i = candidate + 1;
        if (!SameTextNoCase(m_text.substr(candidate, word.size()), word))
            continue;
        if (candidate > 0 && IsIdentifierChar(m_text[candidate - 1]))
            continue;
        if (IsIdentifierChar(At(candidate + word.size())))
            continue;
        return candidate;
    }
    return std::nullopt;
}

std::optional<std::size_t> CScanner::FindWordOutsideComments(std::size_t pos, std::string_view word) const {
    for (;;) {
        const auto found = FindWord(pos, word);
        if (!found)
            return std::nullopt;
        if (!CommentStart(*found))
            return found;
        // Every later occurrence on this line lies in the same comment.
        const std::size_t lineFeed = m_text.find('\n', *found);
        if (lineFeed == std::string_view::npos)
            return std::nullopt;
        pos = lineFeed;
    }
}

std::optional<std::size_t> CScanner::FindTextOutsideComments(std::size_t pos, std::string_view text) const {
    if (text.empty())
        return std::nullopt;
    for (;;) {
        const std::size_t found = pos < End() ? m_text.find(text, pos) : std::string_view::npos;
        if (found == std::string_view::npos)
            return std::nullopt;
        if (!CommentStart(found))
            return found;
        const std::size_t lineFeed = m_text.find('\n', found);
        if (lineFeed == std::string_view::npos)
            return std::nullopt;
        pos = lineFeed;
    }
}

std::size_t CScanner::NextSemicolonOrDash(std::size_t pos) const {
    // Eight bytes at a time while none of them is ';' or '-' (a word has a zero byte where the
    // word xor the repeated character does), then byte by byte.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const auto holds = [](std::uint64_t word, unsigned char c) {
        const std::uint64_t differs = word ^ (kOnes * c);
        return ((differs - kOnes) & ~differs & kHighBits) != 0;
    };
    const std::size_t end = End();
    for (; pos + 8 <= end; pos += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, m_text.data() + pos, 8);
        if (holds(word, ';') || holds(word, '-'))
            break;
    }
    while (pos < end && m_text[pos] != ';' && m_text[pos] != '-')
        ++pos;
    return pos;
}

std::optional<std::size_t> CScanner::NextStatement(std::size_t pos) const {
    if (CommentStart(pos)) {
        const std::size_t lineFeed = m_text.find('\n', pos);
        pos = lineFeed == std::string_view::npos ? End() : lineFeed;
    }
    while ((pos = NextSemicolonOrDash(pos)) < End()) {
        const char c = m_text[pos];
        if (c == '-' && At(pos + 1) == '-') {
            const std::size_t lineFeed = m_text.find('\n', pos);
            pos = lineFeed == std::string_view::npos ? End() : lineFeed;
            continue;
        }
        if (c == ';') {
            std::size_t after = pos + 1;
            SkipBlanksAndComments(after);
            if (after >= End())
                return std::nullopt;
            return after;
        }
        ++pos;
    }
    return std::nullopt;
}

std::optional<std::size_t> CScanner::FindCharBackOutsideComments(std::size_t pos, char c,
                                                                 std::size_t textStart) const {
    if (End() == 0 || pos < textStart)
        return std::nullopt;
    if (pos >= End())
        pos = End() - 1;
    for (;;) {
        const std::size_t lineStart = LineStart(pos, textStart);
        // Code on this line runs from its start up to the first "--" at or before pos.
        std::size_t codeEnd = pos + 1;
        for (std::size_t j = lineStart; j <= pos; ++j) {
            if (m_text[j] == '-' && At(j + 1) == '-') {
                codeEnd = j;
                break;
            }
        }
        for (std::size_t k = codeEnd; k > lineStart; --k) {
            if (m_text[k - 1] == c)
                return k - 1;
        }
        if (lineStart <= textStart)
            return std::nullopt;
        pos = lineStart - 1; // the line break that ends the line before
    }
}

std::optional<std::size_t> CScanner::StatementStartBefore(std::size_t pos, std::size_t textStart) const {
    const auto last = FindCharBackOutsideComments(pos, ';', textStart);
    if (!last)
        return std::nullopt;
    std::optional<std::size_t> before;
    if (*last > textStart)
        before = FindCharBackOutsideComments(*last - 1, ';', textStart);
    if (!before)
        return textStart;
    std::size_t after = *before + 1;
    SkipBlanksAndComments(after);
    return after;
}

int CScanner::LineOfPosition(std::size_t pos) const {
    const std::size_t textStart = m_context != nullptr ? m_context->textStart : 0;
    if (pos < textStart)
        return 0;
    if (pos > End())
        pos = End();
    int breaks = 0;
    for (std::size_t i = textStart; i < pos; ++i) {
        if (m_text[i] == '\r') {
            ++breaks;
            if (i + 1 < pos && m_text[i + 1] == '\n')
                ++i;
        } else if (m_text[i] == '\n') {
            ++breaks;
        }
    }
    return breaks + 1;
}

} // namespace kestra
