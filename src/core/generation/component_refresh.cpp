#include "generation/component_refresh.h"

#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/architecture_structure.h"
#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "analysis/structure_walker.h"
#include "generation/components.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "text/text_edits.h"

#include <algorithm>

namespace kestra {

namespace {

constexpr std::string_view kDeclarationsMark = "-- KESTRA component declarations";

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

    std::optional<std::vector<PortShape>> ports = ChildPortShapes(childName, childObject, childSource);
    if (!ports) {
        context.SetError(AnalysisErrorCode::WrongKeyword);
        return std::nullopt;
    }
    child.ports = std::move(*ports);
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

// Appends a kept declaration (from `start`, the blanks and comments in front of it included, to
// `end`) without a declarations mark among the comments in front of its first word, which
// stands at `word`: the mark is written again before "begin".
void AppendKept(std::string& output, std::string_view text, std::size_t start, std::size_t word,
                std::size_t end) {
    const std::size_t mark = text.substr(0, word).find(kDeclarationsMark, start);
    if (mark == std::string_view::npos) {
        output.append(text, start, end - start);
        return;
    }
    const std::size_t lineStart = std::max(LineStart(text, mark), start);
    std::size_t next = LineEnd(text, mark);
    next += next < text.size() && text[next] == '\r' ? 1 : 0;
    next += next < text.size() && text[next] == '\n' ? 1 : 0;
    output.append(text, start, lineStart - start);
    output.append(text, next, end - next);
}

// Copies the declarative part from the cursor up to its "begin" into output, leaving out the
// component declarations and bindings the refresh writes anew; the cursor ends just after
// "begin". False with an error set.
bool CopyKeptDeclarations(const CScanner& scanner, std::size_t& cursor, std::string& output,
                          AnalysisContext& context) {
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
        if (word == "function" || word == "procedure") {
            SkipFunctionBody(scanner, cursor);
        } else if (word == "component") {
            if (!PassOldComponent(scanner, cursor, context))
                return false;
            continue;
        } else if (word == "for") {
            if (!PassOldBinding(scanner, cursor, context))
                return false;
            continue;
        } else {
            const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
            if (!semicolon) {
                context.SetError(AnalysisErrorCode::UnexpectedEndOfFile, scanner.LineOfPosition(cursor));
                return false;
            }
            cursor = *semicolon + 1;
        }
        AppendKept(output, sourceText, itemStart, wordStart, cursor);
    }
}

// The signals of new instances behind the kept declarations: one to a line, the last without
// its line end.
std::string SignalLines(const std::string& signals) {
    if (signals.empty())
        return {};
    return "\r\n" + signals.substr(0, signals.size() - 2);
}

// The refresh of a source in the tool's own form: declarations and bindings rebuilt between the
// mark and "begin", the signals of new instances before the mark.
std::optional<std::string> RebuildComponentDeclarations(const std::string& sourceText,
                                                        const std::vector<ChildComponent>& children,
                                                        bool instantiate, AnalysisContext& context) {
    std::string declarations;
    for (const ChildComponent& child : children)
        declarations += child.declaration;
    const CScanner scanner(sourceText, &context);
    CInstancePlanner planner(sourceText, context.moduleName, children);
    std::string output;
    output.reserve(sourceText.size() + declarations.size() + 256);
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
        NewInstances added;
        if (instantiate && !children.empty()) {
            // The closing "end" as analysis found it: "end <name>;", "end architecture;" or "end;".
            ArchitectureBody body;
            if (!FindArchitectureBody(scanner, header.declarationsStart, header.name, body))
                return std::nullopt;
            added = planner.Plan(header.declarationsStart, body.statementsStart, body.endKeyword);
        }
        output += SignalLines(added.signals);
        output += declarations.empty()
                      ? "\r\n"
                      : "\r\n\r\n\t" + std::string(kDeclarationsMark) + "\r\n" + declarations;
        output += "begin";
        copyPoint = cursor;
        if (added.position > cursor) {
            output.append(sourceText, cursor, added.position - cursor);
            copyPoint = added.position;
        }
        output += added.statements;
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

// What the walk over a declarative part found: the children declared there, and where the
// declarations of children not declared yet go when the part has the mark.
struct DeclarativePart {
    std::vector<const ChildComponent*> declared;
    std::size_t markLine = 0;                  // the start of the mark's line
    std::optional<std::size_t> afterMark;      // the start of the line after the mark
    std::optional<std::size_t> afterComponent; // just after the last component declaration below it
};

// The refresh of a source the tool did not write: each change made where it belongs, one
// architecture of the entity after the other.
class CComponentDeclarationsEdit {
public:
    CComponentDeclarationsEdit(const std::string& sourceText, const std::vector<ChildComponent>& children,
                               AnalysisContext& context)
        : m_text(sourceText), m_children(children), m_context(context), m_scanner(sourceText, &context),
          m_lineEnd(LineEndOf(sourceText)), m_planner(sourceText, context.moduleName, children) {}

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
            const DeclarativePart part = EditDeclarativePart(header.declarationsStart, begin);
            NewInstances added;
            if (instantiate)
                added = m_planner.Plan(header.declarationsStart, body.statementsStart, body.endKeyword);
            DeclareMissing(part, begin, added.signals, EntityInstantiated(header));
            if (!added.statements.empty())
                m_edits.push_back(
                    {added.position, added.position, WithLineEnds(added.statements, m_lineEnd)});
            from = body.afterSemicolon;
        }
        return ApplyTextEdits(m_text, std::move(m_edits));
    }

private:
    // The lower-case names of the entities the architecture instantiates directly.
    std::vector<std::string> EntityInstantiated(const ArchitectureHeader& header) const {
        std::vector<std::string> names;
        const std::optional<ArchitectureStructure> structure =
            ReadArchitectureStructure(m_text, header.entityName, header.keyword);
        if (!structure)
            return names;
        for (const InstanceStructure& instance : structure->instances) {
            if (instance.entity)
                names.push_back(ToLowerAscii(instance.unit));
        }
        return names;
    }

    const ChildComponent* ChildNamed(const std::string& name) const {
        for (const ChildComponent& child : m_children) {
            if (SameTextNoCase(child.name, name))
                return &child;
        }
        return nullptr;
    }

    // The component declarations and bindings of the children between the declarative part's
    // start and its "begin"; returns what it found there.
    DeclarativePart EditDeclarativePart(std::size_t start, std::size_t begin) {
        DeclarativePart part;
        const std::size_t mark = m_text.find(kDeclarationsMark, start);
        if (mark < begin) {
            part.markLine = LineStart(m_text, mark);
            const std::size_t lineEnd = LineEnd(m_text, mark);
            part.afterMark = lineEnd + (m_text.compare(lineEnd, 2, "\r\n") == 0 ? 2 : 1);
        }
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
                    part.declared.push_back(child);
                if (part.afterMark && itemStart > mark)
                    part.afterComponent = itemEnd;
            } else if (word == "for") {
                EditBinding(itemStart, itemEnd, pos);
            }
            pos = itemEnd;
        }
        return part;
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

    // The children not declared yet are declared below the mark (after the last component
    // declaration there) when the part has it, otherwise behind a new mark before "begin"; the
    // signals of new instances go before the mark.
    void DeclareMissing(const DeclarativePart& part, std::size_t begin, const std::string& signals,
                        const std::vector<std::string>& entityInstantiated) {
        std::string missing;
        std::string afterComponent;
        for (const ChildComponent& child : m_children) {
            if (std::find(part.declared.begin(), part.declared.end(), &child) != part.declared.end())
                continue;
            // An entity instantiation needs no component.
            if (std::find(entityInstantiated.begin(), entityInstantiated.end(), ToLowerAscii(child.name)) !=
                entityInstantiated.end())
                continue;
            missing += child.declaration;
            afterComponent += m_lineEnd + m_lineEnd + "\t" + InPlace(child.declaration, m_lineEnd);
        }
        if (part.afterMark && !signals.empty())
            m_edits.push_back({part.markLine, part.markLine, WithLineEnds(signals, m_lineEnd)});
        if (part.afterComponent && !missing.empty())
            m_edits.push_back({*part.afterComponent, *part.afterComponent, afterComponent});
        else if (part.afterMark && !missing.empty())
            m_edits.push_back({*part.afterMark, *part.afterMark, WithLineEnds(missing, m_lineEnd)});
        if (part.afterMark)
            return;
        std::string beforeBegin = signals;
        if (!missing.empty())
            beforeBegin +=
                (signals.empty() ? "\t" : "\r\n\t") + std::string(kDeclarationsMark) + "\r\n" + missing;
        if (beforeBegin.empty())
            return;
        const std::string text = WithLineEnds(beforeBegin, m_lineEnd);
        const std::size_t lineStart = LineStart(m_text, begin);
        if (OnlyBlanks(m_text, lineStart, begin))
            m_edits.push_back({lineStart, lineStart, text});
        else
            m_edits.push_back({begin, begin, m_lineEnd + text});
    }

    const std::string& m_text;
    const std::vector<ChildComponent>& m_children;
    AnalysisContext& m_context;
    const CScanner m_scanner;
    const std::string m_lineEnd;
    CInstancePlanner m_planner;
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
                                                        bool instantiate, SourceForm form,
                                                        AnalysisContext& context) {
    if (form == SourceForm::Tool)
        return RebuildComponentDeclarations(sourceText, children, instantiate, context);
    return EditComponentDeclarations(sourceText, children, instantiate, context);
}

std::optional<std::string> RefreshComponentDeclarations(const std::string& sourceText,
                                                        const std::vector<ChildComponent>& children,
                                                        bool instantiate, AnalysisContext& context) {
    const SourceForm form =
        IsToolFormSource(sourceText, context.moduleName) ? SourceForm::Tool : SourceForm::Other;
    return RefreshComponentDeclarations(sourceText, children, instantiate, form, context);
}

} // namespace kestra
