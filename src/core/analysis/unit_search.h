#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kestra {

class CScanner;

// "entity <name>" at a statement start, the name (after a blank) equal to `name` ignoring case.
struct EntityDeclaration {
    std::size_t keyword = 0;
    std::size_t afterName = 0;
};
[[nodiscard]] std::optional<EntityDeclaration> FindEntityDeclaration(const CScanner& scanner,
                                                                     const std::string& name);

// From before a '(' (blanks and comments may come first), moves the cursor past the ')' that
// balances it. Gives the position just after the '(' and that of the ')'. False when the next
// character is not '(' or the text ends first.
[[nodiscard]] bool SkipParenthesised(const CScanner& scanner, std::size_t& cursor,
                                     std::size_t* innerStart = nullptr, std::size_t* closing = nullptr);

} // namespace kestra
