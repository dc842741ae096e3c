#include "analysis/design_units.h"

#include "analysis/structure_walker.h"
#include "analysis/token_list.h"
#include "analysis/token_reader.h"
#include "text/char_class.h"

#include <algorithm>
#include <cstring>

namespace kestra {

namespace {

std::string_view TokenText(std::string_view text, const VhdlToken& token) {
    return text.substr(token.start, token.end - token.start);
}

bool IsWordToken(std::string_view text, const VhdlToken& token, std::string_view word) {
    return token.kind == TokenKind::Word && SameTextNoCase(TokenText(text, token), word);
}

// Past the next ';' outside parentheses from `from`, or the text's end.
std::size_t PastSemicolon(std::string_view text, std::size_t from) {
    CTokenReader reader(text, from);
    int depth = 0;
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText; token = reader.Next()) {
        if (token.Is('('))
            ++depth;
        else if (token.Is(')') && depth > 0)
            --depth;
        else if (token.Is(';') && depth == 0)
            return token.end;
    }
    return text.size();
}

// "NAME [of ENTITY] is" after a unit keyword.
struct UnitHeader {
    std::string name;
    std::string entity;
    std::size_t afterIs = 0;
    bool instantiation = false; // "package NAME is new ..."
};

std::optional<UnitHeader> ReadHeader(std::string_view text, CTokenReader reader, bool withEntity) {
    UnitHeader header;
    const VhdlToken name = reader.Next();
    if (!name.IsName())
        return std::nullopt;
    header.name = std::string(TokenText(text, name));
    if (withEntity) {
        const VhdlToken entity = reader.Next();
        if (!IsWordToken(text, entity, "of"))
            return std::nullopt;
        const VhdlToken entityName = reader.Next();
        if (!entityName.IsName())
            return std::nullopt;
        header.entity = std::string(TokenText(text, entityName));
    }
    if (!reader.Next().Is(VhdlKeyword::Is))
        return std::nullopt;
    header.afterIs = reader.Position();
    header.instantiation = reader.Peek().Is(VhdlKeyword::New);
    return header;
}

// Past the ';' of the closing a walk stopped at; nothing when the walk found no closing.
std::optional<std::size_t> PastClosing(std::string_view text, const StructureStop& stop) {
    if (stop.what != StructureStop::What::End)
        return std::nullopt;
    return stop.semicolon ? *stop.semicolon + 1 : PastSemicolon(text, stop.afterWords);
}

// Past the closing of a unit whose declarative part starts at `from`; a "begin" there starts a
// statement part (an entity's), which is walked to the unit's closing.
std::optional<std::size_t> UnitEnd(std::string_view text, std::size_t from, const StructureUnit& unit,
                                   StructureScope scope) {
    const StructureStop stop = WalkStructure(text, from, scope, unit);
    if (stop.what == StructureStop::What::Begin)
        return PastClosing(text, WalkStructure(text, stop.position + 5, StructureScope::Statements, unit));
    return PastClosing(text, stop);
}

// A configuration specification: "for L1, L2 | all | others : comp use entity lib.e(arch)",
// "use configuration lib.cfg" or "use open".
struct ConfigurationSpec {
    std::vector<std::string> labels;
    bool all = false;
    bool others = false;
    std::string component;
    std::string entity;
    std::string architecture;
    std::string configuration;
    bool open = false;
};

// The last simple name of "lib.name" from token i; i moves past it.
std::string ReadSelectedLast(const CTokenList& list, std::size_t& i) {
    std::string last(list.Text(i));
    for (++i; list.At(i).Is('.') && list.At(i + 1).IsName(); i += 2)
        last = std::string(list.Text(i + 1));
    return last;
}

// The binding after "use" at token i.
bool ReadBindingIndication(const CTokenList& list, std::size_t i, ConfigurationSpec& spec) {
    if (list.IsWord(i, "open")) {
        spec.open = true;
        return true;
    }
    const bool entity = list.At(i).Is(VhdlKeyword::Entity);
    if (!entity && !list.At(i).Is(VhdlKeyword::Configuration))
        return false;
    ++i;
    if (!list.At(i).IsName())
        return false;
    std::string name = ReadSelectedLast(list, i);
    if (!entity) {
        spec.configuration = std::move(name);
        return true;
    }
    spec.entity = std::move(name);
    if (list.At(i).Is('(') && list.At(i + 1).IsName() && list.At(i + 2).Is(')'))
        spec.architecture = std::string(list.Text(i + 1));
    return true;
}

std::optional<ConfigurationSpec> ReadConfigurationSpec(std::string_view text, std::size_t start,
                                                       std::size_t semicolon) {
    const CTokenList list(text, start, semicolon + 1);
    ConfigurationSpec spec;
    std::size_t i = 1;
    if (list.At(i).Is(VhdlKeyword::All)) {
        spec.all = true;
        ++i;
    } else if (list.IsWord(i, "others")) {
        spec.others = true;
        ++i;
    } else {
        for (; list.At(i).IsName(); i += 2) {
            spec.labels.push_back(list.Lower(i));
            if (!list.At(i + 1).Is(','))
                break;
        }
        ++i;
    }
    if (!list.At(i).Is(':') || !list.At(i + 1).IsName() || !list.At(i + 2).Is(VhdlKeyword::Use))
        return std::nullopt;
    std::size_t component = i + 1;
    spec.component = ReadSelectedLast(list, component);
    if (!ReadBindingIndication(list, component + 1, spec))
        return std::nullopt;
    return spec;
}

// The configuration specifications of a declarative part, from `start` to `begin`.
std::vector<ConfigurationSpec> ReadConfigurationSpecs(std::string_view text, std::size_t start,
                                                      std::size_t begin) {
    std::vector<ConfigurationSpec> specs;
    CTokenReader reader(text);
    for (std::size_t pos = start;;) {
        reader.Seek(pos);
        const VhdlToken first = reader.Next();
        if (first.kind == TokenKind::EndOfText || first.start >= begin)
            break;
        if (first.Is(VhdlKeyword::For) || first.Is(VhdlKeyword::End)) {
            // "end for;" may follow a configuration specification.
            pos = PastSemicolon(text, first.start);
            if (first.Is(VhdlKeyword::For) && pos <= begin) {
                if (std::optional<ConfigurationSpec> spec = ReadConfigurationSpec(text, first.start, pos - 1))
                    specs.push_back(std::move(*spec));
            }
            continue;
        }
        const StructureStop stop = WalkStructure(text, first.start, StructureScope::Item);
        if (stop.what != StructureStop::What::Semicolon || stop.position >= begin)
            break;
        pos = stop.position + 1;
    }
    return specs;
}

// The "for ... use" binding that applies to a component instance: one naming its label, else
// "all", else "others", each for the instance's component.
const ConfigurationSpec* SpecFor(const std::vector<ConfigurationSpec>& specs,
                                 const InstanceStructure& instance) {
    const std::string label = ToLowerAscii(instance.label);
    const ConfigurationSpec* found = nullptr;
    int rank = 0;
    for (const ConfigurationSpec& spec : specs) {
        if (!SameTextNoCase(spec.component, instance.unit))
            continue;
        const bool named = std::find(spec.labels.begin(), spec.labels.end(), label) != spec.labels.end();
        const int specRank = named ? 3 : (spec.all ? 2 : (spec.others ? 1 : 0));
        if (specRank > rank) {
            rank = specRank;
            found = &spec;
        }
    }
    return found;
}

InstanceBinding Bind(const InstanceStructure& instance, const std::vector<ConfigurationSpec>& specs,
                     const CLineIndex& lines) {
    InstanceBinding binding;
    binding.label = instance.label;
    binding.unit = instance.unit;
    binding.entity = instance.entity;
    binding.generate = instance.generate;
    binding.generateLabel = instance.generateLabel;
    binding.line = lines.LineOf(instance.start);
    binding.boundEntity = instance.unit;
    binding.boundArchitecture = instance.architecture;
    binding.boundLibrary = instance.library;
    if (instance.entity)
        return binding;
    if (const ConfigurationSpec* spec = SpecFor(specs, instance)) {
        binding.boundEntity = spec->entity;
        binding.boundArchitecture = spec->architecture;
        binding.boundConfiguration = spec->configuration;
        binding.open = spec->open;
    }
    return binding;
}

// Reads the units of one text in order, with the context clauses in front of each.
class CUnitReader {
public:
    explicit CUnitReader(std::string_view text) : m_text(text), m_lines(text), m_reader(text) {}

    FileDesignUnits ReadAll() {
        bool statementStart = true;
        for (std::size_t pos = 0;;) {
            m_reader.Seek(pos);
            const VhdlToken token = m_reader.Next();
            if (token.kind == TokenKind::EndOfText)
                break;
            pos = token.end;
            if (statementStart)
                pos = ReadStatement(token);
            statementStart = pos != token.end || token.Is(';');
        }
        return std::move(m_result);
    }

private:
    // A context clause or a unit from its first token; the position after it, or just after the
    // token when it starts neither.
    std::size_t ReadStatement(const VhdlToken& token) {
        switch (token.keyword) {
        case VhdlKeyword::Library:
            return ReadLibraryClause(token.end);
        case VhdlKeyword::Use:
            return ReadUseClause(token.end);
        case VhdlKeyword::Context:
            return ReadContext(token);
        case VhdlKeyword::Entity:
        case VhdlKeyword::Package:
        case VhdlKeyword::Configuration:
            return ReadUnit(token);
        case VhdlKeyword::Architecture:
            return ReadArchitecture(token);
        default:
            return token.end;
        }
    }

    std::size_t ReadLibraryClause(std::size_t from) {
        CTokenReader reader(m_text, from);
        for (VhdlToken name = reader.Next(); name.IsName(); name = reader.Next()) {
            m_context.libraries.emplace_back(TokenText(m_text, name));
            m_libraries.push_back(ToLowerAscii(TokenText(m_text, name)));
            if (!reader.Next().Is(','))
                break;
        }
        return PastSemicolon(m_text, from);
    }

    bool IsVisibleLibrary(std::string_view name) const {
        const std::string lower = ToLowerAscii(name);
        return lower == "work" || lower == "std" ||
               std::find(m_libraries.begin(), m_libraries.end(), lower) != m_libraries.end();
    }

    void AddUse(const std::vector<std::string_view>& parts, std::size_t start) {
        UseClause use;
        use.line = m_lines.LineOf(start);
        if (parts.size() >= 3 || (parts.size() == 2 && IsVisibleLibrary(parts[0]))) {
            use.library = std::string(parts[0]);
            use.package = std::string(parts[1]);
            use.item = parts.size() >= 3 ? std::string(parts[2]) : std::string();
        } else if (parts.size() == 2) {
            use.package = std::string(parts[0]);
            use.item = std::string(parts[1]);
        } else {
            return;
        }
        m_context.uses.push_back(std::move(use));
    }

    // "use a.b.c, d.e;" from after "use".
    std::size_t ReadUseClause(std::size_t from) {
        CTokenReader reader(m_text, from);
        for (;;) {
            std::vector<std::string_view> parts;
            const std::size_t start = reader.NextTokenStart();
            for (VhdlToken part = reader.Next(); part.IsName() || part.Is(VhdlKeyword::All);
                 part = reader.Next()) {
                parts.push_back(TokenText(m_text, part));
                if (!reader.Peek().Is('.'))
                    break;
                reader.Next();
            }
            AddUse(parts, start);
            if (!reader.Peek().Is(','))
                break;
            reader.Next();
        }
        return PastSemicolon(m_text, from);
    }

    // "context lib.name;" refers to a context; "context name is ... end;" declares one.
    std::size_t ReadContext(const VhdlToken& token) {
        CTokenReader reader(m_reader);
        if (std::optional<UnitHeader> header = ReadHeader(m_text, reader, false)) {
            const std::optional<std::size_t> end =
                UnitEnd(m_text, header->afterIs, {"context", header->name}, StructureScope::Declarations);
            return end.value_or(header->afterIs);
        }
        return PastSemicolon(m_text, token.end);
    }

    void AddUnit(DesignUnit unit) {
        unit.line = m_lines.LineOf(unit.start);
        unit.context = std::move(m_context);
        m_context = {};
        m_result.units.push_back(std::move(unit));
    }

    // An entity, package, package body or configuration.
    std::size_t ReadUnit(const VhdlToken& token) {
        CTokenReader reader(m_reader);
        DesignUnit unit;
        unit.start = token.start;
        const char* keyword = "entity";
        if (token.Is(VhdlKeyword::Package)) {
            const bool body = reader.Peek().Is(VhdlKeyword::Body);
            if (body)
                reader.Next();
            unit.kind = body ? DesignUnitKind::PackageBody : DesignUnitKind::Package;
            keyword = "package";
        } else if (token.Is(VhdlKeyword::Configuration)) {
            unit.kind = DesignUnitKind::Configuration;
            keyword = "configuration";
        }
        const bool configuration = unit.kind == DesignUnitKind::Configuration;
        std::optional<UnitHeader> header = ReadHeader(m_text, reader, configuration);
        if (!header)
            return token.end;
        unit.name = std::move(header->name);
        unit.entity = std::move(header->entity);
        const std::optional<std::size_t> end =
            header->instantiation
                ? PastSemicolon(m_text, header->afterIs)
                : UnitEnd(m_text, header->afterIs, {keyword, unit.name},
                          configuration ? StructureScope::Statements : StructureScope::Declarations);
        unit.end = end.value_or(header->afterIs);
        if (!end)
            m_result.unclosedLines.push_back(m_lines.LineOf(unit.start));
        AddUnit(std::move(unit));
        return m_result.units.back().end;
    }

    std::size_t ReadArchitecture(const VhdlToken& token) {
        std::optional<UnitHeader> header = ReadHeader(m_text, CTokenReader(m_reader), true);
        if (!header)
            return token.end;
        DesignUnit unit;
        unit.kind = DesignUnitKind::Architecture;
        unit.start = token.start;
        unit.name = header->name;
        unit.entity = header->entity;
        std::optional<ArchitectureStructure> structure =
            ReadArchitectureStructure(m_text, header->entity, token.start);
        if (!structure || structure->declarations != header->afterIs) {
            unit.end = header->afterIs;
            m_result.unclosedLines.push_back(m_lines.LineOf(unit.start));
            AddUnit(std::move(unit));
            return header->afterIs;
        }
        const std::vector<ConfigurationSpec> specs =
            ReadConfigurationSpecs(m_text, structure->declarations, structure->begin);
        unit.instances.reserve(structure->instances.size());
        for (const InstanceStructure& instance : structure->instances)
            unit.instances.push_back(Bind(instance, specs, m_lines));
        unit.end = PastSemicolon(m_text, structure->end);
        AddUnit(std::move(unit));
        return m_result.units.back().end;
    }

    std::string_view m_text;
    CLineIndex m_lines;
    CTokenReader m_reader;
    ContextItems m_context;
    std::vector<std::string> m_libraries; // lower case, every library clause read so far
    FileDesignUnits m_result;
};

} // namespace

CLineIndex::CLineIndex(std::string_view text) {
    m_starts.push_back(0);
    for (const char *p = text.data(), *end = text.data() + text.size(); p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (p == nullptr)
            break;
        m_starts.push_back(static_cast<std::size_t>(p - text.data()) + 1);
    }
}

int CLineIndex::LineOf(std::size_t position) const {
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    return static_cast<int>(after - m_starts.begin());
}

FileDesignUnits ReadDesignUnits(std::string_view text) {
    return CUnitReader(text).ReadAll();
}

} // namespace kestra
