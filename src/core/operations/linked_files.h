#pragma once

#include "library/library_files.h"

#include <filesystem>

namespace kestra {

class CKSTObject;

// Moves, copies (overwriting) or deletes the file named by each Link parameter of the object,
// in entry order. Link values come from sources that others may have written: only plain file
// names are acted on, so no file outside the two folders is touched. Failures of single files
// are not reported and do not stop the loop.
void TransferLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                         const std::filesystem::path& toFolder, TransferMode mode);

inline void CopyLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                            const std::filesystem::path& toFolder) {
    TransferLinkedFiles(object, fromFolder, toFolder, TransferMode::Copy);
}

} // namespace kestra
