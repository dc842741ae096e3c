#include "analysis/structure_walker.h"

#include "analysis/token_reader.h"
#include "text/char_class.h"

#include <initializer_list>
#include <vector>

namespace kestra {

namespace {

// The constructs that nest inside declarative and statement parts.
enum class Construct : unsigned char {
    Process,
    Block,
    Generate,
    If,
    Case,
    Loop,
    Subprogram,
    Component,
    Record,
    Units,
    Protected,
    Package,
};

// The construct that "end <keyword>" closes.
std::optional<Construct> ClosedBy(VhdlKeyword keyword) {
    switch (keyword) {
    case VhdlKeyword::Process:
        return Construct::Process;
    case VhdlKeyword::Block:
        return Construct::Block;
    case VhdlKeyword::Generate:
        return Construct::Generate;
    case VhdlKeyword::If:
        return Construct::If;
    case VhdlKeyword::Case:
        return Construct::Case;
    case VhdlKeyword::Loop:
        return Construct::Loop;
    case VhdlKeyword::Function:
    case VhdlKeyword::Procedure:
        return Construct::Subprogram;
    case VhdlKeyword::Component:
        return Construct::Component;
    case VhdlKeyword::Record:
        return Construct::Record;
    case VhdlKeyword::Units:
        return Construct::Units;
    case VhdlKeyword::Protected:
        return Construct::Protected;
    default:
        return std::nullopt;
    }
}

// The keywords that open their construct wherever they stand.
bool OpensWhereverItStands(VhdlKeyword keyword) {
    return keyword == VhdlKeyword::Process || keyword == VhdlKeyword::Block ||
           keyword == VhdlKeyword::Generate || keyword == VhdlKeyword::Loop ||
           keyword == VhdlKeyword::Record || keyword == VhdlKeyword::Units ||
           keyword == VhdlKeyword::Protected;
}

bool IsUnitKeyword(VhdlKeyword keyword) {
    return keyword == VhdlKeyword::Architecture || keyword == VhdlKeyword::Entity ||
           keyword == VhdlKeyword::Package || keyword == VhdlKeyword::Configuration ||
           keyword == VhdlKeyword::Context;
}

// Reads on (without moving `reader`) to the first of the given keywords, or ';', "begin" or
// "end", outside parentheses. Gives that token; `after` is the reader just past it.
VhdlToken ScanFor(const CTokenReader& reader, std::initializer_list<VhdlKeyword> words, CTokenReader& after) {
    after = reader;
    int depth = 0;
    for (;;) {
        const VhdlToken token = after.Next();
        if (token.kind == TokenKind::EndOfText)
            return token;
        if (token.Is('(')) {
            ++depth;
        } else if (token.Is(')')) {
            if (depth > 0)
                --depth;
        } else if (depth == 0) {
            if (token.Is(';') || token.Is(VhdlKeyword::Begin) || token.Is(VhdlKeyword::End))
                return token;
            if (token.kind == TokenKind::Word) {
                for (const VhdlKeyword word : words) {
                    if (token.keyword == word)
                        return token;
                }
            }
        }
    }
}

class CStructureWalk {
public:
    CStructureWalk(std::string_view text, std::size_t from, StructureScope scope, const StructureUnit& unit)
        : m_reader(text, from), m_scope(scope), m_unit(unit) {}

    void Push(Construct construct) { m_stack.push_back(construct); }

    StructureStop Run() {
        for (;;) {
            const VhdlToken token = m_reader.Next();
            if (token.kind == TokenKind::EndOfText) {
                StructureStop stop;
                stop.position = token.start;
                stop.afterWords = token.start;
                return stop;
            }
            if (token.kind == TokenKind::Punctuation) {
                if (token.c == '(') {
                    ++m_depth;
                } else if (token.c == ')') {
                    if (m_depth > 0)
                        --m_depth;
                } else if (token.c == ';' && m_scope == StructureScope::Item && m_stack.empty() &&
                           m_depth == 0) {
                    return Stop(StructureStop::What::Semicolon, token.start);
                }
            } else if (token.kind == TokenKind::Word && token.keyword != VhdlKeyword::None) {
                if (std::optional<StructureStop> stop = Word(token))
                    return *stop;
            }
            m_previous = token;
            m_statementStart = token.Is(';');
        }
    }

private:
    static StructureStop Stop(StructureStop::What what, std::size_t position) {
        StructureStop stop;
        stop.what = what;
        stop.position = position;
        stop.afterWords = position;
        return stop;
    }

    std::optional<StructureStop> Word(const VhdlToken& token) {
        if (token.keyword == VhdlKeyword::End)
            return End(token);
        if (token.keyword == VhdlKeyword::Begin) {
            if (m_stack.empty() && m_scope != StructureScope::Statements)
                return Stop(StructureStop::What::Begin, token.start);
            return std::nullopt;
        }
        if (OpensWhereverItStands(token.keyword))
            Push(*ClosedBy(token.keyword));
        else
            OpenByPlace(token.keyword);
        return std::nullopt;
    }

    // The words that open a construct, or continue one, only where they stand in a certain way.
    void OpenByPlace(VhdlKeyword keyword) {
        const bool afterColon = m_previous.Is(':');
        switch (keyword) {
        case VhdlKeyword::Component:
            // "label : component name" instantiates; an attribute's entity class follows ':' too.
            if (!afterColon)
                Push(Construct::Component);
            break;
        case VhdlKeyword::If:
            // "if ... then" opens an if statement; "label : if ... generate" a generate statement,
            // which its "generate" opens.
            OpenUnlessGenerate(Construct::If, VhdlKeyword::Then);
            break;
        case VhdlKeyword::Case:
            OpenUnlessGenerate(Construct::Case, VhdlKeyword::Is);
            break;
        case VhdlKeyword::Elsif:
        case VhdlKeyword::Else:
            PassGenerateAlternative(keyword);
            break;
        case VhdlKeyword::Function:
        case VhdlKeyword::Procedure:
            // After ':', ',' or '(' the word names an entity class, not a subprogram.
            if (!afterColon && !m_previous.Is(',') && !m_previous.Is('('))
                Subprogram();
            break;
        case VhdlKeyword::Package:
            if (m_statementStart || m_previous.kind == TokenKind::EndOfText)
                LocalPackage();
            break;
        default:
            break;
        }
    }

    // Opens the construct when `opening` ("then", "is") comes before "generate".
    void OpenUnlessGenerate(Construct construct, VhdlKeyword opening) {
        CTokenReader after(m_reader);
        if (ScanFor(m_reader, {opening, VhdlKeyword::Generate}, after).Is(opening))
            Push(construct);
    }

    // An alternative of an if generate statement ("elsif ... generate", "else [label :]
    // generate") belongs to the one already open: its "generate" is passed over.
    void PassGenerateAlternative(VhdlKeyword keyword) {
        CTokenReader after(m_reader);
        if (keyword == VhdlKeyword::Elsif) {
            if (ScanFor(m_reader, {VhdlKeyword::Then, VhdlKeyword::Generate}, after)
                    .Is(VhdlKeyword::Generate))
                m_reader = after;
            return;
        }
        VhdlToken next = after.Next();
        if (next.IsName() && after.Next().Is(':'))
            next = after.Next();
        if (next.Is(VhdlKeyword::Generate))
            m_reader = after;
    }

    // A subprogram body opens a construct; a declaration or an instantiation does not.
    void Subprogram() {
        CTokenReader after(m_reader);
        if (!ScanFor(m_reader, {VhdlKeyword::Is}, after).Is(VhdlKeyword::Is))
            return;
        if (after.Peek().Is(VhdlKeyword::New))
            return;
        m_reader = after;
        Push(Construct::Subprogram);
    }

    // "package name is" inside a declarative part; "package name is new ..." instantiates.
    void LocalPackage() {
        CTokenReader after(m_reader);
        VhdlToken next = after.Next();
        if (next.Is(VhdlKeyword::Body))
            next = after.Next();
        if (!next.IsName() || !after.Next().Is(VhdlKeyword::Is) || after.Peek().Is(VhdlKeyword::New))
            return;
        m_reader = after;
        Push(Construct::Package);
    }

    void PopTo(Construct construct) {
        for (std::size_t i = m_stack.size(); i > 0; --i) {
            if (m_stack[i - 1] == construct) {
                m_stack.resize(i - 1);
                return;
            }
        }
    }

    bool OnStack(Construct construct) const {
        for (const Construct open : m_stack) {
            if (open == construct)
                return true;
        }
        return false;
    }

    // "end" without a construct keyword closes a subprogram body or a local package; in an
    // alternative of a generate statement it ends the alternative only.
    void CloseInnermost() {
        if (m_stack.empty())
            return;
        if (m_stack.back() != Construct::Generate)
            m_stack.pop_back();
    }

    bool ClosesUnitByName(std::string_view name) const {
        return !m_unit.name.empty() && SameTextNoCase(name, m_unit.name);
    }

    // What follows an "end": the construct or unit keyword and the name, as read.
    struct EndWords {
        std::optional<Construct> closes;
        VhdlKeyword unitKeyword = VhdlKeyword::None;
        std::string_view unitWord; // the unit keyword as written
        bool named = false;        // a name follows "end" directly
        bool nameMatches = false;  // the name is the unit's
    };

    // Takes a name (or an operator symbol) after "end" and its keyword.
    bool TakeName(StructureStop& stop, bool& matches) {
        const VhdlToken name = m_reader.Peek();
        if (!name.IsName() && name.kind != TokenKind::String)
            return false;
        m_reader.Next();
        stop.afterWords = name.end;
        matches = ClosesUnitByName(m_reader.Text().substr(name.start, name.end - name.start));
        return true;
    }

    // Reads the words after "end" up to its ';', recording where they end in the stop.
    EndWords ReadEndWords(StructureStop& stop) {
        EndWords words;
        const VhdlToken word = m_reader.Peek();
        if (word.kind == TokenKind::Word && (ClosedBy(word.keyword) || IsUnitKeyword(word.keyword))) {
            m_reader.Next();
            stop.afterWords = word.end;
            stop.named = true;
            if (IsUnitKeyword(word.keyword)) {
                words.unitKeyword = word.keyword;
                words.unitWord = m_reader.Text().substr(word.start, word.end - word.start);
            } else {
                words.closes = ClosedBy(word.keyword);
            }
            if ((word.Is(VhdlKeyword::Protected) || word.Is(VhdlKeyword::Package)) &&
                m_reader.Peek().Is(VhdlKeyword::Body)) {
                stop.afterWords = m_reader.Next().end;
            }
            TakeName(stop, words.nameMatches);
        } else {
            words.named = TakeName(stop, words.nameMatches);
            stop.named = words.named;
        }
        if (m_reader.Peek().Is(';'))
            stop.semicolon = m_reader.NextTokenStart();
        return words;
    }

    std::optional<StructureStop> End(const VhdlToken& endToken) {
        StructureStop stop = Stop(StructureStop::What::End, endToken.start);
        stop.afterWords = endToken.end;
        const EndWords words = ReadEndWords(stop);
        if (words.closes) {
            if (OnStack(*words.closes))
                PopTo(*words.closes);
            return std::nullopt;
        }
        if (words.unitKeyword == VhdlKeyword::Package && OnStack(Construct::Package)) {
            PopTo(Construct::Package);
            return std::nullopt;
        }
        if (m_scope == StructureScope::Item) {
            if (m_stack.empty())
                return stop;
            CloseInnermost();
            return std::nullopt;
        }
        if (words.unitKeyword != VhdlKeyword::None) {
            // Units do not nest: their own keyword closes the unit whatever stands open.
            if (!m_unit.keyword.empty() && SameTextNoCase(words.unitWord, m_unit.keyword))
                return stop;
            return std::nullopt;
        }
        if (words.named && words.nameMatches)
            return stop;
        if (m_stack.empty())
            return ClosesUnit(words, stop) ? std::optional<StructureStop>(stop) : std::nullopt;
        CloseInnermost();
        return std::nullopt;
    }

    // An "end" with nothing open in a part of statements or declarations.
    bool ClosesUnit(const EndWords& words, const StructureStop& stop) const {
        if (m_scope == StructureScope::Declarations)
            return true;
        // "end;" closes the unit; "end other;" and an "end" without ';' do not.
        if (!words.named && stop.semicolon)
            return true;
        return words.named && m_unit.name.empty() && stop.semicolon;
    }

    CTokenReader m_reader;
    StructureScope m_scope;
    StructureUnit m_unit;
    std::vector<Construct> m_stack;
    int m_depth = 0;
    VhdlToken m_previous;
    bool m_statementStart = true;
};

} // namespace

StructureStop WalkStructure(std::string_view text, std::size_t from, StructureScope scope,
                            const StructureUnit& unit) {
    CStructureWalk walk(text, from, scope, unit);
    return walk.Run();
}

std::size_t SkipSubprogram(std::string_view text, std::size_t afterKeyword) {
    const CTokenReader reader(text, afterKeyword);
    CTokenReader after(reader);
    const VhdlToken found = ScanFor(reader, {VhdlKeyword::Is}, after);
    if (found.kind == TokenKind::EndOfText)
        return after.Position();
    if (found.Is(';'))
        return found.end;
    if (!found.Is(VhdlKeyword::Is)) // a "begin" or "end" before any "is": not a subprogram
        return found.start;
    if (after.Peek().Is(VhdlKeyword::New)) {
        CTokenReader semicolon(after);
        const VhdlToken end = ScanFor(after, {}, semicolon);
        return end.Is(';') ? end.end : end.start;
    }
    CStructureWalk walk(text, after.Position(), StructureScope::Item, {});
    walk.Push(Construct::Subprogram);
    const StructureStop stop = walk.Run();
    if (stop.what == StructureStop::What::Semicolon)
        return stop.position + 1;
    return stop.what == StructureStop::What::TextEnd ? text.size() : stop.position;
}

std::optional<StructureStop> LastClosingBeforeNextUnit(std::string_view text, std::size_t from,
                                                       const StructureUnit& unit) {
    CTokenReader reader(text, from);
    bool statementStart = true;
    std::optional<std::size_t> lastEnd;
    std::size_t boundary = text.size();
    for (;;) {
        const VhdlToken token = reader.Next();
        if (token.kind == TokenKind::EndOfText)
            break;
        if (statementStart && token.kind == TokenKind::Word) {
            if (token.keyword == VhdlKeyword::End) {
                lastEnd = token.start;
            } else if (IsUnitKeyword(token.keyword) || token.keyword == VhdlKeyword::Library) {
                boundary = token.start;
                break;
            }
        }
        statementStart = token.Is(';');
    }
    if (!lastEnd)
        return std::nullopt;
    // "end [keyword of the unit] [its name] ;" and nothing after it but blanks and comments.
    CTokenReader closing(text, *lastEnd);
    StructureStop stop;
    stop.what = StructureStop::What::End;
    stop.position = *lastEnd;
    stop.afterWords = closing.Next().end;
    VhdlToken word = closing.Peek();
    if (word.kind == TokenKind::Word && word.keyword != VhdlKeyword::None) {
        if (unit.keyword.empty() ||
            !SameTextNoCase(text.substr(word.start, word.end - word.start), unit.keyword))
            return std::nullopt;
        stop.afterWords = closing.Next().end;
        stop.named = true;
        word = closing.Peek();
    }
    if (word.IsName()) {
        if (!unit.name.empty() && !SameTextNoCase(text.substr(word.start, word.end - word.start), unit.name))
            return std::nullopt;
        stop.afterWords = closing.Next().end;
        stop.named = true;
    }
    const VhdlToken semicolon = closing.Next();
    if (!semicolon.Is(';') || closing.NextTokenStart() < boundary)
        return std::nullopt;
    stop.semicolon = semicolon.start;
    return stop;
}

} // namespace kestra
