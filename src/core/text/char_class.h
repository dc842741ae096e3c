#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// Character classes and letter case of 8-bit VHDL text. Only ASCII letters have a case; every
// other byte compares and converts as itself.

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
inline bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}
inline bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsIdentifierChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}
inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameTextNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);

// The text without the blanks (IsBlank) at both ends.
std::string_view TrimBlanks(std::string_view text);
// The lines of a text without their line ends (LF, or CR LF); a text ending in a line end has
// no empty last line.
std::vector<std::string_view> TextLines(std::string_view text);

} // namespace kestra
