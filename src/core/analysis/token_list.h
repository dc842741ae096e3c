#pragma once

#include "analysis/token_reader.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// The tokens of a stretch of text read at once, each parenthesis with its partner, for readers
// that look back and forth over a statement. Indexes out of range (also one below the first)
// give the end of the text; a parenthesis without a partner has kNoPartner.
class CTokenList {
public:
    static constexpr std::size_t kNoPartner = static_cast<std::size_t>(-1);

    // The tokens from `start` that end at or before `end`.
    CTokenList(std::string_view text, std::size_t start, std::size_t end);

    std::size_t Size() const { return m_tokens.size(); }
    const VhdlToken& At(std::size_t i) const { return i < m_tokens.size() ? m_tokens[i] : m_end; }
    std::size_t Partner(std::size_t i) const { return i < m_partners.size() ? m_partners[i] : kNoPartner; }
    std::string_view Text(std::size_t i) const {
        const VhdlToken& token = At(i);
        return m_text.substr(token.start, token.end - token.start);
    }
    // The text from token `from` to the end of token `last`, both included.
    std::string_view Span(std::size_t from, std::size_t last) const {
        return m_text.substr(At(from).start, At(last).end - At(from).start);
    }
    std::string Lower(std::size_t i) const { return ToLowerAscii(Text(i)); }
    bool IsWord(std::size_t i, std::string_view word) const {
        return At(i).kind == TokenKind::Word && SameTextNoCase(Text(i), word);
    }
    // Two punctuation characters written together, such as "<=" or "=>".
    bool IsPair(std::size_t i, char first, char second) const {
        return At(i).Is(first) && At(i + 1).Is(second) && At(i + 1).start == At(i).end;
    }
    // Past a parenthesised group that opens at i; otherwise the next token.
    std::size_t Next(std::size_t i) const {
        return At(i).Is('(') && Partner(i) != kNoPartner ? Partner(i) + 1 : i + 1;
    }

private:
    std::string_view m_text;
    std::vector<VhdlToken> m_tokens;
    std::vector<std::size_t> m_partners;
    VhdlToken m_end;
};

} // namespace kestra
