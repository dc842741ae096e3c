#include "operations/design_import.h"

#include "model/design_object.h"
#include "project/analysis_status.h"
#include "project/hierarchy_tree.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "text/char_class.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace kestra {

namespace fs = std::filesystem;

namespace {

// Folders nested deeper than this are not searched (a link that leads back up stops there).
constexpr int kDeepestFolder = 32;
// The most modules one import adds.
constexpr std::size_t kMostModules = 100000;

bool IsVhdlFileName(const std::string& name) {
    return EndsWithNoCase(name, ".vhd") || EndsWithNoCase(name, ".vhdl");
}

void FindInFolder(const fs::path& folder, int depth, std::vector<fs::path>& found) {
    std::vector<std::string> files = ListFiles(folder);
    std::sort(files.begin(), files.end());
    for (const std::string& name : files) {
        if (IsVhdlFileName(name))
            found.push_back(folder / name);
    }
    if (depth >= kDeepestFolder)
        return;
    std::vector<std::string> folders = ListFolders(folder);
    std::sort(folders.begin(), folders.end());
    for (const std::string& name : folders) {
        if (!name.starts_with("."))
            FindInFolder(folder / name, depth + 1, found);
    }
}

// The files given and the VHDL files below the folders given, each once; the reason when a path
// is not there.
std::string FindDesignFiles(const std::vector<fs::path>& paths, std::vector<fs::path>& files) {
    std::vector<fs::path> found;
    for (const fs::path& path : paths) {
        if (FolderExists(path))
            FindInFolder(path, 0, found);
        else if (FileExists(path))
            found.push_back(path);
        else
            return path.string() + " does not exist.";
    }
    std::set<fs::path> seen;
    for (const fs::path& path : found) {
        if (seen.insert(AbsolutePath(path).lexically_normal()).second)
            files.push_back(path);
    }
    if (files.empty())
        return "No VHDL file (.vhd, .vhdl) was found in what was given.";
    return {};
}

// The hierarchy items below an entity: one per instance, each with its own subtree. Counted once
// per entity and held at kMostModules, so that a hierarchy that fans out at every level is
// counted at once.
std::size_t CountInstances(const DesignImportPlan& plan, const PlannedEntity& entity,
                           std::unordered_map<const PlannedEntity*, std::size_t>& counted) {
    if (const auto known = counted.find(&entity); known != counted.end())
        return known->second;
    std::size_t count = 0;
    for (const PlannedChild& child : entity.children) {
        if (const PlannedEntity* planned = plan.FindEntity(child.entity))
            count = std::min(kMostModules, count + 1 + CountInstances(plan, *planned, counted));
    }
    counted.emplace(&entity, count);
    return count;
}

// The packages a tree uses, with the packages they use, in the plan's order.
std::vector<const PlannedPackage*> PackagesOfTree(const DesignImportPlan& plan, const PlannedEntity& top) {
    std::unordered_set<std::string> wanted;
    std::vector<const PlannedEntity*> pending{&top};
    std::unordered_set<const PlannedEntity*> seen{&top};
    std::vector<std::string> names;
    while (!pending.empty()) {
        const PlannedEntity* entity = pending.back();
        pending.pop_back();
        names.insert(names.end(), entity->packages.begin(), entity->packages.end());
        for (const PlannedChild& child : entity->children) {
            const PlannedEntity* planned = plan.FindEntity(child.entity);
            if (planned != nullptr && seen.insert(planned).second)
                pending.push_back(planned);
        }
    }
    while (!names.empty()) {
        const std::string name = ToLowerAscii(names.back());
        names.pop_back();
        if (!wanted.insert(name).second)
            continue;
        for (const PlannedPackage& package : plan.packages) {
            if (ToLowerAscii(package.name) == name)
                names.insert(names.end(), package.uses.begin(), package.uses.end());
        }
    }
    std::vector<const PlannedPackage*> packages;
    for (const PlannedPackage& package : plan.packages) {
        if (wanted.contains(ToLowerAscii(package.name)))
            packages.push_back(&package);
    }
    return packages;
}

} // namespace

DesignImportPreview PreviewDesignImport(const DesignImportRequest& request) {
    DesignImportPreview preview;
    preview.refusal = FindDesignFiles(request.paths, preview.files);
    if (!preview.CanImport())
        return preview;
    std::vector<DesignSourceFile> sources;
    sources.reserve(preview.files.size());
    for (const fs::path& file : preview.files) {
        Result<std::string> text = ReadWholeFile(file);
        if (!text) {
            preview.problems.push_back(
                {ImportProblemKind::NotText, ImportSeverity::Error, file.string(), 0,
                 WithReason("the file cannot be read; it is left out", text.Reason())});
            sources.push_back({file.string(), {}});
            continue;
        }
        sources.push_back({file.string(), std::move(*text)});
    }
    DesignImportOptions options;
    options.top = request.top;
    options.largestFile = request.largestFile;
    preview.plan = PlanDesignImport(sources, options);
    preview.problems.insert(preview.problems.end(), preview.plan.problems.begin(),
                            preview.plan.problems.end());
    if (preview.plan.entities.empty()) {
        preview.refusal = "The files declare no entity.";
    } else if (preview.plan.tops.empty()) {
        preview.refusal = request.top.empty()
                              ? "Every entity is instantiated by another one: there is no top to import."
                              : "No file declares the top entity " + request.top + ".";
    }
    std::unordered_map<const PlannedEntity*, std::size_t> counted;
    std::size_t modules = 0;
    for (const std::string& top : preview.plan.tops) {
        const PlannedEntity& entity = *preview.plan.FindEntity(top);
        modules = std::min(kMostModules, modules + 1 + CountInstances(preview.plan, entity, counted) +
                                             PackagesOfTree(preview.plan, entity).size());
    }
    preview.moduleCount = static_cast<int>(modules);
    if (modules >= kMostModules && preview.CanImport())
        preview.refusal = "The hierarchy would have more than " + std::to_string(kMostModules) +
                          " modules: choose a top of a smaller part of the design.";
    return preview;
}

namespace {

// Copies the files of an import into the module folder and remembers what it copied, so that a
// failure takes every copy back.
class CImportCopier {
public:
    CImportCopier(const CKSTDoc& doc, const DesignImportPreview& preview)
        : m_folder(doc.GetModuleFolderPath()), m_preview(preview) {}

    // The file's name relative to the module folder, copying it the first time.
    Result<std::string> Copy(std::size_t file, std::vector<std::string>& notes) {
        if (const auto known = m_names.find(file); known != m_names.end())
            return known->second;
        const fs::path& source = m_preview.files[file];
        const std::string library = m_preview.plan.fileLibraries[file];
        const std::string prefix = library == "work" ? std::string() : library + "/";
        if (!prefix.empty() && !FolderExists(m_folder / library)) {
            if (const Outcome made = CreateFolders(m_folder / library); !made)
                return Result<std::string>::Failed(WithReason(
                    "Cannot create the library folder " + (m_folder / library).string(), made.Reason()));
            m_createdFolders.push_back(m_folder / library);
        }
        const fs::path name = source.filename();
        for (int suffix = 1;; ++suffix) {
            const std::string candidate =
                suffix == 1 ? name.string()
                            : name.stem().string() + "_" + std::to_string(suffix) + name.extension().string();
            const fs::path target = m_folder / (prefix + candidate);
            if (FileExists(target)) {
                if (!SameContent(source, target))
                    continue;
                notes.push_back(source.string() + " is in the module folder already as " + prefix +
                                candidate + ".");
                return m_names.emplace(file, prefix + candidate).first->second;
            }
            if (const Outcome copied = CopyFileTo(source, target, false); !copied)
                return Result<std::string>::Failed(
                    WithReason("Cannot copy " + source.string() + " to " + target.string(), copied.Reason()));
            m_copied.push_back(target);
            notes.push_back(suffix == 1 ? source.string() + " copied to " + prefix + candidate + "."
                                        : source.string() + " copied to " + prefix + candidate + " (" +
                                              prefix + name.string() + " is another file).");
            return m_names.emplace(file, prefix + candidate).first->second;
        }
    }

    // Takes every copy back.
    void Undo() {
        for (const fs::path& copied : m_copied)
            static_cast<void>(DeleteFileAt(copied)); // nothing more can be done about a copy left behind
        // A folder stays when it is not empty.
        std::for_each(m_createdFolders.rbegin(), m_createdFolders.rend(),
                      [](const fs::path& folder) { static_cast<void>(RemoveEmptyFolder(folder)); });
        m_copied.clear();
        m_createdFolders.clear();
    }

private:
    static bool SameContent(const fs::path& a, const fs::path& b) {
        const Result<std::string> first = ReadWholeFile(a);
        const Result<std::string> second = ReadWholeFile(b);
        return first && second && *first == *second;
    }

    fs::path m_folder;
    const DesignImportPreview& m_preview;
    std::unordered_map<std::size_t, std::string> m_names;
    std::vector<fs::path> m_copied;
    std::vector<fs::path> m_createdFolders;
};

// The file of an entity's chosen architecture, or of its declaration when it has none.
struct EntityFiles {
    std::size_t declaration = 0;
    std::vector<std::size_t> architectures;
};

EntityFiles FilesOfEntity(const DesignImportPlan& plan, const PlannedEntity& entity) {
    EntityFiles files{entity.file, {}};
    for (std::size_t file = 0; file < plan.files.size(); ++file) {
        for (const DesignUnit& unit : plan.files[file].units) {
            if (unit.kind == DesignUnitKind::Architecture && SameTextNoCase(unit.entity, entity.name) &&
                file != entity.file &&
                std::find(files.architectures.begin(), files.architectures.end(), file) ==
                    files.architectures.end())
                files.architectures.push_back(file);
        }
    }
    return files;
}

// Builds the items of the trees once every file they need is copied.
class CTreeBuilder {
public:
    CTreeBuilder(CKSTDoc& doc, const DesignImportPreview& preview, CImportCopier& copier,
                 DesignImportResult& result)
        : m_doc(doc), m_plan(preview.plan), m_copier(copier), m_result(result) {}

    // Copies every file of the top's tree; the reason of the first copy that failed.
    Outcome CopyTree(const PlannedEntity& top) {
        for (const PlannedPackage* package : PackagesOfTree(m_plan, top)) {
            if (Outcome copied = CopyFile(package->file); !copied)
                return copied;
            for (const std::size_t file : package->bodyFiles) {
                if (Outcome copied = CopyFile(file); !copied)
                    return copied;
            }
        }
        return CopyEntity(top);
    }

    CHierarchyItem* AddTop(const PlannedEntity& top, CHierarchyItem* parent) {
        CHierarchyItem* item = AddItem(top, parent);
        for (const PlannedPackage* package : PackagesOfTree(m_plan, top)) {
            CHierarchyItem* added = m_doc.Tree().InsertItem(package->name, HierarchyKind::Package, item);
            added->Object()->SetEntryCount(1);
            added->Object()->SetEntry(0, EntryKindOfItem(HierarchyKind::Package), package->name,
                                      m_fileNames.at(package->file));
            ++m_result.modules;
        }
        AddChildren(top, item);
        return item;
    }

private:
    Outcome CopyFile(std::size_t file) {
        Result<std::string> name = m_copier.Copy(file, m_result.notes);
        if (!name)
            return Outcome::Failed(name.Reason());
        m_fileNames[file] = *name;
        return Outcome::Ok();
    }

    Outcome CopyEntity(const PlannedEntity& entity) {
        if (!m_copiedEntities.insert(&entity).second)
            return Outcome::Ok();
        const EntityFiles files = FilesOfEntity(m_plan, entity);
        if (Outcome copied = CopyFile(files.declaration); !copied)
            return copied;
        for (const std::size_t file : files.architectures) {
            if (Outcome copied = CopyFile(file); !copied)
                return copied;
        }
        for (const PlannedChild& child : entity.children) {
            if (const PlannedEntity* planned = m_plan.FindEntity(child.entity))
                if (Outcome copied = CopyEntity(*planned); !copied)
                    return copied;
        }
        return Outcome::Ok();
    }

    CHierarchyItem* AddItem(const PlannedEntity& entity, CHierarchyItem* parent) {
        CHierarchyItem* item = m_doc.Tree().InsertItem(entity.name, HierarchyKind::Normal, parent);
        item->Object()->SetEntryCount(1);
        item->Object()->SetEntry(0, EntryKindOfItem(HierarchyKind::Normal), entity.name,
                                 m_fileNames.at(entity.file));
        // Architectures in files of their own are read with the entity's file.
        std::vector<std::string> architectures;
        for (const std::size_t file : FilesOfEntity(m_plan, entity).architectures)
            architectures.push_back(m_fileNames.at(file));
        if (!architectures.empty())
            item->Object()->SetChoiceList(0, &architectures);
        ++m_result.modules;
        return item;
    }

    void AddChildren(const PlannedEntity& entity, CHierarchyItem* item) {
        for (const PlannedChild& child : entity.children) {
            const PlannedEntity* planned = m_plan.FindEntity(child.entity);
            if (planned == nullptr)
                continue;
            CHierarchyItem* added = AddItem(*planned, item);
            const std::string& architecture = !child.architecture.empty()  ? child.architecture
                                              : planned->architectureBound ? planned->architecture
                                                                           : std::string();
            if (!architecture.empty() && planned->architectures.size() > 1)
                m_result.architectures.push_back({added, architecture});
            AddChildren(*planned, added);
        }
    }

    CKSTDoc& m_doc;
    const DesignImportPlan& m_plan;
    CImportCopier& m_copier;
    DesignImportResult& m_result;
    std::unordered_map<std::size_t, std::string> m_fileNames;
    std::unordered_set<const PlannedEntity*> m_copiedEntities;
};

} // namespace

Result<DesignImportResult> ImportDesign(CKSTDoc& doc, CHierarchyItem* parent,
                                        const DesignImportPreview& preview) {
    if (!preview.CanImport())
        return Result<DesignImportResult>::Failed(preview.refusal);
    if (const Outcome made = CreateFolders(doc.GetModuleFolderPath()); !made)
        return Result<DesignImportResult>::Failed(WithReason(
            "Cannot create the module folder " + doc.GetModuleFolderPath().string(), made.Reason()));
    DesignImportResult result;
    CImportCopier copier(doc, preview);
    CTreeBuilder builder(doc, preview, copier, result);
    for (const std::string& top : preview.plan.tops) {
        if (const Outcome copied = builder.CopyTree(*preview.plan.FindEntity(top)); !copied) {
            copier.Undo();
            return Result<DesignImportResult>::Failed(copied.Reason());
        }
    }
    for (const std::string& top : preview.plan.tops)
        result.tops.push_back(builder.AddTop(*preview.plan.FindEntity(top), parent));
    for (CHierarchyItem* top : result.tops) {
        for (CHierarchyItem* item = top; item != nullptr; item = doc.Tree().NextItem(item, top))
            UpdateAnalysisStatus(doc, item);
    }
    return result;
}

} // namespace kestra
