#include "analysis/architecture_reader.h"

#include "analysis/declaration_reader.h"
#include "analysis/entry_index.h"
#include "analysis/reader_support.h"
#include "analysis/structure_walker.h"
#include "model/design_object.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestra {

namespace {

constexpr std::string_view kArchitecture = "architecture";

struct ArchitectureRecord {
    std::string entityName;
    std::string name;
};

// Appends one architecture choice per entity (spelled exactly alike) that has two or more
// architectures, in the order of each entity's first architecture.
void AddArchitectureChoices(CEntryIndex& entries, const std::vector<ArchitectureRecord>& records) {
    std::vector<std::vector<std::string>> groups;
    std::vector<const std::string*> groupEntities;
    std::unordered_map<std::string_view, std::size_t> groupOf;
    for (const ArchitectureRecord& record : records) {
        const auto [found, added] = groupOf.emplace(record.entityName, groups.size());
        if (added) {
            groups.emplace_back();
            groupEntities.push_back(&record.entityName);
        }
        groups[found->second].push_back(record.name);
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].size() < 2)
            continue;
        const int index = entries.Append(EntryKind::Architecture, *groupEntities[i], groups[i].front(), true);
        if (index >= 0)
            entries.Object()->SetChoiceList(index, &groups[i]);
    }
}

} // namespace

HeaderFit AnalyzeArchitectureHeader(const CScanner& scanner, std::size_t keyword,
                                    ArchitectureHeader& header) {
    const AnalysisContext& context = ReaderContext(scanner);
    // "end architecture" and the like are not headers.
    if (!scanner.StartsStatement(keyword, context.textStart))
        return HeaderFit::Other;
    std::size_t pos = keyword + kArchitecture.size();
    std::string name = scanner.ReadWord(pos);
    if (name.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, pos);
        return HeaderFit::Malformed;
    }
    if (!SameTextNoCase(scanner.ReadWord(pos), "of")) {
        RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, pos);
        return HeaderFit::Malformed;
    }
    std::string entityName = scanner.ReadWord(pos);
    if (entityName.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, pos);
        return HeaderFit::Malformed;
    }
    if (!SameTextNoCase(entityName, context.moduleName))
        return HeaderFit::Other;
    if (!SameTextNoCase(scanner.ReadWord(pos), "is")) {
        RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, pos);
        return HeaderFit::Malformed;
    }
    header.name = std::move(name);
    header.entityName = std::move(entityName);
    header.keyword = keyword;
    header.declarationsStart = pos;
    return HeaderFit::Module;
}

HeaderSearch NextArchitectureHeader(const CScanner& scanner, std::size_t& from, ArchitectureHeader& header) {
    while (const auto keyword = scanner.FindWordOutsideComments(from, kArchitecture)) {
        from = *keyword + kArchitecture.size();
        const HeaderFit fit = AnalyzeArchitectureHeader(scanner, *keyword, header);
        if (fit == HeaderFit::Malformed)
            return HeaderSearch::Malformed;
        if (fit == HeaderFit::Module)
            return HeaderSearch::Found;
    }
    return HeaderSearch::NoMore;
}

namespace {

// The "begin" that ends a declarative part, found item by item: subprogram bodies, and the types,
// components and local packages that can hold an "end" of their own, are passed over by their
// nesting; any other item ends at its ';'. None when the text ends first.
std::optional<std::size_t> DeclarativePartEnd(const CScanner& scanner, std::size_t pos) {
    for (;;) {
        scanner.SkipBlanksAndComments(pos);
        const std::size_t itemStart = pos;
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word == "begin")
            return pos;
        if (word == "pure" || word == "impure")
            scanner.ReadIdentifier(pos);
        if (word == "function" || word == "procedure" || word == "pure" || word == "impure") {
            pos = SkipSubprogram(scanner.Text(), pos);
            continue;
        }
        if (word == "type" || word == "component" || word == "package") {
            const StructureStop stop = WalkStructure(scanner.Text(), itemStart, StructureScope::Item);
            if (stop.what == StructureStop::What::Semicolon) {
                pos = stop.position + 1;
                continue;
            }
        }
        const auto next = scanner.NextStatement(pos);
        if (!next)
            return std::nullopt;
        pos = *next;
    }
}

// The first "begin" at the start of a declaration, passing over function bodies: how the
// declarative part was walked before its nesting was followed, kept for text whose nesting
// cannot be followed.
std::optional<std::size_t> FirstBeginOfADeclaration(const CScanner& scanner, std::size_t pos) {
    for (;;) {
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word == "begin")
            return pos;
        if (word == "function") {
            SkipFunctionBody(scanner, pos);
            continue;
        }
        const auto next = scanner.NextStatement(pos);
        if (!next)
            return std::nullopt;
        pos = *next;
    }
}

// Whether pos stands inside a string literal: an odd number of double quotes before it on its
// line, outside comments. Lines are read back at most a few thousand characters; beyond that
// the position counts as code.
bool InString(const CScanner& scanner, std::size_t pos) {
    constexpr std::size_t kLongestLineRead = 4096;
    std::size_t lineStart = pos;
    while (lineStart > 0 && pos - lineStart < kLongestLineRead && !IsLineBreak(scanner.At(lineStart - 1)))
        --lineStart;
    if (lineStart > 0 && !IsLineBreak(scanner.At(lineStart - 1)))
        return false;
    bool inside = false;
    for (std::size_t i = lineStart; i < pos; ++i) {
        const char c = scanner.At(i);
        if (c == '"')
            inside = !inside;
        else if (!inside && c == '-' && scanner.At(i + 1) == '-')
            return false;
    }
    return inside;
}

// The common case, found as fast as a word search: the first "end <name>" or
// "end architecture [<name>]" after the statement part's start, when no "end;" comes before it
// (such an "end" may close a subprogram in a process, or the architecture itself, which only
// the nesting can tell).
std::optional<StructureStop> NamedClosing(const CScanner& scanner, std::size_t from,
                                          const std::string& name) {
    for (std::size_t pos = from;;) {
        const auto end = scanner.FindWordOutsideComments(pos, "end");
        if (!end)
            return std::nullopt;
        pos = *end + 3;
        std::size_t after = pos;
        const std::string word = scanner.ReadWord(after);
        if (word.empty()) {
            if (scanner.At(NextCodePosition(scanner, pos)) == ';' && !InString(scanner, *end))
                return std::nullopt;
            continue;
        }
        const bool keyword = SameTextNoCase(word, "architecture");
        if ((!keyword && !SameTextNoCase(word, name)) || InString(scanner, *end))
            continue;
        StructureStop stop;
        stop.what = StructureStop::What::End;
        stop.position = *end;
        stop.afterWords = after;
        stop.named = true;
        if (keyword) {
            std::size_t afterName = after;
            if (SameTextNoCase(scanner.ReadWord(afterName), name))
                stop.afterWords = afterName;
        }
        const std::size_t semicolon = NextCodePosition(scanner, stop.afterWords);
        if (scanner.At(semicolon) == ';')
            stop.semicolon = semicolon;
        return stop;
    }
}

} // namespace

bool FindArchitectureBody(const CScanner& scanner, std::size_t declarationsStart, const std::string& name,
                          ArchitectureBody& body) {
    const StructureUnit unit{"architecture", name};
    std::optional<std::size_t> statementsStart = DeclarativePartEnd(scanner, declarationsStart);
    if (!statementsStart)
        statementsStart = FirstBeginOfADeclaration(scanner, declarationsStart);
    if (!statementsStart) {
        RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
        return false;
    }
    std::optional<StructureStop> named = NamedClosing(scanner, *statementsStart, name);
    StructureStop end =
        named ? *named : WalkStructure(scanner.Text(), *statementsStart, StructureScope::Statements, unit);
    if (end.what != StructureStop::What::End) {
        // The nesting could not be followed to the end: the unit ends with the last closing
        // before the next design unit.
        const std::optional<StructureStop> last =
            LastClosingBeforeNextUnit(scanner.Text(), *statementsStart, unit);
        if (!last) {
            RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
            return false;
        }
        end = *last;
    }
    if (!end.semicolon) {
        RaiseAt(scanner, AnalysisErrorCode::PunctuationError, NextCodePosition(scanner, end.afterWords));
        return false;
    }
    body.statementsStart = *statementsStart;
    body.endKeyword = end.position;
    body.afterName = end.afterWords;
    body.afterSemicolon = *end.semicolon + 1;
    return true;
}

void SkipFunctionBody(const CScanner& scanner, std::size_t& cursor) {
    cursor = SkipSubprogram(scanner.Text(), cursor);
}

void AnalyzeArchitectures(const CScanner& scanner, CEntryIndex& entries, const ArchitectureOptions& options) {
    if (ReaderFailed(scanner))
        return;
    ReaderContext(scanner).textStart = 0;
    // Each architecture is walked from its header to its closing name; in a sound text these
    // stretches do not overlap, so the walks together cover about the text twice. Headers that
    // stand inside other architectures make the stretches overlap, and crafted text could make
    // the walks cover it once per header; past this bound the bodies count as not found.
    const std::size_t walkBudget = 16 * scanner.End() + (1u << 20);
    std::size_t walked = 0;
    std::vector<ArchitectureRecord> records;
    std::size_t from = 0;
    ArchitectureHeader header;
    for (;;) {
        const HeaderSearch search = NextArchitectureHeader(scanner, from, header);
        if (search == HeaderSearch::Malformed)
            return;
        if (search == HeaderSearch::NoMore)
            break;
        ArchitectureBody body;
        if (!FindArchitectureBody(scanner, header.declarationsStart, header.name, body))
            return;
        records.push_back({header.entityName, header.name});
        std::size_t cursor = header.declarationsStart;
        AnalyzeDeclarationList(scanner, DeclarationMode::ArchitectureDeclarations, cursor, entries, nullptr);
        if (ReaderFailed(scanner))
            return;
        walked += (body.afterSemicolon - header.declarationsStart) + (cursor - header.declarationsStart);
        if (walked > walkBudget) {
            RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
            return;
        }
    }
    if (records.empty()) {
        RaiseWithoutLine(scanner, AnalysisErrorCode::ArchitectureBodyNotFound);
        return;
    }
    AddArchitectureChoices(entries, records);
    if (options.refreshComponents)
        options.refreshComponents(scanner);
}

void AnalyzeArchitectures(const CScanner& scanner, CKSTObject* object, const ArchitectureOptions& options) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    AnalyzeArchitectures(scanner, entries, options);
}

} // namespace kestra
