#include "project/example_project.h"

#include "project/project_lock.h"
#include "project/recovery_copy.h"
#include "system/file_system.h"

#include <string>

namespace kestra {

namespace fs = std::filesystem;

namespace {

constexpr int kMostCopies = 99;

// The first free name of the folder in the parent, made there.
Result<fs::path> NewFolderFor(const fs::path& parent, const std::string& name) {
    for (int number = 1; number <= kMostCopies; ++number) {
        const fs::path folder = parent / (number == 1 ? name : name + "-" + std::to_string(number));
        bool exists = false;
        const Outcome made = CreateFolder(folder, &exists);
        if (made)
            return folder;
        if (!exists)
            return Result<fs::path>::Failed(
                WithReason("Cannot create " + folder.string() + ".", made.Reason()));
    }
    return Result<fs::path>::Failed("Every name from " + name + " to " + name + "-" +
                                    std::to_string(kMostCopies) + " is taken in " + parent.string() + ".");
}

Outcome CopyTree(const fs::path& from, const fs::path& to, const fs::path& project) {
    for (const std::string& name : ListFiles(from)) {
        const fs::path file = from / name;
        if (file == LockFilePath(project) || file == RecoveryCopyPath(project))
            continue;
        if (const Outcome copied = CopyFileTo(file, to / name, false); !copied)
            return Outcome::Failed(WithReason("Cannot copy " + file.string() + ".", copied.Reason()));
    }
    for (const std::string& name : ListFolders(from)) {
        if (const Outcome made = CreateFolder(to / name); !made)
            return Outcome::Failed(WithReason("Cannot create " + (to / name).string() + ".", made.Reason()));
        if (Outcome copied = CopyTree(from / name, to / name, project); !copied)
            return copied;
    }
    return Outcome::Ok();
}

} // namespace

Result<fs::path> CopyExampleProject(const fs::path& example, const fs::path& parent) {
    if (!FileExists(example))
        return Result<fs::path>::Failed("The example project " + example.string() + " is not installed.");
    const fs::path source = example.parent_path();
    Result<fs::path> folder = NewFolderFor(parent, source.filename().string());
    if (!folder)
        return folder;
    if (const Outcome copied = CopyTree(source, *folder, example); !copied)
        return Result<fs::path>::Failed(copied.Reason());
    return *folder / example.filename();
}

} // namespace kestra
