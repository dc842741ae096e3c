#include "operations/linked_files.h"

namespace kestra {

void TransferLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                         const std::filesystem::path& toFolder, TransferMode mode) {
    TransferCompanionFiles(CompanionNames(object), fromFolder, toFolder, mode);
}

} // namespace kestra
