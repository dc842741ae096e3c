#include "generation/instantiation.h"

#include "analysis/interface_list.h"
#include "generation/declarations.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"

#include <vector>

namespace kestra {

namespace {

// The value the instance gives the generic: the child's parameter value, else the default its
// source declares, else the generic's name (the parent may have one of its own).
std::string GenericValue(const std::string& name, const InterfaceDeclaration& declaration,
                         const CKSTObject& childObject, std::string_view childSource) {
    const int entry = childObject.FindEntry(name);
    if (entry > 0) {
        const EntryKind kind = childObject.GetEntryKind(entry);
        const std::string value = childObject.GetEntryValue(entry);
        if (FactsOf(kind).generic && !value.empty())
            return GenericValueText(kind, value);
    }
    if (declaration.defaultValue)
        return ExpressionText(childSource, *declaration.defaultValue);
    return name;
}

// "(\r\n" + one association a line + ")": the lines of a map.
std::string MapText(const std::vector<std::string>& associations, std::string_view lineEnd,
                    const std::string& inner) {
    std::string text = "(";
    text += lineEnd;
    for (std::size_t i = 0; i < associations.size(); ++i) {
        text += inner + associations[i];
        if (i + 1 < associations.size())
            text += ",";
        text += lineEnd;
    }
    return text;
}

} // namespace

std::optional<std::string> InstantiationText(const std::string& childName, std::string_view head,
                                             const CKSTObject& childObject, std::string_view childSource,
                                             std::string_view lineEnd, std::string_view indent) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(childSource, childName);
    if (!entity)
        return std::nullopt;
    const bool spaces = !indent.empty() && indent.find_first_not_of(' ') == std::string_view::npos;
    const std::string unit = spaces ? std::string(indent) : std::string("\t");
    const std::string step = std::string(indent) + unit;
    const std::string inner = step + unit;
    std::vector<std::string> generics;
    if (entity->generics) {
        for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
            for (const std::string& name : declaration.names)
                generics.push_back(name + " => " + GenericValue(name, declaration, childObject, childSource));
        }
    }
    std::vector<std::string> ports;
    if (entity->ports) {
        for (const InterfaceDeclaration& declaration : entity->ports->declarations) {
            for (const std::string& name : declaration.names)
                ports.push_back(name + " => " + name);
        }
    }
    std::string text(head);
    if (!generics.empty())
        text += std::string(lineEnd) + step + "generic map " + MapText(generics, lineEnd, inner) + step + ")";
    if (!ports.empty())
        text += std::string(lineEnd) + step + "port map " + MapText(ports, lineEnd, inner) + step + ")";
    return text + ";";
}

} // namespace kestra
