#include "generation/component_refresh.h"

#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "analysis/structure_walker.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "text/text_edits.h"

#include <algorithm>

namespace kestra {

namespace {

// "port (a, b : in bit; c : out bit)" gives a, b, c; false when the text is not a port clause.
bool PortNames(const std::string& portClause, std::vector<std::string>& names) {
    const CScanner scanner(portClause);
    std::size_t cursor = 0;
    if (!SameTextNoCase(scanner.ReadIdentifier(cursor), "port") || scanner.ReadChar(cursor) != '(')
        return false;
    for (;;) {
        std::string name = scanner.ReadIdentifier(cursor);
        if (name.empty())
            return true;
        names.push_back(std::move(name));
        while (scanner.ReadChar(cursor) == ',') {
            name = scanner.ReadIdentifier(cursor);
            if (name.empty())
                break;
            names.push_back(std::move(name));
        }
        const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
        if (!semicolon)
            return true;
        cursor = *semicolon + 1;
    }
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i)
        joined += (i == 0 ? "" : ", ") + names[i];
    return joined;
}

// The child's generics as its source declares them, one name to a line, with the values of its
// parameters; empty when it has none.
std::string DeclaredGenericLines(const std::string& childName, const CKSTObject& childObject,
                                 const std::string& childSource) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(childSource, childName);
    if (!entity || !entity->generics)
        return {};
    std::string lines;
    for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
        for (const std::string& name : declaration.names) {
            std::string value;
            const int entry = childObject.FindEntry(name);
            if (entry > 0)
                value = GenericValueText(childObject.GetEntryKind(entry), childObject.GetEntryValue(entry));
            else if (declaration.defaultValue)
                value = ExpressionText(childSource, *declaration.defaultValue);
            lines += "\t\t" + name + " : " + declaration.TypeText(childSource);
            if (!value.empty())
                lines += " := " + value;
            lines += ";\r\n";
        }
    }
    return lines;
}

} // namespace

std::optional<ChildComponent> ChildComponentDeclaration(const std::string& childName,
                                                        const CKSTObject& childObject,
                                                        const std::string& childSource,
                                                        const std::string& libraryName, bool declaredGenerics,
                                                        AnalysisContext& context) {
    ChildComponent child;
    child.name = childName;
    std::string& declaration = child.declaration;
    declaration = "\tcomponent " + childName + "\r\n";
    const std::string generics = declaredGenerics
                                     ? DeclaredGenericLines(childName, childObject, childSource)
                                     : BuildGenericLines(kGenericTopModule | kGenericAllKinds, childObject);
    declaration += WrapGenericLines(generics, "\tgeneric (\r\n", "\t);\r\n");

    const std::string moduleName = context.moduleName;
    const std::size_t textStart = context.textStart;
    context.moduleName = childName;
    const CScanner childScanner(childSource, &context);
    std::size_t cursor = 0;
    const std::string portClause =
        AnalyzeEntity(childScanner, EntityMode::PortText, cursor, nullptr, nullptr);
    context.moduleName = moduleName;
    context.textStart = textStart;
    if (context.HasError())
        return std::nullopt;
    declaration += portClause;
    declaration += "\tend component;\r\n\r\n";
    const std::string binding = BuildComponentBinding(childObject, childName, libraryName);
    declaration += binding;
    child.binding = !binding.empty();
    child.source = childSource;

    std::vector<std::string> ports;
    if (!PortNames(portClause, ports)) {
        context.SetError(AnalysisErrorCode::WrongKeyword);
        return std::nullopt;
    }
    child.instantiation =
        "\r\n\tU_" + childName + ": " + childName + "\r\n\t\tport map (" + JoinNames(ports) + ");\r\n";
    return child;
}

namespace {

// Passes over an old "component ... end component;" from just after "component". False with error
// 2 or 5 set when its end is not found or not written so.
bool PassOldComponent(const CScanner& scanner, std::size_t& cursor, AnalysisContext& context) {
    const auto end = scanner.FindWordOutsideComments(cursor, "end");
    if (!end) {
        context.SetError(AnalysisErrorCode::ExpectedKeywordNotFound, scanner.LineOfPosition(cursor));
        return false;
    }
    cursor = *end + 3;
    if (!SameTextNoCase(scanner.ReadWord(cursor), "component") || scanner.ReadChar(cursor) != ';') {
        context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
        return false;
    }
    return true;
}

// Passes over an old binding "for ... use entity ...;" from just after "for". False with error 8
// or 5 set when it is not written so.
bool PassOldBinding(const CScanner& scanner, std::size_t& cursor, AnalysisContext& context) {
    const auto use = scanner.FindWordOutsideComments(cursor, "use");
    if (!use) {
        context.SetError(AnalysisErrorCode::MissingKeyword, scanner.LineOfPosition(cursor));
        return false;
    }
    cursor = *use + 3;
    if (!SameTextNoCase(scanner.ReadWord(cursor), "entity")) {
        context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
        return false;
    }
    const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
    if (!semicolon) {
        context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
        return false;
    }
    cursor = *semicolon + 1;
    return true;
}

// Copies the declarative part from the cursor up to its "begin" into output, leaving out the
// component declarations and bindings the refresh writes anew; the cursor ends just after
// "begin". False with an error set.
bool CopyKeptDeclarations(const CScanner& scanner, std::size_t& cursor, std::string& output,
                          AnalysisContext& context) {
    const std::string_view sourceText = scanner.Text();
    for (;;) {
        const std::size_t itemStart = cursor;
        std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        if (word == "begin")
            return true;
        if (word == "pure" || word == "impure")
            word = ToLowerAscii(scanner.ReadIdentifier(cursor));
        if (word == "function" || word == "procedure") {
            SkipFunctionBody(scanner, cursor);
            output.append(sourceText, itemStart, cursor - itemStart);
        } else if (word == "component") {
            if (!PassOldComponent(scanner, cursor, context))
                return false;
        } else if (word == "for") {
            if (!PassOldBinding(scanner, cursor, context))
                return false;
        } else {
            const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
            if (!semicolon) {
                context.SetError(AnalysisErrorCode::UnexpectedEndOfFile, scanner.LineOfPosition(cursor));
                return false;
            }
            cursor = *semicolon + 1;
            output.append(sourceText, itemStart, cursor - itemStart);
        }
    }
}

// The refresh of a source in the tool's own form: declarations and bindings rebuilt between the
// mark and "begin".
std::optional<std::string> RebuildComponentDeclarations(const std::string& sourceText,
                                                        const std::vector<ChildComponent>& children,
                                                        bool instantiate, AnalysisContext& context) {
    std::string declarations;
    ComponentList list;
    for (const ChildComponent& child : children) {
        declarations += child.declaration;
        list.emplace_back(child.name, child.instantiation);
    }
    const CScanner scanner(sourceText, &context);
    std::string output;
    std::size_t copyPoint = 0;
    ArchitectureHeader header;
    for (std::size_t from = 0;;) {
        const HeaderSearch search = NextArchitectureHeader(scanner, from, header);
        if (search == HeaderSearch::Malformed)
            return std::nullopt;
        if (search == HeaderSearch::NoMore)
            break;
        if (!scanner.FindWordOutsideComments(header.declarationsStart, "begin")) {
            context.SetError(AnalysisErrorCode::ExpectedKeywordNotFound,
                             scanner.LineOfPosition(header.declarationsStart));
            return std::nullopt;
        }
        output.append(sourceText, copyPoint, header.declarationsStart - copyPoint);
        std::size_t cursor = header.declarationsStart;
        if (!CopyKeptDeclarations(scanner, cursor, output, context))
            return std::nullopt;
        output +=
            declarations.empty() ? "\r\n" : "\r\n\r\n\t-- KESTRA component declarations\r\n" + declarations;
        output += "begin";
        if (instantiate) {
            // The closing "end" as analysis found it: "end <name>;", "end architecture;" or "end;".
            ArchitectureBody body;
            if (FindArchitectureBody(scanner, header.declarationsStart, header.name, body))
                output += InstantiationsNotYetIn(scanner, cursor, body.endKeyword, list);
            else
                output += BuildInstantiations(scanner, context, cursor, header.name, list);
        }
        if (context.HasError())
            return std::nullopt;
        copyPoint = cursor;
        from = cursor;
    }
    output.append(sourceText, copyPoint, std::string::npos);
    return output;
}

// A declaration text made to stand where a component declaration stood: without the blanks in
// front of its first line and the blank lines after it, in the file's line ends.
std::string InPlace(const std::string& declaration, const std::string& lineEnd) {
    std::size_t first = 0;
    while (first < declaration.size() && IsBlank(declaration[first]))
        ++first;
    std::size_t last = declaration.size();
    while (last > first && IsBlank(declaration[last - 1]))
        --last;
    return WithLineEnds(declaration.substr(first, last - first), lineEnd);
}

bool SameDeclarations(std::string_view aText, const std::optional<InterfaceList>& a, std::string_view bText,
                      const std::optional<InterfaceList>& b) {
    const std::size_t aCount = a ? a->declarations.size() : 0;
    const std::size_t bCount = b ? b->declarations.size() : 0;
    std::vector<std::string> aNames;
    std::vector<std::string> bNames;
    auto flatten = [](std::string_view text, const InterfaceList& list, std::vector<std::string>& out) {
        for (const InterfaceDeclaration& declaration : list.declarations) {
            std::string type;
            for (const char c : declaration.TypeText(text)) {
                if (!IsBlank(c))
                    type += LowerAscii(c);
            }
            for (const std::string& name : declaration.names)
                out.push_back(ToLowerAscii(name) + ":" +
                              (declaration.mode.empty() ? "in" : declaration.mode) + ":" + type);
        }
    };
    if (aCount > 0)
        flatten(aText, *a, aNames);
    if (bCount > 0)
        flatten(bText, *b, bNames);
    return aNames == bNames;
}

// Whether a component declaration declares what the child's entity declares.
bool MatchesChild(const std::string& text, std::size_t afterName, const ChildComponent& child) {
    const std::optional<EntityInterface> component = ReadComponentInterface(text, afterName, child.name);
    const std::optional<EntityInterface> entity = ReadEntityInterface(child.source, child.name);
    return component && entity &&
           SameDeclarations(text, component->generics, child.source, entity->generics) &&
           SameDeclarations(text, component->ports, child.source, entity->ports);
}

// The refresh of a source the tool did not write: each change made where it belongs, one
// architecture of the entity after the other.
class CComponentDeclarationsEdit {
public:
    CComponentDeclarationsEdit(const std::string& sourceText, const std::vector<ChildComponent>& children,
                               AnalysisContext& context)
        : m_text(sourceText), m_children(children), m_context(context), m_scanner(sourceText, &context),
          m_lineEnd(LineEndOf(sourceText)) {
        for (const ChildComponent& child : children)
            m_list.emplace_back(child.name, child.instantiation);
    }

    std::optional<std::string> Run(bool instantiate) {
        ArchitectureHeader header;
        for (std::size_t from = 0;;) {
            const HeaderSearch search = NextArchitectureHeader(m_scanner, from, header);
            if (search == HeaderSearch::Malformed)
                return std::nullopt;
            if (search == HeaderSearch::NoMore)
                break;
            ArchitectureBody body;
            if (!FindArchitectureBody(m_scanner, header.declarationsStart, header.name, body)) {
                if (m_context.HasError())
                    return std::nullopt;
                continue;
            }
            const std::size_t begin = body.statementsStart - 5;
            DeclareMissing(EditDeclarativePart(header.declarationsStart, begin), begin);
            if (instantiate)
                Instantiate(body);
            from = body.afterSemicolon;
        }
        return ApplyTextEdits(m_text, std::move(m_edits));
    }

private:
    const ChildComponent* ChildNamed(const std::string& name) const {
        for (const ChildComponent& child : m_children) {
            if (SameTextNoCase(child.name, name))
                return &child;
        }
        return nullptr;
    }

    // The component declarations and bindings of the children between the declarative part's
    // start and its "begin"; returns the children declared there.
    std::vector<const ChildComponent*> EditDeclarativePart(std::size_t start, std::size_t begin) {
        std::vector<const ChildComponent*> declared;
        for (std::size_t pos = start;;) {
            m_scanner.SkipBlanksAndComments(pos);
            if (pos >= begin)
                break;
            const std::size_t itemStart = pos;
            const std::string word = ToLowerAscii(m_scanner.ReadIdentifier(pos));
            const StructureStop stop = WalkStructure(m_text, itemStart, StructureScope::Item);
            if (stop.what != StructureStop::What::Semicolon || stop.position >= begin)
                break;
            const std::size_t itemEnd = stop.position + 1;
            if (word == "component") {
                if (const ChildComponent* child = EditComponent(itemStart, itemEnd, pos))
                    declared.push_back(child);
            } else if (word == "for") {
                EditBinding(itemStart, itemEnd, pos);
            }
            pos = itemEnd;
        }
        return declared;
    }

    // A component declaration of a child that no longer matches it is replaced; the tool's
    // binding of the child follows it. Returns the child it declares, if any.
    const ChildComponent* EditComponent(std::size_t itemStart, std::size_t itemEnd, std::size_t afterWord) {
        std::size_t pos = afterWord;
        const ChildComponent* child = ChildNamed(m_scanner.ReadIdentifier(pos));
        if (child == nullptr)
            return nullptr;
        if (!MatchesChild(m_text, pos, *child))
            m_edits.push_back({itemStart, itemEnd, InPlace(child->declaration, m_lineEnd)});
        else if (child->binding)
            m_edits.push_back(
                {itemEnd, itemEnd,
                 WithLineEnds("\r\n\r\n", m_lineEnd) +
                     InPlace(child->declaration.substr(child->declaration.find("\tfor all: ")), m_lineEnd)});
        return child;
    }

    // "for <labels> : <component> use ...": the tool binds a child whose architecture the user
    // chose; other bindings stay.
    void EditBinding(std::size_t itemStart, std::size_t itemEnd, std::size_t afterWord) {
        const auto colon = m_scanner.FindTextOutsideComments(afterWord, ":");
        std::size_t name = colon ? *colon + 1 : itemEnd;
        const ChildComponent* child =
            colon && *colon < itemEnd ? ChildNamed(m_scanner.ReadIdentifier(name)) : nullptr;
        if (child != nullptr && child->binding)
            m_edits.push_back(DeletionOf(m_text, itemStart, itemEnd));
    }

    // The children not declared yet are declared before "begin".
    void DeclareMissing(const std::vector<const ChildComponent*>& declared, std::size_t begin) {
        std::string missing;
        for (const ChildComponent& child : m_children) {
            if (std::find(declared.begin(), declared.end(), &child) == declared.end())
                missing += child.declaration;
        }
        if (missing.empty())
            return;
        const std::string text = WithLineEnds("\t-- KESTRA component declarations\r\n" + missing, m_lineEnd);
        const std::size_t lineStart = LineStart(m_text, begin);
        if (OnlyBlanks(m_text, lineStart, begin))
            m_edits.push_back({lineStart, lineStart, text});
        else
            m_edits.push_back({begin, begin, m_lineEnd + text});
    }

    void Instantiate(const ArchitectureBody& body) {
        const std::string instances =
            InstantiationsNotYetIn(m_scanner, body.statementsStart, body.endKeyword, m_list);
        if (!instances.empty())
            m_edits.push_back(
                {body.statementsStart, body.statementsStart, WithLineEnds(instances, m_lineEnd)});
    }

    const std::string& m_text;
    const std::vector<ChildComponent>& m_children;
    AnalysisContext& m_context;
    const CScanner m_scanner;
    const std::string m_lineEnd;
    ComponentList m_list;
    std::vector<TextEdit> m_edits;
};

// The refresh of a source the tool did not write: each change made where it belongs.
std::optional<std::string> EditComponentDeclarations(const std::string& sourceText,
                                                     const std::vector<ChildComponent>& children,
                                                     bool instantiate, AnalysisContext& context) {
    if (children.empty())
        return sourceText;
    return CComponentDeclarationsEdit(sourceText, children, context).Run(instantiate);
}

} // namespace

std::optional<std::string> RefreshComponentDeclarations(const std::string& sourceText,
                                                        const std::vector<ChildComponent>& children,
                                                        bool instantiate, AnalysisContext& context) {
    if (IsToolFormSource(sourceText, context.moduleName))
        return RebuildComponentDeclarations(sourceText, children, instantiate, context);
    return EditComponentDeclarations(sourceText, children, instantiate, context);
}

} // namespace kestra
