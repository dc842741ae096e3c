#include "generation/linked_files.h"

#include "model/design_object.h"
#include "system/file_system.h"

namespace kestra {

namespace {

// A bare name inside the folder: not empty, not "." or "..", no separator.
bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

void TransferLinkedFiles(const CKSTObject& object, const std::filesystem::path& fromFolder,
                         const std::filesystem::path& toFolder, LinkTransfer mode) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) != kKindLink)
            continue;
        const std::string value = object.GetEntryValue(i);
        if (!IsBareName(value))
            continue;
        const std::filesystem::path from = fromFolder / value;
        switch (mode) {
        case LinkTransfer::Move:
            if (FileExists(from))
                MoveFileTo(from, toFolder / value, true);
            break;
        case LinkTransfer::Copy:
            if (FileExists(from))
                CopyFileTo(from, toFolder / value, true);
            break;
        case LinkTransfer::Delete:
            DeleteFileAt(from);
            break;
        }
    }
}

} // namespace kestra
