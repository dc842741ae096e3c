#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// One replacement in a text: [start, end) becomes `text`.
struct TextEdit {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string text;
};

// The text with the edits made; they must not overlap (an insertion may share its place with
// the end of another edit).
std::string ApplyTextEdits(std::string_view text, std::vector<TextEdit> edits);

// The start of pos's line, and the position of the line break that ends it (or the text's end).
std::size_t LineStart(std::string_view text, std::size_t pos);
std::size_t LineEnd(std::string_view text, std::size_t pos);
// Only blanks in [from, to).
bool OnlyBlanks(std::string_view text, std::size_t from, std::size_t to);
// Only blanks in [from, to), then optionally a "--" comment that reaches to.
bool OnlyBlanksOrComment(std::string_view text, std::size_t from, std::size_t to);

// The edit that deletes [start, end) with the line it stands on when nothing else is written
// there: the indentation before it, a comment after it and the line break go with it.
TextEdit DeletionOf(std::string_view text, std::size_t start, std::size_t end);

} // namespace kestra
