#pragma once

#include "analysis/scanner.h"

#include <cstdint>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
class CLibraryChooser;
class CLibraryStore;
class CProjectObserver;
class CTreeClipboard;

enum class MoveCommand { Top, Up, Down, Bottom };
// Where Insert Library Module takes its module from: chosen in the module library, chosen in
// the predefined library, or a given module library file.
enum class LibraryInsertMode { ChooseLibrary = 0, ChoosePredefined = 1, LibraryFile = 2 };

// The commands of a project's hierarchy, without a window: they work on the project's
// records and files, write the message log and ask the views to take part through the
// observer. The selection is the item the commands act on.
class CHierarchyCommands {
public:
    explicit CHierarchyCommands(CKSTDoc& doc, CProjectObserver* observer = nullptr,
                                CTreeClipboard* clipboard = nullptr);
    // A pane that goes away empties the clipboard when the clipboard names it.
    ~CHierarchyCommands();
    CHierarchyCommands(const CHierarchyCommands&) = delete;
    CHierarchyCommands& operator=(const CHierarchyCommands&) = delete;

    // Identifies this pane on the tree clipboard; the commands of a pane are found by it
    // while the pane exists.
    std::uint32_t PaneId() const { return m_paneId; }
    static CHierarchyCommands* PaneById(std::uint32_t paneId);

    CKSTDoc& Doc() { return m_doc; }
    AnalysisContext& Context() { return m_context; }
    CProjectObserver& Observer() { return *m_observer; }
    void SetObserver(CProjectObserver* observer);

    CHierarchyItem* Selected() const { return m_selected; }
    void Select(CHierarchyItem* item) { m_selected = item; }

    // Analyse Module: the selected subtree, children before parents and later siblings before
    // earlier ones, analysing what is not analysed and the selected item always, and stopping
    // after the first module that is not analysed afterwards. True when every module analysed
    // is analysed afterwards.
    bool OnAnalyzeModule();

    // Generate: synthesizable VHDL of the selected module and everything below it, one file
    // per top module in the destination folder (each top-level module when the root is
    // selected); Generate Individual writes the selected module alone. Analyses first where
    // needed. True when every file was written.
    bool OnGenerate(bool individual = false);
    bool OnGenerateIndividual() { return OnGenerate(true); }

    // Add Module: "<New Object>" as the last child of the selection (a normal module or the
    // root), selected, with status 4; the views are asked to start editing its name. Null
    // when the selection cannot take a module.
    CHierarchyItem* OnAddModule();
    // End of name editing with the typed text: renames the root's module folder or a module
    // and its file (or creates or imports the file of a new module), and analyses it. The
    // paste variant (`fromPaste`) reloads no views and analyses the item and its parent.
    // False when the name was refused or ignored.
    bool EndNameEdit(CHierarchyItem* item, const std::string& text, bool fromPaste = false);
    // Remove, after the "ENQUIRY" question: the selection and its subtree with their records;
    // files are set aside as ".bak". False when refused or answered No.
    bool OnRemove();
    bool OnMove(MoveCommand command);
    // Set As Normal / Library / Predefined / Package (kinds 0, 4, 6, 8). False when nothing
    // happened.
    bool OnSetKind(int kind);
    bool OnCut();
    bool OnCopy();
    bool CanPaste() const;
    bool OnPaste();
    // The parameter list's end of editing: column 0 is the entry's name, 1 its value. The text
    // is normalised and checked as the list does; a change reaches the source at once. False
    // when nothing changed.
    bool EndParameterEdit(CHierarchyItem* item, int entry, int column, const std::string& text);

    // Module library. Create Library Module exports the selected normal module with every
    // module below it (predefined modules left out) as one file, Create Predefined Module a
    // normal or predefined module without children; the module carries its current parameter
    // values and choice lists. The file is handed to the store with the module's linked files;
    // true when the store filed it.
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
    bool RenameRoot(CHierarchyItem* item, const std::string& oldText, const std::string& text);
    bool RenameModule(CHierarchyItem* item, const std::string& oldText, const std::string& text,
                      bool fromPaste);
    void RestoreText(CHierarchyItem* item, const std::string& oldText);
    bool GenerateTop(CHierarchyItem* top, bool individual);
    void RemoveItemRecords(CHierarchyItem* item, const CHierarchyItem* removedSubtree);
    bool Mark(bool cut);
    bool ExportModule(CHierarchyItem* item, bool predefined, CLibraryStore& store);

    CKSTDoc& m_doc;
    CProjectObserver* m_observer;
    CTreeClipboard* m_clipboard;
    std::uint32_t m_paneId;
    AnalysisContext m_context;
    CHierarchyItem* m_selected = nullptr;
};

// The item before this one in pre-order: the previous sibling's last descendant, or the parent.
CHierarchyItem* PreviousItem(CHierarchyItem* item);

} // namespace kestra
