#pragma once

#include "system/outcome.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

// Whether the text is a VHDL integer literal: decimal (255, 1_000, 1E3) or based (16#FF#,
// 2#1010#E2), without a point or a negative exponent.
bool IsIntegerLiteral(std::string_view text);

// Whether the text can be the value of an integer generic as the tool writes it: a VHDL
// expression of integer literals, names among `visibleNames` (compared ignoring letter case; a
// selected name such as PKG.CONST or WORK.PKG.CONST is found as written or without its library
// prefix), parentheses, the signs and the operators + - * / ** mod rem abs. The reason of a
// failure is a sentence for the user that names what is wrong.
Outcome CheckNumericExpression(std::string_view text, const std::vector<std::string>& visibleNames);

} // namespace kestra
