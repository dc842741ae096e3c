#include "analysis/architecture_reader.h"

#include "analysis/declaration_reader.h"
#include "analysis/entry_index.h"
#include "analysis/reader_support.h"
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

int AnalyzeArchitectureHeader(const CScanner& scanner, std::size_t keyword, ArchitectureHeader& header) {
    const AnalysisContext& context = ReaderContext(scanner);
    // "end architecture" and the like are not headers.
    if (!scanner.StartsStatement(keyword, context.textStart))
        return 0;
    std::size_t pos = keyword + kArchitecture.size();
    std::string name = scanner.ReadWord(pos);
    if (name.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, pos);
        return -1;
    }
    if (!SameTextNoCase(scanner.ReadWord(pos), "of")) {
        RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, pos);
        return -1;
    }
    std::string entityName = scanner.ReadWord(pos);
    if (entityName.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, pos);
        return -1;
    }
    if (!SameTextNoCase(entityName, context.moduleName))
        return 0;
    if (!SameTextNoCase(scanner.ReadWord(pos), "is")) {
        RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, pos);
        return -1;
    }
    header.name = std::move(name);
    header.entityName = std::move(entityName);
    header.declarationsStart = pos;
    return 1;
}

bool FindArchitectureBody(const CScanner& scanner, std::size_t declarationsStart, const std::string& name,
                          ArchitectureBody& body) {
    std::size_t pos = declarationsStart;
    for (;;) {
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word == "begin")
            break;
        if (word == "function") {
            SkipFunctionBody(scanner, pos);
            continue;
        }
        const auto next = scanner.NextStatement(pos);
        if (!next) {
            RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
            return false;
        }
        pos = *next;
    }
    const std::size_t statementsStart = pos;
    for (;;) {
        const auto end = scanner.FindWordOutsideComments(pos, "end");
        if (!end) {
            RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfArchitectureBodyNotFound);
            return false;
        }
        pos = *end + 3;
        std::size_t afterName = pos;
        // The closing name must be spelled exactly as in the header.
        if (scanner.ReadWord(afterName) != name)
            continue;
        const std::size_t semicolon = NextCodePosition(scanner, afterName);
        if (scanner.At(semicolon) != ';') {
            RaiseAt(scanner, AnalysisErrorCode::PunctuationError, semicolon);
            return false;
        }
        body.statementsStart = statementsStart;
        body.endKeyword = *end;
        body.afterName = afterName;
        body.afterSemicolon = semicolon + 1;
        return true;
    }
}

void SkipFunctionBody(const CScanner& scanner, std::size_t& cursor) {
    const std::string name = scanner.ReadIdentifier(cursor);
    for (;;) {
        const auto end = scanner.FindWordOutsideComments(cursor, "end");
        if (!end) {
            cursor = scanner.End();
            return;
        }
        cursor = *end + 3;
        std::size_t pos = cursor;
        if (SameTextNoCase(scanner.ReadIdentifier(pos), name))
            cursor = pos;
        // "end if;", "end loop;" and "end case;" leave the function open.
        if (scanner.ReadChar(cursor) == ';')
            return;
    }
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
    while (const auto keyword = scanner.FindWordOutsideComments(from, kArchitecture)) {
        from = *keyword + kArchitecture.size();
        ArchitectureHeader header;
        const int accepted = AnalyzeArchitectureHeader(scanner, *keyword, header);
        if (accepted < 0)
            return;
        if (accepted == 0)
            continue;
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
