#include "generation/component_defaults_edit.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"
#include "text/text_edits.h"

#include <optional>
#include <vector>

namespace kestra {

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

} // namespace kestra
