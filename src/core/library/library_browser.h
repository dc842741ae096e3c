#pragma once

#include "library/library_tree.h"
#include "system/outcome.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kestra {

class CUserPrompts;

enum class BrowseMode { Choose, Store };

enum class LibraryActionStatus { Done, NothingDone, Failed };

// What a library command did; a failure carries the system's error text for the caller to show.
struct LibraryActionResult {
    LibraryActionStatus status = LibraryActionStatus::NothingDone;
    std::string errorText;
    bool Done() const { return status == LibraryActionStatus::Done; }
    bool Failed() const { return status == LibraryActionStatus::Failed; }
};

inline constexpr const char* kBrowseLibraryTitle = "Browse Library";
inline constexpr const char* kStoreModuleTitle = "Select folder to insert new module";
inline constexpr const char* kNewFolderLabel = "&New Folder :";
inline constexpr const char* kNewModuleLabel = "&New Module :";
inline constexpr const char* kConfirmationTitle = "CONFIRMATION";
inline constexpr const char* kRemoveFolderQuestion = "Remove the selected folder?";
inline constexpr const char* kRemoveModuleQuestion = "Remove the selected module?";

// The Browse Library dialog without its window: one library's tree and the commands behind the
// dialog's buttons, keeping files and tree in step. In choose mode it picks a module; in store
// mode it files one module file into a folder and then switches to choose mode, so a browser
// that is still in store mode when closed stored nothing.
class CLibraryBrowser {
public:
    // The names of a library module's companion files (its Link parameter values); without a
    // reader modules move and are removed alone.
    using CompanionReader = std::function<std::vector<std::string>(const std::filesystem::path& moduleFile)>;

    CLibraryBrowser(std::filesystem::path rootFolder, LibraryKind kind, CUserPrompts& prompts);

    // Store mode for the given module file; its companions are beside it.
    void SetStoreFile(std::filesystem::path file, std::vector<std::string> companions);
    void SetCompanionReader(CompanionReader reader) { m_companionReader = std::move(reader); }

    // Reads the folders and restores the tree's appearance from "LibraryOrg.dat".
    void Open();

    CLibraryTree& Tree() { return m_tree; }
    const CLibraryTree& Tree() const { return m_tree; }
    BrowseMode Mode() const { return m_mode; }
    bool Stored() const { return m_stored; }
    const std::filesystem::path& StoreFile() const { return m_storeFile; }
    std::string Title() const {
        return m_mode == BrowseMode::Store ? kStoreModuleTitle : kBrowseLibraryTitle;
    }
    std::string EditLabel() const { return m_mode == BrowseMode::Store ? kNewModuleLabel : kNewFolderLabel; }
    bool EditReadOnly() const { return m_mode == BrowseMode::Store; }
    // What the edit shows when the mode begins: the stored file's name, or nothing.
    std::string InitialEditText() const;

    // "&Create" in the folder of the selection: a new folder named editText (choose mode), or
    // the stored file (store mode). The new item is selected.
    LibraryActionResult Create(const std::string& editText);
    // "&Remove" of the selection, after the user confirms: an empty folder, or a module, which
    // is kept as ".bak" while its companions are deleted. The root is never removed.
    LibraryActionResult Remove();
    static bool CanDrag(const CLibraryItem* item) { return item != nullptr && item->IsModule(); }
    // Moves a module into the folder dropped on (a module standing for its folder), with its
    // companions; the moved item is selected.
    LibraryActionResult Drop(CLibraryItem* module, CLibraryItem* target);

    // What closing gives: the chosen module's file, and whether "LibraryOrg.dat" was written.
    struct Closing {
        std::filesystem::path chosenFile;
        Outcome orgWritten;
    };
    // OK (or a double click on a module) and Cancel: "LibraryOrg.dat" is written either way. OK
    // gives the selected module's file, otherwise the path is empty, whether the write worked
    // or not.
    [[nodiscard]] Closing Close(bool ok);

private:
    std::vector<std::string> CompanionsOf(const std::filesystem::path& moduleFile) const;
    LibraryActionResult CreateFolder(const std::string& name);
    LibraryActionResult StoreModule();

    CLibraryTree m_tree;
    CUserPrompts& m_prompts;
    BrowseMode m_mode = BrowseMode::Choose;
    bool m_stored = false;
    std::filesystem::path m_storeFile;
    std::vector<std::string> m_storeCompanions;
    CompanionReader m_companionReader;
};

} // namespace kestra
