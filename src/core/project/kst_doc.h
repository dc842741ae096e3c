#pragma once

#include "project/hierarchy_tree.h"
#include "project/project_file.h"
#include "project/source_stamps.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kestra {

class CMessageLog;
class CUserPrompts;

inline constexpr const char* kMsgUnrecognizedFile = "Unrecognized file!";
inline constexpr const char* kMsgNewerVersion = "File version is newer than program version!";
inline constexpr const char* kMsgAccessDenied = "Access permission denied!";
inline constexpr const char* kMsgDataFormatError = "Data format error!";
inline constexpr const char* kMsgFatalInternalError = "Fatal internal error!";
inline constexpr const char* kMsgDamagedFile = "Unexpected end of file, the project file is damaged!";
inline constexpr const char* kMsgProjectExists = "Project file already exist, overwrite?";
inline constexpr const char* kMsgCannotOpen = "Cannot open the project file ";
inline constexpr const char* kMsgCannotSave = "Cannot save the project file ";
inline constexpr const char* kMsgCloseUnsaved = "The project could not be saved. Close it anyway?";
inline constexpr const char* kNewProjectTitle = "Create New Project";
inline constexpr const char* kMsgProjectChangedOnDisk =
    " was changed by another program since it was opened or last saved.";

struct FileChoice;
// The file chooser of project files: KESTRA files or all files, ".kst" as the default.
FileChoice ProjectFileChoice(const char* title, bool forSaving);
inline constexpr const char* kLogOpenProject = "Open project: ";
inline constexpr const char* kLogOldFileVersion =
    "\r\nThe project file version is old, please reanalyze all the objects.";

// Access levels: who may open the project.
enum class AccessLevel : int { Any = 0, SameUser = 1, SameUserAndComputer = 2 };
inline constexpr const char* kAccessLevelNames[] = {"Any", "Same user", "Same user && computer"};

struct UserIdentity {
    std::string user;
    std::string computer;
};
// The operating system's user and computer names.
UserIdentity CurrentIdentity();

// What the Properties command shows: the creator (read-only) and the access level.
struct ProjectProperties {
    std::string creatorUser;
    std::string creatorComputer;
    AccessLevel accessLevel = AccessLevel::Any;
};

// Whether the project file on disk is still what the document read or last wrote.
enum class ProjectFileOnDisk { AsLastSeen, Changed, Missing };

// What to do when a save finds the project file changed by another program.
enum class StaleProjectChoice {
    ReloadTheirs,      // not saved: the caller reloads the project from its file
    OverwriteWithMine, // saved over theirs
    Cancel,            // not saved
};

// One open project: its hierarchy with the items' records, its file and folders, its creator
// and access level. Paths are built from the project folder held here (the folder of the
// project file, absolute), never from the process's current directory. The file is always
// written whole to a temporary file that then replaces the old one.
class CKSTDoc {
public:
    CKSTDoc(CUserPrompts& prompts, CMessageLog& log);
    ~CKSTDoc();
    CKSTDoc(const CKSTDoc&) = delete;
    CKSTDoc& operator=(const CKSTDoc&) = delete;

    // Who is working: the creator of new projects and the one access checks compare with.
    void SetIdentity(UserIdentity identity) { m_identity = std::move(identity); }
    const UserIdentity& Identity() const { return m_identity; }
    // Runs before every save, to write the open editors back into the records.
    void SetCommitEditorsHook(std::function<void()> hook) { m_commitEditors = std::move(hook); }

    // File New Project's file dialog, with the overwrite question; nothing when cancelled.
    [[nodiscard]] std::optional<std::string> AskNewProjectPath();
    // Save As: asks for the new project file (".kst" added to a name without extension, made
    // absolute), asking again while the user declines to replace another existing file.
    // Nothing when cancelled.
    [[nodiscard]] std::optional<std::string> AskSaveAsPath();
    // A new, empty project at the path; its file (header and end mark) is written at once.
    [[nodiscard]] bool OnNewDocument(const std::string& path);
    // Reads the project file, with every check and message; true when the project opened.
    [[nodiscard]] bool OnOpenDocument(const std::string& path);
    // Saves to the path; under a new path also copies the module folder there (Save As). The
    // result is the project file's; module files that could not follow are logged and
    // reported in a message.
    [[nodiscard]] bool OnSaveDocument(const std::string& path);
    [[nodiscard]] bool DoFileSave() { return OnSaveDocument(m_pathName); }
    // Asked when a save to the project's own file finds it changed by another program; without
    // it such a save is refused with a message, so that nothing of theirs is lost silently.
    void SetStaleProjectHandler(std::function<StaleProjectChoice()> handler) {
        m_staleHandler = std::move(handler);
    }
    // Whether the last refused save was refused because the user chose to reload theirs;
    // cleared by asking.
    bool TakeReloadWish() { return std::exchange(m_reloadWished, false); }
    ProjectFileOnDisk CheckProjectFileOnDisk() const;
    // Before closing: saves without asking. False only when saving failed and the user
    // chose to keep the project open.
    [[nodiscard]] bool SaveModified();
    // The hierarchy's first update after new or open: creates or repairs the root item and
    // its settings entries, updates every item's status and logs the opening line.
    void OnFirstUpdate();
    void DeleteContents();

    // Loading and storing without files (the open and save steps use these).
    [[nodiscard]] bool LoadFromBytes(std::string_view bytes);
    std::string StoreToBytes();
    // Loads the bytes in place of the records while the project stays under its file and
    // folder (a recovery copy of it).
    [[nodiscard]] bool LoadFromBytesKeepingFile(std::string_view bytes);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) {
        if (modified == m_modified)
            return;
        m_modified = modified;
        if (m_modifiedChanged)
            m_modifiedChanged(modified);
    }
    // Hears every change of the modified flag (the window marks its title).
    void SetModifiedListener(std::function<void(bool)> listener) { m_modifiedChanged = std::move(listener); }
    bool IsLoaded() const { return m_loaded; }

    const std::string& GetPathName() const { return m_pathName; }
    // The project file's name without its folder.
    std::string GetTitle() const;
    const std::filesystem::path& GetProjectFolder() const { return m_projectFolder; }
    std::filesystem::path GetModuleFolderPath() const;
    // Module folder + the item's entry 0 value (its file name); empty when it has none.
    std::filesystem::path GetModuleFilePath(const CHierarchyItem& item) const;
    // The module's source: its entry 0 file (a design brought in keeps its files' names, and a
    // file of a VHDL library other than work stands in a folder of the library's name), else the
    // module folder + the item's name + ".vhd".
    std::filesystem::path ModuleSourcePath(const CHierarchyItem& item) const;
    // The files that hold the module's architectures where they are not in its source (a design
    // brought in may keep an entity and its architecture in files of their own): the choices of
    // the item's entry 0, relative to the module folder.
    std::vector<std::filesystem::path> ModuleArchitectureFiles(const CHierarchyItem& item) const;
    // The VHDL library the module's source is compiled into, in lower case: the folder its file
    // stands in below the module folder ("olo/olo_base_fifo.vhd" is in library "olo"), else "work".
    std::string ModuleLibrary(const CHierarchyItem& item) const;
    // A path text from the project (absolute, or relative to the project folder; '\' allowed).
    std::filesystem::path ResolvePath(std::string_view text) const;

    const std::string& GetLibraryName() const { return m_libraryName; }
    const std::string& GetDestinationFolder() const { return m_destinationFolder; }
    // Where generated files go and external tools start: the root item's destination folder
    // row, resolved against the project folder.
    std::filesystem::path ResolvedDestinationFolder() const;
    // The project item's library name and destination folder rows are edited in its design
    // object; these keep the document's copies in step.
    void SetLibraryName(const std::string& name) { m_libraryName = name; }
    void SetDestinationFolder(const std::string& folder) { m_destinationFolder = folder; }
    const ProjectHeader& Header() const { return m_header; }
    // The version of the file this project was read from (110 for a new project).
    int GetFileVersion() const { return static_cast<int>(m_header.version); }
    // The version of the project file this document read last, as far as it was read: 0 until
    // a header was read and after a header that was refused, 110 after a new project.
    int LastReadFileVersion() const { return m_lastReadVersion; }

    ProjectProperties GetProperties() const;
    // Takes effect when the file is next written; levels outside 0..2 are refused.
    bool SetAccessLevel(AccessLevel level);

    CHierarchyTree& Tree() { return m_tree; }
    const CHierarchyTree& Tree() const { return m_tree; }
    CUserPrompts& Prompts() { return m_prompts; }
    // What each module source held when the tool last read or wrote it.
    CSourceStamps& SourceStamps() { return m_sourceStamps; }
    const CSourceStamps& SourceStamps() const { return m_sourceStamps; }
    CMessageLog& Log() { return m_log; }

private:
    // The messages of a file that does not open name the file, when there is one.
    [[nodiscard]] bool Load(std::string_view bytes, const std::filesystem::path& file);
    [[nodiscard]] bool LoadProject(std::string_view bytes, const std::filesystem::path& file);
    [[nodiscard]] bool WriteFile(const std::filesystem::path& path);
    void WriteSourceStamps(const std::filesystem::path& path, std::uint64_t projectHash);
    // The save to the project's own file may go ahead: the file is as last seen, or the user
    // chose to overwrite theirs.
    bool MayOverwriteProjectFile();
    bool CheckAccess() const;
    // Save As: the module folder follows the project file into its new folder. False when the
    // folder could not be made or a file could not be copied (each logged).
    [[nodiscard]] bool MoveProjectFolder(const std::filesystem::path& oldFolder,
                                         const std::filesystem::path& newFolder);
    void RepairRootSettings(CHierarchyItem* root);
    // A warning in the log when the project folder or file cannot be written.
    void WarnIfReadOnly();
    void ShowFileMessage(const std::string& text, bool stopIcon);

    CUserPrompts& m_prompts;
    CMessageLog& m_log;
    UserIdentity m_identity;
    std::function<void()> m_commitEditors;

    CHierarchyTree m_tree;
    ProjectHeader m_header;
    int m_lastReadVersion = 0;
    std::string m_pathName;
    std::filesystem::path m_projectFolder;
    std::string m_libraryName;
    std::string m_destinationFolder;
    bool m_modified = false;
    std::function<void(bool)> m_modifiedChanged;
    bool m_loaded = false;
    CSourceStamps m_sourceStamps;
    std::optional<FileStamp> m_projectStamp;
    std::function<StaleProjectChoice()> m_staleHandler;
    bool m_reloadWished = false;
};

} // namespace kestra
