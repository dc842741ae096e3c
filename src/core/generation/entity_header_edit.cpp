#include "generation/entity_header_edit.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "generation/declarations.h"
#include "generation/entity_declarations_edit.h"
#include "generation/interface_list_writer.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"
#include "text/text_edits.h"

#include <optional>
#include <vector>

namespace kestra {

namespace {

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
        const std::vector<ClauseUnit> units = Units();
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
        m_names = SourceNamesOf(Declarations());
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
    std::vector<ClauseUnit> Units() const {
        std::vector<int> order;
        for (const int entry : m_entries) {
            if (NameOfEntry(entry) >= 0 || Writable(entry))
                order.push_back(entry);
        }
        std::vector<ClauseUnit> units;
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
            ClauseUnit unit;
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

} // namespace

std::string EditEntityHeader(const std::string& text, const std::string& entityName,
                             const CKSTObject& object) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    return entity ? EditEntityHeader(text, *entity, object) : text;
}

std::string EditEntityHeader(const std::string& text, const EntityInterface& entity,
                             const CKSTObject& object) {
    const std::string lineEnd = LineEndOf(text);
    std::vector<TextEdit> edits;
    CGenericClauseEdit generics(text, entity, object, lineEnd);
    if (std::optional<TextEdit> clause = generics.Build())
        edits.push_back(std::move(*clause));
    for (TextEdit& edit : EditEntityDeclarations(text, entity, object, lineEnd))
        edits.push_back(std::move(edit));
    return ApplyTextEdits(text, std::move(edits));
}

} // namespace kestra
