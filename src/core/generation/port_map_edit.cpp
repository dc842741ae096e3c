#include "generation/port_map_edit.h"

#include "text/char_class.h"
#include "text/text_edits.h"

#include <optional>

namespace kestra {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::string_view LineBreakOf(std::string_view text) {
    return text.find("\r\n") != kNone ? "\r\n" : "\n";
}

// The blanks at the start of pos's line.
std::string LeadingBlanks(std::string_view text, std::size_t pos) {
    const std::size_t start = LineStart(text, pos);
    std::size_t end = start;
    while (end < pos && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    return std::string(text.substr(start, end - start));
}

bool HoldsAt(std::string_view text, std::size_t pos, std::string_view part) {
    return pos <= text.size() && text.substr(pos, part.size()) == part;
}

// Whether the instance's label, ';', port map parentheses and associations stand in the text
// where the structure says.
bool InstanceFits(std::string_view text, const InstanceStructure& instance) {
    if (instance.semicolon >= text.size() || text[instance.semicolon] != ';' ||
        !HoldsAt(text, instance.start, instance.label))
        return false;
    if (instance.portMapOpen == kNone || instance.portMapClose == kNone)
        return instance.portMapOpen == instance.portMapClose;
    if (instance.portMapOpen >= instance.portMapClose || instance.portMapClose >= instance.semicolon ||
        text[instance.portMapOpen] != '(' || text[instance.portMapClose] != ')')
        return false;
    for (const MapAssociation& port : instance.ports) {
        if (port.start <= instance.portMapOpen || port.end > instance.portMapClose ||
            port.end < port.start + port.actual.size() || !HoldsAt(text, port.start, port.formal) ||
            !HoldsAt(text, port.end - port.actual.size(), port.actual))
            return false;
    }
    return true;
}

struct Association {
    std::string formal;
    std::string actual;
};

Association* FindFormal(std::vector<Association>& associations, std::string_view formal) {
    for (Association& association : associations) {
        if (SameTextNoCase(association.formal, formal))
            return &association;
    }
    return nullptr;
}

void ApplyChanges(std::vector<Association>& associations, const std::vector<PortMapChange>& changes) {
    for (const PortMapChange& change : changes) {
        if (Association* found = FindFormal(associations, change.formal))
            found->actual = change.actual;
        else
            associations.push_back({change.formal, change.actual});
    }
}

// "port map (" with one association a line, indented one tab more than `indent`, and ")".
std::string NamedPortMap(const std::vector<Association>& associations, std::string_view indent,
                         std::string_view lineBreak) {
    std::string map = "port map (";
    for (std::size_t i = 0; i < associations.size(); ++i) {
        map.append(lineBreak).append(indent).append("\t");
        map += associations[i].formal + " => " + associations[i].actual;
        if (i + 1 < associations.size())
            map += ",";
    }
    map.append(lineBreak).append(indent).append(")");
    return map;
}

// Back over blanks from pos, then over `word` written just before them; kNone when it is not.
std::size_t WordBefore(std::string_view text, std::size_t pos, std::string_view word) {
    while (pos > 0 && IsBlank(text[pos - 1]))
        --pos;
    if (pos < word.size() || !SameTextNoCase(text.substr(pos - word.size(), word.size()), word))
        return kNone;
    pos -= word.size();
    return pos > 0 && IsIdentifierChar(text[pos - 1]) ? kNone : pos;
}

// The edit that writes the port map anew in named form, positional actuals given to the
// unit's ports by position; nothing when a position has no port.
std::optional<TextEdit> RewrittenPortMap(std::string_view text, const InstanceStructure& instance,
                                         const std::vector<std::string>& unitPorts,
                                         const std::vector<PortMapChange>& changes, std::string_view indent) {
    std::vector<Association> associations;
    for (std::size_t i = 0; i < instance.ports.size(); ++i) {
        const MapAssociation& port = instance.ports[i];
        if (port.formal.empty() && i >= unitPorts.size())
            return std::nullopt;
        associations.push_back({port.formal.empty() ? unitPorts[i] : port.formal, port.actual});
    }
    ApplyChanges(associations, changes);
    const std::size_t map = WordBefore(text, instance.portMapOpen, "map");
    const std::size_t port = map == kNone ? kNone : WordBefore(text, map, "port");
    const std::string written = NamedPortMap(associations, indent, LineBreakOf(text));
    if (port == kNone) // a comment between the words and '(': the words stay
        return TextEdit{instance.portMapOpen, instance.portMapClose + 1, written.substr(written.find('('))};
    return TextEdit{port, instance.portMapClose + 1, written};
}

// The edits of a port map in named form: actuals replaced, new associations after the last one.
std::vector<TextEdit> NamedMapEdits(std::string_view text, const InstanceStructure& instance,
                                    const std::vector<PortMapChange>& changes) {
    std::vector<std::string> actuals;
    std::vector<Association> associations;
    for (const MapAssociation& port : instance.ports) {
        associations.push_back({port.formal, port.actual});
        actuals.push_back(port.actual);
    }
    ApplyChanges(associations, changes);
    std::vector<TextEdit> edits;
    for (std::size_t i = 0; i < instance.ports.size(); ++i) {
        const MapAssociation& port = instance.ports[i];
        if (associations[i].actual != actuals[i])
            edits.push_back({port.end - port.actual.size(), port.end, associations[i].actual});
    }
    const MapAssociation& last = instance.ports.back();
    const std::size_t lineStart = LineStart(text, last.start);
    const std::string separator = OnlyBlanks(text, lineStart, last.start)
                                      ? "," + std::string(LineBreakOf(text)) +
                                            std::string(text.substr(lineStart, last.start - lineStart))
                                      : ", ";
    std::string appended;
    for (std::size_t i = instance.ports.size(); i < associations.size(); ++i)
        appended += separator + associations[i].formal + " => " + associations[i].actual;
    if (!appended.empty())
        edits.push_back({last.end, last.end, appended});
    return edits;
}

// The edit that adds a port map before the instance's ';'.
TextEdit AddedPortMap(std::string_view text, const InstanceStructure& instance,
                      const std::vector<PortMapChange>& changes, std::string_view indent) {
    std::vector<Association> associations;
    ApplyChanges(associations, changes);
    std::size_t at = instance.semicolon;
    while (at > instance.start && IsBlank(text[at - 1]))
        --at;
    const std::string_view lineBreak = LineBreakOf(text);
    return {at, at,
            std::string(lineBreak) + std::string(indent) + NamedPortMap(associations, indent, lineBreak)};
}

// The line before the one that starts at lineStart holds a comment and nothing else.
bool CommentLineBefore(std::string_view text, std::size_t lineStart, std::size_t& previousStart) {
    if (lineStart == 0)
        return false;
    std::size_t end = lineStart - 1;
    if (end > 0 && text[end] == '\n' && text[end - 1] == '\r')
        --end;
    previousStart = LineStart(text, end);
    std::size_t first = previousStart;
    while (first < end && IsBlank(text[first]))
        ++first;
    return first + 1 < end && text[first] == '-' && text[first + 1] == '-';
}

// Whether the declarative part's places lie in the text where the structure says.
bool DeclarationsFit(std::string_view text, const ArchitectureStructure& architecture) {
    if (architecture.declarations > architecture.begin ||
        !SameTextNoCase(text.substr(architecture.begin, 5), "begin"))
        return false;
    if (!architecture.declaredSignals.empty()) {
        const SignalDeclaration& last = architecture.declaredSignals.back();
        if (last.semicolon >= architecture.begin || text[last.semicolon] != ';')
            return false;
    }
    return architecture.firstComponent == kNone ||
           (architecture.firstComponent < architecture.begin &&
            SameTextNoCase(text.substr(architecture.firstComponent, 9), "component"));
}

// The insertion of the declaration text before the first component declaration and the
// comment lines directly above it.
TextEdit BeforeComponents(std::string_view text, const ArchitectureStructure& architecture,
                          const std::string& declaration) {
    const std::size_t component = architecture.firstComponent;
    const std::string_view lineBreak = LineBreakOf(text);
    std::size_t at = LineStart(text, component);
    if (!OnlyBlanks(text, at, component))
        return {component, component, declaration + std::string(lineBreak) + LeadingBlanks(text, component)};
    for (std::size_t previous = 0;
         CommentLineBefore(text, at, previous) && previous >= architecture.declarations;)
        at = previous;
    return {at, at, LeadingBlanks(text, component) + declaration + std::string(lineBreak)};
}

} // namespace

std::string EditPortMap(std::string_view text, const InstanceStructure& instance,
                        const std::vector<std::string>& unitPorts,
                        const std::vector<PortMapChange>& changes) {
    if (!InstanceFits(text, instance))
        return {};
    const std::string indent = LeadingBlanks(text, instance.start) + "\t";
    std::vector<TextEdit> edits;
    if (instance.portMapOpen == kNone) {
        if (!changes.empty())
            edits.push_back(AddedPortMap(text, instance, changes, indent));
    } else if (instance.positional || instance.ports.empty()) {
        std::optional<TextEdit> rewritten = RewrittenPortMap(text, instance, unitPorts, changes, indent);
        if (!rewritten)
            return {};
        edits.push_back(std::move(*rewritten));
    } else {
        edits = NamedMapEdits(text, instance, changes);
    }
    return ApplyTextEdits(text, std::move(edits));
}

std::string AddSignalDeclaration(std::string_view text, const ArchitectureStructure& architecture,
                                 std::string_view name, std::string_view type) {
    if (!DeclarationsFit(text, architecture))
        return {};
    const std::string declaration = "signal " + std::string(name) + " : " + std::string(type) + ";";
    const std::string lineBreak(LineBreakOf(text));
    TextEdit edit;
    if (!architecture.declaredSignals.empty()) {
        const SignalDeclaration& last = architecture.declaredSignals.back();
        const std::size_t after = last.semicolon + 1;
        const std::size_t lineEnd = LineEnd(text, after);
        const std::size_t at = OnlyBlanksOrComment(text, after, lineEnd) ? lineEnd : after;
        edit = {at, at, lineBreak + LeadingBlanks(text, last.start) + declaration};
    } else if (architecture.firstComponent != kNone) {
        edit = BeforeComponents(text, architecture, declaration);
    } else {
        const std::size_t begin = architecture.begin;
        const std::size_t lineStart = LineStart(text, begin);
        if (lineStart >= architecture.declarations && OnlyBlanks(text, lineStart, begin))
            edit = {lineStart, lineStart, "\t" + declaration + lineBreak};
        else
            edit = {begin, begin, lineBreak + "\t" + declaration + lineBreak};
    }
    return ApplyTextEdits(text, {std::move(edit)});
}

} // namespace kestra
