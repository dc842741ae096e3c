#include "analysis/interface_list.h"

#include "analysis/token_reader.h"
#include "text/char_class.h"

namespace kestra {

std::optional<ExpressionSpan> ReadExpression(std::string_view text, std::size_t cursor,
                                             bool stopAtAssignment) {
    CTokenReader reader(text, cursor);
    ExpressionSpan span;
    span.start = reader.NextTokenStart();
    span.end = span.start;
    int depth = 0;
    for (;;) {
        const VhdlToken token = reader.Next();
        if (token.kind == TokenKind::EndOfText)
            break;
        if (token.kind == TokenKind::Unclosed)
            return std::nullopt;
        if (token.kind == TokenKind::Punctuation) {
            // A ';' ends the expression whatever stays open: no expression holds one.
            if (token.c == ';')
                break;
            if (token.c == ')' && depth-- == 0)
                break;
            if (token.c == '(')
                ++depth;
            if (stopAtAssignment && depth == 0 && token.c == ':' && reader.Peek().Is('=') &&
                reader.Peek().start == token.end)
                break;
        }
        span.end = token.end;
    }
    if (span.end == span.start)
        return std::nullopt;
    return span;
}

std::string ExpressionText(std::string_view text, const ExpressionSpan& span) {
    const std::string_view raw = text.substr(span.start, span.end - span.start);
    CTokenReader reader(raw);
    std::string result;
    std::size_t previousEnd = 0;
    bool commented = false;
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        const std::string_view gap = raw.substr(previousEnd, token.start - previousEnd);
        if (gap.find("--") != std::string_view::npos || gap.find("/*") != std::string_view::npos)
            commented = true;
        if (!result.empty() && !gap.empty())
            result += ' ';
        result.append(raw.substr(token.start, token.end - token.start));
        previousEnd = token.end;
    }
    return commented ? result : std::string(raw);
}

std::optional<std::string> SingleStringLiteral(std::string_view text, const ExpressionSpan& span) {
    CTokenReader reader(text, span.start);
    const VhdlToken token = reader.Next();
    if (token.kind != TokenKind::String || token.end != span.end)
        return std::nullopt;
    return std::string(text.substr(token.start + 1, token.end - token.start - 2));
}

} // namespace kestra
