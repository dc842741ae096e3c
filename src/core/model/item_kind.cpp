#include "model/item_kind.h"

namespace kestra {

EntryKind EntryKindOfItem(HierarchyKind itemKind) {
    switch (itemKind) {
    case HierarchyKind::Normal:
        return EntryKind::Vhdl;
    case HierarchyKind::Root:
        return EntryKind::Library;
    case HierarchyKind::Library:
        return EntryKind::Component;
    case HierarchyKind::Predefined:
        return EntryKind::Predefined;
    case HierarchyKind::Package:
        return EntryKind::Package;
    }
    return EntryKind::None;
}

bool KindHasSignalList(HierarchyKind kind) {
    return kind == HierarchyKind::Normal || kind == HierarchyKind::Library ||
           kind == HierarchyKind::Predefined;
}

bool IsModuleKind(HierarchyKind kind) {
    return KindHasSignalList(kind) || kind == HierarchyKind::Package;
}

} // namespace kestra
