// The component items of an architecture being generated: each instantiated component becomes
// a specialised copy with its own generation key, and the bindings ("for ... use entity ...")
// become the architecture choices of those copies.
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "generation/architecture_walk.h"
#include "generation/components.h"
#include "generation/module_units.h"
#include "model/design_object.h"

#include <memory>

namespace kestra {

namespace {

// True when the statement part names the component followed by "port" or "generic": an
// instance of it, as opposed to a signal or label of the same name.
// `mapsGenerics` tells whether an instance gives the component's generics their values.
bool IsInstantiated(const CScanner& scanner, const std::string& component, std::size_t from, std::size_t end,
                    bool& mapsGenerics) {
    bool instantiated = false;
    mapsGenerics = false;
    for (;;) {
        const auto found = scanner.FindWordOutsideComments(from, component);
        if (!found || *found >= end)
            return instantiated;
        std::size_t cursor = *found + component.size();
        const std::string next = scanner.ReadIdentifier(cursor);
        if (SameTextNoCase(next, "generic"))
            mapsGenerics = true;
        if (SameTextNoCase(next, "port") || SameTextNoCase(next, "generic"))
            instantiated = true;
        from = *found + component.size();
    }
}

std::size_t PastEndComponent(const CScanner& scanner, std::size_t cursor) {
    for (;;) {
        const auto end = scanner.FindWordOutsideComments(cursor, "end");
        if (!end)
            return scanner.End();
        cursor = *end + 3;
        std::size_t pos = cursor;
        if (!SameTextNoCase(scanner.ReadWord(pos), "component"))
            continue;
        const auto semicolon = scanner.FindTextOutsideComments(pos, ";");
        return semicolon ? *semicolon + 1 : scanner.End();
    }
}

} // namespace

std::size_t CGenerationSession::EmitComponentForGeneration(const CScanner& scanner, std::size_t cursor,
                                                           ArchitectureWalk& walk, std::string& output) {
    const std::string component = scanner.ReadWord(cursor);
    bool mapsGenerics = false;
    if (component.empty() ||
        !IsInstantiated(scanner, component, walk.statementsStart, walk.endKeyword, mapsGenerics))
        return PastEndComponent(scanner, cursor);

    const std::string key = m_registry.FreeKey(component);
    if (mapsGenerics)
        m_mappedKeys.insert(key);
    if (key != component)
        walk.renames.emplace_back(component, key);
    auto copy = std::make_unique<CKSTObject>();
    copy->SetGeneratedName(component);
    CKSTObject& copyObject = m_registry.Add(key, std::move(copy));
    OrderList& order = walk.order;
    const std::size_t insertAt = order.keys.empty() ? 0 : order.current + 1;
    order.keys.insert(order.keys.begin() + static_cast<std::ptrdiff_t>(insertAt), key);
    order.current = insertAt;
    walk.lastComponentKey = key;

    std::size_t pos = cursor;
    if (SameTextNoCase(scanner.ReadWord(pos), "is"))
        cursor = pos;
    output += "\r\n\r\n\tcomponent " + key + "\r\n";
    output += BuildComponentGenerics(scanner, cursor, walk.object, copyObject);
    ClearError();
    output += AnalyzePortClause(scanner, EntityMode::ConvertedPortText, cursor, &copyObject, nullptr);
    ClearError();
    output += "\tend component;";
    HandDownStyles(walk.object, copyObject);
    return PastEndComponent(scanner, cursor);
}

std::size_t CGenerationSession::ReadComponentBinding(const CScanner& scanner, std::size_t cursor,
                                                     ArchitectureWalk& walk) {
    const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
    const std::size_t next = semicolon ? *semicolon + 1 : scanner.End();
    std::size_t pos = cursor;
    const bool wellFormed =
        !scanner.ReadIdentifier(pos).empty() && scanner.ReadChar(pos) == ':' &&
        !scanner.ReadIdentifier(pos).empty() && SameTextNoCase(scanner.ReadIdentifier(pos), "use") &&
        SameTextNoCase(scanner.ReadIdentifier(pos), "entity") && !scanner.ReadIdentifier(pos).empty() &&
        scanner.ReadChar(pos) == '.' && !scanner.ReadIdentifier(pos).empty() && scanner.ReadChar(pos) == '(';
    if (!wellFormed)
        return next;
    const std::string architecture = scanner.ReadIdentifier(pos);
    if (architecture.empty() || scanner.ReadChar(pos) != ')' || scanner.ReadChar(pos) != ';')
        return next;
    if (!walk.lastComponentKey.empty()) {
        if (CKSTObject* copy = m_registry.Find(walk.lastComponentKey)) {
            const int index = copy->AddEntry() - 1;
            copy->SetEntry(index, EntryKind::Architecture, walk.lastComponentKey, architecture);
        }
    }
    return pos;
}

} // namespace kestra
