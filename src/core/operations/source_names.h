#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// The names a module's source can use, for the VHDL editor's completion, sorted without letter
// case and each once: the module's generics and the constants of the project's packages its
// use clauses name (NamesVisibleToGeneric), its ports and its children's names and ports (for
// instantiations and their port maps) as the last analysis found them, and the signals the
// architecture of the module in the source text (as the editor holds it) declares.
std::vector<std::string> CompletionNames(const CKSTDoc& doc, const CHierarchyItem& module,
                                         std::string_view sourceText);

// The child of the module that a word of the module's source names: the child whose module
// name the word is (a package's too), else the child the instance labelled so in the text's
// architecture of the module instantiates. Letter case is ignored; null when the word names
// none.
const CHierarchyItem* ChildNamedBy(const CHierarchyItem& module, std::string_view sourceText,
                                   std::string_view word);

} // namespace kestra
