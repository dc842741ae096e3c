#pragma once

#include "text/char_class.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestra {

// The reserved words that decide where VHDL constructs begin and end; every other identifier,
// reserved or not, reads as None.
enum class VhdlKeyword : std::uint8_t {
    None,
    All,
    Architecture,
    Begin,
    Block,
    Body,
    Case,
    Component,
    Configuration,
    Constant,
    Context,
    Else,
    Elsif,
    End,
    Entity,
    For,
    Function,
    Generate,
    Generic,
    If,
    Impure,
    In,
    Is,
    Library,
    Loop,
    New,
    Package,
    Port,
    Procedure,
    Process,
    Protected,
    Pure,
    Range,
    Record,
    Signal,
    Then,
    Type,
    Units,
    Use,
};

namespace detail {
// Byte classes for the token reader's inner loops.
enum : unsigned char { kOther = 0, kBlank = 1, kLetter = 2, kDigit = 4, kUnderscore = 8 };
struct ByteClasses {
    unsigned char of[256] = {};
    constexpr ByteClasses() {
        of[static_cast<unsigned char>(' ')] = kBlank;
        of[static_cast<unsigned char>('\t')] = kBlank;
        of[static_cast<unsigned char>('\r')] = kBlank;
        of[static_cast<unsigned char>('\n')] = kBlank;
        for (int c = 'a'; c <= 'z'; ++c)
            of[c] = kLetter;
        for (int c = 'A'; c <= 'Z'; ++c)
            of[c] = kLetter;
        for (int c = '0'; c <= '9'; ++c)
            of[c] = kDigit;
        of[static_cast<unsigned char>('_')] = kUnderscore;
    }
};
inline constexpr ByteClasses kByteClasses;
inline unsigned char ClassOf(char c) {
    return kByteClasses.of[static_cast<unsigned char>(c)];
}

// Compares an identifier with a lower-case word; ORing in 0x20 lowers ASCII letters and leaves
// digits and '_' unlike any letter.
template <std::size_t N>
inline bool IsWord(const char* identifier, const char (&word)[N]) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (static_cast<char>(identifier[i] | 0x20) != word[i])
            return false;
    }
    return true;
}

// The keywords of 2 letters.
inline VhdlKeyword KeywordOfLength2(const char* p) {
    if (IsWord(p, "if"))
        return VhdlKeyword::If;
    if (IsWord(p, "is"))
        return VhdlKeyword::Is;
    if (IsWord(p, "in"))
        return VhdlKeyword::In;
    return VhdlKeyword::None;
}

// The keywords of 3 letters.
inline VhdlKeyword KeywordOfLength3(const char* p) {
    if (IsWord(p, "end"))
        return VhdlKeyword::End;
    if (IsWord(p, "for"))
        return VhdlKeyword::For;
    if (IsWord(p, "new"))
        return VhdlKeyword::New;
    if (IsWord(p, "use"))
        return VhdlKeyword::Use;
    if (IsWord(p, "all"))
        return VhdlKeyword::All;
    return VhdlKeyword::None;
}

// The keywords of 4 letters.
inline VhdlKeyword KeywordOfLength4(const char* p) {
    switch (p[0] | 0x20) {
    case 'b':
        return IsWord(p, "body") ? VhdlKeyword::Body : VhdlKeyword::None;
    case 'c':
        return IsWord(p, "case") ? VhdlKeyword::Case : VhdlKeyword::None;
    case 'e':
        return IsWord(p, "else") ? VhdlKeyword::Else : VhdlKeyword::None;
    case 'l':
        return IsWord(p, "loop") ? VhdlKeyword::Loop : VhdlKeyword::None;
    case 'p':
        return IsWord(p, "pure") ? VhdlKeyword::Pure
                                 : (IsWord(p, "port") ? VhdlKeyword::Port : VhdlKeyword::None);
    case 't':
        return IsWord(p, "then") ? VhdlKeyword::Then
                                 : (IsWord(p, "type") ? VhdlKeyword::Type : VhdlKeyword::None);
    default:
        break;
    }
    return VhdlKeyword::None;
}

// The keywords of 5 letters.
inline VhdlKeyword KeywordOfLength5(const char* p) {
    switch (p[0] | 0x20) {
    case 'b':
        return IsWord(p, "begin") ? VhdlKeyword::Begin
                                  : (IsWord(p, "block") ? VhdlKeyword::Block : VhdlKeyword::None);
    case 'e':
        return IsWord(p, "elsif") ? VhdlKeyword::Elsif : VhdlKeyword::None;
    case 'u':
        return IsWord(p, "units") ? VhdlKeyword::Units : VhdlKeyword::None;
    case 'r':
        return IsWord(p, "range") ? VhdlKeyword::Range : VhdlKeyword::None;
    default:
        break;
    }
    return VhdlKeyword::None;
}

// The keywords of 6 letters.
inline VhdlKeyword KeywordOfLength6(const char* p) {
    switch (p[0] | 0x20) {
    case 'e':
        return IsWord(p, "entity") ? VhdlKeyword::Entity : VhdlKeyword::None;
    case 'i':
        return IsWord(p, "impure") ? VhdlKeyword::Impure : VhdlKeyword::None;
    case 'r':
        return IsWord(p, "record") ? VhdlKeyword::Record : VhdlKeyword::None;
    case 's':
        return IsWord(p, "signal") ? VhdlKeyword::Signal : VhdlKeyword::None;
    default:
        break;
    }
    return VhdlKeyword::None;
}

// The keywords of 7 letters.
inline VhdlKeyword KeywordOfLength7(const char* p) {
    switch (p[0] | 0x20) {
    case 'c':
        return IsWord(p, "context") ? VhdlKeyword::Context : VhdlKeyword::None;
    case 'g':
        return IsWord(p, "generic") ? VhdlKeyword::Generic : VhdlKeyword::None;
    case 'l':
        return IsWord(p, "library") ? VhdlKeyword::Library : VhdlKeyword::None;
    case 'p':
        return IsWord(p, "package") ? VhdlKeyword::Package
                                    : (IsWord(p, "process") ? VhdlKeyword::Process : VhdlKeyword::None);
    default:
        break;
    }
    return VhdlKeyword::None;
}

// The keywords of 8 letters.
inline VhdlKeyword KeywordOfLength8(const char* p) {
    switch (p[0] | 0x20) {
    case 'c':
        return IsWord(p, "constant") ? VhdlKeyword::Constant : VhdlKeyword::None;
    case 'f':
        return IsWord(p, "function") ? VhdlKeyword::Function : VhdlKeyword::None;
    case 'g':
        return IsWord(p, "generate") ? VhdlKeyword::Generate : VhdlKeyword::None;
    default:
        break;
    }
    return VhdlKeyword::None;
}

// The keywords of 9 letters.
inline VhdlKeyword KeywordOfLength9(const char* p) {
    switch (p[0] | 0x20) {
    case 'c':
        return IsWord(p, "component") ? VhdlKeyword::Component : VhdlKeyword::None;
    case 'p':
        return IsWord(p, "procedure") ? VhdlKeyword::Procedure
                                      : (IsWord(p, "protected") ? VhdlKeyword::Protected : VhdlKeyword::None);
    default:
        break;
    }
    return VhdlKeyword::None;
}
} // namespace detail

// The keyword of an identifier, compared without case; None for any other identifier.
inline VhdlKeyword KeywordOf(std::string_view identifier) {
    const char* p = identifier.data();
    switch (identifier.size()) {
    case 2:
        return detail::KeywordOfLength2(p);
    case 3:
        return detail::KeywordOfLength3(p);
    case 4:
        return detail::KeywordOfLength4(p);
    case 5:
        return detail::KeywordOfLength5(p);
    case 6:
        return detail::KeywordOfLength6(p);
    case 7:
        return detail::KeywordOfLength7(p);
    case 8:
        return detail::KeywordOfLength8(p);
    case 9:
        return detail::KeywordOfLength9(p);
    case 12:
        return detail::IsWord(p, "architecture") ? VhdlKeyword::Architecture : VhdlKeyword::None;
    case 13:
        return detail::IsWord(p, "configuration") ? VhdlKeyword::Configuration : VhdlKeyword::None;
    default:
        return VhdlKeyword::None;
    }
}

enum class TokenKind : std::uint8_t {
    EndOfText,
    Word,         // a basic identifier or reserved word
    ExtendedName, // \like this\.
    Number,       // a decimal or based literal
    String,       // "text" or a bit string's quoted part
    Character,    // 'c'
    Unclosed,     // a string or extended identifier that its line does not close
    Punctuation,  // one character; "=>", ":=" and the like are read one character at a time
};

struct VhdlToken {
    TokenKind kind = TokenKind::EndOfText;
    VhdlKeyword keyword = VhdlKeyword::None;
    std::size_t start = 0;
    std::size_t end = 0; // one past the token's last character
    char c = '\0';       // the character of a Punctuation token

    bool Is(char punctuation) const { return kind == TokenKind::Punctuation && c == punctuation; }
    bool Is(VhdlKeyword word) const { return kind == TokenKind::Word && keyword == word; }
    // An identifier that is not a reserved word, or an extended identifier.
    bool IsName() const {
        return (kind == TokenKind::Word && keyword == VhdlKeyword::None) || kind == TokenKind::ExtendedName;
    }
};

// Reads the tokens of an 8-bit VHDL text held in memory, skipping blanks, "--" comments and
// "/* */" comments. Unlike the scanner it knows string literals (with doubled quotes) and
// character literals, so that quotes, parentheses, semicolons and dashes inside them are not
// taken for code. A tick directly after a name or a closing parenthesis is an attribute tick;
// elsewhere 'c' is a character literal. A NUL character where a token would begin ends the
// text; the scanner's text (cut at its first NUL) is what the readers pass.
class CTokenReader {
public:
    explicit CTokenReader(std::string_view text, std::size_t position = 0);

    std::string_view Text() const { return m_text; }
    std::size_t Position() const { return m_pos; }
    // Continues at position as if a blank came before it.
    void Seek(std::size_t position);

    VhdlToken Next() {
        SkipBlanksAndComments();
        VhdlToken token;
        token.start = m_pos;
        const std::size_t size = m_text.size();
        if (m_pos >= size || m_text[m_pos] == '\0') {
            m_pos = size;
            token.start = size;
            token.end = size;
            return token;
        }
        const char c = m_text[m_pos];
        if (detail::ClassOf(c) == detail::kLetter) {
            std::size_t pos = m_pos + 1;
            while (pos < size && (detail::ClassOf(m_text[pos]) &
                                  (detail::kLetter | detail::kDigit | detail::kUnderscore)) != 0)
                ++pos;
            token.kind = TokenKind::Word;
            token.keyword = KeywordOf(m_text.substr(m_pos, pos - m_pos));
            m_after = After::Word;
            m_pos = pos;
            token.end = pos;
            return token;
        }
        if (c == '\'' && m_pos + 2 < size && m_text[m_pos + 2] == '\'' && !AfterName(token.start)) {
            token.kind = TokenKind::Character;
            m_after = After::Other;
            m_pos += 3;
            token.end = m_pos;
            return token;
        }
        if (IsDigit(c) || c == '"' || c == '\\')
            return Literal(token);
        token.kind = TokenKind::Punctuation;
        token.c = c;
        m_after = (c == ')' || c == ']') ? After::Bracket : After::Other;
        token.end = ++m_pos;
        return token;
    }
    VhdlToken Peek() const {
        CTokenReader copy = *this;
        return copy.Next();
    }
    // Skips blanks and comments; gives the position of the next token (the text's end if none).
    std::size_t NextTokenStart() {
        SkipBlanksAndComments();
        return m_pos;
    }

private:
    enum class After : unsigned char { Other, Word, Bracket };

    void SkipBlanksAndComments() {
        const std::size_t size = m_text.size();
        while (m_pos < size) {
            const char c = m_text[m_pos];
            if (detail::ClassOf(c) == detail::kBlank) {
                ++m_pos;
            } else if (c == '-' && m_pos + 1 < size && m_text[m_pos + 1] == '-') {
                const std::size_t lineFeed = m_text.find('\n', m_pos);
                m_pos = lineFeed == std::string_view::npos ? size : lineFeed;
            } else if (c == '/' && m_pos + 1 < size && m_text[m_pos + 1] == '*') {
                const std::size_t close = m_text.find("*/", m_pos + 2);
                m_pos = close == std::string_view::npos ? size : close + 2;
            } else {
                return;
            }
        }
    }
    // A tick after a name (not a reserved word) or a closing bracket is an attribute tick.
    bool AfterName(std::size_t tick) const;
    VhdlToken Literal(VhdlToken& token);

    std::string_view m_text;
    std::size_t m_pos = 0;
    After m_after = After::Other;
};

} // namespace kestra
