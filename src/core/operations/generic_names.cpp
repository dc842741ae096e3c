#include "operations/generic_names.h"

#include "analysis/architecture_structure.h"
#include "analysis/interface_list.h"
#include "analysis/package_names.h"
#include "model/entry_kind_facts.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

namespace {

std::string SourceText(const CKSTDoc& doc, const CHierarchyItem& item) {
    const std::filesystem::path path = doc.GetModuleFilePath(item);
    return path.empty() ? std::string() : ReadWholeFile(path).ValueOr(std::string());
}

bool Uses(const std::vector<UsedPackageItem>& used, const std::string& package, const std::string& item) {
    return std::any_of(used.begin(), used.end(), [&](const UsedPackageItem& use) {
        return SameTextNoCase(use.package, package) && SameTextNoCase(use.item, item);
    });
}

bool NamesPackage(const std::vector<UsedPackageItem>& used, const std::string& package) {
    return std::any_of(used.begin(), used.end(),
                       [&](const UsedPackageItem& use) { return SameTextNoCase(use.package, package); });
}

void AddPackageConstants(const PackageConstants& package, const std::vector<UsedPackageItem>& used,
                         std::vector<std::string>& names) {
    if (!NamesPackage(used, package.package))
        return;
    const bool all = Uses(used, package.package, "all");
    for (const std::string& constant : package.constants) {
        if (all || Uses(used, package.package, constant))
            names.push_back(constant);
        names.push_back(package.package + "." + constant);
    }
}

} // namespace

std::vector<std::string> NamesVisibleToGeneric(const CKSTDoc& doc, const CHierarchyItem& item, int entry) {
    std::vector<std::string> names;
    if (const CKSTObject* object = item.Object()) {
        for (int i = 1; i < std::min(entry, object->GetEntryCount()); ++i) {
            if (FactsOf(object->GetEntryKind(i)).generic)
                names.push_back(object->GetEntryName(i));
        }
    }
    const std::vector<UsedPackageItem> used = ReadUseClausesBeforeEntity(SourceText(doc, item), item.Text());
    if (used.empty())
        return names;
    // A package module used below several modules is one file, read once; its file may declare
    // packages of other names.
    std::vector<std::string> read;
    const CHierarchyTree& tree = doc.Tree();
    for (const CHierarchyItem* other = tree.NextItem(nullptr); other != nullptr;
         other = tree.NextItem(other)) {
        if (other->Kind() != HierarchyKind::Package ||
            std::find(read.begin(), read.end(), other->Text()) != read.end())
            continue;
        read.push_back(other->Text());
        for (const PackageConstants& package : ReadPackageConstants(SourceText(doc, *other)))
            AddPackageConstants(package, used, names);
    }
    return names;
}

namespace {

// The generic's place in the entity's generic clause; none when the clause does not declare it.
std::optional<std::size_t> GenericPosition(const std::string& childSource, const std::string& child,
                                           const std::string& generic) {
    const std::optional<EntityInterface> entity = ReadEntityInterface(childSource, child);
    if (!entity || !entity->generics)
        return std::nullopt;
    std::size_t position = 0;
    for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
        for (const std::string& name : declaration.names) {
            if (SameTextNoCase(name, generic))
                return position;
            ++position;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> GenericFixedByParent(const CKSTDoc& doc, const CHierarchyItem& item,
                                                const std::string& generic) {
    const CHierarchyItem* parent = item.Parent();
    if (parent == nullptr || parent->Kind() != HierarchyKind::Normal)
        return std::nullopt;
    const Result<std::string> parentText = ReadWholeFile(doc.ModuleSourcePath(*parent));
    const Result<std::string> childText = ReadWholeFile(doc.ModuleSourcePath(item));
    const std::optional<ArchitectureStructure> structure =
        parentText ? ReadArchitectureStructure(*parentText, parent->Text()) : std::nullopt;
    const std::optional<std::size_t> position =
        childText ? GenericPosition(*childText, item.Text(), generic) : std::nullopt;
    if (!structure || !position)
        return std::nullopt;
    std::string fixedBy;
    for (const InstanceStructure& instance : structure->instances) {
        if (!SameTextNoCase(instance.unit, item.Text()))
            continue;
        const MapAssociation* association = nullptr;
        for (std::size_t i = 0; i < instance.generics.size(); ++i) {
            const MapAssociation& candidate = instance.generics[i];
            if (candidate.formal.empty() ? i == *position : SameTextNoCase(candidate.formal, generic))
                association = &candidate;
        }
        if (association == nullptr)
            return std::nullopt;
        fixedBy += (fixedBy.empty() ? "" : ", ") + instance.label + " (" + association->actual + ")";
    }
    if (fixedBy.empty())
        return std::nullopt;
    return generic + " of " + item.Text() + " is given its value by the generic map of " + parent->Text() +
           "'s instance " + fixedBy + ": a value chosen here would never be used.";
}

} // namespace kestra
