#pragma once

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

} // namespace kestra
