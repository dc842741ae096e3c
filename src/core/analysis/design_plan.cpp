#include "analysis/design_plan.h"

#include "text/char_class.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace kestra {

namespace {

// Where a unit stands: the file's index and the unit's index in it.
struct UnitPlace {
    std::size_t file = 0;
    std::size_t unit = 0;
};

std::string PackageKey(std::string_view library, std::string_view package) {
    return ToLowerAscii(library) + "." + ToLowerAscii(package);
}

class CImportPlanner {
public:
    CImportPlanner(std::span<const DesignSourceFile> files, const DesignImportOptions& options)
        : m_files(files), m_options(options) {}

    DesignImportPlan Run() {
        ReadFiles();
        CollectUnits();
        CollectLibraries();
        CollectBoundArchitectures();
        m_chosenFile.resize(m_plan.entities.size());
        for (std::size_t i = 0; i < m_plan.entities.size(); ++i)
            PlanEntity(i);
        CheckPackages();
        DropCycles();
        FindTops();
        AssignLibraries();
        OrderPackages();
        return std::move(m_plan);
    }

private:
    void Report(ImportProblemKind kind, ImportSeverity severity, std::size_t file, int line,
                std::string message) {
        m_plan.problems.push_back({kind, severity, m_files[file].path, line, std::move(message)});
    }

    const DesignUnit& UnitAt(const UnitPlace& place) const {
        return m_plan.files[place.file].units[place.unit];
    }

    void ReadFiles() {
        m_plan.files.resize(m_files.size());
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            const std::string& text = m_files[i].text;
            if (text.size() > m_options.largestFile) {
                Report(ImportProblemKind::FileTooLarge, ImportSeverity::Error, i, 0,
                       "the file has " + std::to_string(text.size()) + " bytes, more than the " +
                           std::to_string(m_options.largestFile) + " an import reads; it is not read");
            } else if (text.find('\0') != std::string::npos) {
                Report(ImportProblemKind::NotText, ImportSeverity::Error, i, 0,
                       "the file holds NUL characters: it is not VHDL text and is not read");
            } else {
                ReadFile(i);
            }
        }
    }

    void ReadFile(std::size_t i) {
        FileDesignUnits& units = m_plan.files[i];
        units = ReadDesignUnits(m_files[i].text);
        if (units.units.empty())
            Report(ImportProblemKind::NoDesignUnit, ImportSeverity::Warning, i, 0,
                   "the file declares no design unit");
        for (const int line : units.unclosedLines)
            Report(ImportProblemKind::UnitNotClosed, ImportSeverity::Error, i, line,
                   "the end of this design unit was not found; its contents are not read");
    }

    // Takes the first unit of a key; a later one is reported.
    bool Declare(std::unordered_map<std::string, UnitPlace>& declared, const std::string& key,
                 const UnitPlace& place, std::string_view what) {
        const auto [found, added] = declared.emplace(key, place);
        if (added)
            return true;
        const UnitPlace& first = found->second;
        Report(ImportProblemKind::DuplicateUnit, ImportSeverity::Error, place.file, UnitAt(place).line,
               std::string(what) + " " + UnitAt(place).name + " is declared again (first in " +
                   m_files[first.file].path + ", line " + std::to_string(UnitAt(first).line) +
                   "); this declaration is left out");
        return false;
    }

    void CollectUnit(const UnitPlace& place) {
        const DesignUnit& unit = UnitAt(place);
        const std::string name = ToLowerAscii(unit.name);
        switch (unit.kind) {
        case DesignUnitKind::Entity:
            if (Declare(m_entities, name, place, "entity")) {
                m_entityIndex.emplace(name, m_plan.entities.size());
                m_plan.entities.push_back({unit.name, place.file, unit.line, {}, {}, false, {}, {}});
            }
            break;
        case DesignUnitKind::Architecture:
            if (Declare(m_architectures, ToLowerAscii(unit.entity) + "(" + name + ")", place,
                        "entity " + unit.entity + ": architecture"))
                m_architecturesOf[ToLowerAscii(unit.entity)].push_back(place);
            break;
        case DesignUnitKind::Package:
            if (Declare(m_packages, name, place, "package"))
                m_plan.packages.push_back({unit.name, place.file, unit.line, {}, {}});
            break;
        case DesignUnitKind::PackageBody:
            m_bodyFiles[name].push_back(place.file);
            break;
        case DesignUnitKind::Configuration:
            Declare(m_configurations, name, place, "configuration");
            break;
        }
    }

    void CollectUnits() {
        for (std::size_t file = 0; file < m_plan.files.size(); ++file) {
            for (std::size_t unit = 0; unit < m_plan.files[file].units.size(); ++unit)
                CollectUnit({file, unit});
        }
        for (PlannedPackage& package : m_plan.packages)
            if (const auto bodies = m_bodyFiles.find(ToLowerAscii(package.name)); bodies != m_bodyFiles.end())
                package.bodyFiles = bodies->second;
    }

    // "work", the libraries of the options, and every other library of which a use clause
    // names a package of the files.
    void CollectLibraries() {
        m_libraries.insert("work");
        for (const std::string& library : m_options.libraries)
            m_libraries.insert(ToLowerAscii(library));
        for (const FileDesignUnits& file : m_plan.files) {
            for (const DesignUnit& unit : file.units) {
                for (const UseClause& use : unit.context.uses) {
                    const std::string library = ToLowerAscii(use.library);
                    if (!library.empty() && library != "ieee" && library != "std" &&
                        m_packages.contains(ToLowerAscii(use.package)))
                        m_libraries.insert(library);
                }
            }
        }
    }

    // A use clause of the design's libraries; the package's key in m_packages.
    std::optional<std::string> OwnPackage(const UseClause& use) const {
        if (use.library.empty() || !m_libraries.contains(ToLowerAscii(use.library)))
            return std::nullopt;
        return ToLowerAscii(use.package);
    }

    void CheckPackages() {
        std::unordered_set<std::string> reported;
        for (std::size_t file = 0; file < m_plan.files.size(); ++file) {
            for (const DesignUnit& unit : m_plan.files[file].units) {
                for (const UseClause& use : unit.context.uses) {
                    const std::optional<std::string> package = OwnPackage(use);
                    if (!package || m_packages.contains(*package) ||
                        !reported.insert(std::to_string(file) + ":" + PackageKey(use.library, use.package))
                             .second)
                        continue;
                    Report(ImportProblemKind::MissingPackage, ImportSeverity::Error, file, use.line,
                           "package " + use.library + "." + use.package +
                               " is used here but no file declares it");
                }
            }
        }
    }

    // For each entity, the architecture names that instances bind to it, first one first.
    void CollectBoundArchitectures() {
        for (const FileDesignUnits& file : m_plan.files) {
            for (const DesignUnit& unit : file.units) {
                for (const InstanceBinding& instance : unit.instances) {
                    if (!instance.boundArchitecture.empty())
                        m_boundNames[ToLowerAscii(instance.boundEntity)].push_back(
                            instance.boundArchitecture);
                }
            }
        }
    }

    // The first architecture of its own that an instance binds to the entity.
    std::optional<UnitPlace> BoundArchitecture(const std::string& entity,
                                               const std::vector<UnitPlace>& architectures) const {
        const auto names = m_boundNames.find(ToLowerAscii(entity));
        if (names == m_boundNames.end())
            return std::nullopt;
        for (const std::string& name : names->second) {
            for (const UnitPlace& place : architectures) {
                if (SameTextNoCase(UnitAt(place).name, name))
                    return place;
            }
        }
        return std::nullopt;
    }

    void PlanEntity(std::size_t index) {
        PlannedEntity& entity = m_plan.entities[index];
        const auto found = m_architecturesOf.find(ToLowerAscii(entity.name));
        const DesignUnit& declaration = UnitAt(m_entities.at(ToLowerAscii(entity.name)));
        AddPackages(entity, declaration.context);
        if (found == m_architecturesOf.end()) {
            Report(ImportProblemKind::NoArchitecture, ImportSeverity::Warning, entity.file, entity.line,
                   "entity " + entity.name + " has no architecture in the files");
            return;
        }
        for (const UnitPlace& place : found->second)
            entity.architectures.push_back(UnitAt(place).name);
        const std::optional<UnitPlace> bound = BoundArchitecture(entity.name, found->second);
        const UnitPlace chosen = bound.value_or(found->second.back());
        entity.architecture = UnitAt(chosen).name;
        entity.architectureBound = bound.has_value();
        m_chosenFile[index] = chosen.file;
        AddPackages(entity, UnitAt(chosen).context);
        AddChildren(entity, chosen);
    }

    void AddPackages(PlannedEntity& entity, const ContextItems& context) const {
        for (const UseClause& use : context.uses) {
            const std::optional<std::string> package = OwnPackage(use);
            if (!package)
                continue;
            const auto found = m_packages.find(*package);
            if (found == m_packages.end())
                continue;
            const std::string& name = UnitAt(found->second).name;
            if (std::find(entity.packages.begin(), entity.packages.end(), name) == entity.packages.end())
                entity.packages.push_back(name);
        }
    }

    // The declared entity an instance stands for; empty when it stands for none of the files.
    std::string ChildEntity(const InstanceBinding& instance, const UnitPlace& architecture) {
        std::string entity = instance.boundEntity;
        if (!instance.boundConfiguration.empty()) {
            const auto found = m_configurations.find(ToLowerAscii(instance.boundConfiguration));
            if (found == m_configurations.end()) {
                Report(ImportProblemKind::UnknownConfiguration, ImportSeverity::Warning, architecture.file,
                       instance.line,
                       instance.label + ": configuration " + instance.boundConfiguration +
                           " is not in the files");
                return {};
            }
            entity = UnitAt(found->second).entity;
        }
        const auto declared = m_entities.find(ToLowerAscii(entity));
        return declared == m_entities.end() ? std::string() : UnitAt(declared->second).name;
    }

    void AddChildren(PlannedEntity& entity, const UnitPlace& architecture) {
        std::unordered_set<std::string> unknown;
        const DesignUnit& unit = UnitAt(architecture);
        entity.children.reserve(unit.instances.size());
        for (const InstanceBinding& instance : unit.instances) {
            if (instance.open)
                continue;
            std::string child = ChildEntity(instance, architecture);
            if (!child.empty()) {
                entity.children.push_back({instance.label, std::move(child), instance.boundArchitecture,
                                           instance.generate, instance.generateLabel, instance.line});
            } else if (instance.boundConfiguration.empty() &&
                       unknown.insert(ToLowerAscii(instance.unit)).second) {
                Report(ImportProblemKind::UnknownUnit, ImportSeverity::Warning, architecture.file,
                       instance.line,
                       instance.label + ": " + instance.unit +
                           " is declared in none of the files (vendor primitive or missing file)");
            }
        }
    }

    // Depth-first from each entity; an instance of an entity on the current path closes a cycle
    // and is left out.
    void DropCycles() {
        std::vector<int> state(m_plan.entities.size(), 0); // 0 new, 1 on the path, 2 done
        std::vector<std::size_t> path;
        for (std::size_t i = 0; i < m_plan.entities.size(); ++i) {
            if (state[i] == 0)
                Visit(i, state, path);
        }
    }

    void Visit(std::size_t index, std::vector<int>& state, std::vector<std::size_t>& path) {
        state[index] = 1;
        path.push_back(index);
        std::vector<PlannedChild>& children = m_plan.entities[index].children;
        for (std::size_t c = 0; c < children.size();) {
            const std::size_t child = m_entityIndex.at(ToLowerAscii(children[c].entity));
            if (state[child] == 1) {
                ReportCycle(index, children[c], path, child);
                children.erase(children.begin() + static_cast<std::ptrdiff_t>(c));
                continue;
            }
            if (state[child] == 0)
                Visit(child, state, path);
            ++c;
        }
        path.pop_back();
        state[index] = 2;
    }

    void ReportCycle(std::size_t parent, const PlannedChild& instance, const std::vector<std::size_t>& path,
                     std::size_t child) {
        std::string cycle;
        const auto from = std::find(path.begin(), path.end(), child);
        for (auto it = from; it != path.end(); ++it)
            cycle += m_plan.entities[*it].name + " -> ";
        cycle += m_plan.entities[child].name;
        Report(ImportProblemKind::Cycle, ImportSeverity::Error, m_chosenFile[parent], instance.line,
               instance.label + ": the instantiation closes a cycle (" + cycle + "); it is left out");
    }

    void FindTops() {
        if (!m_options.top.empty()) {
            if (const PlannedEntity* top = m_plan.FindEntity(m_options.top)) {
                m_plan.tops.push_back(top->name);
            } else {
                m_plan.problems.push_back({ImportProblemKind::TopNotFound,
                                           ImportSeverity::Error,
                                           {},
                                           0,
                                           "no file declares the top entity " + m_options.top});
            }
            return;
        }
        std::vector<bool> instantiated(m_plan.entities.size(), false);
        for (const PlannedEntity& entity : m_plan.entities) {
            for (const PlannedChild& child : entity.children)
                instantiated[m_entityIndex.at(ToLowerAscii(child.entity))] = true;
        }
        for (std::size_t i = 0; i < m_plan.entities.size(); ++i) {
            if (!instantiated[i])
                m_plan.tops.push_back(m_plan.entities[i].name);
        }
    }

    // The files that hold the unit a library names (a package with its bodies, an entity with
    // its architectures).
    std::vector<std::size_t> FilesOfUnit(const std::string& lowerName) const {
        std::vector<std::size_t> files;
        if (const auto package = m_packages.find(lowerName); package != m_packages.end()) {
            files.push_back(package->second.file);
            if (const auto bodies = m_bodyFiles.find(lowerName); bodies != m_bodyFiles.end())
                files.insert(files.end(), bodies->second.begin(), bodies->second.end());
        }
        if (const auto entity = m_entities.find(lowerName); entity != m_entities.end()) {
            files.push_back(entity->second.file);
            if (const auto architectures = m_architecturesOf.find(lowerName);
                architectures != m_architecturesOf.end()) {
                for (const UnitPlace& place : architectures->second)
                    files.push_back(place.file);
            }
        }
        return files;
    }

    // The units a unit names with its library: (library as written or empty for "work" and
    // binding by name, lower-case unit name).
    static std::vector<std::pair<std::string, std::string>> NamedUnits(const DesignUnit& unit) {
        std::vector<std::pair<std::string, std::string>> named;
        for (const UseClause& use : unit.context.uses)
            named.emplace_back(ToLowerAscii(use.library), ToLowerAscii(use.package));
        for (const InstanceBinding& instance : unit.instances) {
            if (!instance.boundEntity.empty())
                named.emplace_back(ToLowerAscii(instance.boundLibrary), ToLowerAscii(instance.boundEntity));
        }
        if (unit.kind == DesignUnitKind::Architecture || unit.kind == DesignUnitKind::PackageBody)
            named.emplace_back(
                std::string(),
                ToLowerAscii(unit.kind == DesignUnitKind::Architecture ? unit.entity : unit.name));
        return named;
    }

    void AssignLibraries() {
        std::vector<std::string>& libraries = m_plan.fileLibraries;
        libraries.assign(m_plan.files.size(), std::string());
        std::vector<std::size_t> queue;
        auto assign = [&](std::size_t file, const std::string& library) {
            if (libraries[file].empty()) {
                libraries[file] = library;
                queue.push_back(file);
            }
        };
        for (const FileDesignUnits& file : m_plan.files) {
            for (const DesignUnit& unit : file.units) {
                for (const auto& [library, name] : NamedUnits(unit)) {
                    if (!library.empty() && library != "work" && m_libraries.contains(library))
                        for (const std::size_t target : FilesOfUnit(name))
                            assign(target, library);
                }
            }
        }
        // A file compiled into a library sees that library as "work".
        // The queue grows while it is read.
        for (std::size_t next = 0; next < queue.size();) {
            const std::size_t file = queue[next++];
            for (const DesignUnit& unit : m_plan.files[file].units) {
                for (const auto& [library, name] : NamedUnits(unit)) {
                    if (library.empty() || library == "work")
                        for (const std::size_t target : FilesOfUnit(name))
                            assign(target, libraries[file]);
                }
            }
        }
        for (std::string& library : libraries) {
            if (library.empty())
                library = "work";
        }
    }

    // Depth first over the packages each package's units use, so that a package follows those
    // it needs; the file order stays where nothing orders them.
    void OrderPackages() {
        std::vector<PlannedPackage> ordered;
        std::unordered_set<std::string> placed;
        std::unordered_set<std::string> visiting;
        std::function<void(const PlannedPackage&)> place = [&](const PlannedPackage& package) {
            const std::string key = ToLowerAscii(package.name);
            if (placed.contains(key) || !visiting.insert(key).second)
                return;
            std::vector<std::string> uses;
            for (const std::size_t file : FilesOfUnit(key)) {
                for (const DesignUnit& unit : m_plan.files[file].units) {
                    if (!SameTextNoCase(unit.name, package.name))
                        continue;
                    for (const UseClause& use : unit.context.uses) {
                        const std::optional<std::string> used = OwnPackage(use);
                        const PlannedPackage* dependency = used ? FindPackage(*used) : nullptr;
                        if (dependency == nullptr || dependency == &package)
                            continue;
                        if (std::find(uses.begin(), uses.end(), dependency->name) == uses.end())
                            uses.push_back(dependency->name);
                        place(*dependency);
                    }
                }
            }
            placed.insert(key);
            ordered.push_back(package);
            ordered.back().uses = std::move(uses);
        };
        for (const PlannedPackage& package : m_plan.packages)
            place(package);
        m_plan.packages = std::move(ordered);
    }

    const PlannedPackage* FindPackage(const std::string& lowerName) const {
        for (const PlannedPackage& package : m_plan.packages) {
            if (SameTextNoCase(package.name, lowerName))
                return &package;
        }
        return nullptr;
    }

    std::span<const DesignSourceFile> m_files;
    const DesignImportOptions& m_options;
    DesignImportPlan m_plan;
    // Lower-case names of the units kept.
    std::unordered_map<std::string, UnitPlace> m_entities;
    std::unordered_map<std::string, UnitPlace> m_architectures; // "entity(architecture)"
    std::unordered_map<std::string, UnitPlace> m_packages;
    std::unordered_map<std::string, UnitPlace> m_configurations;
    std::unordered_map<std::string, std::vector<std::size_t>> m_bodyFiles;     // by package
    std::unordered_map<std::string, std::vector<UnitPlace>> m_architecturesOf; // by entity
    std::unordered_map<std::string, std::size_t> m_entityIndex;                // in m_plan.entities
    std::unordered_set<std::string> m_libraries;                               // the design's own
    std::unordered_map<std::string, std::vector<std::string>> m_boundNames;    // by entity
    std::vector<std::size_t> m_chosenFile; // the file of each entity's chosen architecture
};

} // namespace

const PlannedEntity* DesignImportPlan::FindEntity(std::string_view name) const {
    for (const PlannedEntity& entity : entities) {
        if (SameTextNoCase(entity.name, name))
            return &entity;
    }
    return nullptr;
}

DesignImportPlan PlanDesignImport(std::span<const DesignSourceFile> files,
                                  const DesignImportOptions& options) {
    return CImportPlanner(files, options).Run();
}

} // namespace kestra
