#pragma once

#include "analysis/interface_list.h"
#include "text/text_edits.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestra {

// What the in-place edits of the generic and the port clause share: the names as the source
// declares them, the declarations of the new clause, and the writer that puts them in place of
// the old clause.

// One name of a source declaration.
struct SourceName {
    std::size_t declaration = 0;
    std::size_t name = 0;
};

// Every name of the declarations, in their order.
std::vector<SourceName> SourceNamesOf(const std::vector<InterfaceDeclaration>& declarations);

// A declaration of the new clause.
struct ClauseUnit {
    std::optional<std::size_t> declaration; // the source declaration it comes from
    bool firstOfDeclaration = false;        // takes the declaration's leading text
    bool lastOfDeclaration = false;         // takes its text after the code
    std::string code;
};

// Marks the last piece of each source declaration, which keeps what followed its code.
void MarkLastPieces(std::vector<ClauseUnit>& units, std::size_t declarations);

// Writes a generic or port clause as a list of declarations: each declaration taken from the
// source keeps the text around it (indentation, the comments on its lines, the gaps between
// declarations), and the ';' between declarations are put where the new order needs them.
class CInterfaceListWriter {
public:
    // `list` is the entity's clause of the keyword ("generic" or "port"), null when it has none.
    CInterfaceListWriter(const std::string& text, const EntityInterface& entity, const InterfaceList* list,
                         const char* keyword, const std::string& lineEnd)
        : m_text(text), m_entity(entity), m_list(list), m_keyword(keyword), m_lineEnd(lineEnd) {}

    // The edit that makes the clause declare the units: a new clause, the old one rewritten, or
    // the old one deleted when there are no units.
    TextEdit Write(const std::vector<ClauseUnit>& units) const;

private:
    struct Layout;

    const std::vector<InterfaceDeclaration>& Declarations() const { return m_list->declarations; }
    Layout LayoutOf(std::size_t index) const;
    TextEdit RewrittenClause(const std::vector<ClauseUnit>& units) const;
    // A new clause after the entity's "is" (a port clause after the generic clause), in the
    // tool's form and the file's line ends, indented like the entity's other clause.
    TextEdit NewClause(const std::vector<ClauseUnit>& units) const;

    const std::string& m_text;
    const EntityInterface& m_entity;
    const InterfaceList* m_list;
    const char* m_keyword;
    const std::string& m_lineEnd;
};

} // namespace kestra
