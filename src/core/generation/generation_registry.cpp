#include "generation/generation_registry.h"

#include "model/design_object.h"

namespace kestra {

CGenerationRegistry::CGenerationRegistry() = default;
CGenerationRegistry::~CGenerationRegistry() = default;

CKSTObject* CGenerationRegistry::Find(const std::string& key) const {
    const auto found = m_byKey.find(key);
    return found == m_byKey.end() ? nullptr : m_entries[found->second].second.get();
}

CKSTObject& CGenerationRegistry::Add(const std::string& key, std::unique_ptr<CKSTObject> object) {
    const auto found = m_byKey.find(key);
    std::size_t position = 0;
    if (found != m_byKey.end()) {
        position = found->second;
        m_entries[position].second = std::move(object);
    } else {
        position = m_entries.size();
        m_byKey.emplace(key, position);
        m_entries.emplace_back(key, std::move(object));
    }
    m_byName[m_entries[position].second->GetGeneratedName()].push_back(position);
    return *m_entries[position].second;
}

std::optional<std::string> CGenerationRegistry::FirstKeyNamed(const std::string& moduleName) {
    const auto list = m_byName.find(moduleName);
    if (list == m_byName.end())
        return std::nullopt;
    std::size_t& first = m_byNameFirstLive[moduleName];
    const std::vector<std::size_t>& positions = list->second;
    while (first < positions.size()) {
        const auto& entry = m_entries[positions[first]];
        if (entry.second->GetGeneratedName() == moduleName)
            return entry.first;
        ++first; // names only ever change by being consumed
    }
    return std::nullopt;
}

std::string CGenerationRegistry::FreeKey(const std::string& base) {
    if (m_byKey.find(base) == m_byKey.end())
        return base;
    int& suffix = m_nextSuffix.try_emplace(base, 2).first->second;
    for (;; ++suffix) {
        std::string key = base + "_" + std::to_string(suffix);
        if (m_byKey.find(key) == m_byKey.end())
            return key;
    }
}

void CGenerationRegistry::Clear() {
    m_entries.clear();
    m_byKey.clear();
    m_byName.clear();
    m_byNameFirstLive.clear();
    m_nextSuffix.clear();
}

} // namespace kestra
