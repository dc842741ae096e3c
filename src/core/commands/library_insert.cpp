// Insert Library Module and Insert Predefined Module: a module file of a library copied into
// the project as a new child of the selection, and analysed at once.
#include "commands/analyze_module.h"
#include "commands/library_commands.h"
#include "commands/linked_files.h"
#include "library/library_chooser.h"
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

} // namespace kestra
