#include "analysis/entity_reader.h"

#include "analysis/declaration_reader.h"
#include "analysis/entry_index.h"
#include "analysis/reader_support.h"
#include "analysis/substitution.h"
#include "model/design_object.h"

#include <string_view>
#include <vector>

namespace kestra {

namespace {

constexpr std::string_view kEnumPrefix = "ENUM_";

// Reads the next code character, which must be `expected`; raises error 4 otherwise.
bool Expect(const CScanner& scanner, std::size_t& cursor, char expected) {
    const std::size_t at = NextCodePosition(scanner, cursor);
    if (scanner.At(at) != expected) {
        RaiseAt(scanner, AnalysisErrorCode::PunctuationError, at);
        return false;
    }
    cursor = at + 1;
    return true;
}

// Moves to the next statement; raises error 18 when the text has none.
bool SkipToNextStatement(const CScanner& scanner, std::size_t& cursor, std::size_t from) {
    const auto next = scanner.NextStatement(from);
    if (!next) {
        RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfEntityBodyNotFound);
        return false;
    }
    cursor = *next;
    return true;
}

// "( name : type [:= default] {; name : type [:= default]} ) ;" after the word "generic".
void ReadGenericClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CEntryIndex& entries,
                       const std::string& entityName) {
    if (!Expect(scanner, cursor, '('))
        return;
    for (;;) {
        const std::string name = scanner.ReadIdentifier(cursor);
        if (name.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
            return;
        }
        if (!Expect(scanner, cursor, ':'))
            return;
        const EntryKind kind = GenericKind(scanner.ReadIdentifier(cursor), entityName);

        std::string defaultValue;
        const std::size_t colon = NextCodePosition(scanner, cursor);
        if (scanner.At(colon) == ':') {
            // ":=" must be written without anything between its two characters.
            if (scanner.At(colon + 1) != '=') {
                RaiseAt(scanner, AnalysisErrorCode::PunctuationError, colon + 1);
                return;
            }
            cursor = colon + 2;
            defaultValue = ReadValueOrRaise(scanner, cursor, AnalysisErrorCode::MissingParameter);
            if (defaultValue.empty())
                return;
        }

        if (mode == EntityMode::Analyze && kind != EntryKind::None) {
            const int index = entries.Append(kind, name, defaultValue, true);
            if (kind == EntryKind::Logic && index >= 0) {
                const std::vector<std::string> levels = {"'0'", "'1'"};
                entries.Object()->SetChoiceList(index, &levels);
            }
        }

        const std::size_t at = NextCodePosition(scanner, cursor);
        if (scanner.At(at) == ';') {
            cursor = at + 1;
            continue;
        }
        if (!Expect(scanner, cursor, ')'))
            return;
        Expect(scanner, cursor, ';');
        return;
    }
}

// "type NAME is ( literal {, literal} ) ;" after the word "type"; literals are identifiers or
// digit runs. Returns false on error; `enumeration` is false when the type is of another form,
// in which case the cursor has moved to the next statement.
bool ReadTypeDeclaration(const CScanner& scanner, std::size_t& cursor, std::string& name,
                         std::vector<std::string>& literals, bool& enumeration) {
    name = scanner.ReadIdentifier(cursor);
    if (name.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, cursor);
        return false;
    }
    if (!SameTextNoCase(scanner.ReadWord(cursor), "is")) {
        RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, cursor);
        return false;
    }
    const std::size_t paren = NextCodePosition(scanner, cursor);
    enumeration = scanner.At(paren) == '(';
    if (!enumeration)
        return SkipToNextStatement(scanner, cursor, cursor);
    cursor = paren + 1;
    for (;;) {
        std::string literal = scanner.ReadIdentifier(cursor);
        if (literal.empty())
            literal = scanner.ReadDigits(cursor);
        if (literal.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
            return false;
        }
        literals.push_back(std::move(literal));
        const std::size_t at = NextCodePosition(scanner, cursor);
        if (scanner.At(at) == ',') {
            cursor = at + 1;
            continue;
        }
        return Expect(scanner, cursor, ')') && Expect(scanner, cursor, ';');
    }
}

// The constant that may follow an enumeration type: "constant NAME : TYPE := value ;".
// Returns false on error.
bool ReadStyleConstant(const CScanner& scanner, EntityDeclarationsMode mode, std::size_t& cursor,
                       CEntryIndex& entries, const std::string& typeName,
                       const std::vector<std::string>& literals) {
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadWord(pos), "constant"))
        return true;
    cursor = pos;
    const std::string name = scanner.ReadIdentifier(cursor);
    if (name.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, cursor);
        return false;
    }
    if (mode == EntityDeclarationsMode::Analyze && entries.Find(name) >= 0) {
        RaiseWithoutLine(scanner, AnalysisErrorCode::RepeatedParameterName);
        return false;
    }
    if (!Expect(scanner, cursor, ':'))
        return false;
    if (!SameTextNoCase(scanner.ReadWord(cursor), typeName))
        return SkipToNextStatement(scanner, cursor, cursor);
    if (!Expect(scanner, cursor, ':') || !Expect(scanner, cursor, '='))
        return false;
    const std::string value = scanner.ReadIdentifier(cursor);
    if (value.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
        return false;
    }
    if (!Expect(scanner, cursor, ';'))
        return false;
    const bool add = mode == EntityDeclarationsMode::Analyze ||
                     (mode == EntityDeclarationsMode::Merge && entries.Find(name) < 0);
    if (add) {
        // A Style value always comes from the source, never from the previous analysis.
        const int index = entries.Append(EntryKind::Style, name, value, false);
        if (index >= 0)
            entries.Object()->SetChoiceList(index, &literals);
    }
    return true;
}

} // namespace

EntryKind GenericKind(const std::string& typeWord, const std::string& entityName) {
    const std::string type = ToLowerAscii(typeWord);
    if (type == "integer" || type == "positive" || type == "natural")
        return EntryKind::Numeric;
    if (type == "type")
        return EntryKind::DataType;
    if (type == "std_logic")
        return EntryKind::Logic;
    if (type == "file")
        return EntryKind::Link;
    if (type == "note")
        return EntryKind::Note;
    if (type == "string") {
        const bool lpm =
            entityName.size() >= 4 && SameTextNoCase(std::string_view(entityName).substr(0, 4), "LPM_");
        return lpm ? EntryKind::String : EntryKind::Note;
    }
    return EntryKind::None;
}

std::string AnalyzeEntity(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CEntryIndex& entries,
                          CVHDLSignal* signals) {
    AnalysisContext& context = ReaderContext(scanner);
    context.textStart = 0;
    std::size_t from = cursor;
    for (;;) {
        const auto keyword = scanner.FindWordOutsideComments(from, "entity");
        if (!keyword) {
            if (mode == EntityMode::Analyze)
                RaiseWithoutLine(scanner, AnalysisErrorCode::EntityNotFound);
            return {};
        }
        std::size_t pos = *keyword + 6;
        from = pos;
        // "end entity", "use entity" and instantiations are not declarations.
        if (!scanner.StartsStatement(*keyword, context.textStart))
            continue;
        const std::string name = scanner.ReadWord(pos);
        if (name.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingIdentifier, pos);
            return {};
        }
        if (!SameTextNoCase(name, context.moduleName)) {
            from = pos;
            continue;
        }

        if (!SameTextNoCase(scanner.ReadWord(pos), "is")) {
            RaiseAt(scanner, AnalysisErrorCode::MissingKeyword, pos);
            return {};
        }
        std::size_t afterIs = pos;
        if (SameTextNoCase(scanner.ReadWord(pos), "generic")) {
            ReadGenericClause(scanner, mode, pos, entries, name);
            if (ReaderFailed(scanner))
                return {};
        } else {
            pos = afterIs;
        }
        std::string portText = AnalyzePortClause(scanner, mode, pos, entries, signals);
        if (ReaderFailed(scanner))
            return {};
        if (mode == EntityMode::Analyze) {
            AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Analyze, pos, entries);
            portText.clear();
        }
        cursor = pos;
        return ReaderFailed(scanner) ? std::string() : portText;
    }
}

std::string AnalyzePortClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor,
                              CEntryIndex& entries, CVHDLSignal* signals) {
    if (ReaderFailed(scanner))
        return {};
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadIdentifier(pos), "port"))
        return {};
    if (!Expect(scanner, pos, '(')) {
        cursor = pos;
        return {};
    }
    const std::size_t listStart = pos;
    AnalyzeDeclarationList(scanner,
                           mode == EntityMode::Analyze ? DeclarationMode::Ports : DeclarationMode::SkipPorts,
                           pos, entries, signals);
    if (ReaderFailed(scanner)) {
        cursor = pos;
        return {};
    }
    std::size_t listEnd = pos;
    const bool closed = Expect(scanner, pos, ')') && Expect(scanner, pos, ';');
    cursor = pos;
    if (!closed || mode == EntityMode::Analyze)
        return {};
    while (listEnd > listStart && IsBlank(scanner.At(listEnd - 1)))
        --listEnd;
    std::string declarations(scanner.Text().substr(listStart, listEnd - listStart));
    if (mode == EntityMode::ConvertedPortText && entries.Object() != nullptr)
        SubstituteTypeParameters(declarations, *entries.Object());
    return "\tport (" + declarations + "\r\n\t);\r\n";
}

std::optional<std::size_t> AnalyzeEntityDeclarations(const CScanner& scanner, EntityDeclarationsMode mode,
                                                     std::size_t& cursor, CEntryIndex& entries) {
    if (ReaderFailed(scanner))
        return std::nullopt;
    for (;;) {
        const std::size_t wordStart = NextCodePosition(scanner, cursor);
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        if (word == "end")
            return wordStart;
        if (word != "type") {
            if (!SkipToNextStatement(scanner, cursor, cursor))
                return std::nullopt;
            continue;
        }

        std::string typeName;
        std::vector<std::string> literals;
        bool enumeration = false;
        if (!ReadTypeDeclaration(scanner, cursor, typeName, literals, enumeration))
            return std::nullopt;
        if (!enumeration)
            continue;
        if (typeName.size() > kEnumPrefix.size() &&
            SameTextNoCase(std::string_view(typeName).substr(0, kEnumPrefix.size()), kEnumPrefix)) {
            const int target =
                entries.FindOfKind(typeName.substr(kEnumPrefix.size()),
                                   {EntryKind::Numeric, EntryKind::DataType, EntryKind::String});
            if (target >= 0) {
                entries.Object()->SetChoiceList(target, &literals);
                continue;
            }
        }
        if (!ReadStyleConstant(scanner, mode, cursor, entries, typeName, literals))
            return std::nullopt;
    }
}

std::string AnalyzeEntity(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CKSTObject* object,
                          CVHDLSignal* signals) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    return AnalyzeEntity(scanner, mode, cursor, entries, signals);
}

std::string AnalyzePortClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor,
                              CKSTObject* object, CVHDLSignal* signals) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    return AnalyzePortClause(scanner, mode, cursor, entries, signals);
}

std::optional<std::size_t> AnalyzeEntityDeclarations(const CScanner& scanner, EntityDeclarationsMode mode,
                                                     std::size_t& cursor, CKSTObject* object) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    return AnalyzeEntityDeclarations(scanner, mode, cursor, entries);
}

} // namespace kestra
