#include "generation/entity_header.h"

#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "analysis/unit_search.h"
#include "generation/declarations.h"
#include "generation/entity_header_edit.h"
#include "generation/port_clause_edit.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

namespace kestra {

namespace {

// Skips "generic ( ... )" and the character after it when the next word is "generic". False
// when its parenthesis is not closed.
bool SkipGenericClause(const CScanner& scanner, std::size_t& cursor) {
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadIdentifier(pos), "generic"))
        return true;
    if (!SkipParenthesised(scanner, pos))
        return false;
    scanner.ReadChar(pos);
    cursor = pos;
    return true;
}

} // namespace

std::string TypeDeclarationsText(const CKSTObject& object) {
    std::string text;
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        const EntryKind kind = object.GetEntryKind(i);
        if (kind != EntryKind::Numeric && kind != EntryKind::DataType && kind != EntryKind::Style &&
            kind != EntryKind::String)
            continue;
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        if (choices.empty())
            continue;
        const std::string name = object.GetEntryName(i);
        text += "\ttype ENUM_" + name + " is (";
        for (std::size_t c = 0; c < choices.size(); ++c)
            text += (c == 0 ? "" : ", ") + choices[c];
        text += ");\r\n";
        if (kind == EntryKind::Style)
            text += "\tconstant " + name + ": ENUM_" + name + " := " + object.GetEntryValue(i) + ";\r\n";
    }
    return text;
}

std::string RewriteEntityHeader(const std::string& text, const std::string& entityName,
                                const CKSTObject& object) {
    // One reading of the entity tells the source's form and serves the edit in place.
    const std::optional<EntityInterface> declared = ReadEntityInterface(text, entityName);
    if (!declared)
        return text;
    if (!IsToolFormSource(text, *declared))
        return EditEntityHeader(text, *declared, object);
    AnalysisContext context;
    const CScanner scanner(text, &context);
    const auto entity = FindEntityDeclaration(scanner, entityName);
    if (!entity)
        return text;
    std::size_t cursor = entity->afterName;
    scanner.ReadWord(cursor); // "is"
    const std::size_t headerStart = cursor;

    std::string header = WrapGenericLines(BuildGenericLines(kGenericTopModule | kGenericAllKinds, object),
                                          "\r\n\tgeneric (\r\n", "\t);");
    header += "\r\n";
    if (!SkipGenericClause(scanner, cursor))
        return text;

    std::size_t pos = cursor;
    if (SameTextNoCase(scanner.ReadIdentifier(pos), "port")) {
        std::size_t innerStart = 0;
        std::size_t closing = 0;
        if (!SkipParenthesised(scanner, pos, &innerStart, &closing))
            return text;
        std::size_t innerEnd = closing;
        while (innerEnd > innerStart && IsBlank(text[innerEnd - 1]))
            --innerEnd;
        header += "\tport (" + text.substr(innerStart, innerEnd - innerStart) + "\r\n\t);\r\n";
        scanner.ReadChar(pos);
        cursor = pos;
    }
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end)
        return text;
    return text.substr(0, headerStart) + header + TypeDeclarationsText(object) + text.substr(*end);
}

std::string ReplacePortClause(const std::string& text, const std::string& entityName,
                              const std::string& portClause) {
    AnalysisContext context;
    const CScanner scanner(text, &context);
    const auto entity = FindEntityDeclaration(scanner, entityName);
    if (!entity)
        return text;
    std::size_t cursor = entity->afterName;
    scanner.ReadWord(cursor); // "is"
    bool closed = SkipGenericClause(scanner, cursor);
    const std::size_t start = cursor;
    std::size_t pos = cursor;
    if (closed && SameTextNoCase(scanner.ReadIdentifier(pos), "port")) {
        closed = SkipParenthesised(scanner, pos);
        scanner.ReadChar(pos);
        cursor = pos;
    }
    if (!closed)
        return text;
    return text.substr(0, start) + portClause + text.substr(cursor);
}

std::string UpdatePortClause(const std::string& text, const std::string& entityName,
                             const CVHDLSignal& signals) {
    const std::optional<EntityInterface> declared = ReadEntityInterface(text, entityName);
    if (!declared)
        return text;
    if (IsToolFormSource(text, *declared))
        return ReplacePortClause(text, entityName, signals.FormatSignalList(SignalForm::PortDeclaration));
    return EditPortClause(text, *declared, signals);
}

} // namespace kestra
