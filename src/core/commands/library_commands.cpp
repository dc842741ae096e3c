// The module library commands: Create Library Module and Create Predefined Module write a
// module into one file with its current parameter values and hand it to the module library;
// Insert Library Module and Insert Predefined Module copy a library file into the project as a
// new child of the selection and analyse it at once.
#include "commands/library_commands.h"

#include "library/library_chooser.h"
#include "library/library_store.h"
#include "operations/analyze_module.h"
#include "operations/library_export.h"
#include "operations/linked_files.h"
#include "project/analysis_status.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "project/project_observer.h"
#include "system/file_system.h"
#include "system/path_text.h"

namespace kestra {

namespace {

// The module name of a library file: its file name up to the first '.'.
std::string ModuleNameOfPath(const std::string& path) {
    const std::string fileName = FileNameOfPath(path);
    return fileName.substr(0, fileName.find('.'));
}

// The first of name, name_2, name_3 ... that no file in the folder bears.
std::string FreeModuleName(const std::filesystem::path& folder, const std::string& name) {
    std::string candidate = name;
    for (int suffix = 2; FileExists(folder / (candidate + ".vhd")); ++suffix)
        candidate = name + "_" + std::to_string(suffix);
    return candidate;
}

} // namespace

bool CLibraryCommands::CanInsertLibraryModule() const {
    return m_session.Selected() != nullptr && (m_session.Selected()->Kind() == HierarchyKind::Normal ||
                                               m_session.Selected()->Kind() == HierarchyKind::Root);
}

CHierarchyItem* CLibraryCommands::InsertLibraryModule(LibraryInsertMode mode, const std::string& path,
                                                      CLibraryChooser* chooser) {
    if (!CanInsertLibraryModule())
        return nullptr;
    CHierarchyItem* parent = m_session.Selected();
    const bool predefined = mode == LibraryInsertMode::ChoosePredefined;
    std::string sourcePath = path;
    if (mode != LibraryInsertMode::LibraryFile) {
        if (chooser == nullptr)
            return nullptr;
        const auto chosen =
            chooser->ChooseModule(predefined ? LibraryKind::Predefined : LibraryKind::Library);
        if (!chosen || chosen->empty())
            return nullptr;
        sourcePath = chosen->string();
    }
    sourcePath = NormalizeSeparators(sourcePath);
    std::string name = ModuleNameOfPath(sourcePath);
    if (name.empty())
        return nullptr;

    CMessageLog& log = m_session.Doc().Log();
    if (predefined) {
        for (int i = 0; i < parent->ChildCount(); ++i) {
            if (parent->Child(i)->Text() == name) {
                log.AppendLog("\r\nPredefined module already exist in the same hierarchy.");
                return nullptr;
            }
        }
    }
    m_session.Observer().CommitPanes(parent);

    const std::filesystem::path moduleFolder = m_session.Doc().GetModuleFolderPath();
    if (const auto imported = ImportModuleFile(
            m_session.Doc(), predefined ? ImportMode::Overwrite : ImportMode::FreeName, sourcePath, name))
        name = *imported;
    else if (!predefined)
        // Without its copy the module must still not take over another module's file.
        name = FreeModuleName(moduleFolder, name);

    CHierarchyItem* item = m_session.Doc().Tree().InsertItem(
        name, predefined ? HierarchyKind::Predefined : HierarchyKind::Library, parent);
    CKSTObject* object = item->Object();
    object->SetEntryCount(1);
    object->SetEntry(0, predefined ? EntryKind::Predefined : EntryKind::Component, name, name + ".vhd");
    if (CVHDLSignal* signals = item->Signals())
        signals->SetSignalCount(0);

    AnalyzeModule(m_session.Doc(), item, m_session.Context());
    MarkParentNeedsAnalysis(m_session.Doc(), item);
    m_session.Observer().ModuleInserted(parent, item);
    m_session.Observer().ReloadPanes(parent, CProjectObserver::kSignalList);

    UpdateAnalysisStatus(m_session.Doc(), item);
    CopyLinkedFiles(*object, std::filesystem::path(sourcePath).parent_path(), moduleFolder);
    log.AppendLog((predefined ? "\r\nPredefined module " : "\r\nLibrary module ") + name + " added.");
    m_session.Doc().SetModifiedFlag();
    return item;
}

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
        if (top->Status() != AnalysisStatus::Analyzed) {
            log.AppendError("Object is not analyzed yet.");
            return false;
        }
    } else {
        for (CHierarchyItem* item = top; item != nullptr; item = m_session.Doc().Tree().NextItem(item, top)) {
            if (item->Status() != AnalysisStatus::Analyzed) {
                log.AppendError("Object is not completely analyzed yet.");
                return false;
            }
        }
    }

    // The export gets a folder of its own: in the shared temporary folder a file of the
    // module's name may be a link planted by someone else, and a companion name may match a
    // file another program left there, which the store would move into the library.
    const CPrivateTempFolder exportFolder("kestra-export-");
    const std::filesystem::path exportFile =
        WriteLibraryExport(m_session.Doc(), top, predefined, exportFolder.Path());
    if (exportFile.empty())
        return false;
    if (!store.StoreModule(exportFile, predefined ? LibraryKind::Predefined : LibraryKind::Library,
                           PlainCompanionNames(*top->Object())))
        return false;
    log.AppendLog("\r\n" + std::string(predefined ? "Predefined module " : "Library module ") + top->Text() +
                  " created successfully.");
    return true;
}

} // namespace kestra
