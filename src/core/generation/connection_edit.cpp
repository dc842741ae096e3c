#include "generation/connection_edit.h"

#include "analysis/architecture_structure.h"
#include "analysis/substitution.h"
#include "generation/port_map_edit.h"
#include "text/char_class.h"
#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool Drives(const std::string& mode) {
    return mode == "out" || mode == "buffer";
}

// An end as the architecture has it: its port (of the module or of the pin's unit), the
// association of a pin, and the signal or module port it is on now (empty for none).
struct ResolvedEnd {
    ConnectionEnd end;
    PortShape port; // mode in lower case; type with the instance's generics put in
    const InstanceStructure* instance = nullptr;
    const UnitInterface* unit = nullptr;
    const MapAssociation* association = nullptr;
    std::string net; // as declared
};

// The architecture with the module's ports, everything an end is resolved against.
struct Design {
    ArchitectureStructure architecture;
    std::vector<PortShape> ports;
    const UnitLookup* units = nullptr;

    const PortShape* Port(std::string_view name) const {
        for (const PortShape& port : ports) {
            if (SameTextNoCase(port.name, name))
                return &port;
        }
        return nullptr;
    }
    const PortShape* Signal(std::string_view name) const {
        for (const SignalDeclaration& signal : architecture.declaredSignals) {
            if (SameTextNoCase(signal.shape.name, name))
                return &signal.shape;
        }
        return nullptr;
    }
    // The module port or signal a name stands for.
    const PortShape* Net(std::string_view name) const {
        const PortShape* port = Port(name);
        return port != nullptr ? port : Signal(name);
    }
};

// The unit's port type with the instance's generic actuals, or the unit's defaults, put in.
std::string InstanceType(const InstanceStructure& instance, const UnitInterface& unit, std::string type) {
    for (std::size_t i = 0; i < unit.generics.size(); ++i) {
        const auto& [name, defaultValue] = unit.generics[i];
        std::string value = defaultValue;
        for (std::size_t k = 0; k < instance.generics.size(); ++k) {
            const MapAssociation& generic = instance.generics[k];
            if (generic.formal.empty() ? k == i : SameTextNoCase(generic.formal, name))
                value = generic.actual;
        }
        if (!value.empty())
            type = ReplaceWholeWord(type, name, "(" + value + ")", true);
    }
    return type;
}

const MapAssociation* AssociationOf(const InstanceStructure& instance, const UnitInterface& unit,
                                    std::string_view port) {
    for (std::size_t i = 0; i < instance.ports.size(); ++i) {
        const MapAssociation& association = instance.ports[i];
        if (association.formal.empty() ? i < unit.ports.size() && SameTextNoCase(unit.ports[i].name, port)
                                       : SameTextNoCase(association.formal, port))
            return &association;
    }
    return nullptr;
}

Result<ResolvedEnd> ResolvePin(const Design& design, const ConnectionEnd& end) {
    ResolvedEnd resolved;
    resolved.end = end;
    resolved.instance = design.architecture.FindInstance(end.instance);
    if (resolved.instance == nullptr)
        return Result<ResolvedEnd>::Failed(end.instance + " is not an instance of " +
                                           design.architecture.entity);
    resolved.unit = (*design.units)(resolved.instance->unit);
    if (resolved.unit == nullptr)
        return Result<ResolvedEnd>::Failed("the ports of " + resolved.instance->unit + " are not known");
    const auto port = std::find_if(resolved.unit->ports.begin(), resolved.unit->ports.end(),
                                   [&](const PortShape& p) { return SameTextNoCase(p.name, end.port); });
    if (port == resolved.unit->ports.end())
        return Result<ResolvedEnd>::Failed(end.port + " is not a port of " + resolved.instance->unit);
    resolved.port = *port;
    resolved.port.type = InstanceType(*resolved.instance, *resolved.unit, port->type);
    resolved.association = AssociationOf(*resolved.instance, *resolved.unit, port->name);
    if (resolved.association != nullptr && resolved.association->kind == ActualKind::Other)
        return Result<ResolvedEnd>::Failed(end.Text() + " is connected to \"" + resolved.association->actual +
                                           "\", which the diagram does not rewrite");
    if (resolved.association != nullptr && resolved.association->kind == ActualKind::Name) {
        if (const PortShape* net = design.Net(resolved.association->actual))
            resolved.net = net->name;
    }
    return resolved;
}

Result<ResolvedEnd> Resolve(const Design& design, const ConnectionEnd& end) {
    if (end.IsPin())
        return ResolvePin(design, end);
    const PortShape* port = design.Port(end.port);
    if (port == nullptr)
        return Result<ResolvedEnd>::Failed(end.port + " is not a port of " + design.architecture.entity);
    ResolvedEnd resolved;
    resolved.end = end;
    resolved.port = *port;
    resolved.net = port->name;
    return resolved;
}

Result<Design> ReadDesign(std::string_view text, std::string_view entity, const UnitLookup& units) {
    std::optional<ArchitectureStructure> architecture = ReadArchitectureStructure(text, entity);
    if (!architecture)
        return Result<Design>::Failed("no architecture of " + std::string(entity) + " could be read");
    Design design{std::move(*architecture), EntityPortShapes(text, std::string(entity)), &units};
    return design;
}

// The pins on a net other than the end, with their modes.
std::vector<ResolvedEnd> PinsOnNet(const Design& design, const std::string& net) {
    std::vector<ResolvedEnd> pins;
    for (const InstanceStructure& instance : design.architecture.instances) {
        const UnitInterface* unit = (*design.units)(instance.unit);
        if (unit == nullptr)
            continue;
        for (const PortShape& port : unit->ports) {
            const MapAssociation* association = AssociationOf(instance, *unit, port.name);
            if (association != nullptr && association->kind == ActualKind::Name &&
                SameTextNoCase(association->actual, net))
                pins.push_back({{instance.label, port.name}, port, &instance, unit, association, net});
        }
    }
    return pins;
}

// The names the architecture's statements drive other than through port maps (which the
// pins on a net tell).
NameSet DrivenByStatements(std::string_view text, const Design& design) {
    const ArchitectureStructure& architecture = design.architecture;
    NameSet driven;
    std::size_t from = architecture.begin + 5; // past "begin"
    for (const InstanceStructure& instance : architecture.instances) {
        if (instance.start > from) {
            const NameSet part = DrivenNames(text, from, instance.start, {});
            driven.insert(part.begin(), part.end());
        }
        from = std::max(from, instance.semicolon + 1);
    }
    const NameSet rest = DrivenNames(text, from, architecture.end, {});
    driven.insert(rest.begin(), rest.end());
    return driven;
}

// Why the pin may not join the net, or nothing.
// An output of an instance inside a for-generate stands for one output per copy: joined to one
// signal, the copies would all drive it.
std::optional<std::string> CopiesRefusal(const ResolvedEnd& pin) {
    if (pin.instance == nullptr || pin.instance->generate != GenerateKind::For || !Drives(pin.port.mode))
        return std::nullopt;
    return pin.end.Text() + " stands in the for-generate " + pin.instance->generateLabel +
           ": every copy would drive the same signal";
}

std::optional<std::string> JoinRefusal(std::string_view text, const Design& design, const ResolvedEnd& pin,
                                       const std::string& net) {
    if (std::optional<std::string> copies = CopiesRefusal(pin))
        return copies;
    const PortShape& shape = *design.Net(net);
    if (TypeMarkOf(shape.type) != TypeMarkOf(pin.port.type))
        return pin.end.Text() + " is of type " + std::string(Trimmed(pin.port.type)) + " and " + shape.name +
               " of type " + std::string(Trimmed(shape.type));
    if (!shape.mode.empty() && shape.mode == "in" && Drives(pin.port.mode))
        return pin.end.Text() + " would drive " + shape.name + ", an input of " + design.architecture.entity;
    if (!shape.mode.empty() && shape.mode == "out" && !Drives(pin.port.mode))
        return shape.name + " is an output of " + design.architecture.entity +
               " and cannot be read inside it; connect " + pin.end.Text() + " to the signal that drives it";
    if (!Drives(pin.port.mode))
        return std::nullopt;
    for (const ResolvedEnd& other : PinsOnNet(design, net)) {
        if (Drives(other.port.mode) && !(other.end == pin.end))
            return shape.name + " is already driven by " + other.end.Text();
    }
    if (DrivenByStatements(text, design).count(ToLowerAscii(net)) != 0)
        return shape.name + " is already driven by a statement of " + design.architecture.entity;
    return std::nullopt;
}

std::vector<std::string> PortNames(const UnitInterface& unit) {
    std::vector<std::string> names;
    for (const PortShape& port : unit.ports)
        names.push_back(port.name);
    return names;
}

Result<std::string> Associate(std::string_view text, const ResolvedEnd& pin, const std::string& actual) {
    std::string edited = EditPortMap(text, *pin.instance, PortNames(*pin.unit), {{pin.port.name, actual}});
    if (edited.empty())
        return Result<std::string>::Failed("the port map of " + pin.instance->label +
                                           " could not be rewritten");
    return edited;
}

// A name for a new signal, free among the module's ports, signals and instance labels.
std::string FreeSignalName(const Design& design, const std::string& base) {
    const auto taken = [&](const std::string& name) {
        return design.Net(name) != nullptr || design.architecture.FindInstance(name) != nullptr;
    };
    std::string name = base;
    for (int n = 2; taken(name); ++n)
        name = base + "_" + std::to_string(n);
    return name;
}

// Declares a new signal of the pin's type and associates every pin with it, the text read
// again between the edits.
// Associates every pin with the signal, the text read again between the edits.
Result<std::string> AssociateEach(std::string edited, std::string_view entity, const UnitLookup& units,
                                  const std::string& name, const std::vector<ConnectionEnd>& pins) {
    for (const ConnectionEnd& end : pins) {
        Result<Design> design = ReadDesign(edited, entity, units);
        if (!design)
            return Result<std::string>::Failed(design.Reason());
        Result<ResolvedEnd> pin = ResolvePin(*design, end);
        if (!pin)
            return Result<std::string>::Failed(pin.Reason());
        Result<std::string> next = Associate(edited, *pin, name);
        if (!next)
            return next;
        edited = std::move(*next);
    }
    return edited;
}

// Declares a new signal of the pin's type and associates every pin with it.
Result<std::string> JoinWithNewSignal(std::string_view text, std::string_view entity, const UnitLookup& units,
                                      const std::string& name, const std::string& type,
                                      const std::vector<ConnectionEnd>& pins) {
    Result<Design> design = ReadDesign(text, entity, units);
    if (!design)
        return Result<std::string>::Failed(design.Reason());
    return AssociateEach(AddSignalDeclaration(text, design->architecture, name, Trimmed(type)), entity, units,
                         name, pins);
}

Result<std::string> ConnectTwoPins(std::string_view text, const Design& design, const ResolvedEnd& a,
                                   const ResolvedEnd& b) {
    for (const ResolvedEnd* end : {&a, &b}) {
        if (std::optional<std::string> copies = CopiesRefusal(*end))
            return Result<std::string>::Failed(*copies);
    }
    if (Drives(a.port.mode) && Drives(b.port.mode))
        return Result<std::string>::Failed(a.end.Text() + " and " + b.end.Text() +
                                           " are both outputs: the signal would have two drivers");
    if (TypeMarkOf(a.port.type) != TypeMarkOf(b.port.type))
        return Result<std::string>::Failed(a.end.Text() + " is of type " + std::string(Trimmed(a.port.type)) +
                                           " and " + b.end.Text() + " of type " +
                                           std::string(Trimmed(b.port.type)));
    const ResolvedEnd& driver = Drives(b.port.mode) ? b : a;
    const std::string base = driver.end.instance + "_" + driver.end.port;
    const PortShape* existing = design.Signal(base);
    const auto onlyThese = [&](const ResolvedEnd& pin) { return pin.end == a.end || pin.end == b.end; };
    const std::vector<ResolvedEnd> already =
        existing != nullptr ? PinsOnNet(design, existing->name) : std::vector<ResolvedEnd>{};
    if (existing != nullptr && TypeMarkOf(existing->type) == TypeMarkOf(driver.port.type) &&
        std::all_of(already.begin(), already.end(), onlyThese))
        return AssociateEach(std::string(text), design.architecture.entity, *design.units, existing->name,
                             {a.end, b.end});
    return JoinWithNewSignal(text, design.architecture.entity, *design.units, FreeSignalName(design, base),
                             driver.port.type, {a.end, b.end});
}

// A pin alone on a signal of the architecture that nothing but its association names: the
// signal a new instance got for it, which a connection may replace.
bool IsAlone(std::string_view text, const Design& design, const ResolvedEnd& end) {
    if (!end.end.IsPin() || end.net.empty() || design.Port(end.net) != nullptr || end.association == nullptr)
        return false;
    const std::string name = ToLowerAscii(end.net);
    const ArchitectureStructure& architecture = design.architecture;
    return WordsIn(text, architecture.begin, end.association->start).count(name) == 0 &&
           WordsIn(text, end.association->end, architecture.end).count(name) == 0;
}

// The text without the declaration of a signal that no statement names any more, when the
// declaration stands alone on its line; otherwise the text as it is.
Result<std::string> DropUnusedSignal(const std::string& text, std::string_view entity,
                                     const std::string& name) {
    const std::optional<ArchitectureStructure> architecture = ReadArchitectureStructure(text, entity);
    if (!architecture || WordsIn(text, architecture->begin, architecture->end).count(ToLowerAscii(name)) != 0)
        return text;
    for (const SignalDeclaration& signal : architecture->declaredSignals) {
        if (!SameTextNoCase(signal.shape.name, name))
            continue;
        const std::size_t lineStart = text.rfind('\n', signal.start);
        const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
        std::size_t to = text.find('\n', signal.semicolon);
        to = to == std::string::npos ? text.size() : to + 1;
        const std::string_view view(text);
        const bool alone =
            Trimmed(view.substr(from, signal.start - from)).empty() &&
            Trimmed(view.substr(signal.semicolon + 1, to - signal.semicolon - 1)).empty() &&
            view.substr(signal.start, signal.semicolon - signal.start).find(',') == std::string_view::npos;
        return alone ? text.substr(0, from) + text.substr(to) : text;
    }
    return text;
}

Result<std::string> Connect(std::string_view text, const Design& design, const ResolvedEnd& a,
                            const ResolvedEnd& b) {
    if (!a.end.IsPin() && !b.end.IsPin())
        return Result<std::string>::Failed("a line joins a port of the module with a pin, or two pins");
    if (!a.net.empty() && SameTextNoCase(a.net, b.net))
        return Result<std::string>::Failed(a.end.Text() + " and " + b.end.Text() + " are connected already");
    // A pin alone on a signal of its own counts as free: the signal goes when nothing names it.
    const std::string aNet = IsAlone(text, design, a) ? std::string() : a.net;
    const std::string bNet = IsAlone(text, design, b) ? std::string() : b.net;
    if (!aNet.empty() && !bNet.empty())
        return Result<std::string>::Failed(a.end.Text() + " is on " + a.net + " and " + b.end.Text() +
                                           " on " + b.net + "; disconnect one of them first");
    Result<std::string> joined = Result<std::string>::Failed("");
    if (aNet.empty() && bNet.empty()) {
        joined = ConnectTwoPins(text, design, a, b);
    } else {
        const ResolvedEnd& on = aNet.empty() ? b : a;
        const ResolvedEnd& joining = aNet.empty() ? a : b;
        if (std::optional<std::string> refusal = JoinRefusal(text, design, joining, on.net))
            return Result<std::string>::Failed(*refusal);
        joined = Associate(text, joining, on.net);
    }
    for (const ResolvedEnd* end : {&a, &b}) {
        if (joined && end->net.size() > 0 && end->end.IsPin())
            joined = DropUnusedSignal(*joined, design.architecture.entity, end->net);
    }
    return joined;
}

} // namespace

std::optional<ConnectionEnd> ParseConnectionEnd(std::string_view text) {
    text = Trimmed(text);
    const std::size_t dot = text.find('.');
    ConnectionEnd end;
    if (dot == std::string_view::npos) {
        end.port = std::string(text);
    } else {
        end.instance = std::string(text.substr(0, dot));
        end.port = std::string(text.substr(dot + 1));
        if (!IsVhdlIdentifier(end.instance))
            return std::nullopt;
    }
    if (!IsVhdlIdentifier(end.port))
        return std::nullopt;
    return end;
}

std::string TypeMarkOf(std::string_view subtype) {
    std::string lower = ToLowerAscii(Trimmed(subtype));
    std::size_t cut = lower.find('(');
    for (std::size_t at = lower.find("range"); at != std::string::npos; at = lower.find("range", at + 1)) {
        const bool wordStart = at == 0 || !IsIdentifierChar(lower[at - 1]);
        const bool wordEnd = at + 5 >= lower.size() || !IsIdentifierChar(lower[at + 5]);
        if (wordStart && wordEnd) {
            cut = std::min(cut, at);
            break;
        }
    }
    std::string mark(Trimmed(std::string_view(lower).substr(0, std::min(cut, lower.size()))));
    if (const std::size_t dot = mark.rfind('.'); dot != std::string::npos)
        mark.erase(0, dot + 1);
    return mark;
}

namespace {

// Reads the architecture, resolves both ends against it and hands them to the edit.
template <typename Edit>
Result<std::string> WithResolvedEnds(std::string_view text, std::string_view entity, const UnitLookup& units,
                                     const ConnectionEnd& a, const ConnectionEnd& b, const Edit& edit) {
    Result<Design> design = ReadDesign(text, entity, units);
    if (!design)
        return Result<std::string>::Failed(design.Reason());
    Result<ResolvedEnd> first = Resolve(*design, a);
    if (!first)
        return Result<std::string>::Failed(first.Reason());
    Result<ResolvedEnd> second = Resolve(*design, b);
    if (!second)
        return Result<std::string>::Failed(second.Reason());
    return edit(*design, *first, *second);
}

Result<std::string> Disconnect(std::string_view text, std::string_view entity, const UnitLookup& units,
                               const Design& design, const ResolvedEnd& first, const ResolvedEnd& second) {
    if (first.net.empty() || !SameTextNoCase(first.net, second.net) ||
        (!first.end.IsPin() && !second.end.IsPin()))
        return Result<std::string>::Failed(first.end.Text() + " and " + second.end.Text() +
                                           " are not connected");
    // The pin that reads leaves the net; between two pins the one that does not drive.
    const ResolvedEnd& leaving = !first.end.IsPin()         ? second
                                 : !second.end.IsPin()      ? first
                                 : Drives(second.port.mode) ? first
                                                            : second;
    if (Drives(leaving.port.mode))
        return Associate(text, leaving, "open");
    return JoinWithNewSignal(text, entity, units,
                             FreeSignalName(design, leaving.end.instance + "_" + leaving.end.port),
                             leaving.port.type, {leaving.end});
}

} // namespace

Result<std::string> ConnectInSource(std::string_view text, std::string_view entity, const UnitLookup& units,
                                    const ConnectionEnd& a, const ConnectionEnd& b) {
    return WithResolvedEnds(text, entity, units, a, b,
                            [&](const Design& design, const ResolvedEnd& first, const ResolvedEnd& second) {
                                return Connect(text, design, first, second);
                            });
}

Result<std::string> DisconnectInSource(std::string_view text, std::string_view entity,
                                       const UnitLookup& units, const ConnectionEnd& a,
                                       const ConnectionEnd& b) {
    return WithResolvedEnds(text, entity, units, a, b,
                            [&](const Design& design, const ResolvedEnd& first, const ResolvedEnd& second) {
                                return Disconnect(text, entity, units, design, first, second);
                            });
}

} // namespace kestra
