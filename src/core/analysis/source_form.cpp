#include "analysis/source_form.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"

#include <algorithm>

namespace kestra {

namespace {

bool CrLfThroughout(std::string_view text) {
    std::size_t lineFeeds = 0;
    for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
        if (i == 0 || text[i - 1] != '\r')
            return false;
        ++lineFeeds;
    }
    // Every line feed follows a carriage return; no carriage return may stand alone.
    std::size_t carriageReturns = 0;
    for (std::size_t i = text.find('\r'); i != std::string_view::npos; i = text.find('\r', i + 1))
        ++carriageReturns;
    return carriageReturns == lineFeeds;
}

bool IndentedWithTabsOnly(std::string_view text) {
    if (!text.empty() && text[0] == ' ')
        return false;
    for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
        if (i + 1 < text.size() && text[i + 1] == ' ')
            return false;
    }
    return true;
}

bool IsToolTypeWord(std::string_view typeMark) {
    const std::string_view words[] = {"integer", "type", "std_logic", "file", "note", "string"};
    return std::any_of(std::begin(words), std::end(words),
                       [typeMark](std::string_view word) { return SameTextNoCase(typeMark, word); });
}

bool HasComment(std::string_view text, std::size_t from, std::size_t to) {
    return text.substr(from, to - from).find("--") != std::string_view::npos;
}

// The entity's part of the rule: its generic clause and its declarative part [start, end).
bool ToolFormEntity(std::string_view text, const std::optional<InterfaceList>& genericClause,
                    std::size_t start, std::size_t end) {
    if (genericClause) {
        const InterfaceList& generics = *genericClause;
        if (HasComment(text, generics.open, generics.close))
            return false;
        for (const InterfaceDeclaration& declaration : generics.declarations) {
            if (declaration.names.size() != 1 || !IsToolTypeWord(declaration.typeMark) ||
                declaration.typeEnd - declaration.typeStart != declaration.typeMark.size())
                return false;
        }
    }
    if (end < start || HasComment(text, start, end))
        return false;
    AnalysisContext context;
    const CScanner scanner(text, &context);
    const auto codeAt = [&scanner](std::size_t pos) {
        scanner.SkipBlanksAndComments(pos);
        return pos;
    };
    for (std::size_t pos = start; codeAt(pos) < end;) {
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word != "type" && word != "constant")
            return false;
        const auto next = scanner.NextStatement(pos);
        if (!next)
            break;
        pos = *next;
    }
    return true;
}

} // namespace

bool IsToolFormSource(std::string_view text, const std::string& entityName) {
    if (!CrLfThroughout(text) || !IndentedWithTabsOnly(text))
        return false;
    const std::optional<EntityLayout> entity = ReadEntityLayout(text, entityName);
    return entity &&
           ToolFormEntity(text, entity->generics, entity->declarationsStart, entity->declarationsEnd);
}

bool IsToolFormSource(std::string_view text, const EntityLayout& entity) {
    return CrLfThroughout(text) && IndentedWithTabsOnly(text) &&
           ToolFormEntity(text, entity.generics, entity.declarationsStart, entity.declarationsEnd);
}

bool IsToolFormSource(std::string_view text, const EntityInterface& entity) {
    if (!CrLfThroughout(text) || !IndentedWithTabsOnly(text))
        return false;
    const std::optional<EntityDeclarativePart> part = FindEntityDeclarativePart(text, entity);
    return part && ToolFormEntity(text, entity.generics, part->start, part->end);
}

std::string LineEndOf(std::string_view text) {
    const std::size_t lineFeed = text.find('\n');
    if (lineFeed != std::string_view::npos && (lineFeed == 0 || text[lineFeed - 1] != '\r'))
        return "\n";
    return "\r\n";
}

std::string WithLineEnds(std::string_view text, const std::string& lineEnd) {
    if (lineEnd == "\r\n")
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

} // namespace kestra
