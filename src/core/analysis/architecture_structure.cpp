#include "analysis/architecture_structure.h"

#include "analysis/architecture_reader.h"
#include "analysis/scanner.h"
#include "analysis/structure_walker.h"
#include "analysis/token_list.h"
#include "analysis/token_reader.h"
#include "text/char_class.h"
#include "text/word_reader.h"

#include <algorithm>

namespace kestra {

namespace {

constexpr std::size_t kNoPartner = CTokenList::kNoPartner;
// Statements nested deeper than this are passed over whole rather than read.
constexpr int kDeepestNesting = 200;

std::string_view TokenText(std::string_view text, const VhdlToken& token) {
    return text.substr(token.start, token.end - token.start);
}

// An identifier that is not a reserved word, or an extended identifier.
bool IsPlainName(const CTokenList& list, std::size_t i) {
    return list.At(i).kind == TokenKind::ExtendedName ||
           (list.At(i).IsName() && !IsVhdlReservedWord(list.Text(i)));
}

struct HeaderPlace {
    std::string name;
    std::string entity;
    std::size_t declarations = 0;
};

// "architecture NAME of ENTITY is" at a statement start from `from` on, the first one of the entity.
std::optional<HeaderPlace> FindHeader(std::string_view text, std::string_view entityName, std::size_t from) {
    CTokenReader reader(text, from);
    bool statementStart = true;
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        if (statementStart && token.Is(VhdlKeyword::Architecture)) {
            CTokenReader header(reader);
            const VhdlToken name = header.Next();
            const VhdlToken of = header.Next();
            const VhdlToken entity = header.Next();
            const bool formed = name.IsName() && of.kind == TokenKind::Word &&
                                SameTextNoCase(TokenText(text, of), "of") && entity.IsName() &&
                                header.Next().Is(VhdlKeyword::Is);
            if (formed && (entityName.empty() || SameTextNoCase(TokenText(text, entity), entityName)))
                return HeaderPlace{std::string(TokenText(text, name)), std::string(TokenText(text, entity)),
                                   header.Position()};
        }
        statementStart = token.Is(';');
    }
    return std::nullopt;
}

ActualKind KindOfActual(const CTokenList& list, std::size_t from, std::size_t to) {
    if (to != from + 1)
        return ActualKind::Other;
    if (list.IsWord(from, "open"))
        return ActualKind::Open;
    return IsPlainName(list, from) ? ActualKind::Name : ActualKind::Other;
}

// The association from token `from` to just before `to`; `arrow` is its "=>" or kNoPartner.
MapAssociation ReadAssociation(const CTokenList& list, std::size_t from, std::size_t arrow, std::size_t to) {
    MapAssociation association;
    association.start = list.At(from).start;
    association.end = list.At(to - 1).end;
    if (arrow != kNoPartner && arrow > from)
        association.formal = std::string(list.Span(from, arrow - 1));
    const std::size_t actual = arrow == kNoPartner ? from : arrow + 2;
    if (actual < to) {
        association.actual = std::string(list.Span(actual, to - 1));
        association.kind = KindOfActual(list, actual, to);
    }
    return association;
}

// The associations between the parentheses at `open` and `close`.
std::vector<MapAssociation> ReadAssociations(const CTokenList& list, std::size_t open, std::size_t close) {
    std::vector<MapAssociation> associations;
    for (std::size_t from = open + 1; from < close;) {
        std::size_t to = from;
        std::size_t arrow = kNoPartner;
        for (; to < close && !list.At(to).Is(','); to = list.Next(to)) {
            if (arrow == kNoPartner && list.IsPair(to, '=', '>'))
                arrow = to;
        }
        if (to > from)
            associations.push_back(ReadAssociation(list, from, arrow, std::min(to, close)));
        from = to + 1;
    }
    return associations;
}

// "generic map ( ... )" or "port map ( ... )" at i: the index of its ')', or kNoPartner.
std::size_t MapClose(const CTokenList& list, std::size_t i, VhdlKeyword keyword) {
    if (!list.At(i).Is(keyword) || !list.IsWord(i + 1, "map") || !list.At(i + 2).Is('('))
        return kNoPartner;
    return list.Partner(i + 2);
}

// The unit after "label :": "[component] name", "entity lib.name[(arch)]"; the index after it,
// or kNoPartner when the statement instantiates nothing.
std::size_t ReadUnit(const CTokenList& list, InstanceStructure& instance) {
    std::size_t i = 2;
    if (list.At(i).Is(VhdlKeyword::Component)) {
        ++i;
    } else if (list.At(i).Is(VhdlKeyword::Entity)) {
        instance.entity = true;
        ++i;
    }
    if (!IsPlainName(list, i))
        return kNoPartner;
    instance.unit = std::string(list.Text(i));
    for (; list.At(i + 1).Is('.') && IsPlainName(list, i + 2); i += 2) {
        instance.library = instance.unit;
        instance.unit = std::string(list.Text(i + 2));
    }
    ++i;
    if (instance.entity && list.At(i).Is('(')) {
        const std::size_t close = list.Partner(i);
        if (close == kNoPartner || close != i + 2)
            return kNoPartner;
        instance.architecture = std::string(list.Text(i + 1));
        i = close + 1;
    }
    return i;
}

// The instantiation from its label at `start` to its ';', if the statement is one.
std::optional<InstanceStructure> ReadInstance(std::string_view text, std::size_t start,
                                              std::size_t semicolon) {
    const CTokenList list(text, start, semicolon + 1);
    InstanceStructure instance;
    std::size_t i = ReadUnit(list, instance);
    if (i == kNoPartner)
        return std::nullopt;
    if (const std::size_t close = MapClose(list, i, VhdlKeyword::Generic); close != kNoPartner) {
        instance.generics = ReadAssociations(list, i + 2, close);
        i = close + 1;
    }
    if (const std::size_t close = MapClose(list, i, VhdlKeyword::Port); close != kNoPartner) {
        instance.ports = ReadAssociations(list, i + 2, close);
        instance.portMapOpen = list.At(i + 2).start;
        instance.portMapClose = list.At(close).start;
        i = close + 1;
    }
    if (!list.At(i).Is(';') || list.At(i).start != semicolon)
        return std::nullopt;
    instance.label = std::string(list.Text(0));
    instance.start = start;
    instance.semicolon = semicolon;
    instance.positional = std::any_of(instance.ports.begin(), instance.ports.end(),
                                      [](const MapAssociation& port) { return port.formal.empty(); });
    return instance;
}

// The generate statement that statements stand in.
struct GenerateScope {
    GenerateKind kind = GenerateKind::None;
    std::string_view label;
};

// Reads the statement part of an architecture: labelled statements are looked at, blocks and
// generate statements are entered, every other statement (and every declaration of a block or
// generate statement) is passed over to its ';' by the structure walker.
class CStatementReader {
public:
    CStatementReader(std::string_view text, std::size_t limit, std::vector<InstanceStructure>& instances)
        : m_text(text), m_limit(limit), m_reader(text), m_instances(instances) {}

    void ReadAll(std::size_t from) {
        for (std::size_t pos = from;;) {
            const VhdlToken stop = ReadList(pos, {}, 0);
            if (stop.kind == TokenKind::EndOfText)
                return;
            pos = stop.end; // a closing that closes nothing here
        }
    }

private:
    // Reads statements from pos on; gives the token that ends the list ("end", an alternative of
    // a generate statement) with pos at it, or EndOfText at the statement part's end.
    VhdlToken ReadList(std::size_t& pos, const GenerateScope& scope, int depth) {
        for (;;) {
            m_reader.Seek(pos);
            const VhdlToken token = m_reader.Next();
            if (token.kind == TokenKind::EndOfText || token.start >= m_limit)
                return {};
            pos = token.start;
            if (token.Is(VhdlKeyword::End) || token.Is(VhdlKeyword::Elsif) || token.Is(VhdlKeyword::Else) ||
                (token.kind == TokenKind::Word && SameTextNoCase(TokenText(m_text, token), "when")))
                return token;
            pos = token.Is(VhdlKeyword::Begin) ? token.end : ReadStatement(token, scope, depth);
        }
    }

    // One statement or declaration from its first token; gives the position after it.
    std::size_t ReadStatement(const VhdlToken& first, const GenerateScope& scope, int depth) {
        if (!first.IsName())
            return SkipItem(first);
        CTokenReader after(m_reader);
        if (!after.Next().Is(':'))
            return SkipItem(first);
        const VhdlToken what = after.Next();
        const std::string_view label = TokenText(m_text, first);
        if (depth < kDeepestNesting) {
            if (what.Is(VhdlKeyword::Block))
                return ReadBlock(after, scope, depth + 1);
            if (what.Is(VhdlKeyword::For))
                return ReadGenerate(after.Position(), {GenerateKind::For, label}, depth + 1);
            if (what.Is(VhdlKeyword::If))
                return ReadGenerate(after.Position(), {GenerateKind::If, label}, depth + 1);
            if (what.Is(VhdlKeyword::Case))
                return ReadGenerate(after.Position(), {GenerateKind::Case, label}, depth + 1);
        }
        const StructureStop stop = WalkStructure(m_text, first.start, StructureScope::Item);
        if (stop.what == StructureStop::What::Semicolon && stop.position < m_limit) {
            if (std::optional<InstanceStructure> instance =
                    ReadInstance(m_text, first.start, stop.position)) {
                instance->generate = scope.kind;
                instance->generateLabel = std::string(scope.label);
                m_instances.push_back(std::move(*instance));
            }
        }
        return PastStop(stop, first);
    }

    std::size_t SkipItem(const VhdlToken& first) const {
        return PastStop(WalkStructure(m_text, first.start, StructureScope::Item), first);
    }

    // Where reading goes on after an item walked from `first`; always past `first`.
    std::size_t PastStop(const StructureStop& stop, const VhdlToken& first) const {
        if (stop.what == StructureStop::What::TextEnd)
            return m_text.size();
        const std::size_t next =
            stop.what == StructureStop::What::Semicolon ? stop.position + 1 : stop.position;
        return std::max(next, first.end);
    }

    // "block [(guard)] [is] declarations begin statements end block [label];", from after "block".
    std::size_t ReadBlock(CTokenReader after, const GenerateScope& scope, int depth) {
        if (after.Peek().Is('('))
            after.Seek(PastParentheses(after.Position()));
        if (after.Peek().Is(VhdlKeyword::Is))
            after.Next();
        std::size_t pos = after.Position();
        return PastClosing(ReadList(pos, scope, depth), pos);
    }

    // A generate statement from after its "for", "if" or "case": its bodies and alternatives up
    // to "end generate [label];".
    std::size_t ReadGenerate(std::size_t from, const GenerateScope& scope, int depth) {
        std::size_t pos = PastToken(from, [](const VhdlToken& t) { return t.Is(VhdlKeyword::Generate); });
        if (pos == kNoPartner)
            return from;
        for (;;) {
            const VhdlToken stop = ReadList(pos, scope, depth);
            if (stop.kind == TokenKind::EndOfText)
                return m_limit;
            if (stop.Is(VhdlKeyword::End)) {
                CTokenReader words(m_text, stop.end);
                const bool closesGenerate = words.Next().Is(VhdlKeyword::Generate);
                pos = PastClosing(stop, pos);
                if (closesGenerate)
                    return pos;
                continue; // "end [alternative label];" closes one alternative's body
            }
            const bool when = !stop.Is(VhdlKeyword::Elsif) && !stop.Is(VhdlKeyword::Else);
            const std::size_t next =
                when ? PastArrow(stop.end)
                     : PastToken(stop.end, [](const VhdlToken& t) { return t.Is(VhdlKeyword::Generate); });
            if (next == kNoPartner)
                return stop.end;
            pos = next;
        }
    }

    // Past "end [keyword] [name] ;" at `closing`; past the token alone when it is no "end".
    std::size_t PastClosing(const VhdlToken& closing, std::size_t pos) const {
        if (closing.kind == TokenKind::EndOfText)
            return std::max(pos, m_limit);
        if (!closing.Is(VhdlKeyword::End))
            return closing.end;
        CTokenReader words(m_text, closing.end);
        VhdlToken word = words.Next();
        if (word.Is(VhdlKeyword::Block) || word.Is(VhdlKeyword::Generate))
            word = words.Next();
        if (word.IsName())
            word = words.Next();
        return word.Is(';') ? word.end : closing.end;
    }

    // Past the parenthesised group that opens at the next token from `from`.
    std::size_t PastParentheses(std::size_t from) const {
        CTokenReader reader(m_text, from);
        int depth = 0;
        for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
            if (token.Is('('))
                ++depth;
            else if (token.Is(')') && --depth == 0)
                return token.end;
        }
        return m_text.size();
    }

    // Past the first token at parenthesis depth 0 from `from` that `wanted` accepts; kNoPartner
    // when a ';' or the statement part's end comes first.
    template <typename Wanted>
    std::size_t PastToken(std::size_t from, Wanted wanted) const {
        CTokenReader reader(m_text, from);
        int depth = 0;
        for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText && token.start < m_limit;
             token = reader.Next()) {
            if (depth == 0 && wanted(token))
                return token.end;
            if (token.Is('('))
                ++depth;
            else if (token.Is(')') && depth > 0)
                --depth;
            else if (token.Is(';'))
                return kNoPartner;
        }
        return kNoPartner;
    }

    // Past the "=>" that ends the choices of a case generate alternative.
    std::size_t PastArrow(std::size_t from) const {
        bool equals = false;
        std::size_t previousEnd = 0;
        return PastToken(from, [&](const VhdlToken& token) {
            const bool arrow = equals && token.Is('>') && token.start == previousEnd;
            equals = token.Is('=');
            previousEnd = token.end;
            return arrow;
        });
    }

    std::string_view m_text;
    std::size_t m_limit;
    CTokenReader m_reader;
    std::vector<InstanceStructure>& m_instances;
};

} // namespace

const InstanceStructure* ArchitectureStructure::FindInstance(std::string_view label) const {
    for (const InstanceStructure& instance : instances) {
        if (SameTextNoCase(instance.label, label))
            return &instance;
    }
    return nullptr;
}

std::optional<ArchitectureStructure>
ReadArchitectureStructure(std::string_view text, std::string_view entityName, std::size_t from) {
    std::optional<HeaderPlace> header = FindHeader(text, entityName, from);
    if (!header)
        return std::nullopt;
    AnalysisContext context;
    context.moduleName = header->entity;
    const CScanner scanner(text, &context);
    ArchitectureBody body;
    if (!FindArchitectureBody(scanner, header->declarations, header->name, body) || body.statementsStart < 5)
        return std::nullopt;
    ArchitectureStructure structure;
    structure.name = std::move(header->name);
    structure.entity = std::move(header->entity);
    structure.declarations = header->declarations;
    structure.begin = body.statementsStart - 5;
    structure.end = body.endKeyword;
    DeclarativePart declarations = ReadDeclarativePart(text, structure.declarations, structure.begin);
    structure.declaredSignals = std::move(declarations.declaredSignals);
    structure.firstComponent = declarations.firstComponent;
    CStatementReader(text, structure.end, structure.instances).ReadAll(body.statementsStart);
    return structure;
}

} // namespace kestra
