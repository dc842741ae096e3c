#pragma once

#include "system/outcome.h"

#include <filesystem>

namespace kestra {

class CKSTDoc;

// A project's unsaved changes, kept beside its file while a window works on it, so that they
// survive a crash: "Blinker.kst.recovery" for "Blinker.kst". Saving the project removes it.
std::filesystem::path RecoveryCopyPath(const std::filesystem::path& project);

// Writes the open project's records as they are now into its recovery copy; the document
// stays as it was (modified, under its own path).
[[nodiscard]] Outcome WriteRecoveryCopy(CKSTDoc& doc);

// There is a recovery copy newer than the project file (or the project file is gone).
bool HasRecoveryCopy(const std::filesystem::path& project);

// Takes the records of the recovery copy into the document open at the project's path, keeping
// that path and marking the project modified. Run it between opening and the first update
// (OnFirstUpdate). False, with the document as it was, when the copy cannot be read or loaded.
[[nodiscard]] bool RestoreRecoveryCopy(CKSTDoc& doc);

void RemoveRecoveryCopy(const std::filesystem::path& project);

} // namespace kestra
