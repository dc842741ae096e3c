// Create Library Module and Create Predefined Module: a module written into one file with its
// current parameter values and choice lists, and handed to the module library.
#include "commands/library_commands.h"
#include "commands/linked_files.h"
#include "generation/entity_header.h"
#include "library/library_files.h"
#include "library/library_store.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

#include <optional>

namespace kestra {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> PlainCompanionNames(const CKSTObject& object) {
    std::vector<std::string> names;
    for (std::string& name : CompanionNames(object))
        if (IsPlainFileName(name))
            names.push_back(std::move(name));
    return names;
}

} // namespace

bool CLibraryCommands::CanCreateLibraryModule() const {
    return m_session.Selected() != nullptr && m_session.Selected()->Kind() == HierarchyKind::Normal;
}

bool CLibraryCommands::CanCreatePredefinedModule() const {
    return m_session.Selected() != nullptr &&
           (m_session.Selected()->Kind() == HierarchyKind::Normal ||
            m_session.Selected()->Kind() == HierarchyKind::Predefined) &&
           m_session.Selected()->ChildCount() == 0;
}

bool CLibraryCommands::OnCreateLibraryModule(CLibraryStore& store) {
    if (!CanCreateLibraryModule())
        return false;
    return ExportModule(m_session.Selected(), false, store);
}

bool CLibraryCommands::OnCreatePredefinedModule(CLibraryStore& store) {
    if (!CanCreatePredefinedModule())
        return false;
    const EntryKind entryKind = m_session.Selected()->Object()->GetEntryKind(0);
    if (entryKind != EntryKind::Vhdl && entryKind != EntryKind::Predefined)
        return false;
    return ExportModule(m_session.Selected(), true, store);
}

bool CLibraryCommands::ExportModule(CHierarchyItem* top, bool predefined, CLibraryStore& store) {
    CMessageLog& log = m_session.Doc().Log();
    m_session.Observer().CommitPanes(top);
    m_session.Observer().ReloadPanes(top);

    if (predefined) {
        if (top->Status() != AnalysisStatus::Analysed) {
            log.AppendError("Object is not analyzed yet.");
            return false;
        }
    } else {
        for (CHierarchyItem* item = top; item != nullptr; item = m_session.Doc().Tree().NextItem(item, top)) {
            if (item->Status() != AnalysisStatus::Analysed) {
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
    const fs::path folder = m_session.Doc().GetModuleFolderPath();
    for (CHierarchyItem* item = top; item != nullptr; item = m_session.Doc().Tree().NextItem(item, top)) {
        if (item != top && item->Kind() == HierarchyKind::Predefined)
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

    // The export gets a folder of its own: in the shared temporary folder a file of the
    // module's name may be a link planted by someone else, and a companion name may match a
    // file another program left there, which the store would move into the library. The file
    // is named after the module: a name that would leave the folder is not written.
    const CPrivateTempFolder exportFolder("kestra-export-");
    const std::string fileName = name + kModuleExtension;
    const fs::path exportFile = exportFolder.Path() / fileName;
    std::string error;
    if (exportFolder.Path().empty() || !IsPlainFileName(fileName) ||
        !ReplaceFileSafely(exportFile, text, &error)) {
        log.AppendError(WithReason("Failed to create library module.", error));
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
