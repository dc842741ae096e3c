#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// The names the default of the item's generic at `entry` may use: the module's generics
// declared before it (the entries before `entry` that become generics), and the constants of the packages
// that the project's package modules declare and the module's source names in a use clause before its entity:
// as simple names where the clause makes them visible ("all", or the constant itself), and as PKG.CONST in
// any case. Package sources are read from the module folder; one that cannot be read adds nothing.
std::vector<std::string> NamesVisibleToGeneric(const CKSTDoc& doc, const CHierarchyItem& item, int entry);

// Why a value chosen for the module's generic cannot reach the design: every instance of the
// module in its parent's architecture gives the generic its value in a generic map (by name, or
// by position), so the value written as the generic's default is never used. None when some
// instance leaves the generic to its default, or the parent's architecture cannot be read.
std::optional<std::string> GenericFixedByParent(const CKSTDoc& doc, const CHierarchyItem& item,
                                                const std::string& generic);

} // namespace kestra
