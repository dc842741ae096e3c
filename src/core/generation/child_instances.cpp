#include "generation/child_instances.h"

#include "analysis/interface_list.h"
#include "analysis/structure_walker.h"
#include "analysis/substitution.h"
#include "analysis/token_reader.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "text/char_class.h"
#include "text/text_edits.h"
#include "text/word_reader.h"

namespace kestra {

namespace {

bool IsOneToken(std::string_view text) {
    CTokenReader reader(text);
    return reader.Next().kind != TokenKind::EndOfText && reader.Next().kind == TokenKind::EndOfText;
}

// The value an instance without a generic map gives the generic, as it stands in a type; empty
// when it has none.
std::string GenericValueInType(const std::string& name, const InterfaceDeclaration& declaration,
                               const CKSTObject& childObject, std::string_view childSource) {
    std::string value;
    bool typeGeneric = false;
    const int entry = childObject.FindEntry(name);
    if (entry > 0) {
        const EntryKind kind = childObject.GetEntryKind(entry);
        value = GenericValueText(kind, childObject.GetEntryValue(entry));
        typeGeneric = kind == EntryKind::DataType;
    } else if (declaration.defaultValue) {
        value = ExpressionText(childSource, *declaration.defaultValue);
        typeGeneric = SameTextNoCase(declaration.typeMark, "type");
    }
    if (value.empty() || typeGeneric || IsOneToken(value))
        return value;
    return "(" + value + ")";
}

std::string BlankFreeLower(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (!IsBlank(c))
            result += LowerAscii(c);
    }
    return result;
}

// Whether a formal port of mode `formal` may be associated with a port of mode `actual`.
bool ModeAllows(const std::string& formal, const std::string& actual) {
    if (formal == "in")
        return actual == "in" || actual == "inout" || actual == "buffer";
    if (formal == "out")
        return actual == "out" || actual == "inout";
    return formal == "linkage" || formal == actual;
}

// The parent's names as one architecture offers them to new instances, and the names taken there.
class CArchitectureScope {
public:
    CArchitectureScope(std::vector<PortShape> names, NameSet driven, const NameSet& words)
        : m_names(std::move(names)), m_driven(std::move(driven)), m_words(words) {}

    // The parent's name that the child's port fits, or null; a name the port drives is driven
    // from then on.
    const PortShape* Fitting(const PortShape& port) {
        for (const PortShape& name : m_names) {
            if (!SameTextNoCase(name.name, port.name))
                continue;
            const std::string key = ToLowerAscii(name.name);
            const bool drives = port.mode != "in";
            if (BlankFreeLower(name.type) != BlankFreeLower(port.type) ||
                (!name.mode.empty() && !ModeAllows(port.mode, name.mode)) ||
                (drives && m_driven.count(key) != 0))
                return nullptr;
            if (drives)
                m_driven.insert(key);
            return &name;
        }
        return nullptr;
    }

    // The first of base, base_2, base_3 ... that is no word of the parent and not taken yet.
    std::string FreeName(const std::string& base) {
        std::string name = base;
        for (int suffix = 2; m_words.count(ToLowerAscii(name)) != 0 || m_taken.count(ToLowerAscii(name)) != 0;
             ++suffix)
            name = base + "_" + std::to_string(suffix);
        m_taken.insert(ToLowerAscii(name));
        return name;
    }

private:
    std::vector<PortShape> m_names;
    NameSet m_driven;
    const NameSet& m_words;
    NameSet m_taken;
};

std::string JoinPortNames(const std::vector<PortShape>& ports) {
    std::string joined;
    for (std::size_t i = 0; i < ports.size(); ++i)
        joined += (i == 0 ? "" : ", ") + ports[i].name;
    return joined;
}

// The instance of one child, with the signals it needs declared into `signals`.
std::string InstanceOf(const ChildComponent& child, CArchitectureScope& scope, std::string& signals) {
    const std::string label = scope.FreeName("U_" + child.name);
    std::string associations;
    bool allFit = true;
    for (std::size_t i = 0; i < child.ports.size(); ++i) {
        const PortShape& port = child.ports[i];
        std::string actual;
        if (const PortShape* name = scope.Fitting(port)) {
            actual = name->name;
        } else {
            allFit = false;
            const std::string suffix =
                IsVhdlIdentifier(port.name) ? ToUpperAscii(port.name) : "P" + std::to_string(i + 1);
            actual = scope.FreeName(label + "_" + suffix);
            signals += "\tsignal " + actual + " : " + port.type + ";\r\n";
        }
        associations +=
            "\t\t\t" + port.name + " => " + actual + (i + 1 < child.ports.size() ? "," : "") + "\r\n";
    }
    const std::string map =
        allFit ? "(" + JoinPortNames(child.ports) + ");\r\n" : "(\r\n" + associations + "\t\t);\r\n";
    return "\r\n\t" + label + ": " + child.name + "\r\n\t\tport map " + map;
}

constexpr std::string_view kInstancesMark = "-- KESTRA component instantiations";

// Whether an instance in the tool's layout starts at `start`: "LABEL: NAME", a line end, two
// tabs and "port map", as InstanceOf writes it.
bool IsToolInstance(std::string_view text, std::size_t start) {
    CTokenReader reader(text, start);
    const VhdlToken label = reader.Next();
    const VhdlToken colon = reader.Next();
    const VhdlToken unit = reader.Next();
    const VhdlToken port = reader.Next();
    const VhdlToken map = reader.Next();
    const std::string_view gap = text.substr(unit.end, port.start - unit.end);
    return label.IsName() && colon.Is(':') && colon.start == label.end && unit.IsName() &&
           unit.start == colon.end + 1 && (gap == "\r\n\t\t" || gap == "\n\t\t") &&
           port.Is(VhdlKeyword::Port) && SameTextNoCase(text.substr(map.start, map.end - map.start), "map");
}

// Puts the instances below the mark at `mark`: after the instances in the tool's layout that
// follow it one after the other, or at the start of the line after it.
void PlaceBelowMark(std::string_view text, std::size_t mark, std::size_t end, const std::string& instances,
                    NewInstances& added) {
    std::size_t lineEnd = LineEnd(text, mark);
    lineEnd += text.compare(lineEnd, 2, "\r\n") == 0 ? 2 : 1;
    std::optional<std::size_t> afterInstance;
    for (std::size_t pos = lineEnd;;) {
        const StructureStop stop = WalkStructure(text, pos, StructureScope::Item);
        if (stop.what != StructureStop::What::Semicolon || stop.position >= end || !IsToolInstance(text, pos))
            break;
        pos = stop.position + 1;
        afterInstance = pos;
    }
    // Each instance begins with a line end, which makes the blank line between two.
    added.position = afterInstance.value_or(lineEnd);
    added.statements =
        afterInstance ? "\r\n" + instances.substr(0, instances.size() - 2) : instances.substr(2);
}

} // namespace

std::optional<std::vector<PortShape>>
ChildPortShapes(const std::string& childName, const CKSTObject& childObject, const std::string& childSource) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(childSource, childName);
    if (!entity || !entity->ports)
        return std::nullopt;
    std::vector<PortShape> ports = EntityPortShapes(childSource, childName);
    if (!entity->generics)
        return ports;
    for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
        for (const std::string& name : declaration.names) {
            const std::string value = GenericValueInType(name, declaration, childObject, childSource);
            if (value.empty())
                continue;
            for (PortShape& port : ports)
                port.type = ReplaceWholeWord(port.type, name, value, true);
        }
    }
    return ports;
}

CInstancePlanner::CInstancePlanner(std::string_view parentText, std::string parentName,
                                   const std::vector<ChildComponent>& children)
    : m_text(parentText), m_parentName(std::move(parentName)), m_children(children) {
    for (const ChildComponent& child : children)
        m_units.push_back({child.name, child.ports});
}

NewInstances CInstancePlanner::Plan(std::size_t declarationsStart, std::size_t statementsStart,
                                    std::size_t end) {
    NewInstances added;
    added.position = statementsStart;
    const NameSet named = WordsIn(m_text, statementsStart, end);
    std::vector<const ChildComponent*> missing;
    for (const ChildComponent& child : m_children) {
        if (named.count(ToLowerAscii(child.name)) == 0)
            missing.push_back(&child);
    }
    if (missing.empty())
        return added;
    if (!m_words) {
        m_words = WordsIn(m_text, 0, m_text.size());
        m_ports = EntityPortShapes(m_text, m_parentName);
    }
    std::vector<PortShape> names = m_ports;
    for (PortShape& signal : DeclaredSignals(m_text, declarationsStart, statementsStart - 5))
        names.push_back(std::move(signal));
    CArchitectureScope scope(std::move(names), DrivenNames(m_text, statementsStart, end, m_units), *m_words);
    std::string instances;
    for (const ChildComponent* child : missing)
        instances += InstanceOf(*child, scope, added.signals);
    const std::size_t mark = m_text.find(kInstancesMark, statementsStart);
    if (mark < end)
        PlaceBelowMark(m_text, mark, end, instances, added);
    else
        added.statements = "\r\n\t" + std::string(kInstancesMark) + instances;
    return added;
}

} // namespace kestra
