#include "library/library_org.h"

#include "library/library_tree.h"
#include "model/archive.h"
#include "system/file_system.h"

namespace kestra {

namespace {

void WritePath(CArchive& archive, const std::vector<std::string>& path) {
    for (const std::string& name : path)
        archive.WriteString(name);
    archive.WriteString({});
}

bool ReadPath(CArchive& archive, std::vector<std::string>& path) {
    path.clear();
    std::string name;
    while (archive.ReadString(name)) {
        if (name.empty())
            return true;
        path.push_back(std::move(name));
    }
    return false;
}

} // namespace

std::string StoreLibraryOrg(const LibraryOrg& org) {
    CArchive archive = CArchive::ForStoring();
    for (const std::vector<std::string>& path : org.expanded) {
        // The empty path ends the list, so the root's own state cannot be kept.
        if (path.empty())
            continue;
        WritePath(archive, path);
        archive.WriteInt32(kExpandedState);
    }
    WritePath(archive, {});
    WritePath(archive, org.selection);
    WritePath(archive, org.topItem);
    return archive.TakeBuffer();
}

std::optional<LibraryOrg> LoadLibraryOrg(std::string_view bytes) {
    CArchive archive = CArchive::ForLoading(bytes);
    LibraryOrg org;
    std::vector<std::string> path;
    for (;;) {
        if (!ReadPath(archive, path))
            return std::nullopt;
        if (path.empty())
            break;
        std::int32_t state = 0;
        if (!archive.ReadInt32(state))
            return std::nullopt;
        if ((state & kExpandedState) != 0)
            org.expanded.push_back(std::move(path));
    }
    if (!ReadPath(archive, org.selection) || !ReadPath(archive, org.topItem))
        return std::nullopt;
    return org;
}

LibraryOrg CaptureLibraryOrg(const CLibraryTree& tree) {
    LibraryOrg org;
    for (const CLibraryItem* item = tree.NextItem(tree.Root()); item != nullptr; item = tree.NextItem(item))
        if (item->IsFolder() && item->IsExpanded())
            org.expanded.push_back(CLibraryTree::ItemPath(item));
    org.selection = CLibraryTree::ItemPath(tree.Selected());
    org.topItem = CLibraryTree::ItemPath(tree.TopItem());
    return org;
}

void ApplyLibraryOrg(CLibraryTree& tree, const LibraryOrg& org) {
    for (const std::vector<std::string>& path : org.expanded) {
        CLibraryItem* item = tree.FindItem(path);
        if (item != nullptr && !path.empty())
            tree.SetExpanded(item, true);
    }
    if (CLibraryItem* item = tree.FindItem(org.selection))
        tree.Select(item);
    if (CLibraryItem* item = tree.FindItem(org.topItem))
        tree.SetTopItem(item);
}

bool ReadLibraryOrgFile(CLibraryTree& tree) {
    const Result<std::string> bytes = ReadWholeFile(tree.RootFolder() / kLibraryOrgFileName);
    if (!bytes || bytes->empty())
        return false;
    const std::optional<LibraryOrg> org = LoadLibraryOrg(*bytes);
    if (!org)
        return false;
    ApplyLibraryOrg(tree, *org);
    return true;
}

Outcome WriteLibraryOrgFile(const CLibraryTree& tree) {
    return ReplaceFileSafely(tree.RootFolder() / kLibraryOrgFileName,
                             StoreLibraryOrg(CaptureLibraryOrg(tree)));
}

} // namespace kestra
