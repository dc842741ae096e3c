#include "analysis/entity_reader.h"

#include "analysis/declaration_reader.h"
#include "analysis/entry_index.h"
#include "analysis/interface_list.h"
#include "analysis/reader_support.h"
#include "analysis/structure_walker.h"
#include "analysis/substitution.h"
#include "analysis/token_reader.h"
#include "analysis/unit_search.h"
#include "model/design_object.h"

#include <algorithm>
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

// Passes over the declaration whose first word starts at wordStart, following the nesting of what
// it holds (a record, a protected type, a subprogram); where that finds no ';', moves to the next
// statement as the plain readers do. Raises error 18 when the text has none.
bool SkipDeclaration(const CScanner& scanner, std::size_t& cursor, std::size_t wordStart) {
    const StructureStop stop = WalkStructure(scanner.Text(), wordStart, StructureScope::Item);
    if (stop.what == StructureStop::What::Semicolon) {
        cursor = stop.position + 1;
        return true;
    }
    return SkipToNextStatement(scanner, cursor, cursor);
}

// A type mark: an identifier, or a selected name ("work.pkg.t_word"); empty when none is written.
std::string ReadTypeMark(const CScanner& scanner, std::size_t& cursor) {
    std::string mark = scanner.ReadIdentifier(cursor);
    while (!mark.empty() && scanner.At(cursor) == '.' && IsLetter(scanner.At(cursor + 1))) {
        std::size_t pos = cursor + 1;
        const std::string part = scanner.ReadIdentifier(pos);
        if (part.empty())
            break;
        mark += "." + part;
        cursor = pos;
    }
    return mark;
}

// Parenthesised constraints after a type mark, one after another ("(open)(7 downto 0)"). False
// with error 21 when one is not closed.
bool SkipIndexConstraints(const CScanner& scanner, std::size_t& cursor) {
    for (;;) {
        std::size_t pos = cursor;
        if (scanner.At(NextCodePosition(scanner, pos)) != '(')
            return true;
        if (!SkipParenthesised(scanner, pos)) {
            RaiseAt(scanner, AnalysisErrorCode::CloseBracketNotFound, scanner.End());
            return false;
        }
        cursor = pos;
    }
}

// "type T", "[pure | impure] function f ...", "procedure p ..." or "package p is new ...": a
// VHDL-2008 generic that declares a type, a subprogram or a package; `word` was read just before
// cursor.
bool IsInterfaceGenericOfVhdl2008(const CScanner& scanner, const std::string& word, std::size_t cursor) {
    VhdlKeyword keyword = KeywordOf(word);
    std::size_t pos = cursor;
    if (keyword == VhdlKeyword::Pure || keyword == VhdlKeyword::Impure)
        keyword = KeywordOf(scanner.ReadIdentifier(pos));
    if (keyword != VhdlKeyword::Type && keyword != VhdlKeyword::Function &&
        keyword != VhdlKeyword::Procedure && keyword != VhdlKeyword::Package)
        return false;
    if (scanner.ReadIdentifier(pos).empty())
        return false;
    const char next = scanner.At(NextCodePosition(scanner, pos));
    switch (keyword) {
    case VhdlKeyword::Type:
        return next == ';' || next == ')';
    case VhdlKeyword::Package:
        return SameTextNoCase(scanner.ReadIdentifier(pos), "is") &&
               SameTextNoCase(scanner.ReadIdentifier(pos), "new");
    default:
        return next == '(' || next == ';' || next == ')' || IsLetter(next);
    }
}

// The value a generic's default gives its parameter. A single string literal gives its content
// (without the blanks at its end) except for Generic parameters, which keep the expression as
// written; an empty literal is a value only for string generics and Generic parameters.
// Parameters of a kind written with quotes whose default is not a single string literal become
// Generic parameters. Empty on error (error 9 set).
std::string DefaultValue(const CScanner& scanner, const ExpressionSpan& span, const std::string& typeWord,
                         EntryKind& kind, std::size_t cursor) {
    const std::string_view text = scanner.Text();
    if (kind != EntryKind::Generic) {
        if (std::optional<std::string> literal = SingleStringLiteral(text, span)) {
            while (!literal->empty() && IsBlank(literal->back()))
                literal->pop_back();
            if (literal->empty() && !SameTextNoCase(typeWord, "string")) {
                RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
                return {};
            }
            return *literal;
        }
        if (kind == EntryKind::Note || kind == EntryKind::String || kind == EntryKind::Link)
            kind = EntryKind::Generic;
    }
    return ExpressionText(text, span);
}

// The names of one generic declaration, from its start: "[constant] name {, name}". False with
// error 9 when a name is missing, or 22 for a VHDL-2008 generic of a type, subprogram or package.
bool ReadGenericNames(const CScanner& scanner, std::size_t& cursor, InterfaceDeclaration& declaration) {
    declaration.start = NextCodePosition(scanner, cursor);
    std::string name = scanner.ReadIdentifier(cursor);
    if (SameTextNoCase(name, "constant") && IsLetter(scanner.At(NextCodePosition(scanner, cursor))))
        name = scanner.ReadIdentifier(cursor);
    if (name.empty()) {
        RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
        return false;
    }
    if (IsInterfaceGenericOfVhdl2008(scanner, name, cursor)) {
        RaiseAt(scanner, AnalysisErrorCode::UnsupportedGeneric, declaration.start);
        return false;
    }
    declaration.names.push_back(name);
    declaration.nameStarts.push_back(cursor - name.size());
    for (std::size_t at = NextCodePosition(scanner, cursor); scanner.At(at) == ',';
         at = NextCodePosition(scanner, cursor)) {
        cursor = at + 1;
        const std::size_t nameStart = NextCodePosition(scanner, cursor);
        std::string next = scanner.ReadIdentifier(cursor);
        if (next.empty()) {
            RaiseAt(scanner, AnalysisErrorCode::MissingParameter, cursor);
            return false;
        }
        declaration.names.push_back(std::move(next));
        declaration.nameStarts.push_back(nameStart);
    }
    return true;
}

// ": [in] type_mark [constraints] [range expression]" after the names. False on error.
bool ReadGenericType(const CScanner& scanner, std::size_t& cursor, InterfaceDeclaration& declaration) {
    if (!Expect(scanner, cursor, ':'))
        return false;
    std::size_t pos = cursor;
    if (SkipWordIf(scanner, pos, "in") && IsLetter(scanner.At(NextCodePosition(scanner, pos)))) {
        declaration.mode = "in";
        cursor = pos;
    }
    declaration.typeStart = NextCodePosition(scanner, cursor);
    declaration.typeMark = ReadTypeMark(scanner, cursor);
    if (!SkipIndexConstraints(scanner, cursor))
        return false;
    pos = cursor;
    if (SkipWordIf(scanner, pos, "range")) {
        const auto range = ReadExpression(scanner.Text(), pos, true);
        if (!range) {
            RaiseAt(scanner, AnalysisErrorCode::WrongExpression, pos);
            return false;
        }
        cursor = range->end;
    }
    declaration.typeEnd = std::max(cursor, declaration.typeStart);
    return true;
}

// ":= expression" after the type, when written: the declaration's default and value, and the
// kind its value gives the parameter. False on error.
bool ReadGenericDefault(const CScanner& scanner, std::size_t& cursor, InterfaceDeclaration& declaration,
                        EntryKind& kind) {
    declaration.end = declaration.typeEnd;
    const std::size_t colon = NextCodePosition(scanner, cursor);
    if (scanner.At(colon) != ':')
        return true;
    // ":=" must be written without anything between its two characters.
    if (scanner.At(colon + 1) != '=') {
        RaiseAt(scanner, AnalysisErrorCode::PunctuationError, colon + 1);
        return false;
    }
    cursor = colon + 2;
    const std::size_t valueStart = NextCodePosition(scanner, cursor);
    const auto span = ReadExpression(scanner.Text(), cursor);
    if (!span) {
        RaiseAt(scanner, AnalysisErrorCode::MissingParameter, valueStart);
        return false;
    }
    cursor = span->end;
    declaration.value = DefaultValue(scanner, *span, declaration.typeMark, kind, cursor);
    if (ReaderFailed(scanner))
        return false;
    declaration.assignment = colon;
    declaration.defaultValue = span;
    declaration.end = span->end;
    return true;
}

// One parameter per name of the declaration; Logic parameters get their two levels as choices.
void AddGenericEntries(CEntryIndex& entries, const InterfaceDeclaration& declaration) {
    for (const std::string& generic : declaration.names) {
        const int index = entries.Append(declaration.kind, generic, declaration.value, true);
        if (declaration.kind == EntryKind::Logic && index >= 0) {
            const std::vector<std::string> levels = {"'0'", "'1'"};
            entries.Object()->SetChoiceList(index, &levels);
        }
    }
}

// After a declaration: true past the ';' before the next one; false at the end of the clause
// (after its ") ;") or on error.
bool NextGenericDeclaration(const CScanner& scanner, std::size_t& cursor, InterfaceList* list) {
    const std::size_t at = NextCodePosition(scanner, cursor);
    if (scanner.At(at) == ';') {
        if (list != nullptr)
            list->separators.push_back(at);
        cursor = at + 1;
        return true;
    }
    const std::size_t close = NextCodePosition(scanner, cursor);
    if (!Expect(scanner, cursor, ')'))
        return false;
    if (list != nullptr)
        list->close = close;
    Expect(scanner, cursor, ';');
    if (list != nullptr)
        list->afterEnd = cursor;
    return false;
}

// "( name {, name} : [in] type [constraint] [:= default] {; ...} ) ;" after the word "generic".
void ReadGenericClause(const CScanner& scanner, EntityMode mode, std::size_t& cursor, CEntryIndex& entries,
                       const std::string& entityName, InterfaceList* list) {
    const std::size_t open = NextCodePosition(scanner, cursor);
    if (!Expect(scanner, cursor, '('))
        return;
    if (list != nullptr)
        list->open = open;
    for (;;) {
        InterfaceDeclaration declaration;
        if (!ReadGenericNames(scanner, cursor, declaration) || !ReadGenericType(scanner, cursor, declaration))
            return;
        EntryKind kind = GenericKind(declaration.typeMark, entityName);
        if (kind == EntryKind::None)
            kind = EntryKind::Generic;
        if (!ReadGenericDefault(scanner, cursor, declaration, kind))
            return;
        declaration.kind = kind;
        if (mode == EntityMode::Analyze)
            AddGenericEntries(entries, declaration);
        if (list != nullptr)
            list->declarations.push_back(std::move(declaration));
        if (!NextGenericDeclaration(scanner, cursor, list))
            return;
    }
}

// "type NAME is ( literal {, literal} ) ;" after the word "type"; literals are identifiers or
// digit runs. Returns false on error; `enumeration` is false when the type is of another form,
// in which case the cursor has moved past the declaration.
bool ReadTypeDeclaration(const CScanner& scanner, std::size_t& cursor, std::size_t typeStart,
                         std::string& name, std::vector<std::string>& literals, bool& enumeration) {
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
        return SkipDeclaration(scanner, cursor, typeStart);
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
                          CVHDLSignal* signals, EntityLayout* layout) {
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
        InterfaceList* generics = nullptr;
        if (layout != nullptr) {
            layout->afterIs = afterIs;
            layout->generics.reset();
        }
        const std::size_t genericWord = NextCodePosition(scanner, pos);
        if (SameTextNoCase(scanner.ReadWord(pos), "generic")) {
            if (layout != nullptr) {
                generics = &layout->generics.emplace();
                generics->keyword = genericWord;
            }
            ReadGenericClause(scanner, mode, pos, entries, name, generics);
            if (ReaderFailed(scanner))
                return {};
        } else {
            pos = afterIs;
        }
        std::string portText = AnalyzePortClause(scanner, mode, pos, entries, signals);
        if (ReaderFailed(scanner))
            return {};
        if (mode == EntityMode::Analyze) {
            if (layout != nullptr)
                layout->declarationsStart = pos;
            // An error is in the context, checked below.
            const auto end =
                AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Analyze, pos, entries);
            if (layout != nullptr)
                layout->declarationsEnd = end.value_or(0);
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
    ReadPortList(scanner, mode == EntityMode::Analyze ? DeclarationMode::Ports : DeclarationMode::SkipPorts,
                 pos, entries, signals, nullptr);
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
        if (word == "pure" || word == "impure")
            scanner.ReadIdentifier(cursor);
        if (word == "function" || word == "procedure" || word == "pure" || word == "impure") {
            cursor = SkipSubprogram(scanner.Text(), cursor);
            continue;
        }
        if (word == "begin") {
            // The entity's statement part: passive processes, assertions and calls.
            const StructureUnit unit{"entity", ReaderContext(scanner).moduleName};
            const StructureStop stop =
                WalkStructure(scanner.Text(), cursor, StructureScope::Statements, unit);
            if (stop.what != StructureStop::What::End) {
                RaiseWithoutLine(scanner, AnalysisErrorCode::EndOfEntityBodyNotFound);
                return std::nullopt;
            }
            cursor = stop.position + 3;
            return stop.position;
        }
        if (word != "type") {
            const bool skipped = word.empty() ? SkipToNextStatement(scanner, cursor, cursor)
                                              : SkipDeclaration(scanner, cursor, wordStart);
            if (!skipped)
                return std::nullopt;
            continue;
        }

        std::string typeName;
        std::vector<std::string> literals;
        bool enumeration = false;
        if (!ReadTypeDeclaration(scanner, cursor, wordStart, typeName, literals, enumeration))
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
                          CVHDLSignal* signals, EntityLayout* layout) {
    CEntryIndex entries(object, ReaderContext(scanner).previousObject);
    return AnalyzeEntity(scanner, mode, cursor, entries, signals, layout);
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

namespace {

// The generic and port clauses from cursor, after an entity's "is" or a component's name.
std::optional<EntityInterface> ReadInterfaceClauses(const CScanner& scanner, std::size_t cursor,
                                                    const std::string& name, bool portDeclarations = true) {
    EntityInterface result;
    result.afterIs = cursor;
    CEntryIndex entries(nullptr, nullptr);
    std::size_t pos = cursor;
    const std::size_t genericWord = NextCodePosition(scanner, pos);
    if (SkipWordIf(scanner, pos, "generic")) {
        InterfaceList generics;
        generics.keyword = genericWord;
        ReadGenericClause(scanner, EntityMode::PortText, pos, entries, name, &generics);
        if (ReaderFailed(scanner))
            return std::nullopt;
        result.generics = std::move(generics);
        cursor = pos;
    }
    pos = cursor;
    const std::size_t portWord = NextCodePosition(scanner, pos);
    if (SkipWordIf(scanner, pos, "port")) {
        InterfaceList ports;
        ports.keyword = portWord;
        ports.open = NextCodePosition(scanner, pos);
        if (!Expect(scanner, pos, '('))
            return std::nullopt;
        ReadPortList(scanner, DeclarationMode::SkipPorts, pos, entries, nullptr,
                     portDeclarations ? &ports : nullptr);
        ports.close = NextCodePosition(scanner, pos);
        if (ReaderFailed(scanner) || !Expect(scanner, pos, ')') || !Expect(scanner, pos, ';'))
            return std::nullopt;
        ports.afterEnd = pos;
        result.ports = std::move(ports);
    }
    return result;
}

// The clauses of the entity named like the module, with or without its port declarations.
std::optional<EntityInterface> ReadEntityClauses(std::string_view text, const std::string& entityName,
                                                 bool portDeclarations) {
    AnalysisContext context;
    context.moduleName = entityName;
    const CScanner scanner(text, &context);
    const auto entity = FindEntityDeclaration(scanner, entityName);
    if (!entity)
        return std::nullopt;
    std::size_t cursor = entity->afterName;
    if (!SameTextNoCase(scanner.ReadWord(cursor), "is"))
        return std::nullopt;
    return ReadInterfaceClauses(scanner, cursor, entityName, portDeclarations);
}

} // namespace

std::optional<EntityInterface> ReadEntityInterface(std::string_view text, const std::string& entityName) {
    return ReadEntityClauses(text, entityName, true);
}

std::optional<EntityDeclarativePart> FindEntityDeclarativePart(std::string_view text,
                                                               const EntityInterface& entity) {
    EntityDeclarativePart part;
    part.start = entity.ports ? entity.ports->afterEnd
                              : (entity.generics ? entity.generics->afterEnd : entity.afterIs);
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = part.start;
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end)
        return std::nullopt;
    part.end = *end;
    return part;
}

std::optional<EntityLayout> ReadEntityLayout(std::string_view text, const std::string& entityName) {
    std::optional<EntityInterface> clauses = ReadEntityClauses(text, entityName, false);
    if (!clauses)
        return std::nullopt;
    const std::optional<EntityDeclarativePart> part = FindEntityDeclarativePart(text, *clauses);
    if (!part)
        return std::nullopt;
    return EntityLayout{clauses->afterIs, std::move(clauses->generics), part->start, part->end};
}

std::optional<EntityInterface> ReadComponentInterface(std::string_view text, std::size_t afterName,
                                                      const std::string& componentName) {
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = afterName;
    SkipWordIf(scanner, cursor, "is");
    return ReadInterfaceClauses(scanner, cursor, componentName);
}

} // namespace kestra
