#pragma once

#include <string>
#include <string_view>

namespace kestra {

class CKSTObject;

// Replaces every whole-word occurrence of `word` (ASCII case-insensitive; the characters on both
// sides are not identifier characters) by `replacement`, left to right, in one pass over the text.
// With skipComments, occurrences after "--" on the same line are left alone.
std::string ReplaceWholeWord(std::string_view text, std::string_view word, std::string_view replacement,
                             bool skipComments);

// Renames a design unit: the name itself, then name + "_arch", then "U_" + name.
void RenameUnit(std::string& text, std::string_view oldName, std::string_view newName, bool skipComments);

// Puts the values of DataType and Logic parameters in place of their names outside comments;
// for DataType parameters also "CONV_" + name.
void SubstituteTypeParameters(std::string& text, const CKSTObject& object);

} // namespace kestra
