#include "text/text_edits.h"

#include "text/char_class.h"

#include <algorithm>

namespace kestra {

std::string ApplyTextEdits(std::string_view text, std::vector<TextEdit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TextEdit& a, const TextEdit& b) { return a.start < b.start; });
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (const TextEdit& edit : edits) {
        const std::size_t start = std::max(edit.start, copied);
        result.append(text.substr(copied, start - copied));
        result += edit.text;
        copied = std::max(edit.end, start);
    }
    result.append(text.substr(std::min(copied, text.size())));
    return result;
}

std::size_t LineStart(std::string_view text, std::size_t pos) {
    pos = std::min(pos, text.size());
    while (pos > 0 && !IsLineBreak(text[pos - 1]))
        --pos;
    return pos;
}

std::size_t LineEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && !IsLineBreak(text[pos]))
        ++pos;
    return pos;
}

bool OnlyBlanks(std::string_view text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < text.size(); ++i) {
        if (!IsBlank(text[i]))
            return false;
    }
    return true;
}

bool OnlyBlanksOrComment(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t i = from;
    while (i < to && i < text.size() && IsBlank(text[i]))
        ++i;
    return i >= to || (i + 1 < text.size() && text[i] == '-' && text[i + 1] == '-');
}

TextEdit DeletionOf(std::string_view text, std::size_t start, std::size_t end) {
    const std::size_t lineStart = LineStart(text, start);
    const std::size_t lineEnd = LineEnd(text, end);
    if (!OnlyBlanks(text, lineStart, start) || !OnlyBlanksOrComment(text, end, lineEnd))
        return {start, end, ""};
    std::size_t after = lineEnd;
    if (after < text.size() && text[after] == '\r')
        ++after;
    if (after < text.size() && text[after] == '\n')
        ++after;
    return {lineStart, after, ""};
}

} // namespace kestra
