#include "analysis/architecture_names.h"

#include "analysis/interface_list.h"
#include "analysis/structure_walker.h"
#include "analysis/token_list.h"
#include "analysis/token_reader.h"
#include "text/char_class.h"

namespace kestra {

namespace {

constexpr std::size_t kNone = CTokenList::kNoPartner;

// The names among the tokens from `from` to `to`.
void AddNames(const CTokenList& list, std::size_t from, std::size_t to, NameSet& names) {
    for (std::size_t i = from; i < to && i < list.Size(); ++i) {
        if (list.At(i).IsName())
            names.insert(list.Lower(i));
    }
}

// "signal a, b : type [:= value];" from the word "signal" at `start` to the ';': one entry per
// name; nothing when the declaration does not read.
void ReadSignalDeclaration(std::string_view text, std::size_t start, std::size_t semicolon,
                           std::vector<SignalDeclaration>& signals) {
    const CTokenList list(text, start, semicolon);
    std::vector<std::string> names;
    std::size_t i = 1;
    for (;;) {
        if (!list.At(i).IsName())
            return;
        names.emplace_back(list.Text(i));
        if (!list.At(++i).Is(','))
            break;
        ++i;
    }
    if (!list.At(i).Is(':'))
        return;
    const std::size_t first = i + 1;
    std::size_t last = first;
    for (std::size_t k = first; k < list.Size() && !list.IsPair(k, ':', '='); k = list.Next(k))
        last = list.Next(k);
    if (last == first)
        return;
    const std::string type(list.Span(first, last - 1));
    for (std::string& name : names)
        signals.push_back({{std::move(name), {}, type}, start, semicolon});
}

// The targets of the "<=" at i: the name before it, with the names in its index or aggregate
// and the prefixes of a selected name.
void AddAssignmentTarget(const CTokenList& list, std::size_t arrow, NameSet& driven) {
    for (std::size_t j = arrow - 1; j < list.Size();) {
        if (list.At(j).Is(')') && list.Partner(j) != kNone) {
            AddNames(list, list.Partner(j) + 1, j, driven);
            j = list.Partner(j) - 1;
            continue;
        }
        if (!list.At(j).IsName())
            return;
        driven.insert(list.Lower(j));
        if (!list.At(j - 1).Is('.'))
            return;
        j -= 2;
    }
}

// Whether a statement may begin after the token at i.
bool StatementMayFollow(const CTokenList& list, std::size_t i) {
    const VhdlToken& token = list.At(i);
    return i >= list.Size() || token.Is(';') || token.Is(':') || token.Is('>') ||
           token.Is(VhdlKeyword::Begin) || token.Is(VhdlKeyword::Then) || token.Is(VhdlKeyword::Else) ||
           token.Is(VhdlKeyword::Generate) || token.Is(VhdlKeyword::Loop);
}

// "name ( ... ) ;" where a statement begins: a procedure call, which may drive what it is given.
bool AddProcedureCallActuals(const CTokenList& list, std::size_t i, NameSet& driven) {
    const std::size_t close = list.Partner(i + 1);
    if (!list.At(i).IsName() || !list.At(i + 1).Is('(') || close == kNone || !list.At(close + 1).Is(';') ||
        !StatementMayFollow(list, i - 1))
        return false;
    AddNames(list, i + 2, close, driven);
    return true;
}

// The unit an instance instantiates, from its "port" word back: "[component] NAME", "entity
// lib.NAME[(arch)]", each perhaps with a generic map; null when it is none of the units.
const UnitShape* InstantiatedUnit(const CTokenList& list, std::size_t port,
                                  const std::vector<UnitShape>& units) {
    std::size_t i = port - 1;
    if (list.At(i).Is(')') && list.Partner(i) != kNone && list.IsWord(list.Partner(i) - 1, "map") &&
        list.At(list.Partner(i) - 2).Is(VhdlKeyword::Generic))
        i = list.Partner(i) - 3;
    if (list.At(i).Is(')') && list.Partner(i) != kNone)
        i = list.Partner(i) - 1;
    if (!list.At(i).IsName())
        return nullptr;
    for (const UnitShape& unit : units) {
        if (SameTextNoCase(unit.name, list.Text(i)))
            return &unit;
    }
    return nullptr;
}

// The mode of the formal of one association: named (the first of the unit's ports among the
// names before "=>") or by position; empty when it is not known.
std::string FormalMode(const CTokenList& list, const UnitShape* unit, std::size_t from, std::size_t arrow,
                       std::size_t position) {
    if (unit == nullptr)
        return {};
    if (arrow == kNone)
        return position < unit->ports.size() ? unit->ports[position].mode : std::string();
    for (std::size_t i = from; i < arrow; ++i) {
        for (const PortShape& port : unit->ports) {
            if (list.At(i).IsName() && SameTextNoCase(port.name, list.Text(i)))
                return port.mode;
        }
    }
    return {};
}

// The actuals of "port map ( ... )" at i that the instance may drive.
void AddPortMapActuals(const CTokenList& list, std::size_t port, const std::vector<UnitShape>& units,
                       NameSet& driven) {
    const std::size_t open = port + 2;
    const std::size_t close = list.Partner(open);
    if (!list.IsWord(port + 1, "map") || !list.At(open).Is('(') || close == kNone)
        return;
    const UnitShape* unit = InstantiatedUnit(list, port, units);
    std::size_t position = 0;
    for (std::size_t from = open + 1; from < close; ++position) {
        std::size_t to = from;
        std::size_t arrow = kNone;
        for (; to < close && !list.At(to).Is(','); to = list.Next(to)) {
            if (arrow == kNone && list.IsPair(to, '=', '>'))
                arrow = to;
        }
        if (FormalMode(list, unit, from, arrow, position) != "in")
            AddNames(list, arrow == kNone ? from : arrow + 2, to, driven);
        from = to + 1;
    }
}

} // namespace

std::vector<PortShape> EntityPortShapes(std::string_view text, const std::string& entityName) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    std::vector<PortShape> ports;
    if (!entity || !entity->ports)
        return ports;
    for (const InterfaceDeclaration& declaration : entity->ports->declarations) {
        const std::string mode = declaration.mode.empty() ? "in" : declaration.mode;
        for (const std::string& name : declaration.names)
            ports.push_back({name, mode, declaration.TypeText(text)});
    }
    return ports;
}

DeclarativePart ReadDeclarativePart(std::string_view text, std::size_t start, std::size_t begin) {
    DeclarativePart part;
    CTokenReader reader(text);
    for (std::size_t pos = start;;) {
        reader.Seek(pos);
        const VhdlToken first = reader.Next();
        if (first.kind == TokenKind::EndOfText || first.start >= begin)
            break;
        // "end for;" closes a configuration specification (VHDL-2008).
        if (first.Is(VhdlKeyword::End) && reader.Peek().Is(VhdlKeyword::For)) {
            reader.Next();
            const VhdlToken semicolon = reader.Next();
            if (!semicolon.Is(';'))
                break;
            pos = semicolon.end;
            continue;
        }
        const StructureStop stop = WalkStructure(text, first.start, StructureScope::Item);
        if (stop.what != StructureStop::What::Semicolon || stop.position >= begin)
            break;
        if (first.Is(VhdlKeyword::Signal))
            ReadSignalDeclaration(text, first.start, stop.position, part.declaredSignals);
        else if (first.Is(VhdlKeyword::Component) && part.firstComponent == std::string_view::npos)
            part.firstComponent = first.start;
        pos = stop.position + 1;
    }
    return part;
}

std::vector<PortShape> DeclaredSignals(std::string_view text, std::size_t start, std::size_t begin) {
    std::vector<PortShape> signals;
    for (SignalDeclaration& signal : ReadDeclarativePart(text, start, begin).declaredSignals)
        signals.push_back(std::move(signal.shape));
    return signals;
}

NameSet DrivenNames(std::string_view text, std::size_t start, std::size_t end,
                    const std::vector<UnitShape>& units) {
    const CTokenList list(text, start, end);
    NameSet driven;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        if (list.IsPair(i, '<', '='))
            AddAssignmentTarget(list, i, driven);
        else if (list.At(i).Is(VhdlKeyword::Port))
            AddPortMapActuals(list, i, units, driven);
        else
            AddProcedureCallActuals(list, i, driven);
    }
    return driven;
}

NameSet WordsIn(std::string_view text, std::size_t start, std::size_t end) {
    NameSet words;
    CTokenReader reader(text, start);
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText && token.end <= end;
         token = reader.Next()) {
        if (token.kind == TokenKind::Word || token.kind == TokenKind::ExtendedName)
            words.insert(ToLowerAscii(text.substr(token.start, token.end - token.start)));
    }
    return words;
}

} // namespace kestra
