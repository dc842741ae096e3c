#include "diagram/block_text_layout.h"

namespace kestra {

namespace {

enum class CharClass { Lower, Upper, Digit, Other };

CharClass ClassOf(char c) {
    if (c >= 'a' && c <= 'z')
        return CharClass::Lower;
    if (c >= 'A' && c <= 'Z')
        return CharClass::Upper;
    if (c >= '0' && c <= '9')
        return CharClass::Digit;
    return CharClass::Other;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '_' || c == '\t' || c == '\r' || c == '\n';
}

bool IsLetter(CharClass c) {
    return c == CharClass::Lower || c == CharClass::Upper;
}

// A line may end between a and b: lower case before upper case, a letter before anything
// that is no letter or digit, a digit or other character before a letter, a digit before
// another character or the reverse. A letter before a digit is no boundary.
bool IsWordBoundary(char a, char b) {
    const CharClass x = ClassOf(a);
    const CharClass y = ClassOf(b);
    if (x == CharClass::Lower && y == CharClass::Upper)
        return true;
    if (IsLetter(x) && y == CharClass::Other)
        return true;
    if ((x == CharClass::Digit || x == CharClass::Other) && IsLetter(y))
        return true;
    return (x == CharClass::Digit && y == CharClass::Other) ||
           (x == CharClass::Other && y == CharClass::Digit);
}

} // namespace

std::vector<std::string> LayoutBlockText(std::string_view text, int width, int height, int lineHeight,
                                         const TextMeasure& measure) {
    std::vector<std::string> lines;
    const int usable = width - 2;
    const int maxLines = lineHeight > 0 ? height / lineHeight : 0;
    std::string_view rest = text;
    while (static_cast<int>(lines.size()) < maxLines) {
        std::size_t skip = 0;
        while (skip < rest.size() && IsSeparator(rest[skip]))
            ++skip;
        rest.remove_prefix(skip);
        if (rest.empty())
            break;
        if (measure(rest) <= usable) {
            lines.emplace_back(rest);
            break;
        }
        std::size_t fit = 0;
        while (fit < rest.size() && measure(rest.substr(0, fit + 1)) <= usable)
            ++fit;
        if (fit == 0)
            break;
        std::size_t end = fit;
        std::size_t next = fit;
        bool found = false;
        // A separator from the character after the prefix back to the third character.
        for (std::size_t i = fit; i >= 2; --i) {
            if (IsSeparator(rest[i])) {
                end = i;
                next = i + 1;
                found = true;
                break;
            }
        }
        // Else a word boundary, from the pair (last fitting, next) back to (second, third).
        for (std::size_t i = fit; !found && i >= 2; --i) {
            if (IsWordBoundary(rest[i - 1], rest[i])) {
                end = i;
                next = i;
                found = true;
            }
        }
        lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(next);
    }
    return lines;
}

} // namespace kestra
