#pragma once

#include "session/project_session.h"

#include <string>

namespace kestra {

class CHierarchyItem;
class CLibraryChooser;
class CLibraryStore;

// Where Insert Library Module takes its module from: chosen in the module library, chosen in
// the predefined library, or a given module library file.
enum class LibraryInsertMode { ChooseLibrary, ChoosePredefined, LibraryFile };

// The module library commands of a project: exporting the selected module into a library and
// inserting a library module below the selection.
class CLibraryCommands {
public:
    explicit CLibraryCommands(CProjectSession& session) : m_session(session) {}

    // Create Library Module exports the selected normal module with every module below it
    // (predefined modules left out) as one file, Create Predefined Module a normal or
    // predefined module without children; the module carries its current parameter values and
    // choice lists. The file is handed to the store with the module's linked files; true when
    // the store filed it.
    bool CanCreateLibraryModule() const;
    bool CanCreatePredefinedModule() const;
    bool OnCreateLibraryModule(CLibraryStore& store);
    bool OnCreatePredefinedModule(CLibraryStore& store);
    // Insert Library Module and Insert Predefined Module: the module file (from the chooser, or
    // `path` for LibraryInsertMode::LibraryFile) is copied into the module folder, becomes the
    // last child of the selection and is analysed. Null when nothing was inserted.
    bool CanInsertLibraryModule() const;
    CHierarchyItem* InsertLibraryModule(LibraryInsertMode mode, const std::string& path,
                                        CLibraryChooser* chooser = nullptr);

private:
    bool ExportModule(CHierarchyItem* top, bool predefined, CLibraryStore& store);

    CProjectSession& m_session;
};

} // namespace kestra
