#pragma once

#include "model/design_object.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestra {

class CKSTObject;

// Name lookups over the design object that analysis appends to, and the values that the
// module's previous design object carries across a re-analysis. While an index lives, entries
// are added to its object only through Append, so lookups stay complete; each lookup costs
// constant time, which keeps analysis linear also for modules with very many parameters.
// Without an object every lookup finds nothing and Append does nothing.
class CEntryIndex {
public:
    // The previous object must not be the object being filled.
    CEntryIndex(CKSTObject* object, const CKSTObject* previous);

    CKSTObject* Object() const { return m_object; }

    // Index of the first entry whose name equals name ignoring ASCII case (entry 0 included);
    // -1 if there is none.
    int Find(std::string_view name) const;
    // As Find, among the entries of the given kinds only.
    int FindOfKind(std::string_view name, std::initializer_list<EntryKind> kinds) const;

    // Appends an entry and returns its index (-1 without an object). With carryValue, an entry
    // of the previous object with the same kind and exactly the same name gives its value
    // instead of the one given.
    int Append(EntryKind kind, const std::string& name, const std::string& value, bool carryValue);

private:
    const std::string* CarriedValue(EntryKind kind, const std::string& name);

    CKSTObject* m_object;
    const CKSTObject* m_previous;
    std::unordered_map<std::string, std::vector<int>> m_byName; // lowered name -> entries in order
    std::unordered_map<std::string, std::string> m_carried;     // kind TAB name -> first value
    bool m_carriedBuilt = false;
};

} // namespace kestra
