#include "analysis/token_reader.h"

#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

CTokenReader::CTokenReader(std::string_view text, std::size_t position)
    : m_text(text), m_pos(std::min(position, m_text.size())) {}

void CTokenReader::Seek(std::size_t position) {
    m_pos = std::min(position, m_text.size());
    m_after = After::Other;
}

bool CTokenReader::AfterName(std::size_t tick) const {
    if (m_after == After::Bracket)
        return true;
    if (m_after != After::Word)
        return false;
    // The word ends where blanks and comments before the tick begin; only blanks are looked at,
    // which is all that separates a name from its attribute tick in practice.
    std::size_t end = tick;
    while (end > 0 && IsBlank(m_text[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && IsIdentifierChar(m_text[start - 1]))
        --start;
    const std::string_view word = m_text.substr(start, end - start);
    return SameTextNoCase(word, "all") || !IsVhdlReservedWord(word);
}

VhdlToken CTokenReader::Literal(VhdlToken& token) {
    const std::size_t size = m_text.size();
    const char c = m_text[m_pos];
    if (IsDigit(c)) {
        // Decimal and based literals with their exponent: 16#FF#, 1.0e-3, 2_000.
        std::size_t pos = m_pos + 1;
        while (pos < size) {
            const char d = m_text[pos];
            const bool sign = (d == '+' || d == '-') && (LowerAscii(m_text[pos - 1]) == 'e');
            if (!IsIdentifierChar(d) && d != '#' && d != '.' && !sign)
                break;
            ++pos;
        }
        token.kind = TokenKind::Number;
        m_after = After::Other;
        m_pos = pos;
        token.end = pos;
        return token;
    }
    // A string or extended identifier: a doubled delimiter stands for itself, and the literal
    // must close on its line.
    std::size_t pos = m_pos + 1;
    token.kind = TokenKind::Unclosed;
    while (pos < size && !IsLineBreak(m_text[pos])) {
        if (m_text[pos] == c) {
            if (pos + 1 < size && m_text[pos + 1] == c) {
                pos += 2;
                continue;
            }
            ++pos;
            token.kind = c == '"' ? TokenKind::String : TokenKind::ExtendedName;
            break;
        }
        ++pos;
    }
    m_after = token.kind == TokenKind::ExtendedName ? After::Bracket : After::Other;
    m_pos = pos;
    token.end = pos;
    return token;
}

} // namespace kestra
