#include "generation/interface_list_writer.h"

#include <string_view>

namespace kestra {

std::vector<SourceName> SourceNamesOf(const std::vector<InterfaceDeclaration>& declarations) {
    std::vector<SourceName> names;
    for (std::size_t d = 0; d < declarations.size(); ++d) {
        for (std::size_t n = 0; n < declarations[d].names.size(); ++n)
            names.push_back({d, n});
    }
    return names;
}

void MarkLastPieces(std::vector<ClauseUnit>& units, std::size_t declarations) {
    std::vector<bool> ended(declarations, false);
    for (std::size_t u = units.size(); u > 0; --u) {
        ClauseUnit& unit = units[u - 1];
        if (unit.declaration && !ended[*unit.declaration]) {
            unit.lastOfDeclaration = true;
            ended[*unit.declaration] = true;
        }
    }
}

// The parts of the text around one source declaration.
struct CInterfaceListWriter::Layout {
    std::size_t unitStart = 0; // the declaration's line start when it begins its line
    std::size_t unitEnd = 0;   // the end of its line when nothing but a comment follows it
    std::size_t afterCode = 0; // after its ';' (or its code, for the last one)
    bool ownLine = false;
};

TextEdit CInterfaceListWriter::Write(const std::vector<ClauseUnit>& units) const {
    if (m_list == nullptr || m_list->declarations.empty())
        return NewClause(units);
    if (units.empty())
        return DeletionOf(m_text, m_list->keyword, m_list->afterEnd);
    return RewrittenClause(units);
}

CInterfaceListWriter::Layout CInterfaceListWriter::LayoutOf(std::size_t index) const {
    const InterfaceDeclaration& declaration = Declarations()[index];
    Layout layout;
    const std::size_t floor = index == 0 ? m_list->open + 1 : m_list->separators[index - 1] + 1;
    const std::size_t lineStart = LineStart(m_text, declaration.start);
    layout.ownLine = lineStart >= floor && OnlyBlanks(m_text, lineStart, declaration.start);
    layout.unitStart = layout.ownLine ? lineStart : declaration.start;
    layout.afterCode = index + 1 < Declarations().size() ? m_list->separators[index] + 1 : declaration.end;
    const std::size_t lineEnd = LineEnd(m_text, layout.afterCode);
    layout.unitEnd = lineEnd <= m_list->close && OnlyBlanksOrComment(m_text, layout.afterCode, lineEnd)
                         ? lineEnd
                         : layout.afterCode;
    return layout;
}

TextEdit CInterfaceListWriter::RewrittenClause(const std::vector<ClauseUnit>& units) const {
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
        const ClauseUnit& unit = units[u];
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
            middle.insert(0, 1, ';');
        inner += middle + trailing;
    }
    inner += m_text.substr(layouts[count - 1].unitEnd, m_list->close - layouts[count - 1].unitEnd);
    return {m_list->open + 1, m_list->close, inner};
}

TextEdit CInterfaceListWriter::NewClause(const std::vector<ClauseUnit>& units) const {
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

} // namespace kestra
