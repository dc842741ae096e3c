#pragma once

#include "text/char_class.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestra {

// Reads the words of one 8-bit VHDL text held in memory: blanks and "--" comments skipped,
// identifiers read whole. The text ends at its first NUL character (or its size); reading at or
// past the end gives NUL. The reader never copies the text and never changes it; a cursor is an
// index into it. The scanner of the analysis builds on it; records use it to check names.
class CWordReader {
public:
    explicit CWordReader(std::string_view text) : m_text(text.substr(0, text.find('\0'))) {}

    std::string_view Text() const { return m_text; }
    std::size_t End() const { return m_text.size(); }
    char At(std::size_t pos) const { return pos < m_text.size() ? m_text[pos] : '\0'; }

    // Moves the cursor past blanks and comments; returns how far it moved.
    std::size_t SkipBlanksAndComments(std::size_t& cursor) const;
    // After blanks and comments, a VHDL basic identifier: a letter, then letters, digits and
    // single underscores, not ending in '_'. Empty when there is none (the cursor then stands
    // where the identifier went wrong).
    std::string ReadIdentifier(std::size_t& cursor) const;
    // After blanks and comments, a value up to ';', an unbalanced ')' or the end, without the
    // blanks at its end; a value in double quotes is given without them. None for an empty
    // value or a misplaced or unclosed double quote.
    [[nodiscard]] std::optional<std::string> ReadValueText(std::size_t& cursor) const;
    // Nothing but blanks and comments from the cursor to the end.
    bool NothingFollows(std::size_t cursor) const;

protected:
    std::string_view m_text;
};

// The whole text is exactly one VHDL basic identifier.
bool IsVhdlIdentifier(std::string_view text);
// One of the reserved words of VHDL-2008 (PSL's included), in any letter case.
bool IsVhdlReservedWord(std::string_view word);
// A name the system gives a module, the project, a parameter or a signal: a VHDL basic
// identifier that is not a reserved word, so that every analyser accepts the VHDL written
// with it.
bool IsUsableVhdlName(std::string_view text);
// Why a typed name is not usable, for the refusal message: empty for a usable name.
std::string VhdlNameProblem(std::string_view text);

} // namespace kestra
