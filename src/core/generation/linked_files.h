#pragma once

#include <filesystem>

namespace kestra {

class CKSTObject;

enum class LinkTransfer { Move = 0, Copy = 1, Delete = 2 };

// Moves, copies (overwriting) or deletes the file named by each Link parameter of the object,
// in entry order. Link values come from sources that others may have written: only plain
// file names are acted on, so no file outside the two folders is touched. Failures of single files are not reported and do not stop the loop; a move
// whose source is missing leaves the target alone.
void TransferLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                         const std::filesystem::path& toFolder, LinkTransfer mode);

inline void CopyLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                            const std::filesystem::path& toFolder) {
    TransferLinkedFiles(object, fromFolder, toFolder, LinkTransfer::Copy);
}

} // namespace kestra
