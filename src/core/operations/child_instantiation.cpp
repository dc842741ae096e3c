#include "operations/child_instantiation.h"

#include "analysis/component_ports.h"
#include "generation/instantiation.h"
#include "model/item_kind.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "text/char_class.h"

namespace kestra {

std::vector<const CHierarchyItem*> InstantiableChildren(const CHierarchyItem& module) {
    std::vector<const CHierarchyItem*> children;
    for (const CHierarchyItem* child = module.FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (KindHasSignalList(child->Kind()) && child->Object() != nullptr)
            children.push_back(child);
    }
    return children;
}

namespace {

// Whether the word stands in the text as a whole identifier, without letter case.
bool HasWord(std::string_view text, std::string_view word) {
    const std::string lowered = ToLowerAscii(text);
    const std::string wanted = ToLowerAscii(word);
    for (std::size_t at = lowered.find(wanted); at != std::string::npos; at = lowered.find(wanted, at + 1)) {
        const std::size_t end = at + wanted.size();
        if ((at == 0 || !IsIdentifierChar(lowered[at - 1])) &&
            (end == lowered.size() || !IsIdentifierChar(lowered[end])))
            return true;
    }
    return false;
}

std::string FreeLabel(std::string_view parentText, const std::string& childName) {
    const std::string base = "u_" + childName;
    std::string label = base;
    for (int number = 2; HasWord(parentText, label); ++number)
        label = base + "_" + std::to_string(number);
    return label;
}

bool DeclaresComponent(std::string_view parentText, const CHierarchyItem& parent, const std::string& name) {
    const std::optional<ArchitectureStructure> structure =
        ReadArchitectureStructure(parentText, parent.Text());
    return structure && ComponentPorts(parentText, *structure, name).has_value();
}

} // namespace

Result<std::string> ChildInstantiationText(const CKSTDoc& doc, const CHierarchyItem& parent,
                                           const CHierarchyItem& child, std::string_view parentText,
                                           std::string_view lineEnd, std::string_view indent) {
    const std::filesystem::path path = doc.ModuleSourcePath(child);
    const Result<std::string> source = ReadWholeFile(path);
    if (!source)
        return Result<std::string>::Failed(WithReason("Cannot read " + path.string() + ".", source.Reason()));
    const std::string library = doc.ModuleLibrary(child);
    const std::string label = FreeLabel(parentText, child.Text());
    const std::string head = DeclaresComponent(parentText, parent, child.Text())
                                 ? label + ": " + child.Text()
                                 : label + ": entity " +
                                       (library == doc.ModuleLibrary(parent) ? "work" : library) + "." +
                                       child.Text();
    std::optional<std::string> text =
        InstantiationText(child.Text(), head, *child.Object(), *source, lineEnd, indent);
    if (!text)
        return Result<std::string>::Failed("The entity " + child.Text() + " in " + path.string() +
                                           " does not analyse.");
    return std::move(*text);
}

} // namespace kestra
