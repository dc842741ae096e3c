#pragma once

#include "system/outcome.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// The children of a module that an instantiation can name: its child items with a signal list
// (normal, library and predefined modules), in tree order.
std::vector<const CHierarchyItem*> InstantiableChildren(const CHierarchyItem& module);

// The instantiation of the child for the parent's source text as it is now (InstantiationText),
// read from the child's source: labelled u_<child> (u_<child>_2, ... where the text has that
// name already), in component form where the text's architecture declares the child's
// component, else in entity form, in library work where the child is compiled into the
// parent's library, else in the child's. Fails with the reason when the child's source cannot
// be read or its entity does not analyse.
[[nodiscard]] Result<std::string> ChildInstantiationText(const CKSTDoc& doc, const CHierarchyItem& parent,
                                                         const CHierarchyItem& child,
                                                         std::string_view parentText,
                                                         std::string_view lineEnd, std::string_view indent);

} // namespace kestra
