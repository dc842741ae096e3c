#pragma once

#include "model/design_object.h"

namespace kestra {

// Hierarchy kinds: the item's image number (its selected image is kind + 1).
enum class HierarchyKind : int {
    Normal = 0,
    Root = 2,
    Library = 4,
    Predefined = 6,
    Package = 8,
};

// Entry 0 kind of an item by its hierarchy kind: normal module -> VHDL, root -> LIB, library
// module -> COMP, predefined -> PRE, package -> PKG; None for any other number.
EntryKind EntryKindOfItem(HierarchyKind itemKind);

// Normal, library and predefined modules have a signal list; the root and packages have none.
bool KindHasSignalList(HierarchyKind kind);
// Normal, library and predefined modules and packages: the items with a source file.
bool IsModuleKind(HierarchyKind kind);

} // namespace kestra
