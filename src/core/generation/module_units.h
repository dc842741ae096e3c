#pragma once

#include "generation/generation_registry.h"
#include "model/item_kind.h"

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kestra {

class CKSTObject;
class CScanner;
struct AnalysisContext;
struct EntityInterface;

// Keys still to generate from one library module source, in order. Component copies are
// inserted right after `current` and become current, so that the components of one
// architecture follow one another in declaration order.
struct OrderList {
    std::vector<std::string> keys;
    std::size_t current = 0;
};

// Generated text and the offset in the source just past the unit it came from (0 when nothing
// was generated).
struct UnitText {
    std::string text;
    std::size_t offset = 0;
};

// The state of one generate command: the registry of specialised module copies and the
// analysis context, whose module name holds the current top name (the key the command was
// started on). Generation never stops on problems inside a source text: it leaves the
// affected parts out, and a reader error does not carry over to the next unit.
class CGenerationSession {
public:
    // The design object of a module of the project, by its name; none when there is no such module.
    using ModuleObjects = std::function<const CKSTObject*(const std::string& moduleName)>;
    // A generic that needs a value and has none: the module and the parameter's name.
    struct MissingValue {
        std::string module;
        std::string parameter;
    };

    explicit CGenerationSession(AnalysisContext& context) : m_context(context) {}

    CGenerationRegistry& Registry() { return m_registry; }
    void SetModuleObjects(ModuleObjects objects) { m_moduleObjects = std::move(objects); }
    // Generics left without a value: valid VHDL cannot be written for them.
    const std::vector<MissingValue>& MissingValues() const { return m_missing; }
    AnalysisContext& Context() { return m_context; }
    void SetTopName(const std::string& name);
    const std::string& TopName() const;

    // Appends the units of one module to output (a package module is put in front of it); a
    // module that no unconsumed registry entry names adds nothing but a library's packages.
    void GenerateModuleUnits(HierarchyKind kind, const std::string& moduleName, std::string sourceText,
                             std::string& output);
    UnitText BuildEntityUnit(const std::string& key, const std::string& sourceText, CKSTObject& object);
    UnitText BuildArchitectureUnit(const std::string& key, const std::string& sourceText, CKSTObject& object,
                                   OrderList& order);

private:
    struct ArchitectureWalk;
    // The "component" item of an architecture's declarative part: re-emitted as a specialised
    // copy when the architecture instantiates it, else dropped. Returns where to go on.
    std::size_t EmitComponentForGeneration(const CScanner& scanner, std::size_t cursor,
                                           ArchitectureWalk& walk, std::string& output);
    // The declarative part of the architecture from the cursor to its "begin", appended to
    // output with the parameters substituted and each instantiated component as a specialised
    // copy. False when the part cannot be walked to its "begin".
    bool EmitArchitectureDeclarations(const CScanner& scanner, std::size_t cursor, ArchitectureWalk& walk,
                                      const CKSTObject& substitution, std::string& output);
    // The "for" item: the binding becomes the architecture choice of the component copy emitted
    // just before it. Returns where to go on.
    std::size_t ReadComponentBinding(const CScanner& scanner, std::size_t cursor, ArchitectureWalk& walk);
    void ClearError();
    // The lines of the generated generic clause: the parameters' lines for the tool's own
    // modules (`entity` null); for others, whose clauses `entity` holds as read, their generics
    // in the source's order, those that no parameter kind writes (Generic parameters, string
    // generics) with their declared types.
    std::string GeneratedGenericLines(const std::string& key, const std::string& sourceText,
                                      const CKSTObject& object, const EntityInterface* entity);
    // Numeric parameters the generated entity is given no value for.
    void CheckNumericValues(const std::string& key, const CKSTObject& object);

    AnalysisContext& m_context;
    CGenerationRegistry m_registry;
    ModuleObjects m_moduleObjects;
    std::vector<MissingValue> m_missing;
    std::unordered_set<std::string> m_mappedKeys; // copies whose instances have a generic map
    // The module whose entity unit was built last is not in the tool's own form: its
    // architecture unit keeps its Logic generics as generics.
    bool m_imported = false;
};

} // namespace kestra
