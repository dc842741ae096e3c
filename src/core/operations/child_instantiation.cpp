#include "operations/child_instantiation.h"

#include "generation/instantiation.h"
#include "model/item_kind.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "system/file_system.h"

namespace kestra {

std::vector<const CHierarchyItem*> InstantiableChildren(const CHierarchyItem& module) {
    std::vector<const CHierarchyItem*> children;
    for (const CHierarchyItem* child = module.FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (KindHasSignalList(child->Kind()) && child->Object() != nullptr)
            children.push_back(child);
    }
    return children;
}

Result<std::string> ChildInstantiationText(const CKSTDoc& doc, const CHierarchyItem& parent,
                                           const CHierarchyItem& child, std::string_view lineEnd,
                                           std::string_view indent) {
    const std::filesystem::path path = doc.ModuleSourcePath(child);
    const Result<std::string> source = ReadWholeFile(path);
    if (!source)
        return Result<std::string>::Failed(WithReason("Cannot read " + path.string() + ".", source.Reason()));
    const std::string library = doc.ModuleLibrary(child);
    std::optional<std::string> text =
        InstantiationText(child.Text(), library == doc.ModuleLibrary(parent) ? "work" : library,
                          *child.Object(), *source, lineEnd, indent);
    if (!text)
        return Result<std::string>::Failed("The entity " + child.Text() + " in " + path.string() +
                                           " does not analyse.");
    return std::move(*text);
}

} // namespace kestra
