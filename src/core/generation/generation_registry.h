#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestra {

class CKSTObject;

// The table of one generate command from generation key (the entity name under which a copy is
// generated) to the module copy it owns. A copy's generated name is the module it copies; an
// empty name marks a consumed entry. Entries keep the order in which they were added.
class CGenerationRegistry {
public:
    CGenerationRegistry();
    ~CGenerationRegistry();
    CGenerationRegistry(const CGenerationRegistry&) = delete;
    CGenerationRegistry& operator=(const CGenerationRegistry&) = delete;

    bool IsEmpty() const { return m_entries.empty(); }
    std::size_t Size() const { return m_entries.size(); }
    CKSTObject* Find(const std::string& key) const;
    // Adds or replaces the entry under key; returns the object now owned by the registry.
    CKSTObject& Add(const std::string& key, std::unique_ptr<CKSTObject> object);
    // The first key, in the order of adding, whose object is still named moduleName.
    [[nodiscard]] std::optional<std::string> FirstKeyNamed(const std::string& moduleName);
    // base when it is free, else base + "_2", "_3" ... the first that is free.
    std::string FreeKey(const std::string& base);
    void Clear();

    const std::vector<std::pair<std::string, std::unique_ptr<CKSTObject>>>& Entries() const {
        return m_entries;
    }

private:
    std::vector<std::pair<std::string, std::unique_ptr<CKSTObject>>> m_entries;
    std::unordered_map<std::string, std::size_t> m_byKey;
    // Entry positions by the module name they had when added, oldest first; consumed ones
    // are dropped lazily.
    std::unordered_map<std::string, std::vector<std::size_t>> m_byName;
    std::unordered_map<std::string, std::size_t> m_byNameFirstLive;
    std::unordered_map<std::string, int> m_nextSuffix;
};

} // namespace kestra
