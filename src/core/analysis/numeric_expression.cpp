#include "analysis/numeric_expression.h"

#include "text/char_class.h"
#include "text/word_reader.h"

#include <algorithm>
#include <optional>

namespace kestra {

namespace {

// digit {[_] digit} in the base, from cursor; false when there is none or an underscore is
// misplaced.
bool ReadDigits(std::string_view text, std::size_t& cursor, int base) {
    const auto value = [](char c) {
        if (IsDigit(c))
            return c - '0';
        return IsLetter(c) ? LowerAscii(c) - 'a' + 10 : 99;
    };
    const std::size_t start = cursor;
    while (cursor < text.size()) {
        const char c = text[cursor];
        if (c == '_' && cursor > start && cursor + 1 < text.size() && value(text[cursor + 1]) < base) {
            ++cursor;
            continue;
        }
        if (value(c) >= base)
            break;
        ++cursor;
    }
    return cursor > start && text[cursor - 1] != '_';
}

int BaseOf(std::string_view digits) {
    int base = 0;
    for (const char c : digits) {
        if (c == '_')
            continue;
        base = base * 10 + (c - '0');
        if (base > 16)
            return 0;
    }
    return base;
}

const char* const kNumericValueParts =
    "a numeric value is made of numbers, names the module can see, parentheses and the operators "
    "+ - * / ** mod rem abs.";

// One token of a numeric value.
struct NumericToken {
    enum class Kind { End, Number, Name, Operator, Open, Close, Other } kind = Kind::End;
    std::string text;
};

// Reads and checks a numeric value by recursive descent over VHDL's simple expression:
// [sign] term {(+|-) term}; term: factor {(*|/|mod|rem) factor}; factor: primary [** primary] |
// abs primary; primary: number | name | ( expression ).
class CNumericValueCheck {
public:
    CNumericValueCheck(std::string_view text, const std::vector<std::string>& names)
        : m_text(text), m_names(names) {}

    Outcome Check() {
        Advance();
        Expression();
        if (!m_problem.empty())
            return Outcome::Failed(m_problem);
        if (m_token.kind == NumericToken::Kind::Close)
            return Outcome::Failed("\")\" has no \"(\" before it.");
        if (m_token.kind != NumericToken::Kind::End)
            return Outcome::Failed(Misplaced());
        return Outcome::Ok();
    }

private:
    bool Failing() const { return !m_problem.empty(); }

    void Expression() {
        if (IsOperator("+") || IsOperator("-"))
            Advance();
        Term();
        while (!Failing() && (IsOperator("+") || IsOperator("-"))) {
            Advance();
            Term();
        }
    }

    void Term() {
        Factor();
        while (!Failing() && (IsOperator("*") || IsOperator("/") || IsOperator("mod") || IsOperator("rem"))) {
            Advance();
            Factor();
        }
    }

    void Factor() {
        if (IsOperator("abs")) {
            Advance();
            Primary();
            return;
        }
        Primary();
        if (!Failing() && IsOperator("**")) {
            Advance();
            Primary();
        }
    }

    void Primary() {
        switch (m_token.kind) {
        case NumericToken::Kind::Number:
            if (!IsIntegerLiteral(m_token.text))
                Fail("\"" + m_token.text + "\" is not a VHDL integer literal (such as 255, 16#FF# or 1E3).");
            Advance();
            return;
        case NumericToken::Kind::Name:
            if (!IsVisible(m_token.text))
                Fail("\"" + m_token.text +
                     "\" is no name this value can use: a generic declared before this one, or a "
                     "constant of a package the module uses.");
            Advance();
            return;
        case NumericToken::Kind::Open:
            // The reader recurses once per parenthesis.
            if (++m_depth > kMaxDepth) {
                Fail("parentheses nest more than " + std::to_string(kMaxDepth) + " deep.");
                return;
            }
            Advance();
            Expression();
            --m_depth;
            if (Failing())
                return;
            if (m_token.kind != NumericToken::Kind::Close) {
                Fail(m_token.kind == NumericToken::Kind::End ? std::string("a \"(\" is not closed.")
                                                             : Misplaced());
                return;
            }
            Advance();
            return;
        case NumericToken::Kind::End:
            Fail(std::string("a number or a name is missing at the end; ") + kNumericValueParts);
            return;
        default:
            Fail(Misplaced());
            return;
        }
    }

    std::string Misplaced() const {
        return "\"" + m_token.text + "\" cannot stand there: " + kNumericValueParts;
    }

    void Fail(std::string problem) {
        if (m_problem.empty())
            m_problem = std::move(problem);
    }

    bool IsOperator(const char* word) const {
        return m_token.kind == NumericToken::Kind::Operator && SameTextNoCase(m_token.text, word);
    }

    bool IsVisible(const std::string& name) const {
        const auto found = [this](std::string_view candidate) {
            return std::any_of(m_names.begin(), m_names.end(), [candidate](const std::string& visible) {
                return SameTextNoCase(visible, candidate);
            });
        };
        if (found(name))
            return true;
        // WORK.PKG.CONST: the library prefix names the project's own library.
        const std::size_t firstDot = name.find('.');
        return firstDot != std::string::npos && name.find('.', firstDot + 1) != std::string::npos &&
               found(std::string_view(name).substr(firstDot + 1));
    }

    void Advance();

    static constexpr int kMaxDepth = 100;

    std::string_view m_text;
    const std::vector<std::string>& m_names;
    int m_depth = 0;
    std::size_t m_cursor = 0;
    NumericToken m_token;
    std::string m_problem;
};

// The extent of a number: digits, letters, '_', '#', '.', and a sign right after an exponent's E.
std::size_t NumberEnd(std::string_view text, std::size_t start) {
    std::size_t pos = start + 1;
    while (pos < text.size()) {
        const char c = text[pos];
        const bool sign = (c == '+' || c == '-') && LowerAscii(text[pos - 1]) == 'e' &&
                          std::count(text.begin() + static_cast<std::ptrdiff_t>(start),
                                     text.begin() + static_cast<std::ptrdiff_t>(pos), '#') != 1;
        if (!IsIdentifierChar(c) && c != '#' && c != '.' && !sign)
            break;
        ++pos;
    }
    return pos;
}

// The extent of a name: identifiers joined by '.'.
std::size_t NameEnd(std::string_view text, std::size_t start) {
    std::size_t pos = start;
    for (;;) {
        while (pos < text.size() && IsIdentifierChar(text[pos]))
            ++pos;
        if (pos + 1 < text.size() && text[pos] == '.' && IsLetter(text[pos + 1])) {
            ++pos;
            continue;
        }
        return pos;
    }
}

void CNumericValueCheck::Advance() {
    while (m_cursor < m_text.size() && IsBlank(m_text[m_cursor]))
        ++m_cursor;
    m_token = {};
    if (m_cursor >= m_text.size())
        return;
    const std::size_t start = m_cursor;
    const char c = m_text[start];
    if (IsDigit(c)) {
        m_cursor = NumberEnd(m_text, start);
        m_token.kind = NumericToken::Kind::Number;
    } else if (IsLetter(c)) {
        m_cursor = NameEnd(m_text, start);
        const std::string_view word = m_text.substr(start, m_cursor - start);
        const bool op =
            SameTextNoCase(word, "mod") || SameTextNoCase(word, "rem") || SameTextNoCase(word, "abs");
        const bool name = word.find('.') != std::string_view::npos || IsUsableVhdlName(word);
        m_token.kind = op     ? NumericToken::Kind::Operator
                       : name ? NumericToken::Kind::Name
                              : NumericToken::Kind::Other;
    } else if (c == '*' && m_cursor + 1 < m_text.size() && m_text[m_cursor + 1] == '*') {
        m_cursor += 2;
        m_token.kind = NumericToken::Kind::Operator;
    } else {
        ++m_cursor;
        m_token.kind = c == '('                                         ? NumericToken::Kind::Open
                       : c == ')'                                       ? NumericToken::Kind::Close
                       : (c == '+' || c == '-' || c == '*' || c == '/') ? NumericToken::Kind::Operator
                                                                        : NumericToken::Kind::Other;
    }
    m_token.text = std::string(m_text.substr(start, m_cursor - start));
}

} // namespace

bool IsIntegerLiteral(std::string_view text) {
    std::size_t cursor = 0;
    if (!ReadDigits(text, cursor, 10))
        return false;
    if (cursor < text.size() && text[cursor] == '#') {
        const int base = BaseOf(text.substr(0, cursor));
        if (base < 2 || base > 16)
            return false;
        ++cursor;
        if (!ReadDigits(text, cursor, base) || cursor >= text.size() || text[cursor] != '#')
            return false;
        ++cursor;
    }
    if (cursor < text.size() && LowerAscii(text[cursor]) == 'e') {
        ++cursor;
        if (cursor < text.size() && text[cursor] == '+')
            ++cursor;
        if (!ReadDigits(text, cursor, 10))
            return false;
    }
    return cursor == text.size();
}

Outcome CheckNumericExpression(std::string_view text, const std::vector<std::string>& visibleNames) {
    return CNumericValueCheck(text, visibleNames).Check();
}

} // namespace kestra
