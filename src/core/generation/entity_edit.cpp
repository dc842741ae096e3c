#include "generation/entity_edit.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "analysis/structure_walker.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"
#include "model/vhdl_signal.h"
#include "text/text_edits.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kestra {

namespace {

// One name of a source declaration.
struct SourceName {
    std::size_t declaration = 0;
    std::size_t name = 0;
};

// A declaration of the new clause.
struct Unit {
    std::optional<std::size_t> declaration; // the source declaration it comes from
    bool firstOfDeclaration = false;        // takes the declaration's leading text
    bool lastOfDeclaration = false;         // takes its text after the code
    std::string code;
};

// The parts of the text around one source declaration.
struct Layout {
    std::size_t unitStart = 0; // the declaration's line start when it begins its line
    std::size_t unitEnd = 0;   // the end of its line when nothing but a comment follows it
    std::size_t afterCode = 0; // after its ';' (or its code, for the last one)
    bool ownLine = false;
};

// Marks the last piece of each source declaration, which keeps what followed its code.
void MarkLastPieces(std::vector<Unit>& units, std::size_t declarations) {
    std::vector<bool> ended(declarations, false);
    for (std::size_t u = units.size(); u > 0; --u) {
        Unit& unit = units[u - 1];
        if (unit.declaration && !ended[*unit.declaration]) {
            unit.lastOfDeclaration = true;
            ended[*unit.declaration] = true;
        }
    }
}

// Writes a generic or port clause as a list of declarations: each declaration taken from the
// source keeps the text around it (indentation, the comments on its lines, the gaps between
// declarations), and the ';' between declarations are put where the new order needs them.
class CInterfaceListWriter {
public:
    CInterfaceListWriter(const std::string& text, const EntityInterface& entity, const InterfaceList* list,
                         const char* keyword, const std::string& lineEnd)
        : m_text(text), m_entity(entity), m_list(list), m_keyword(keyword), m_lineEnd(lineEnd) {}

    TextEdit Write(const std::vector<Unit>& units) const {
        if (m_list == nullptr || m_list->declarations.empty())
            return NewClause(units);
        if (units.empty())
            return DeletionOf(m_text, m_list->keyword, m_list->afterEnd);
        return RewrittenClause(units);
    }

private:
    const std::vector<InterfaceDeclaration>& Declarations() const { return m_list->declarations; }

    Layout LayoutOf(std::size_t index) const {
        const InterfaceDeclaration& declaration = Declarations()[index];
        Layout layout;
        const std::size_t floor = index == 0 ? m_list->open + 1 : m_list->separators[index - 1] + 1;
        const std::size_t lineStart = LineStart(m_text, declaration.start);
        layout.ownLine = lineStart >= floor && OnlyBlanks(m_text, lineStart, declaration.start);
        layout.unitStart = layout.ownLine ? lineStart : declaration.start;
        layout.afterCode =
            index + 1 < Declarations().size() ? m_list->separators[index] + 1 : declaration.end;
        const std::size_t lineEnd = LineEnd(m_text, layout.afterCode);
        layout.unitEnd = lineEnd <= m_list->close && OnlyBlanksOrComment(m_text, layout.afterCode, lineEnd)
                             ? lineEnd
                             : layout.afterCode;
        return layout;
    }

    TextEdit RewrittenClause(const std::vector<Unit>& units) const {
        const std::size_t count = Declarations().size();
        std::vector<Layout> layouts;
        for (std::size_t d = 0; d < count; ++d)
            layouts.push_back(LayoutOf(d));
        const bool lineWise = layouts[0].ownLine;
        const std::string newGap = lineWise ? m_lineEnd : " ";
        const std::string lastIndent =
            lineWise ? m_text.substr(layouts[count - 1].unitStart,
                                     Declarations()[count - 1].start - layouts[count - 1].unitStart)
                     : std::string();

        std::string inner = m_text.substr(m_list->open + 1, layouts[0].unitStart - m_list->open - 1);
        for (std::size_t u = 0; u < units.size(); ++u) {
            const Unit& unit = units[u];
            const bool last = u + 1 == units.size();
            if (u > 0) {
                const bool ownGap = unit.declaration && unit.firstOfDeclaration && *unit.declaration > 0;
                inner += ownGap ? m_text.substr(layouts[*unit.declaration - 1].unitEnd,
                                                layouts[*unit.declaration].unitStart -
                                                    layouts[*unit.declaration - 1].unitEnd)
                                : newGap;
            }
            std::string middle;
            std::string trailing;
            if (unit.declaration) {
                const std::size_t d = *unit.declaration;
                const InterfaceDeclaration& declaration = Declarations()[d];
                const Layout& layout = layouts[d];
                if (unit.firstOfDeclaration || layout.ownLine)
                    inner += m_text.substr(layout.unitStart, declaration.start - layout.unitStart);
                if (unit.lastOfDeclaration) {
                    middle = m_text.substr(declaration.end, layout.afterCode - declaration.end);
                    trailing = m_text.substr(layout.afterCode, layout.unitEnd - layout.afterCode);
                }
            } else {
                inner += lastIndent;
            }
            inner += unit.code;
            const std::size_t semicolon = middle.find(';');
            if (last && semicolon != std::string::npos)
                middle.erase(semicolon, 1);
            else if (!last && semicolon == std::string::npos)
                middle.insert(0, ";");
            inner += middle + trailing;
        }
        inner += m_text.substr(layouts[count - 1].unitEnd, m_list->close - layouts[count - 1].unitEnd);
        return {m_list->open + 1, m_list->close, inner};
    }

    // A new clause after the entity's "is" (a port clause after the generic clause), in the
    // tool's form and the file's line ends, indented like the entity's other clause.
    TextEdit NewClause(const std::vector<Unit>& units) const {
        const InterfaceList* other = m_entity.ports && m_list != &*m_entity.ports ? &*m_entity.ports
                                     : m_entity.generics                          ? &*m_entity.generics
                                                                                  : nullptr;
        std::string indent = "\t";
        if (other != nullptr) {
            const std::size_t lineStart = LineStart(m_text, other->keyword);
            if (lineStart < other->keyword && OnlyBlanks(m_text, lineStart, other->keyword))
                indent = m_text.substr(lineStart, other->keyword - lineStart);
        }
        const std::string inner = indent + indent;
        std::string clause = m_lineEnd + indent + m_keyword + " (" + m_lineEnd;
        for (std::size_t u = 0; u < units.size(); ++u)
            clause += inner + units[u].code + (u + 1 < units.size() ? ";" : "") + m_lineEnd;
        clause += indent + ");";
        std::size_t at = m_entity.afterIs;
        if (std::string_view(m_keyword) == "port" && m_entity.generics)
            at = m_entity.generics->afterEnd;
        return {at, at, clause};
    }

    const std::string& m_text;
    const EntityInterface& m_entity;
    const InterfaceList* m_list;
    const char* m_keyword;
    const std::string& m_lineEnd;
};

// The generic clause made to declare the object's generic parameters.
class CGenericClauseEdit {
public:
    CGenericClauseEdit(const std::string& text, const EntityInterface& entity, const CKSTObject& object,
                       const std::string& lineEnd)
        : m_text(text), m_entity(entity), m_object(object), m_lineEnd(lineEnd) {
        if (entity.generics)
            m_declarations = &entity.generics->declarations;
    }

    // The edit of the generic clause, none when it stays as it is.
    std::optional<TextEdit> Build() {
        Match();
        if (!Changed())
            return std::nullopt;
        const std::vector<Unit> units = Units();
        const CInterfaceListWriter writer(m_text, m_entity, m_entity.generics ? &*m_entity.generics : nullptr,
                                          "generic", m_lineEnd);
        return writer.Write(units);
    }

private:
    const std::vector<InterfaceDeclaration>& Declarations() const {
        static const std::vector<InterfaceDeclaration> none;
        return m_declarations != nullptr ? *m_declarations : none;
    }

    std::string SourceNameText(const SourceName& name) const {
        return Declarations()[name.declaration].names[name.name];
    }

    // Pairs the object's generic parameters with the source's generics by name; a single
    // unpaired one on each side of the same kind is a renamed generic.
    void Match() {
        for (std::size_t d = 0; d < Declarations().size(); ++d) {
            for (std::size_t n = 0; n < Declarations()[d].names.size(); ++n)
                m_names.push_back({d, n});
        }
        m_entryOfName.assign(m_names.size(), -1);
        for (int entry = 1; entry < m_object.GetEntryCount(); ++entry) {
            if (!FactsOf(m_object.GetEntryKind(entry)).generic)
                continue;
            m_entries.push_back(entry);
            const std::string name = m_object.GetEntryName(entry);
            for (std::size_t i = 0; i < m_names.size(); ++i) {
                if (m_entryOfName[i] < 0 && SameTextNoCase(SourceNameText(m_names[i]), name)) {
                    m_entryOfName[i] = entry;
                    break;
                }
            }
        }
        std::vector<int> unpairedEntries;
        for (const int entry : m_entries) {
            if (NameOfEntry(entry) < 0 && Writable(entry))
                unpairedEntries.push_back(entry);
        }
        std::vector<std::size_t> unpairedNames;
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (m_entryOfName[i] < 0)
                unpairedNames.push_back(i);
        }
        if (unpairedEntries.size() == 1 && unpairedNames.size() == 1 &&
            Declarations()[m_names[unpairedNames[0]].declaration].kind ==
                m_object.GetEntryKind(unpairedEntries[0])) {
            m_entryOfName[unpairedNames[0]] = unpairedEntries[0];
            m_renamed = unpairedEntries[0];
        }
    }

    int NameOfEntry(int entry) const {
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (m_entryOfName[i] == entry)
                return static_cast<int>(i);
        }
        return -1;
    }

    // A parameter without a declaration gets one, except a Generic parameter (its type is not
    // known) and a data type parameter that names a type the source uses (made from a port or
    // signal, not a generic).
    bool Writable(int entry) const {
        const EntryKind kind = m_object.GetEntryKind(entry);
        if (kind == EntryKind::Generic)
            return false;
        if (kind == EntryKind::DataType) {
            const CScanner scanner(m_text);
            return !scanner.FindWordOutsideComments(0, m_object.GetEntryName(entry)).has_value();
        }
        return true;
    }

    bool ValueChanged(int entry, const InterfaceDeclaration& declaration) const {
        return m_object.GetEntryValue(entry) != declaration.value;
    }

    bool Changed() const {
        std::size_t expected = 0;
        for (const int entry : m_entries) {
            const int name = NameOfEntry(entry);
            if (name < 0) {
                if (Writable(entry))
                    return true; // added
                continue;
            }
            if (static_cast<std::size_t>(name) != expected++ || entry == m_renamed)
                return true; // moved or renamed
            if (ValueChanged(entry, Declarations()[m_names[static_cast<std::size_t>(name)].declaration]))
                return true;
        }
        return expected != m_names.size(); // removed
    }

    // The declaration's code from `from` (its start, or just after its names) to its end, with
    // the default made the entry's value.
    std::string CodeFrom(const InterfaceDeclaration& declaration, std::size_t from, int entry) const {
        if (!ValueChanged(entry, declaration))
            return m_text.substr(from, declaration.end - from);
        const std::string& value = m_object.GetEntryValue(entry);
        const std::string written = GenericValueText(m_object.GetEntryKind(entry), value);
        if (declaration.defaultValue) {
            if (value.empty())
                return m_text.substr(from, declaration.typeEnd - from) +
                       m_text.substr(declaration.defaultValue->end,
                                     declaration.end - declaration.defaultValue->end);
            return m_text.substr(from, declaration.defaultValue->start - from) + written +
                   m_text.substr(declaration.defaultValue->end,
                                 declaration.end - declaration.defaultValue->end);
        }
        return m_text.substr(from, declaration.typeEnd - from) + " := " + written +
               m_text.substr(declaration.typeEnd, declaration.end - declaration.typeEnd);
    }

    std::string NewDeclaration(int entry) const {
        const EntryKind kind = m_object.GetEntryKind(entry);
        std::string code = m_object.GetEntryName(entry) + ": " + GenericTypeWord(kind, kGenericAllKinds);
        const std::string& value = m_object.GetEntryValue(entry);
        if (!value.empty())
            code += " := " + GenericValueText(kind, value);
        return code;
    }

    // The declarations of the new clause in the object's order: a source declaration stays whole
    // when all its names follow one another in their order with one value; otherwise each name
    // gets a declaration of its own with the declaration's type.
    std::vector<Unit> Units() const {
        std::vector<int> order;
        for (const int entry : m_entries) {
            if (NameOfEntry(entry) >= 0 || Writable(entry))
                order.push_back(entry);
        }
        std::vector<Unit> units;
        std::vector<bool> started(Declarations().size(), false);
        for (std::size_t t = 0; t < order.size(); ++t) {
            const int entry = order[t];
            const int nameIndex = NameOfEntry(entry);
            if (nameIndex < 0) {
                units.push_back({std::nullopt, false, false, NewDeclaration(entry)});
                continue;
            }
            const SourceName& name = m_names[static_cast<std::size_t>(nameIndex)];
            const InterfaceDeclaration& declaration = Declarations()[name.declaration];
            const std::size_t count = declaration.names.size();
            bool whole = name.name == 0 && t + count <= order.size();
            for (std::size_t k = 0; whole && k < count; ++k) {
                const int other = order[t + k];
                const int otherName = NameOfEntry(other);
                whole = otherName == nameIndex + static_cast<int>(k) && other != m_renamed &&
                        m_object.GetEntryValue(other) == m_object.GetEntryValue(entry);
            }
            Unit unit;
            unit.declaration = name.declaration;
            unit.firstOfDeclaration = !started[name.declaration];
            started[name.declaration] = true;
            if (whole) {
                unit.code = CodeFrom(declaration, declaration.start, entry);
                t += count - 1;
            } else {
                const std::size_t namesEnd = declaration.nameStarts.back() + declaration.names.back().size();
                const std::string ownName =
                    entry == m_renamed ? m_object.GetEntryName(entry) : declaration.names[name.name];
                const std::size_t prefix = name.name == 0 ? declaration.nameStarts[0] - declaration.start : 0;
                unit.code = m_text.substr(declaration.start, prefix) + ownName +
                            CodeFrom(declaration, namesEnd, entry);
            }
            units.push_back(std::move(unit));
        }
        MarkLastPieces(units, Declarations().size());
        return units;
    }

    const std::string& m_text;
    const EntityInterface& m_entity;
    const CKSTObject& m_object;
    const std::string& m_lineEnd;
    const std::vector<InterfaceDeclaration>* m_declarations = nullptr;
    std::vector<SourceName> m_names;
    std::vector<int> m_entryOfName; // per source name: the entry paired with it, or -1
    std::vector<int> m_entries;     // the object's generic parameters, in order
    int m_renamed = -1;
};

// The port clause made to declare the signal list's ports.
class CPortClauseEdit {
public:
    CPortClauseEdit(const std::string& text, const EntityInterface& entity, const CVHDLSignal& signals,
                    const std::string& lineEnd)
        : m_text(text), m_entity(entity), m_signals(signals), m_lineEnd(lineEnd) {
        if (entity.ports)
            m_declarations = &entity.ports->declarations;
        for (int row = 0; row < signals.GetSignalCount(); ++row) {
            if (!signals.FormatSignal(row, 1).empty())
                m_rows.push_back(row);
        }
    }

    std::optional<TextEdit> Build() {
        Match();
        bool changed = false;
        std::size_t expected = 0;
        for (const int row : m_rows) {
            const int name = NameOfRow(row);
            if (name < 0 || static_cast<std::size_t>(name) != expected++ || row == m_renamed ||
                !Unchanged(static_cast<std::size_t>(name), row))
                changed = true;
        }
        if (!changed && expected == m_names.size())
            return std::nullopt;
        std::vector<Unit> units;
        std::vector<bool> started(Declarations().size(), false);
        for (std::size_t r = 0; r < m_rows.size(); ++r) {
            const int row = m_rows[r];
            const int nameIndex = NameOfRow(row);
            if (nameIndex < 0) {
                units.push_back({std::nullopt, false, false, RowCode(row)});
                continue;
            }
            const SourceName& name = m_names[static_cast<std::size_t>(nameIndex)];
            const InterfaceDeclaration& declaration = Declarations()[name.declaration];
            const std::size_t count = declaration.names.size();
            bool whole = name.name == 0 && r + count <= m_rows.size();
            for (std::size_t k = 0; whole && k < count; ++k) {
                const int other = m_rows[r + k];
                whole = NameOfRow(other) == nameIndex + static_cast<int>(k) && other != m_renamed &&
                        Unchanged(static_cast<std::size_t>(nameIndex) + k, other);
            }
            Unit unit;
            unit.declaration = name.declaration;
            unit.firstOfDeclaration = !started[name.declaration];
            started[name.declaration] = true;
            if (whole) {
                unit.code = m_text.substr(declaration.start, declaration.end - declaration.start);
                r += count - 1;
            } else if (row != m_renamed && Unchanged(static_cast<std::size_t>(nameIndex), row)) {
                const std::size_t namesEnd = declaration.nameStarts.back() + declaration.names.back().size();
                unit.code =
                    declaration.names[name.name] + m_text.substr(namesEnd, declaration.end - namesEnd);
            } else {
                unit.code = RowCode(row);
            }
            units.push_back(std::move(unit));
        }
        MarkLastPieces(units, Declarations().size());
        const CInterfaceListWriter writer(m_text, m_entity, m_entity.ports ? &*m_entity.ports : nullptr,
                                          "port", m_lineEnd);
        return writer.Write(units);
    }

private:
    const std::vector<InterfaceDeclaration>& Declarations() const {
        static const std::vector<InterfaceDeclaration> none;
        return m_declarations != nullptr ? *m_declarations : none;
    }

    void Match() {
        for (std::size_t d = 0; d < Declarations().size(); ++d) {
            for (std::size_t n = 0; n < Declarations()[d].names.size(); ++n)
                m_names.push_back({d, n});
        }
        m_rowOfName.assign(m_names.size(), -1);
        for (const int row : m_rows) {
            const std::string name = m_signals.GetSignalText(row, CVHDLSignal::kName);
            for (std::size_t i = 0; i < m_names.size(); ++i) {
                if (m_rowOfName[i] < 0 &&
                    SameTextNoCase(Declarations()[m_names[i].declaration].names[m_names[i].name], name)) {
                    m_rowOfName[i] = row;
                    break;
                }
            }
        }
        std::vector<int> unpairedRows;
        for (const int row : m_rows) {
            if (NameOfRow(row) < 0)
                unpairedRows.push_back(row);
        }
        std::vector<std::size_t> unpairedNames;
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (m_rowOfName[i] < 0)
                unpairedNames.push_back(i);
        }
        if (unpairedRows.size() == 1 && unpairedNames.size() == 1) {
            m_rowOfName[unpairedNames[0]] = unpairedRows[0];
            m_renamed = unpairedRows[0];
        }
    }

    int NameOfRow(int row) const {
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (m_rowOfName[i] == row)
                return static_cast<int>(i);
        }
        return -1;
    }

    // Whether the row holds what analysis reads from the source's declaration of that name.
    bool Unchanged(std::size_t nameIndex, int row) const {
        const SourceName& name = m_names[nameIndex];
        const InterfaceDeclaration& declaration = Declarations()[name.declaration];
        const std::string initial =
            declaration.defaultValue ? ExpressionText(m_text, *declaration.defaultValue) : std::string();
        return m_signals.GetSignalText(row, CVHDLSignal::kName) == declaration.names[name.name] &&
               m_signals.GetSignalText(row, CVHDLSignal::kMode) ==
                   (declaration.mode.empty() ? std::string("in") : declaration.mode) &&
               m_signals.GetSignalText(row, CVHDLSignal::kDataType) == declaration.typeMark &&
               m_signals.GetSignalText(row, CVHDLSignal::kRange) == declaration.range &&
               m_signals.GetSignalText(row, CVHDLSignal::kInitialValue) == initial;
    }

    // The row's declaration as the signal list writes it, in the file's line ends.
    std::string RowCode(int row) const {
        std::string code = m_signals.FormatSignal(row, 1);
        std::size_t first = 0;
        while (first < code.size() && IsBlank(code[first]))
            ++first;
        std::size_t last = code.rfind(';');
        return WithLineEnds(code.substr(first, last - first), m_lineEnd);
    }

    const std::string& m_text;
    const EntityInterface& m_entity;
    const CVHDLSignal& m_signals;
    const std::string& m_lineEnd;
    const std::vector<InterfaceDeclaration>* m_declarations = nullptr;
    std::vector<int> m_rows; // the rows that make a declaration
    std::vector<SourceName> m_names;
    std::vector<int> m_rowOfName;
    int m_renamed = -1;
};

// An enumeration type or a Style constant of the entity's declarative part.
struct EnumerationType {
    std::string name;
    std::vector<std::string> literals;
    std::size_t listStart = 0; // its '('
    std::size_t listEnd = 0;   // after its ')'
    std::size_t start = 0;
    std::size_t end = 0; // after its ';'
};

struct StyleConstant {
    std::string name;
    std::size_t type = 0; // the enumeration it follows
    std::size_t valueStart = 0;
    std::size_t valueEnd = 0;
    std::size_t start = 0;
    std::size_t end = 0;
};

struct DeclarativePart {
    std::vector<EnumerationType> types;
    std::vector<StyleConstant> constants;
    std::size_t insertAt = 0; // where new declarations go: before "begin" or the closing "end"
};

// Reads "type NAME is (a, b);" from the position after "type"; false for another form.
bool ReadEnumeration(const CScanner& scanner, std::size_t cursor, EnumerationType& type) {
    type.name = scanner.ReadIdentifier(cursor);
    if (type.name.empty() || !SameTextNoCase(scanner.ReadWord(cursor), "is"))
        return false;
    scanner.SkipBlanksAndComments(cursor);
    if (scanner.At(cursor) != '(')
        return false;
    type.listStart = cursor++;
    for (;;) {
        std::string literal = scanner.ReadIdentifier(cursor);
        if (literal.empty())
            literal = scanner.ReadDigits(cursor);
        if (literal.empty())
            return false;
        type.literals.push_back(std::move(literal));
        const char next = scanner.ReadChar(cursor);
        if (next == ')') {
            type.listEnd = cursor;
            return true;
        }
        if (next != ',')
            return false;
    }
}

// Reads "constant NAME : TYPE := value;" from the position after "constant".
bool ReadConstant(const CScanner& scanner, std::size_t cursor, const std::string& typeName,
                  StyleConstant& constant) {
    constant.name = scanner.ReadIdentifier(cursor);
    if (constant.name.empty() || scanner.ReadChar(cursor) != ':' ||
        !SameTextNoCase(scanner.ReadIdentifier(cursor), typeName) || scanner.ReadChar(cursor) != ':' ||
        scanner.At(cursor) != '=')
        return false;
    ++cursor;
    scanner.SkipBlanksAndComments(cursor);
    constant.valueStart = cursor;
    if (scanner.ReadIdentifier(cursor).empty())
        return false;
    constant.valueEnd = cursor;
    return true;
}

std::optional<DeclarativePart> ReadDeclarativePart(const std::string& text, const EntityInterface& entity) {
    std::size_t start = entity.afterIs;
    if (entity.generics)
        start = entity.generics->afterEnd;
    if (entity.ports)
        start = entity.ports->afterEnd;
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = start;
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end)
        return std::nullopt;
    DeclarativePart part;
    part.insertAt = *end;
    bool afterEnumeration = false;
    for (std::size_t pos = start;;) {
        scanner.SkipBlanksAndComments(pos);
        if (pos >= *end)
            break;
        const std::size_t itemStart = pos;
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word == "begin") {
            part.insertAt = itemStart;
            break;
        }
        const StructureStop stop = WalkStructure(text, itemStart, StructureScope::Item);
        if (stop.what != StructureStop::What::Semicolon)
            break;
        const std::size_t itemEnd = stop.position + 1;
        EnumerationType type;
        StyleConstant constant;
        if (word == "type" && ReadEnumeration(scanner, pos, type)) {
            type.start = itemStart;
            type.end = itemEnd;
            part.types.push_back(std::move(type));
            afterEnumeration = true;
        } else {
            if (word == "constant" && afterEnumeration &&
                ReadConstant(scanner, pos, part.types.back().name, constant)) {
                constant.type = part.types.size() - 1;
                constant.start = itemStart;
                constant.end = itemEnd;
                part.constants.push_back(std::move(constant));
            }
            afterEnumeration = false;
        }
        pos = itemEnd;
    }
    return part;
}

std::string LiteralList(const std::vector<std::string>& literals) {
    std::string list = "(";
    for (std::size_t i = 0; i < literals.size(); ++i)
        list += (i == 0 ? "" : ", ") + literals[i];
    return list + ")";
}

// The ENUM_ types that give choices and the Style constants, edited one by one.
void EditDeclarativePart(const std::string& text, const EntityInterface& entity, const CKSTObject& object,
                         const std::string& lineEnd, std::vector<TextEdit>& edits) {
    const std::optional<DeclarativePart> part = ReadDeclarativePart(text, entity);
    if (!part)
        return;
    std::vector<bool> styleType(part->types.size(), false);
    std::vector<std::string> added;
    auto entryOfKind = [&object](const std::string& name, bool style) {
        for (int i = 1; i < object.GetEntryCount(); ++i) {
            const EntryKind kind = object.GetEntryKind(i);
            if ((style ? kind == EntryKind::Style : FactsOf(kind).choiceType) &&
                SameTextNoCase(object.GetEntryName(i), name))
                return i;
        }
        return -1;
    };

    for (const StyleConstant& constant : part->constants) {
        const EnumerationType& type = part->types[constant.type];
        styleType[constant.type] = true;
        const int entry = entryOfKind(constant.name, true);
        if (entry < 0) {
            edits.push_back(DeletionOf(text, constant.start, constant.end));
            if (SameTextNoCase(type.name, "ENUM_" + constant.name))
                edits.push_back(DeletionOf(text, type.start, type.end));
            continue;
        }
        if (text.compare(constant.valueStart, constant.valueEnd - constant.valueStart,
                         object.GetEntryValue(entry)) != 0)
            edits.push_back({constant.valueStart, constant.valueEnd, object.GetEntryValue(entry)});
        if (type.literals != object.GetChoiceList(entry))
            edits.push_back({type.listStart, type.listEnd, LiteralList(object.GetChoiceList(entry))});
    }
    std::vector<bool> hasType(static_cast<std::size_t>(object.GetEntryCount()), false);
    for (std::size_t t = 0; t < part->types.size(); ++t) {
        const EnumerationType& type = part->types[t];
        if (styleType[t] || type.name.size() <= 5 || !SameTextNoCase(type.name.substr(0, 5), "ENUM_"))
            continue;
        const int entry = entryOfKind(type.name.substr(5), false);
        if (entry < 0)
            continue;
        hasType[static_cast<std::size_t>(entry)] = true;
        const std::vector<std::string>& choices = object.GetChoiceList(entry);
        if (choices.empty())
            edits.push_back(DeletionOf(text, type.start, type.end));
        else if (choices != type.literals)
            edits.push_back({type.listStart, type.listEnd, LiteralList(choices)});
    }

    std::string indent = "\t";
    if (entity.ports) {
        const std::size_t lineStart = LineStart(text, entity.ports->keyword);
        if (OnlyBlanks(text, lineStart, entity.ports->keyword))
            indent = text.substr(lineStart, entity.ports->keyword - lineStart);
    }
    std::string lines;
    for (int i = 1; i < object.GetEntryCount(); ++i) {
        const EntryKind kind = object.GetEntryKind(i);
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        const std::string name = object.GetEntryName(i);
        if (choices.empty())
            continue;
        if (FactsOf(kind).choiceType && !hasType[static_cast<std::size_t>(i)]) {
            lines += indent + "type ENUM_" + name + " is " + LiteralList(choices) + ";" + lineEnd;
        } else if (kind == EntryKind::Style && !name.starts_with("\\P:")) {
            bool present = false;
            for (const StyleConstant& constant : part->constants)
                present = present || SameTextNoCase(constant.name, name);
            if (!present)
                lines += indent + "type ENUM_" + name + " is " + LiteralList(choices) + ";" + lineEnd +
                         indent + "constant " + name + ": ENUM_" + name + " := " + object.GetEntryValue(i) +
                         ";" + lineEnd;
        }
    }
    if (lines.empty())
        return;
    const std::size_t lineStart = LineStart(text, part->insertAt);
    if (OnlyBlanks(text, lineStart, part->insertAt))
        edits.push_back({lineStart, lineStart, lines});
    else
        edits.push_back({part->insertAt, part->insertAt, lineEnd + lines});
}

} // namespace

std::string EditEntityHeader(const std::string& text, const std::string& entityName,
                             const CKSTObject& object) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    if (!entity)
        return text;
    const std::string lineEnd = LineEndOf(text);
    std::vector<TextEdit> edits;
    CGenericClauseEdit generics(text, *entity, object, lineEnd);
    if (std::optional<TextEdit> clause = generics.Build())
        edits.push_back(std::move(*clause));
    EditDeclarativePart(text, *entity, object, lineEnd, edits);
    return ApplyTextEdits(text, std::move(edits));
}

std::string EditComponentDefaults(const std::string& text, const std::string& componentName,
                                  const CKSTObject& object) {
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::vector<TextEdit> edits;
    for (std::size_t from = 0;;) {
        const auto keyword = scanner.FindWordOutsideComments(from, "component");
        if (!keyword)
            break;
        std::size_t pos = *keyword + 9;
        from = pos;
        // "end component NAME;" closes a declaration.
        std::size_t before = *keyword;
        while (before > 0 && IsBlank(text[before - 1]))
            --before;
        if (before >= 3 && SameTextNoCase(std::string_view(text).substr(before - 3, 3), "end"))
            continue;
        if (!SameTextNoCase(scanner.ReadIdentifier(pos), componentName))
            continue;
        const std::optional<EntityInterface> component = ReadComponentInterface(text, pos, componentName);
        if (!component || !component->generics)
            continue;
        for (const InterfaceDeclaration& declaration : component->generics->declarations) {
            if (!declaration.defaultValue || declaration.names.size() != 1)
                continue;
            for (int entry = 1; entry < object.GetEntryCount(); ++entry) {
                const EntryKind kind = object.GetEntryKind(entry);
                if (!FactsOf(kind).generic ||
                    !SameTextNoCase(object.GetEntryName(entry), declaration.names[0]))
                    continue;
                const std::string written = GenericValueText(kind, object.GetEntryValue(entry));
                if (!written.empty() && ExpressionText(text, *declaration.defaultValue) != written)
                    edits.push_back(
                        {declaration.defaultValue->start, declaration.defaultValue->end, written});
                break;
            }
        }
    }
    return ApplyTextEdits(text, std::move(edits));
}

std::string EditPortClause(const std::string& text, const std::string& entityName,
                           const CVHDLSignal& signals) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    if (!entity)
        return text;
    const std::string lineEnd = LineEndOf(text);
    CPortClauseEdit ports(text, *entity, signals, lineEnd);
    std::optional<TextEdit> edit = ports.Build();
    if (!edit)
        return text;
    return ApplyTextEdits(text, {std::move(*edit)});
}

} // namespace kestra
