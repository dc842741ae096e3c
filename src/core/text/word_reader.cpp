#include "text/word_reader.h"

#include <algorithm>
#include <array>

namespace kestra {

std::size_t CWordReader::SkipBlanksAndComments(std::size_t& cursor) const {
    const std::size_t start = cursor;
    for (;;) {
        while (cursor < End() && IsBlank(m_text[cursor]))
            ++cursor;
        if (At(cursor) == '-' && At(cursor + 1) == '-') {
            const std::size_t lineFeed = m_text.find('\n', cursor);
            cursor = lineFeed == std::string_view::npos ? End() : lineFeed;
            continue;
        }
        break;
    }
    return cursor - start;
}

std::string CWordReader::ReadIdentifier(std::size_t& cursor) const {
    SkipBlanksAndComments(cursor);
    if (!IsLetter(At(cursor)))
        return {};
    const std::size_t start = cursor;
    std::size_t pos = cursor + 1;
    while (IsIdentifierChar(At(pos))) {
        if (m_text[pos] == '_' && At(pos + 1) == '_') {
            cursor = pos;
            return {};
        }
        ++pos;
    }
    cursor = pos;
    if (m_text[pos - 1] == '_')
        return {};
    return std::string(m_text.substr(start, pos - start));
}

bool CWordReader::NothingFollows(std::size_t cursor) const {
    SkipBlanksAndComments(cursor);
    return cursor >= End();
}

std::optional<std::string> CWordReader::ReadValueText(std::size_t& cursor) const {
    SkipBlanksAndComments(cursor);
    const std::size_t start = cursor;
    std::size_t pos = start;
    std::size_t stop = End();
    bool quoted = false;
    int depth = 0;
    for (;;) {
        SkipBlanksAndComments(pos);
        if (pos >= End()) {
            stop = End();
            break;
        }
        const char c = m_text[pos];
        if (c == '"') {
            if (pos != start)
                return std::nullopt;
            const std::size_t closing = m_text.find('"', pos + 1);
            if (closing == std::string_view::npos)
                return std::nullopt;
            quoted = true;
            stop = closing;
            break;
        }
        if (c == ';') {
            stop = pos;
            break;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth < 0) {
            stop = pos;
            break;
        }
        ++pos;
    }

    const std::size_t valueStart = quoted ? start + 1 : start;
    std::size_t valueEnd = stop;
    while (valueEnd > valueStart && IsBlank(m_text[valueEnd - 1]))
        --valueEnd;
    cursor = valueEnd;
    if (At(cursor) == '"')
        ++cursor;
    if (valueEnd == valueStart)
        return std::nullopt;
    return std::string(m_text.substr(valueStart, valueEnd - valueStart));
}

bool IsVhdlIdentifier(std::string_view text) {
    const CWordReader reader(text);
    std::size_t cursor = 0;
    return !text.empty() && reader.ReadIdentifier(cursor) == text;
}

namespace {

// Sorted for the binary search.
constexpr std::array<std::string_view, 115> kReservedWords = {"abs",
                                                              "access",
                                                              "after",
                                                              "alias",
                                                              "all",
                                                              "and",
                                                              "architecture",
                                                              "array",
                                                              "assert",
                                                              "assume",
                                                              "assume_guarantee",
                                                              "attribute",
                                                              "begin",
                                                              "block",
                                                              "body",
                                                              "buffer",
                                                              "bus",
                                                              "case",
                                                              "component",
                                                              "configuration",
                                                              "constant",
                                                              "context",
                                                              "cover",
                                                              "default",
                                                              "disconnect",
                                                              "downto",
                                                              "else",
                                                              "elsif",
                                                              "end",
                                                              "entity",
                                                              "exit",
                                                              "fairness",
                                                              "file",
                                                              "for",
                                                              "force",
                                                              "function",
                                                              "generate",
                                                              "generic",
                                                              "group",
                                                              "guarded",
                                                              "if",
                                                              "impure",
                                                              "in",
                                                              "inertial",
                                                              "inout",
                                                              "is",
                                                              "label",
                                                              "library",
                                                              "linkage",
                                                              "literal",
                                                              "loop",
                                                              "map",
                                                              "mod",
                                                              "nand",
                                                              "new",
                                                              "next",
                                                              "nor",
                                                              "not",
                                                              "null",
                                                              "of",
                                                              "on",
                                                              "open",
                                                              "or",
                                                              "others",
                                                              "out",
                                                              "package",
                                                              "parameter",
                                                              "port",
                                                              "postponed",
                                                              "procedure",
                                                              "process",
                                                              "property",
                                                              "protected",
                                                              "pure",
                                                              "range",
                                                              "record",
                                                              "register",
                                                              "reject",
                                                              "release",
                                                              "rem",
                                                              "report",
                                                              "restrict",
                                                              "restrict_guarantee",
                                                              "return",
                                                              "rol",
                                                              "ror",
                                                              "select",
                                                              "sequence",
                                                              "severity",
                                                              "shared",
                                                              "signal",
                                                              "sla",
                                                              "sll",
                                                              "sra",
                                                              "srl",
                                                              "strong",
                                                              "subtype",
                                                              "then",
                                                              "to",
                                                              "transport",
                                                              "type",
                                                              "unaffected",
                                                              "units",
                                                              "until",
                                                              "use",
                                                              "variable",
                                                              "vmode",
                                                              "vprop",
                                                              "vunit",
                                                              "wait",
                                                              "when",
                                                              "while",
                                                              "with",
                                                              "xnor",
                                                              "xor"};

} // namespace

bool IsVhdlReservedWord(std::string_view word) {
    if (word.size() > 18) // "restrict_guarantee" is the longest
        return false;
    const std::string lower = ToLowerAscii(word);
    return std::binary_search(kReservedWords.begin(), kReservedWords.end(), std::string_view(lower));
}

bool IsUsableVhdlName(std::string_view text) {
    return IsVhdlIdentifier(text) && !IsVhdlReservedWord(text);
}

std::string VhdlNameProblem(std::string_view text) {
    if (!IsVhdlIdentifier(text))
        return "a VHDL identifier begins with a letter and holds letters, digits and single underscores.";
    if (IsVhdlReservedWord(text))
        return "\"" + std::string(text) + "\" is a VHDL reserved word.";
    return {};
}

} // namespace kestra
