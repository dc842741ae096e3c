#include "operations/source_names.h"

#include "analysis/architecture_structure.h"
#include "analysis/reader_support.h"
#include "model/design_object.h"
#include "model/item_kind.h"
#include "model/vhdl_signal.h"
#include "operations/generic_names.h"
#include "project/hierarchy_item.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

namespace {

void AddSignalNames(const CVHDLSignal& signals, bool portsOnly, std::vector<std::string>& names) {
    for (int row = 0; row < signals.GetSignalCount(); ++row) {
        const std::string mode = ToLowerAscii(signals.GetSignalText(row, CVHDLSignal::kMode));
        if (!portsOnly || IsPortMode(mode))
            names.push_back(signals.GetSignalText(row, CVHDLSignal::kName));
    }
}

const CHierarchyItem* ChildOfName(const CHierarchyItem& module, std::string_view name) {
    for (const CHierarchyItem* child = module.FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (IsModuleKind(child->Kind()) && SameTextNoCase(child->Text(), name))
            return child;
    }
    return nullptr;
}

} // namespace

std::vector<std::string> CompletionNames(const CKSTDoc& doc, const CHierarchyItem& module,
                                         std::string_view sourceText) {
    const int entries = module.Object() != nullptr ? module.Object()->GetEntryCount() : 0;
    std::vector<std::string> names = NamesVisibleToGeneric(doc, module, entries);
    if (const CVHDLSignal* signals = module.Signals())
        AddSignalNames(*signals, true, names);
    if (const std::optional<ArchitectureStructure> structure =
            ReadArchitectureStructure(sourceText, module.Text())) {
        for (const SignalDeclaration& signal : structure->declaredSignals)
            names.push_back(signal.shape.name);
    }
    for (const CHierarchyItem* child = module.FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (!IsModuleKind(child->Kind()))
            continue;
        names.push_back(child->Text());
        if (const CVHDLSignal* ports = child->Signals())
            AddSignalNames(*ports, true, names);
    }
    std::erase_if(names, [](const std::string& name) { return name.empty(); });
    const auto lower = [](const std::string& a, const std::string& b) {
        return ToLowerAscii(a) < ToLowerAscii(b);
    };
    std::stable_sort(names.begin(), names.end(), lower);
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return SameTextNoCase(a, b); }),
                names.end());
    return names;
}

const CHierarchyItem* ChildNamedBy(const CHierarchyItem& module, std::string_view sourceText,
                                   std::string_view word) {
    if (word.empty())
        return nullptr;
    if (const CHierarchyItem* child = ChildOfName(module, word))
        return child;
    const std::optional<ArchitectureStructure> structure =
        ReadArchitectureStructure(sourceText, module.Text());
    if (!structure)
        return nullptr;
    const InstanceStructure* instance = structure->FindInstance(word);
    return instance != nullptr ? ChildOfName(module, instance->unit) : nullptr;
}

} // namespace kestra
