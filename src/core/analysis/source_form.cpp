#include "analysis/source_form.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"

namespace kestra {

namespace {

bool CrLfThroughout(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            return false;
    }
    return true;
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

bool IsToolTypeWord(const std::string& typeMark) {
    const std::string type = ToLowerAscii(typeMark);
    return type == "integer" || type == "type" || type == "std_logic" || type == "file" || type == "note" ||
           type == "string";
}

bool HasComment(std::string_view text, std::size_t from, std::size_t to) {
    return text.substr(from, to - from).find("--") != std::string_view::npos;
}

} // namespace

bool IsToolFormSource(std::string_view text, const std::string& entityName) {
    if (!CrLfThroughout(text) || !IndentedWithTabsOnly(text))
        return false;
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    if (!entity)
        return false;
    std::size_t declarationsStart = entity->afterIs;
    if (entity->generics) {
        const InterfaceList& generics = *entity->generics;
        if (HasComment(text, generics.open, generics.close))
            return false;
        for (const InterfaceDeclaration& declaration : generics.declarations) {
            if (declaration.names.size() != 1 || !IsToolTypeWord(declaration.typeMark) ||
                declaration.typeEnd - declaration.typeStart != declaration.typeMark.size())
                return false;
        }
        declarationsStart = generics.afterEnd;
    }
    if (entity->ports)
        declarationsStart = entity->ports->afterEnd;

    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = declarationsStart;
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end || HasComment(text, declarationsStart, *end))
        return false;
    const auto codeAt = [&scanner](std::size_t pos) {
        scanner.SkipBlanksAndComments(pos);
        return pos;
    };
    for (std::size_t pos = declarationsStart; codeAt(pos) < *end;) {
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
