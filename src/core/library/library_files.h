#pragma once

#include "system/outcome.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CKSTObject;
class CUserPrompts;

// File operations on the library folders, each reporting a failure through its result with
// the system's error text. Companion files (the files a module's Link parameters name) follow
// their module; their names come from module sources that anyone may have written, so only
// plain names inside the given folders are ever touched.

inline constexpr const char* kModuleExtension = ".vhd";
inline constexpr const char* kBackupExtension = ".bak";

// A name that stays inside a folder: not empty, not "." or "..", no '/', '\' or NUL.
// Companion names failing this are skipped everywhere.
bool IsPlainFileName(std::string_view name);

// The values of the object's Link parameters, in entry order.
std::vector<std::string> CompanionNames(const CKSTObject& object);

// A file name ending in ".vhd" with at least one character before it.
bool IsModuleFileName(std::string_view fileName);
// The file name up to its last '.'.
std::string ModuleNameOfFile(std::string_view fileName);
std::filesystem::path ModuleFilePath(const std::filesystem::path& folder, std::string_view moduleName);

enum class TransferMode { Move = 0, Copy = 1, Delete = 2 };

// Moves (replacing a file of the same name in toFolder), copies (overwriting) or deletes
// (from fromFolder; toFolder unused) each named file. Names that are not plain, missing files
// and single failures are passed over; moving or copying within one folder does nothing.
// Returns how many files were transferred.
int TransferCompanionFiles(const std::vector<std::string>& names, const std::filesystem::path& fromFolder,
                           const std::filesystem::path& toFolder, TransferMode mode);

// Creates the folder `name` inside parentFolder; the name must be plain.
Outcome CreateLibraryFolder(const std::filesystem::path& parentFolder, std::string_view name);
// Removes a folder only when it is empty.
Outcome RemoveLibraryFolder(const std::filesystem::path& folder);

// Renames the module's file to the same name ending in ".bak" (replacing an older one), then
// deletes its companion files (never the new backup) from its folder. Nothing else is touched
// when the rename fails.
Outcome RemoveLibraryModule(const std::filesystem::path& moduleFile,
                            const std::vector<std::string>& companions);

// Moves the module's file into toFolder under its own name, failing when a file of that name is
// there already; the companion files follow. Moving into the module's own folder does nothing.
Outcome MoveLibraryModule(const std::filesystem::path& moduleFile, const std::filesystem::path& toFolder,
                          const std::vector<std::string>& companions);

enum class StoreResult { Stored, Declined };

// The question asked before a stored module replaces a file of the same name.
std::string OverwriteQuestion(std::string_view fileName);
inline constexpr const char* kOverwriteTitle = "Overwrite";

// Moves sourceFile (a module file, usually in the temporary folder) into toFolder under its own
// name. When that name is taken the user is asked whether to replace it: No gives Declined and
// leaves both files as they were. On success the companion files move along from the source's
// folder. A failure gives the reason.
Result<StoreResult> StoreLibraryModule(const std::filesystem::path& sourceFile,
                                       const std::filesystem::path& toFolder,
                                       const std::vector<std::string>& companions, CUserPrompts& prompts);

} // namespace kestra
