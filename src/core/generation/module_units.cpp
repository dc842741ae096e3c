#include "generation/module_units.h"

#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "analysis/structure_walker.h"
#include "analysis/substitution.h"
#include "analysis/unit_search.h"
#include "generation/architecture_walk.h"
#include "generation/declarations.h"
#include "generation/packages.h"
#include "model/design_object.h"

namespace kestra {

namespace {

// What the text substitution of a module puts in place of parameter names. Logic parameters of a
// module the tool did not write are generics of its own, declared with their values, not names
// to replace: their values are literals whose type an expression may not tell.
CKSTObject SubstitutionObject(const CKSTObject& object, bool imported) {
    CKSTObject substitution = object;
    if (!imported)
        return substitution;
    for (int i = substitution.GetEntryCount() - 1; i >= 0; --i) {
        if (substitution.GetEntryKind(i) == EntryKind::Logic)
            substitution.RemoveEntry(i);
    }
    return substitution;
}

// Position just past the next ';' outside comments, or none.
std::optional<std::size_t> PastNextSemicolon(const CScanner& scanner, std::size_t from) {
    const auto semicolon = scanner.FindTextOutsideComments(from, ";");
    if (!semicolon)
        return std::nullopt;
    return *semicolon + 1;
}

} // namespace

void CGenerationSession::SetTopName(const std::string& name) {
    m_context.moduleName = name;
}

const std::string& CGenerationSession::TopName() const {
    return m_context.moduleName;
}

void CGenerationSession::ClearError() {
    m_context.ClearError();
}

void CGenerationSession::GenerateModuleUnits(HierarchyKind kind, const std::string& moduleName,
                                             std::string sourceText, std::string& output) {
    if (kind == HierarchyKind::Package) {
        output.insert(0, sourceText);
        return;
    }
    if (kind == HierarchyKind::Library)
        output += ExtractPackages(sourceText, m_context);
    if (m_registry.IsEmpty())
        return;
    const auto first = m_registry.FirstKeyNamed(moduleName);
    if (!first)
        return;

    OrderList order;
    order.keys.push_back(*first);
    for (std::size_t index = 0;;) {
        const std::string key = order.keys[index];
        CKSTObject& object = *m_registry.Find(key);
        UnitText entity = BuildEntityUnit(key, sourceText, object);
        if (!entity.text.empty()) {
            output += entity.text;
            sourceText.erase(0, entity.offset);
            order.current = index;
            UnitText architecture = BuildArchitectureUnit(key, sourceText, object, order);
            output += architecture.text;
            sourceText.erase(0, architecture.offset);
            object.SetGeneratedName(std::string());
        }
        if (kind != HierarchyKind::Library || index + 1 >= order.keys.size() ||
            m_registry.Find(order.keys[index + 1]) == nullptr)
            return;
        ++index;
    }
}

UnitText CGenerationSession::BuildEntityUnit(const std::string& key, const std::string& sourceText,
                                             CKSTObject& object) {
    ClearError();
    m_context.textStart = 0;
    const CScanner scanner(sourceText, &m_context);
    const std::string name = object.GetGeneratedName();
    const auto entity = FindEntityDeclaration(scanner, name);
    if (!entity)
        return {};
    std::size_t cursor = entity->afterName;

    scanner.ReadWord(cursor); // "is"
    const std::size_t contextStart = FindContextStart(scanner, entity->keyword, 0);
    std::string result = sourceText.substr(contextStart, cursor - contextStart);
    // One reading of the entity's clauses tells the source's form and gives its generics.
    const std::optional<EntityInterface> declared = ReadEntityInterface(sourceText, name);
    const bool toolForm = declared && IsToolFormSource(sourceText, *declared);
    std::string generics =
        GeneratedGenericLines(key, sourceText, object, toolForm || !declared ? nullptr : &*declared);
    CheckNumericValues(key, object);
    result += WrapGenericLines(generics, "\r\n\tgeneric (\r\n", "\t);");
    result += "\r\n";

    std::size_t pos = cursor;
    if (SameTextNoCase(scanner.ReadIdentifier(pos), "generic")) {
        cursor = pos;
        if (SkipParenthesised(scanner, cursor)) {
            pos = cursor;
            if (scanner.ReadChar(pos) == ';')
                cursor = pos;
        }
    }
    m_imported = !toolForm;
    CKSTObject substitution = SubstitutionObject(object, m_imported);
    result += AnalyzePortClause(scanner, EntityMode::ConvertedPortText, cursor, &substitution, nullptr);

    ClearError();
    auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::Merge, cursor, &object);
    if (!end)
        end = scanner.FindWordOutsideComments(cursor, "end");
    if (!end)
        return {};
    result += BuildStyleDeclarations(object);
    const auto closing = PastNextSemicolon(scanner, *end);
    if (!closing)
        return {};
    result.append(sourceText, *end, *closing - *end);
    result += "\r\n\r\n";
    if (key != name)
        RenameUnit(result, name, key, true);
    return {std::move(result), *closing};
}

std::string CGenerationSession::GeneratedGenericLines(const std::string& key, const std::string& sourceText,
                                                      const CKSTObject& object,
                                                      const EntityInterface* entity) {
    const int flags = key == TopName() ? kGenericTopModule : 0;
    const std::string& name = object.GetGeneratedName();
    // The tool's own modules: the lines of the parameters, as always.
    if (entity == nullptr || !entity->generics)
        return BuildGenericLines(flags, object);

    // Other modules: their generics in the order they declare them, with their declared types
    // where no parameter kind writes the type (Generic and Logic parameters, string generics);
    // parameters the source does not declare come last.
    auto declaredOnly = [](const InterfaceDeclaration& declaration) {
        return declaration.kind == EntryKind::Generic || declaration.kind == EntryKind::Logic ||
               (declaration.kind == EntryKind::Note && SameTextNoCase(declaration.typeMark, "string"));
    };
    const bool top = key == TopName();
    const CKSTObject* own = m_moduleObjects ? m_moduleObjects(name) : nullptr;
    std::vector<bool> written(static_cast<std::size_t>(object.GetEntryCount()), false);
    std::string lines;
    for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
        for (const std::string& generic : declaration.names) {
            // Copies made from a component declaration have no entry of their own: 0 may be a generic.
            const int entry = object.FindEntry(generic);
            if (!declaredOnly(declaration)) {
                if (entry >= 0) {
                    lines += GenericLine(flags, object, entry);
                    written[static_cast<std::size_t>(entry)] = true;
                }
                continue;
            }
            if (entry >= 0)
                written[static_cast<std::size_t>(entry)] = true;
            // The copy's own value, else the module's, else the source's default.
            std::optional<std::string> value;
            for (const CKSTObject* holder : {&object, own}) {
                const int found = holder != nullptr ? holder->FindEntry(generic) : -1;
                if (!value && found >= 0 && holder->GetEntryKind(found) != EntryKind::Vhdl)
                    value = GenericValueText(holder->GetEntryKind(found), holder->GetEntryValue(found));
            }
            if (!value)
                value = declaration.defaultValue ? ExpressionText(sourceText, *declaration.defaultValue) : "";
            if (value->empty() && declaration.kind == EntryKind::Generic &&
                (top || m_mappedKeys.count(key) == 0))
                m_missing.push_back({name, generic});
            lines += "\t\t" + generic + ": " + declaration.TypeText(sourceText);
            if (!value->empty())
                lines += " := " + *value;
            lines += ";\r\n";
        }
    }
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (!written[static_cast<std::size_t>(i)])
            lines += GenericLine(flags, object, i);
    }
    return lines;
}

void CGenerationSession::CheckNumericValues(const std::string& key, const CKSTObject& object) {
    // A copy whose instances map their generics gets its values there.
    if (key != TopName() && m_mappedKeys.count(key) != 0)
        return;
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == EntryKind::Numeric && object.GetEntryValue(i).empty())
            m_missing.push_back({object.GetGeneratedName(), object.GetEntryName(i)});
    }
}

namespace {

// The architecture the copy under `key` chose, if it chose one.
std::optional<std::string> ChosenArchitecture(const CKSTObject& object, const std::string& key) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == EntryKind::Architecture && SameTextNoCase(object.GetEntryName(i), key))
            return object.GetEntryValue(i);
    }
    return std::nullopt;
}

// The header of the architecture of the entity that generation takes: the chosen one, or the
// first one when none was chosen.
std::optional<ArchitectureHeader> GeneratedArchitecture(const CScanner& scanner, AnalysisContext& context,
                                                        const std::string& entityName,
                                                        const std::optional<std::string>& chosen) {
    // The header reader compares entity names with the context's module name.
    const std::string topName = context.moduleName;
    context.moduleName = entityName;
    std::optional<ArchitectureHeader> found;
    ArchitectureHeader header;
    for (std::size_t from = 0; !found;) {
        if (NextArchitectureHeader(scanner, from, header) != HeaderSearch::Found)
            break;
        if (!chosen || SameTextNoCase(header.name, *chosen))
            found = header;
    }
    context.moduleName = topName;
    return found;
}

} // namespace

bool CGenerationSession::EmitArchitectureDeclarations(const CScanner& scanner, std::size_t cursor,
                                                      ArchitectureWalk& walk, const CKSTObject& substitution,
                                                      std::string& output) {
    const std::string_view sourceText = scanner.Text();
    for (;;) {
        const std::size_t itemStart = cursor;
        std::size_t wordStart = cursor;
        scanner.SkipBlanksAndComments(wordStart);
        std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        if (word == "begin")
            return true;
        if (word == "pure" || word == "impure")
            word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        const StructureStop nested = word == "type" || word == "package"
                                         ? WalkStructure(sourceText, wordStart, StructureScope::Item)
                                         : StructureStop{};
        if (word == "function" || word == "procedure") {
            SkipFunctionBody(scanner, cursor);
            output.append(sourceText, itemStart, cursor - itemStart);
        } else if (nested.what == StructureStop::What::Semicolon && nested.position < walk.statementsStart) {
            // A record, protected or physical type or a local package: copied whole.
            std::string item(sourceText.substr(itemStart, nested.position + 1 - itemStart));
            SubstituteTypeParameters(item, substitution);
            output += item;
            cursor = nested.position + 1;
        } else if (word == "component") {
            cursor = EmitComponentForGeneration(scanner, cursor, walk, output);
        } else if (word == "for") {
            cursor = ReadComponentBinding(scanner, cursor, walk);
        } else {
            const auto past = PastNextSemicolon(scanner, cursor);
            if (!past || *past > walk.statementsStart)
                return false; // cannot happen after FindArchitectureBody found "begin"
            std::string item(sourceText.substr(itemStart, *past - itemStart));
            if (word == "signal" || word == "type" || word == "subtype" || word == "constant")
                SubstituteTypeParameters(item, substitution);
            output += item;
            cursor = *past;
        }
        if (cursor <= itemStart || cursor >= walk.statementsStart)
            return false;
    }
}

UnitText CGenerationSession::BuildArchitectureUnit(const std::string& key, const std::string& sourceText,
                                                   CKSTObject& object, OrderList& order) {
    ClearError();
    m_context.textStart = 0;
    const CScanner scanner(sourceText, &m_context);
    const std::string name = object.GetGeneratedName();
    const std::optional<ArchitectureHeader> header =
        GeneratedArchitecture(scanner, m_context, name, ChosenArchitecture(object, key));
    ArchitectureBody body;
    if (!header || !FindArchitectureBody(scanner, header->declarationsStart, header->name, body))
        return {};

    ArchitectureWalk walk{object, order, body.statementsStart, body.endKeyword, {}, {}};
    const CKSTObject substitution = SubstitutionObject(object, m_imported);
    std::string result = sourceText.substr(header->keyword, header->declarationsStart - header->keyword);
    if (!EmitArchitectureDeclarations(scanner, header->declarationsStart, walk, substitution, result))
        return {};
    result += "\r\n\r\nbegin";
    std::string statements =
        sourceText.substr(body.statementsStart, body.afterSemicolon - body.statementsStart);
    SubstituteTypeParameters(statements, substitution);
    result += statements;
    result += "\r\n\r\n";

    if (key != name)
        RenameUnit(result, name, key, true);
    for (const auto& [component, componentKey] : walk.renames)
        RenameUnit(result, component, componentKey, true);
    return {std::move(result), body.afterSemicolon};
}

} // namespace kestra
