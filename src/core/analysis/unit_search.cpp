#include "analysis/unit_search.h"

#include "analysis/scanner.h"

namespace kestra {

std::optional<EntityDeclaration> FindEntityDeclaration(const CScanner& scanner, const std::string& name) {
    for (std::size_t from = 0;;) {
        const auto keyword = scanner.FindWordOutsideComments(from, "entity");
        if (!keyword)
            return std::nullopt;
        std::size_t cursor = *keyword + 6;
        from = cursor;
        if (scanner.StartsStatement(*keyword) && SameTextNoCase(scanner.ReadWord(cursor), name))
            return EntityDeclaration{*keyword, cursor};
    }
}

bool SkipParenthesised(const CScanner& scanner, std::size_t& cursor, std::size_t* innerStart,
                       std::size_t* closing) {
    if (scanner.ReadChar(cursor) != '(')
        return false;
    if (innerStart != nullptr)
        *innerStart = cursor;
    for (int depth = 1; depth > 0;) {
        const char c = scanner.ReadChar(cursor);
        if (c == '\0')
            return false;
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
    }
    if (closing != nullptr)
        *closing = cursor - 1;
    return true;
}

} // namespace kestra
