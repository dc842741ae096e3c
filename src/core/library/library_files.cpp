#include "library/library_files.h"

#include "model/design_object.h"
#include "system/file_system.h"
#include "system/path_text.h"
#include "system/user_prompts.h"

#include <system_error>

namespace kestra {

namespace fs = std::filesystem;

namespace {

std::string ReasonOf(std::errc code) {
    return std::make_error_code(code).message();
}

Outcome Failure(std::errc code) {
    return Outcome::Failed(ReasonOf(code));
}

} // namespace

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::vector<std::string> CompanionNames(const CKSTObject& object) {
    std::vector<std::string> names;
    for (int i = 0; i < object.GetEntryCount(); ++i)
        if (object.GetEntryKind(i) == EntryKind::Link)
            names.push_back(object.GetEntryValue(i));
    return names;
}

bool IsModuleFileName(std::string_view fileName) {
    const std::string_view extension(kModuleExtension);
    return fileName.size() > extension.size() &&
           fileName.substr(fileName.size() - extension.size()) == extension;
}

std::string ModuleNameOfFile(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.rfind('.')));
}

fs::path ModuleFilePath(const fs::path& folder, std::string_view moduleName) {
    return folder / (std::string(moduleName) + kModuleExtension);
}

int TransferCompanionFiles(const std::vector<std::string>& names, const fs::path& fromFolder,
                           const fs::path& toFolder, TransferMode mode) {
    if (mode != TransferMode::Delete && SameFolder(fromFolder, toFolder))
        return 0;
    int transferred = 0;
    for (const std::string& name : names) {
        if (!IsPlainFileName(name))
            continue;
        const fs::path from = fromFolder / name;
        // A folder is never a companion file, whatever a Link value says.
        if (FolderExists(from))
            continue;
        bool done = false;
        switch (mode) {
        case TransferMode::Move:
            // A missing source must not cost the destination its file.
            done =
                FileExists(from) && !FolderExists(toFolder / name) && MoveFileTo(from, toFolder / name, true);
            break;
        case TransferMode::Copy:
            done = !FolderExists(toFolder / name) && CopyFileTo(from, toFolder / name, true);
            break;
        case TransferMode::Delete:
            done = static_cast<bool>(DeleteFileAt(from));
            break;
        }
        if (done)
            ++transferred;
    }
    return transferred;
}

Outcome CreateLibraryFolder(const fs::path& parentFolder, std::string_view name) {
    if (!IsPlainFileName(name))
        return Failure(std::errc::invalid_argument);
    return CreateFolder(parentFolder / name);
}

Outcome RemoveLibraryFolder(const fs::path& folder) {
    return RemoveEmptyFolder(folder);
}

Outcome RemoveLibraryModule(const fs::path& moduleFile, const std::vector<std::string>& companions) {
    const std::string fileName = moduleFile.filename().string();
    if (!IsModuleFileName(fileName))
        return Failure(std::errc::invalid_argument);
    fs::path backup = moduleFile;
    backup.replace_extension(kBackupExtension);
    // Renaming over the older backup keeps it when the rename fails.
    if (Outcome moved = MoveFileTo(moduleFile, backup, true); !moved)
        return moved;
    // The backup just made is what removal promises to keep, whatever a Link value says.
    std::vector<std::string> doomed;
    for (const std::string& name : companions)
        if (name != backup.filename().string())
            doomed.push_back(name);
    TransferCompanionFiles(doomed, moduleFile.parent_path(), moduleFile.parent_path(), TransferMode::Delete);
    return Outcome::Ok();
}

Outcome MoveLibraryModule(const fs::path& moduleFile, const fs::path& toFolder,
                          const std::vector<std::string>& companions) {
    const fs::path fromFolder = moduleFile.parent_path();
    if (SameFolder(fromFolder, toFolder))
        return Outcome::Ok();
    if (!FolderExists(toFolder))
        return Failure(std::errc::no_such_file_or_directory);
    if (Outcome moved = MoveFileTo(moduleFile, toFolder / moduleFile.filename(), false); !moved)
        return moved;
    TransferCompanionFiles(companions, fromFolder, toFolder, TransferMode::Move);
    return Outcome::Ok();
}

std::string OverwriteQuestion(std::string_view fileName) {
    return std::string(fileName) + " already exists.\nDo you want to replace it?";
}

Result<StoreResult> StoreLibraryModule(const fs::path& sourceFile, const fs::path& toFolder,
                                       const std::vector<std::string>& companions, CUserPrompts& prompts) {
    const std::string fileName = sourceFile.filename().string();
    if (!IsModuleFileName(fileName))
        return Result<StoreResult>::Failed(ReasonOf(std::errc::invalid_argument));
    if (!FolderExists(toFolder))
        return Result<StoreResult>::Failed(ReasonOf(std::errc::no_such_file_or_directory));
    const fs::path target = toFolder / fileName;
    bool replace = false;
    if (FileExists(target) || FolderExists(target)) {
        if (!prompts.AskYesNo(kOverwriteTitle, OverwriteQuestion(fileName), PromptIcon::Question))
            return StoreResult::Declined;
        replace = true;
    }
    // Renaming over the old file keeps it when the move fails.
    if (Outcome moved = MoveFileTo(sourceFile, target, replace); !moved)
        return Result<StoreResult>::Failed(moved.Reason());
    TransferCompanionFiles(companions, sourceFile.parent_path(), toFolder, TransferMode::Move);
    return StoreResult::Stored;
}

} // namespace kestra
