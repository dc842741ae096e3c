#include "analysis/component_ports.h"

#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "analysis/token_reader.h"
#include "model/design_object.h"
#include "text/char_class.h"

namespace kestra {

namespace {

// The generic and port clauses of "component NAME [is] ... end component": their text, or none.
std::optional<std::string_view> ComponentClauses(std::string_view text,
                                                 const ArchitectureStructure& structure,
                                                 const std::string& component) {
    CTokenReader reader(text, structure.declarations);
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText && token.start < structure.begin;
         token = reader.Next()) {
        if (!token.Is(VhdlKeyword::Component))
            continue;
        const VhdlToken name = reader.Next();
        if (name.kind != TokenKind::Word ||
            !SameTextNoCase(text.substr(name.start, name.end - name.start), component))
            continue;
        std::size_t start = name.end;
        if (reader.Peek().Is(VhdlKeyword::Is))
            start = reader.Next().end;
        for (VhdlToken end = reader.Next(); end.kind != TokenKind::EndOfText && end.start < structure.begin;
             end = reader.Next()) {
            if (end.Is(VhdlKeyword::End) && reader.Peek().Is(VhdlKeyword::Component))
                return text.substr(start, end.start - start);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<CVHDLSignal> ComponentPorts(std::string_view text, const ArchitectureStructure& structure,
                                          const std::string& component) {
    const std::optional<std::string_view> clauses = ComponentClauses(text, structure, component);
    if (!clauses)
        return std::nullopt;
    // The clauses of a component are those of an entity.
    const std::string entity =
        "entity " + component + " is\n" + std::string(*clauses) + "\nend " + component + ";";
    AnalysisContext context;
    context.moduleName = component;
    const CScanner scanner(entity, &context);
    CKSTObject object;
    object.SetEntryCount(1);
    CVHDLSignal ports;
    std::size_t cursor = 0;
    static_cast<void>(AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &object, &ports));
    if (context.HasError() || ports.GetSignalCount() == 0)
        return std::nullopt;
    return ports;
}

} // namespace kestra
