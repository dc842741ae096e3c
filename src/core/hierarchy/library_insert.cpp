// Insert Library Module and Insert Predefined Module: a module file of a library copied into
// the project as a new child of the selection, and analysed at once.
#include "analysis/analyze_module.h"
#include "generation/linked_files.h"
#include "hierarchy/analysis_status.h"
#include "hierarchy/hierarchy_commands.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "hierarchy/project_observer.h"
#include "library/library_chooser.h"
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

bool CHierarchyCommands::CanInsertLibraryModule() const {
    return m_selected != nullptr && (m_selected->Kind() == kItemNormal || m_selected->Kind() == kItemRoot);
}

CHierarchyItem* CHierarchyCommands::InsertLibraryModule(LibraryInsertMode mode, const std::string& path,
                                                        CLibraryChooser* chooser) {
    if (!CanInsertLibraryModule())
        return nullptr;
    CHierarchyItem* parent = m_selected;
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

    CMessageLog& log = m_doc.Log();
    if (predefined) {
        for (int i = 0; i < parent->ChildCount(); ++i) {
            if (parent->Child(i)->Text() == name) {
                log.AppendLog("\r\nPredefined module already exist in the same hierarchy.");
                return nullptr;
            }
        }
    }
    m_observer->CommitPanes(parent);

    const std::filesystem::path moduleFolder = m_doc.GetModuleFolderPath();
    if (const auto imported = ImportModuleFile(m_doc, predefined ? 1 : 0, sourcePath, name))
        name = *imported;
    else if (!predefined)
        // Without its copy the module must still not take over another module's file.
        name = FreeModuleName(moduleFolder, name);

    CHierarchyItem* item = m_doc.Tree().InsertItem(name, predefined ? kItemPredefined : kItemLibrary, parent);
    CKSTObject* object = item->Object();
    object->SetEntryCount(1);
    object->SetEntry(0, predefined ? kKindPredefined : kKindComponent, name, name + ".vhd");
    if (CVHDLSignal* signals = item->Signals())
        signals->SetSignalCount(0);

    AnalyzeModule(m_doc, item, m_context);
    MarkParentNeedsAnalysis(m_doc, item);
    m_observer->ModuleInserted(parent, item);
    m_observer->ReloadPanes(parent, CProjectObserver::kSignalList);

    UpdateAnalysisStatus(m_doc, item);
    CopyLinkedFiles(*object, std::filesystem::path(sourcePath).parent_path(), moduleFolder);
    log.AppendLog((predefined ? "\r\nPredefined module " : "\r\nLibrary module ") + name + " added.");
    m_doc.SetModifiedFlag();
    return item;
}

} // namespace kestra
