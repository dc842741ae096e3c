#include "analysis/entry_index.h"

#include "analysis/scanner.h"
#include "model/design_object.h"

namespace kestra {

namespace {

std::string CarryKey(EntryKind kind, const std::string& name) {
    return std::to_string(static_cast<int>(kind)) + '\t' + name;
}

} // namespace

CEntryIndex::CEntryIndex(CKSTObject* object, const CKSTObject* previous)
    : m_object(object), m_previous(previous) {
    if (m_object == nullptr)
        return;
    for (int i = 0; i < m_object->GetEntryCount(); ++i)
        m_byName[ToLowerAscii(m_object->GetEntryName(i))].push_back(i);
}

int CEntryIndex::Find(std::string_view name) const {
    const auto found = m_byName.find(ToLowerAscii(name));
    return found == m_byName.end() ? -1 : found->second.front();
}

int CEntryIndex::FindOfKind(std::string_view name, std::initializer_list<EntryKind> kinds) const {
    const auto found = m_byName.find(ToLowerAscii(name));
    if (found == m_byName.end())
        return -1;
    for (const int index : found->second) {
        const EntryKind kind = m_object->GetEntryKind(index);
        for (const EntryKind wanted : kinds) {
            if (kind == wanted)
                return index;
        }
    }
    return -1;
}

const std::string* CEntryIndex::CarriedValue(EntryKind kind, const std::string& name) {
    if (m_previous == nullptr)
        return nullptr;
    if (!m_carriedBuilt) {
        // The first entry of a kind and name wins, as a front-to-back search would find it.
        for (int i = 0; i < m_previous->GetEntryCount(); ++i) {
            m_carried.emplace(CarryKey(m_previous->GetEntryKind(i), m_previous->GetEntryName(i)),
                              m_previous->GetEntryValue(i));
        }
        m_carriedBuilt = true;
    }
    const auto found = m_carried.find(CarryKey(kind, name));
    return found == m_carried.end() ? nullptr : &found->second;
}

int CEntryIndex::Append(EntryKind kind, const std::string& name, const std::string& value, bool carryValue) {
    if (m_object == nullptr)
        return -1;
    const std::string* carried = carryValue ? CarriedValue(kind, name) : nullptr;
    const int index = m_object->AddEntry() - 1;
    m_object->SetEntry(index, kind, name, carried != nullptr ? *carried : value);
    m_byName[ToLowerAscii(name)].push_back(index);
    return index;
}

} // namespace kestra
