// Create Library Module and Create Predefined Module: a module written into one file with its
// current parameter values and choice lists, and handed to the module library.
#include "analysis/source_rewrite.h"
#include "generation/linked_files.h"
#include "hierarchy/hierarchy_commands.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "hierarchy/project_observer.h"
#include "library/library_files.h"
#include "library/library_store.h"
#include "system/file_system.h"

#include <optional>
#include <random>
#include <system_error>

namespace kestra {

namespace {

namespace fs = std::filesystem;

// A fresh folder of this export's own inside the system's temporary folder, removed with what
// is left in it when the export ends. In the shared temporary folder itself a file of the
// module's name may be a link planted by someone else, and a companion name may match a file
// another program left there, which the store would move into the library.
class CExportFolder {
public:
    CExportFolder() {
        std::error_code error;
        const fs::path temp = fs::temp_directory_path(error);
        if (error)
            return;
        std::random_device seed;
        std::mt19937_64 generator(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path folder = temp / ("kestra-export-" + std::to_string(generator()));
            if (fs::create_directory(folder, error)) {
                fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
                m_path = folder;
                return;
            }
        }
    }
    ~CExportFolder() {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    CExportFolder(const CExportFolder&) = delete;
    CExportFolder& operator=(const CExportFolder&) = delete;

    // Empty when no folder could be made.
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

std::vector<std::string> PlainCompanionNames(const CKSTObject& object) {
    std::vector<std::string> names;
    for (std::string& name : CompanionNames(object))
        if (IsPlainFileName(name))
            names.push_back(std::move(name));
    return names;
}

} // namespace

bool CHierarchyCommands::CanCreateLibraryModule() const {
    return m_selected != nullptr && m_selected->Kind() == kItemNormal;
}

bool CHierarchyCommands::CanCreatePredefinedModule() const {
    return m_selected != nullptr &&
           (m_selected->Kind() == kItemNormal || m_selected->Kind() == kItemPredefined) &&
           m_selected->ChildCount() == 0;
}

bool CHierarchyCommands::OnCreateLibraryModule(CLibraryStore& store) {
    if (!CanCreateLibraryModule())
        return false;
    return ExportModule(m_selected, false, store);
}

bool CHierarchyCommands::OnCreatePredefinedModule(CLibraryStore& store) {
    if (!CanCreatePredefinedModule())
        return false;
    const int entryKind = m_selected->Object()->GetEntryKind(0);
    if (entryKind != kKindVhdl && entryKind != kKindPredefined)
        return false;
    return ExportModule(m_selected, true, store);
}

bool CHierarchyCommands::ExportModule(CHierarchyItem* top, bool predefined, CLibraryStore& store) {
    CMessageLog& log = m_doc.Log();
    m_observer->CommitPanes(top);
    m_observer->ReloadPanes(top);

    if (predefined) {
        if (top->Status() != kStatusAnalysed) {
            log.AppendError("Object is not analyzed yet.");
            return false;
        }
    } else {
        for (CHierarchyItem* item = top; item != nullptr; item = m_doc.Tree().NextItem(item, top)) {
            if (item->Status() != kStatusAnalysed) {
                log.AppendError("Object is not completely analyzed yet.");
                return false;
            }
        }
    }

    const std::string name = top->Text();
    const std::string what = predefined ? "Predefined module" : "Library module";
    const std::string failed =
        predefined ? "). Failed to create predefined module." : "). Failed to create library module.";
    std::string text = "-- " + name + ": " + what + " created by KESTRA\r\n--\r\n";
    const fs::path folder = m_doc.GetModuleFolderPath();
    for (CHierarchyItem* item = top; item != nullptr; item = m_doc.Tree().NextItem(item, top)) {
        if (item != top && item->Kind() == kItemPredefined)
            continue;
        const fs::path source = folder / (item->Text() + ".vhd");
        if (!FileExists(source)) {
            log.AppendError("Cannot open source file (" + source.string() + failed);
            return false;
        }
        const std::optional<std::string> sourceText = ReadWholeFile(source);
        if (!sourceText) {
            log.AppendError("Cannot read source file (" + source.string() + failed);
            return false;
        }
        text += item == top ? RewriteEntityHeader(*sourceText, name, *top->Object()) : *sourceText;
        if (predefined)
            break;
    }
    text += "-- " + name + ": " + what + " ended here\r\n\r\n";

    // The file is named after the module: a name that would leave the folder is not written.
    const CExportFolder exportFolder;
    const std::string fileName = name + kModuleExtension;
    const fs::path exportFile = exportFolder.Path() / fileName;
    if (exportFolder.Path().empty() || !IsPlainFileName(fileName) || !ReplaceFileSafely(exportFile, text)) {
        log.AppendError("Failed to create library module.");
        return false;
    }
    CopyLinkedFiles(*top->Object(), folder, exportFolder.Path());

    if (!store.StoreModule(exportFile, predefined ? LibraryKind::Predefined : LibraryKind::Library,
                           PlainCompanionNames(*top->Object())))
        return false;
    log.AppendLog("\r\n" + what + " " + name + " created successfully.");
    return true;
}

} // namespace kestra
