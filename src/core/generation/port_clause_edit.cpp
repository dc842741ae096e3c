#include "generation/port_clause_edit.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/source_form.h"
#include "generation/interface_list_writer.h"
#include "model/vhdl_signal.h"
#include "text/text_edits.h"

#include <optional>
#include <vector>

namespace kestra {

namespace {

// The port clause made to declare the signal list's ports.
class CPortClauseEdit {
public:
    CPortClauseEdit(const std::string& text, const EntityInterface& entity, const CVHDLSignal& signals,
                    const std::string& lineEnd)
        : m_text(text), m_entity(entity), m_signals(signals), m_lineEnd(lineEnd) {
        if (entity.ports)
            m_declarations = &entity.ports->declarations;
        for (int row = 0; row < signals.GetSignalCount(); ++row) {
            if (!signals.FormatSignal(row, SignalForm::PortDeclaration).empty())
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
        std::vector<ClauseUnit> units;
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
            ClauseUnit unit;
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
        m_names = SourceNamesOf(Declarations());
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
        std::string code = m_signals.FormatSignal(row, SignalForm::PortDeclaration);
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

} // namespace

std::string EditPortClause(const std::string& text, const std::string& entityName,
                           const CVHDLSignal& signals) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(text, entityName);
    return entity ? EditPortClause(text, *entity, signals) : text;
}

std::string EditPortClause(const std::string& text, const EntityInterface& entity,
                           const CVHDLSignal& signals) {
    const std::string lineEnd = LineEndOf(text);
    CPortClauseEdit ports(text, entity, signals, lineEnd);
    std::optional<TextEdit> edit = ports.Build();
    if (!edit)
        return text;
    return ApplyTextEdits(text, {std::move(*edit)});
}

} // namespace kestra
