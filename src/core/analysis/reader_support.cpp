#include "analysis/reader_support.h"

#include <array>
#include <cassert>

namespace kestra {

AnalysisContext& ReaderContext(const CScanner& scanner) {
    assert(scanner.Context() != nullptr && "analysis readers need a scanner with a context");
    return *scanner.Context();
}

bool ReaderFailed(const CScanner& scanner) {
    return ReaderContext(scanner).HasError();
}

void RaiseAt(const CScanner& scanner, AnalysisErrorCode code, std::size_t pos) {
    ReaderContext(scanner).SetError(code, scanner.LineOfPosition(pos));
}

void RaiseWithoutLine(const CScanner& scanner, AnalysisErrorCode code) {
    ReaderContext(scanner).SetError(code, 0);
}

std::size_t NextCodePosition(const CScanner& scanner, std::size_t cursor) {
    scanner.SkipBlanksAndComments(cursor);
    return cursor;
}

bool SkipWordIf(const CScanner& scanner, std::size_t& cursor, std::string_view word) {
    const std::size_t start = NextCodePosition(scanner, cursor);
    std::size_t end = start;
    while (IsIdentifierChar(scanner.At(end)))
        ++end;
    if (end == start || !IsLetter(scanner.At(start)) ||
        !SameTextNoCase(scanner.Text().substr(start, end - start), word))
        return false;
    cursor = end;
    return true;
}

std::string ReadValueOrRaise(const CScanner& scanner, std::size_t& cursor, AnalysisErrorCode code) {
    AnalysisContext& context = ReaderContext(scanner);
    const bool hadError = context.HasError();
    std::string value = scanner.ReadValue(cursor);
    if (!value.empty() && !context.HasError())
        return value;
    if (!hadError) {
        // ReadValue reports its own code without a line; the reader decides what the user sees.
        context.errorCode = code;
        context.errorLine = scanner.LineOfPosition(cursor);
    }
    return {};
}

bool IsBuiltInDataType(std::string_view typeWord) {
    static constexpr std::array<std::string_view, 13> kBuiltIn = {
        "std_logic", "std_logic_vector", "signed",   "unsigned", "boolean",    "bit",        "character",
        "integer",   "natural",          "positive", "string",   "bit_vector", "std_ulogic",
    };
    for (const std::string_view builtIn : kBuiltIn) {
        if (SameTextNoCase(typeWord, builtIn))
            return true;
    }
    return false;
}

bool IsPortMode(std::string_view loweredWord) {
    return loweredWord == "in" || loweredWord == "out" || loweredWord == "inout" || loweredWord == "buffer" ||
           loweredWord == "linkage";
}

} // namespace kestra
