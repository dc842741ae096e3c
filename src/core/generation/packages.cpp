#include "generation/packages.h"

#include "analysis/scanner.h"

namespace kestra {

std::size_t FindContextStart(const CScanner& scanner, std::size_t position, std::size_t textStart) {
    std::size_t current = position;
    while (current > textStart) {
        const auto statement = scanner.StatementStartBefore(current - 1, textStart);
        if (!statement || *statement <= textStart)
            return textStart;
        std::size_t cursor = *statement;
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        // Context references ("context ieee.ieee_std_context;") belong to the clause as well.
        if (word != "library" && word != "use" && word != "context")
            return current;
        current = *statement;
    }
    return textStart;
}

std::string ExtractPackages(const std::string& sourceText, AnalysisContext& context) {
    context.textStart = 0;
    const CScanner scanner(sourceText, &context);
    std::string collected;
    std::size_t searchFrom = 0;
    for (;;) {
        const auto keyword = scanner.FindWordOutsideComments(searchFrom, "package");
        if (!keyword)
            return collected;
        std::size_t cursor = *keyword + 7;
        if (!scanner.StartsStatement(*keyword)) {
            searchFrom = cursor;
            continue;
        }
        const std::size_t unitStart = FindContextStart(scanner, *keyword, 0);
        std::string name = scanner.ReadWord(cursor);
        if (SameTextNoCase(name, "body"))
            name = scanner.ReadWord(cursor);
        if (!SameTextNoCase(scanner.ReadWord(cursor), "is")) {
            context.SetError(AnalysisErrorCode::ExpectedKeywordNotFound, scanner.LineOfPosition(cursor));
            return collected;
        }

        int depth = 1;
        while (depth > 0) {
            const auto begin = scanner.FindWordOutsideComments(cursor, "begin");
            const auto end = scanner.FindWordOutsideComments(cursor, "end");
            if (begin && (!end || *begin < *end)) {
                ++depth;
                cursor = *begin + 5;
                continue;
            }
            if (!end) {
                context.SetError(AnalysisErrorCode::SyntaxError, scanner.LineOfPosition(cursor));
                return collected;
            }
            cursor = *end + 3;
            std::string word = scanner.ReadWord(cursor);
            // "end package [body] name;" closes the unit as "end name;" does.
            if (SameTextNoCase(word, "package")) {
                word = scanner.ReadWord(cursor);
                if (SameTextNoCase(word, "body"))
                    word = scanner.ReadWord(cursor);
                if (word.empty())
                    word = name;
            }
            if (!word.empty()) {
                if (!SameTextNoCase(word, name))
                    continue; // end if, end loop, end record, end function ...
                depth = 1;
            }
            if (scanner.ReadChar(cursor) != ';') {
                context.SetError(AnalysisErrorCode::PunctuationError, scanner.LineOfPosition(cursor));
                return collected;
            }
            --depth;
        }
        collected.append(sourceText, unitStart, cursor - unitStart);
        collected += "\r\n\r\n";
        searchFrom = cursor;
    }
}

} // namespace kestra
