#include "project/kst_doc.h"

#include "model/archive.h"
#include "project/message_log.h"
#include "project/recovery_copy.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "system/system_names.h"
#include "system/user_prompts.h"

namespace kestra {

namespace fs = std::filesystem;

namespace {

// A message about a file that is no project, with the file on a line of its own when it is known.
std::string NamingFile(const char* message, const fs::path& file) {
    return file.empty() ? std::string(message) : message + ("\n" + file.string());
}

} // namespace

UserIdentity CurrentIdentity() {
    return UserIdentity{CurrentUserName(), CurrentComputerName()};
}

CKSTDoc::CKSTDoc(CUserPrompts& prompts, CMessageLog& log)
    : m_prompts(prompts), m_log(log), m_identity(CurrentIdentity()) {}

CKSTDoc::~CKSTDoc() = default;

void CKSTDoc::DeleteContents() {
    m_tree.DeleteAllItems();
    m_pathName.clear();
    m_projectFolder.clear();
    m_tree.SetModuleFolder({});
    m_header = ProjectHeader{};
    m_libraryName.clear();
    m_destinationFolder.clear();
    SetModifiedFlag(false);
    m_loaded = false;
    m_sourceStamps.Clear();
    m_projectStamp.reset();
}

FileChoice ProjectFileChoice(const char* title, bool forSaving) {
    FileChoice choice;
    choice.title = title;
    choice.filters = {{"KESTRA Files (*.kst)", "*.kst"}, {"All Files (*.*)", "*.*"}};
    choice.defaultExtension = "kst";
    choice.forSaving = forSaving;
    return choice;
}

std::optional<std::string> CKSTDoc::AskNewProjectPath() {
    const FileChoice choice = ProjectFileChoice(kNewProjectTitle, true);
    for (;;) {
        std::optional<std::string> path = m_prompts.ChooseFile(choice);
        if (!path || path->empty())
            return std::nullopt;
        if (fs::path(*path).extension().empty())
            *path += ".kst";
        if (!FileExists(*path) || m_prompts.AskYesNo(kDefaultPromptTitle, kMsgProjectExists))
            return path;
    }
}

std::optional<std::string> CKSTDoc::AskSaveAsPath() {
    FileChoice choice = ProjectFileChoice("Save As", true);
    choice.initialPath = m_pathName;
    for (;;) {
        std::optional<std::string> path = m_prompts.ChooseFile(choice);
        if (!path)
            return std::nullopt;
        if (fs::path(*path).extension().empty())
            *path += ".kst";
        *path = AbsolutePath(fs::path(NormalizeSeparators(*path))).string();
        if (*path == m_pathName || !FileExists(*path) ||
            m_prompts.AskYesNo("Save As", *path + " already exists.\nDo you want to replace it?",
                               PromptIcon::Warning, false))
            return path;
    }
}

bool CKSTDoc::OnNewDocument(const std::string& path) {
    DeleteContents();
    const fs::path absolute = AbsolutePath(fs::path(NormalizeSeparators(path)));
    m_pathName = absolute.string();
    m_projectFolder = absolute.parent_path();
    m_lastReadVersion = kProgramFileVersion;
    m_header = ProjectHeader{};
    m_header.creatorUser = m_identity.user;
    m_header.creatorComputer = m_identity.computer;
    if (!WriteFile(absolute))
        return false;
    m_loaded = true;
    return true;
}

bool CKSTDoc::OnOpenDocument(const std::string& path) {
    DeleteContents();
    const fs::path absolute = AbsolutePath(fs::path(NormalizeSeparators(path)));
    const Result<std::string> bytes = ReadWholeFile(absolute);
    if (!bytes) {
        ShowFileMessage(kMsgCannotOpen + absolute.string() + ".\n" + bytes.Reason(), false);
        return false;
    }
    if (!Load(*bytes, absolute))
        return false;
    m_pathName = absolute.string();
    m_projectFolder = absolute.parent_path();
    m_projectStamp = StampOf(absolute, *bytes);
    if (const Result<std::string> stamps = ReadWholeFile(StampsFilePath(absolute)))
        (void)m_sourceStamps.Load(*stamps, m_projectFolder,
                                  m_projectStamp ? m_projectStamp->hash : ContentHash(*bytes));
    return true;
}

bool CKSTDoc::LoadFromBytes(std::string_view bytes) {
    return Load(bytes, {});
}

bool CKSTDoc::Load(std::string_view bytes, const fs::path& file) {
    DeleteContents();
    // A project that does not open keeps nothing of what was read.
    if (!LoadProject(bytes, file)) {
        DeleteContents();
        return false;
    }
    m_loaded = true;
    return true;
}

bool CKSTDoc::LoadFromBytesKeepingFile(std::string_view bytes) {
    // The file on disk and the sources stay what they were: so do their stamps.
    std::string pathName = m_pathName;
    fs::path projectFolder = m_projectFolder;
    CSourceStamps sourceStamps = m_sourceStamps;
    const std::optional<FileStamp> projectStamp = m_projectStamp;
    if (!LoadFromBytes(bytes))
        return false;
    m_pathName = std::move(pathName);
    m_projectFolder = std::move(projectFolder);
    m_sourceStamps = std::move(sourceStamps);
    m_projectStamp = projectStamp;
    return true;
}

bool CKSTDoc::LoadProject(std::string_view bytes, const fs::path& file) {
    m_lastReadVersion = 0;
    CArchive archive = CArchive::ForLoading(bytes);
    ProjectHeader header;
    switch (LoadProjectHeader(archive, header)) {
    case HeaderResult::Ok:
        break;
    case HeaderResult::Unrecognized:
        ShowFileMessage(NamingFile(kMsgUnrecognizedFile, file), false);
        return false;
    case HeaderResult::NewerVersion:
        ShowFileMessage(NamingFile(kMsgNewerVersion, file), false);
        return false;
    case HeaderResult::Damaged:
        ShowFileMessage(NamingFile(kMsgDamagedFile, file), false);
        return false;
    }
    m_lastReadVersion = static_cast<int>(header.version);
    archive.SetFileVersion(m_lastReadVersion);
    if (header.version < 108) {
        header.creatorUser = m_identity.user;
        header.creatorComputer = m_identity.computer;
    }
    m_header = header;
    if (!CheckAccess()) {
        ShowFileMessage(kMsgAccessDenied, false);
        return false;
    }
    switch (LoadHierarchyBody(archive, m_tree)) {
    case BodyResult::Complete:
        break;
    case BodyResult::FormatError:
        ShowFileMessage(kMsgDataFormatError, true);
        break;
    case BodyResult::FatalInternalError:
        ShowFileMessage(kMsgFatalInternalError, true);
        break;
    case BodyResult::Damaged:
        ShowFileMessage(NamingFile(kMsgDamagedFile, file), false);
        return false;
    }
    return true;
}

bool CKSTDoc::CheckAccess() const {
    // Levels above the known ones, from a damaged or newer file, ask at least for the same user.
    const int level = m_header.accessLevel;
    if (level >= static_cast<int>(AccessLevel::SameUser) && m_identity.user != m_header.creatorUser)
        return false;
    if (level == static_cast<int>(AccessLevel::SameUserAndComputer) &&
        m_identity.computer != m_header.creatorComputer)
        return false;
    return true;
}

std::string CKSTDoc::StoreToBytes() {
    CArchive archive = CArchive::ForStoring();
    StoreProjectHeader(archive, m_header);
    StoreHierarchyBody(archive, m_tree);
    return archive.TakeBuffer();
}

bool CKSTDoc::WriteFile(const fs::path& path) {
    const std::string bytes = StoreToBytes();
    if (const Outcome written = ReplaceFileSafely(path, bytes); !written) {
        ShowFileMessage(kMsgCannotSave + path.string() + ".\n" + written.Reason(), true);
        return false;
    }
    m_projectStamp = StampOf(path, bytes);
    WriteSourceStamps(path, m_projectStamp ? m_projectStamp->hash : ContentHash(bytes));
    SetModifiedFlag(false);
    return true;
}

// No stamps file while there is nothing to stamp; one that could not be written is removed, so that no stale
// one pairs with the project (it would not anyway: it names the project file's content it belongs to).
void CKSTDoc::WriteSourceStamps(const fs::path& path, std::uint64_t projectHash) {
    const fs::path stamps = StampsFilePath(path);
    if (m_sourceStamps.Empty() ||
        !ReplaceFileSafely(stamps, m_sourceStamps.Store(path.parent_path(), projectHash))) {
        if (FileExists(stamps))
            (void)DeleteFileAt(stamps);
    }
}

ProjectFileOnDisk CKSTDoc::CheckProjectFileOnDisk() const {
    const fs::path path(m_pathName);
    if (m_pathName.empty() || !FileExists(path))
        return ProjectFileOnDisk::Missing;
    // The same time and size: unchanged, without reading the file again.
    const std::optional<FileAttributes> attributes = ReadFileAttributes(path);
    if (attributes && m_projectStamp && attributes->modified == m_projectStamp->modified &&
        attributes->size == m_projectStamp->size)
        return ProjectFileOnDisk::AsLastSeen;
    const Result<std::string> bytes = ReadWholeFile(path);
    const std::optional<FileStamp> now = bytes ? StampOf(path, *bytes) : std::nullopt;
    if (!now || !m_projectStamp || !SameContent(*m_projectStamp, *now))
        return ProjectFileOnDisk::Changed;
    return ProjectFileOnDisk::AsLastSeen;
}

bool CKSTDoc::MayOverwriteProjectFile() {
    if (CheckProjectFileOnDisk() != ProjectFileOnDisk::Changed)
        return true;
    const StaleProjectChoice choice = m_staleHandler ? m_staleHandler() : StaleProjectChoice::Cancel;
    if (choice == StaleProjectChoice::OverwriteWithMine)
        return true;
    m_reloadWished = choice == StaleProjectChoice::ReloadTheirs;
    if (!m_staleHandler)
        ShowFileMessage(kMsgCannotSave + m_pathName + ".\nIt" + kMsgProjectChangedOnDisk +
                            " Nothing was written, so that nothing of theirs is lost.",
                        true);
    return false;
}

bool CKSTDoc::OnSaveDocument(const std::string& path) {
    if (path.empty())
        return false;
    if (m_commitEditors)
        m_commitEditors();
    const fs::path oldPath(m_pathName);
    const fs::path newPath = AbsolutePath(fs::path(NormalizeSeparators(path)));
    if ((newPath == oldPath && !MayOverwriteProjectFile()) || !WriteFile(newPath))
        return false;
    // The saved file holds every change: a recovery copy would only offer them again.
    RemoveRecoveryCopy(newPath);
    if (!oldPath.empty() && newPath != oldPath)
        RemoveRecoveryCopy(oldPath);
    m_pathName = newPath.string();
    if (newPath == oldPath)
        return true;
    // The project is saved under its new name whatever happens to the module files: a folder
    // or file that could not be copied is reported, and the old module folder is still there.
    if (!MoveProjectFolder(m_projectFolder, newPath.parent_path()))
        m_prompts.ShowMessage(kDefaultPromptTitle,
                              "The project was saved as " + m_pathName +
                                  ", but not all of its module files could be copied. See the log.",
                              PromptIcon::Warning);
    return true;
}

bool CKSTDoc::SaveModified() {
    if (!m_loaded || DoFileSave() || TakeReloadWish())
        return true;
    return m_prompts.AskYesNo(kDefaultPromptTitle, kMsgCloseUnsaved, PromptIcon::Warning, false);
}

bool CKSTDoc::MoveProjectFolder(const fs::path& oldFolder, const fs::path& newFolder) {
    CHierarchyItem* root = m_tree.GetRootItem();
    if (root == nullptr) {
        m_projectFolder = newFolder;
        return true;
    }
    const std::string rootText = root->Text();
    const fs::path oldModules = oldFolder / rootText;
    fs::path newModules = newFolder / rootText;
    std::string error;
    if (SameFolder(newFolder, oldFolder)) {
        // The same folder cannot hold two projects' modules under one name: find a free
        // name with a letter appended and move the root (the module folder's name) there.
        std::string newRootText;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const std::string candidate = rootText + letter;
            bool exists = false;
            const Outcome created = CreateFolder(newFolder / candidate, &exists);
            if (created) {
                newRootText = candidate;
                break;
            }
            error = created.Reason();
            if (!exists)
                break;
        }
        if (newRootText.empty()) {
            m_log.AppendWarning(WithReason("Cannot create the module folder for " + rootText + ".", error));
            m_projectFolder = newFolder;
            return false;
        }
        m_tree.SetItemText(root, newRootText);
        m_tree.SetModuleFolder(newRootText + "/");
        newModules = newFolder / newRootText;
        // The file just written still names the old root; write it again so that it never
        // points at the other project's module folder.
        if (!WriteFile(m_pathName)) {
            m_projectFolder = newFolder;
            return false;
        }
    } else if (const Outcome created = CreateFolders(newModules); !created) {
        m_log.AppendWarning(
            WithReason("Cannot create the module folder " + newModules.string() + ".", created.Reason()));
        m_projectFolder = newFolder;
        return false;
    }
    m_projectFolder = newFolder;

    bool copied = true;
    for (const std::string& name : ListFiles(oldModules)) {
        if (name.empty() || name.front() == '.' || EndsWithNoCase(name, ".BAK"))
            continue;
        if (const Outcome copy = CopyFileTo(oldModules / name, newModules / name, true); !copy) {
            m_log.AppendWarning("Cannot copy " + name + ": " + copy.Reason());
            copied = false;
        }
    }
    return copied;
}

std::string CKSTDoc::GetTitle() const {
    return FileNameOfPath(m_pathName);
}

fs::path CKSTDoc::GetModuleFolderPath() const {
    return kestra::ResolvePath(m_projectFolder, m_tree.GetModuleFolder());
}

fs::path CKSTDoc::GetModuleFilePath(const CHierarchyItem& item) const {
    const CKSTObject* object = item.Object();
    const std::string fileName = object != nullptr ? object->GetEntryValue(0) : std::string();
    if (fileName.empty())
        return {};
    return kestra::ResolvePath(GetModuleFolderPath(), fileName);
}

fs::path CKSTDoc::ModuleSourcePath(const CHierarchyItem& item) const {
    fs::path path = GetModuleFilePath(item);
    if (path.empty())
        path = GetModuleFolderPath() / (item.Text() + ".vhd");
    return path;
}

std::vector<fs::path> CKSTDoc::ModuleArchitectureFiles(const CHierarchyItem& item) const {
    std::vector<fs::path> files;
    const CKSTObject* object = item.Object();
    if (object == nullptr || object->GetEntryCount() == 0 || item.Kind() != HierarchyKind::Normal)
        return files;
    for (const std::string& file : object->GetChoiceList(0))
        files.push_back(kestra::ResolvePath(GetModuleFolderPath(), file));
    return files;
}

std::string CKSTDoc::ModuleLibrary(const CHierarchyItem& item) const {
    const CKSTObject* object = item.Object();
    return LibraryOfModuleFile(object != nullptr ? object->GetEntryValue(0) : std::string());
}

fs::path CKSTDoc::ResolvePath(std::string_view text) const {
    return kestra::ResolvePath(m_projectFolder, text);
}

ProjectProperties CKSTDoc::GetProperties() const {
    return ProjectProperties{m_header.creatorUser, m_header.creatorComputer,
                             static_cast<AccessLevel>(m_header.accessLevel)};
}

bool CKSTDoc::SetAccessLevel(AccessLevel level) {
    const int code = static_cast<int>(level);
    if (code < static_cast<int>(AccessLevel::Any) ||
        code > static_cast<int>(AccessLevel::SameUserAndComputer))
        return false;
    if (m_header.accessLevel != code)
        SetModifiedFlag(true);
    m_header.accessLevel = static_cast<std::uint8_t>(code);
    return true;
}

void CKSTDoc::ShowFileMessage(const std::string& text, bool stopIcon) {
    m_prompts.ShowMessage(kDefaultPromptTitle, text, stopIcon ? PromptIcon::Error : PromptIcon::Warning);
}

} // namespace kestra
