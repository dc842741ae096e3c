#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// Width in pixels of a text in the font the block is drawn with.
using TextMeasure = std::function<int(std::string_view)>;

// The lines a block shows its text in: at most height / lineHeight lines, each at most
// width - 2 pixels wide. Lines break at a separator (space, "_", tab, CR, LF), else at a word
// boundary between character classes (lower case to upper case, letter to other, digit or
// other to letter, digit to other and back), else where the width ends.
std::vector<std::string> LayoutBlockText(std::string_view text, int width, int height, int lineHeight,
                                         const TextMeasure& measure);

} // namespace kestra
