#include "operations/outside_changes.h"

#include "operations/source_stamp.h"
#include "project/kst_doc.h"
#include "system/file_system.h"

#include <set>

namespace kestra {

namespace fs = std::filesystem;

std::vector<std::pair<CHierarchyItem*, fs::path>> SourceItems(const CKSTDoc& doc) {
    std::vector<std::pair<CHierarchyItem*, fs::path>> items;
    const CHierarchyTree& tree = doc.Tree();
    for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->Kind() == HierarchyKind::Root || item->Object() == nullptr ||
            item->Text() == kNewObjectText)
            continue;
        fs::path path = doc.GetModuleFilePath(*item);
        if (!path.empty())
            items.emplace_back(item, std::move(path));
    }
    return items;
}

CDiskBaseline::Seen CDiskBaseline::SeenNow(const fs::path& path) {
    const std::optional<std::uint64_t> modified = GetLastWriteTime(path);
    const std::optional<std::uint64_t> size = modified ? FileSize(path) : std::nullopt;
    if (!modified || !size)
        return {};
    return {*modified, *size, true};
}

void CDiskBaseline::Take(const CKSTDoc& doc) {
    m_seen.clear();
    if (!doc.GetPathName().empty())
        m_seen[doc.GetPathName()] = SeenNow(doc.GetPathName());
    for (const auto& [item, path] : SourceItems(doc))
        m_seen.try_emplace(path.string(), SeenNow(path));
}

// A source whose attributes moved: changed unless its bytes are what the tool last read or
// wrote (its own write, or a touch).
bool CDiskBaseline::SourceChanged(CKSTDoc& doc, const fs::path& path, const Seen& now) const {
    const auto before = m_seen.find(path.string());
    if (before != m_seen.end() && before->second == now)
        return false;
    const Result<std::string> text = ReadWholeFile(path);
    if (!text)
        return true;
    const FileStamp* stamp = doc.SourceStamps().Find(path);
    return stamp == nullptr ||
           !SameContent(*stamp, FileStamp{now.modified, text->size(), ContentHash(*text)});
}

CDiskBaseline::Changes CDiskBaseline::Look(CKSTDoc& doc) {
    Changes changes;
    std::map<std::string, Seen> seen;
    if (!doc.GetPathName().empty()) {
        const Seen project = SeenNow(doc.GetPathName());
        const auto before = m_seen.find(doc.GetPathName());
        changes.projectFile = (before == m_seen.end() || !(before->second == project)) &&
                              doc.CheckProjectFileOnDisk() != ProjectFileOnDisk::AsLastSeen;
        seen[doc.GetPathName()] = project;
    }
    std::map<std::string, bool> verdicts; // one look at each file, whatever number of items it has
    for (const auto& [item, path] : SourceItems(doc)) {
        const Seen now = SeenNow(path);
        auto [verdict, fresh] = verdicts.try_emplace(path.string(), false);
        if (fresh) {
            const auto before = m_seen.find(path.string());
            const bool existed = before != m_seen.end() && before->second.exists;
            verdict->second = now.exists ? SourceChanged(doc, path, now) : existed;
            seen[path.string()] = now;
        }
        if (verdict->second)
            (now.exists ? changes.changedSources : changes.removedSources).push_back(item);
    }
    m_seen = std::move(seen);
    return changes;
}

std::vector<fs::path> CDiskBaseline::Folders(const CKSTDoc& doc) {
    std::set<fs::path> folders;
    if (!doc.GetPathName().empty())
        folders.insert(fs::path(doc.GetPathName()).parent_path());
    for (const auto& [item, path] : SourceItems(doc))
        folders.insert(path.parent_path());
    return {folders.begin(), folders.end()};
}

std::vector<fs::path> CDiskBaseline::Files(const CKSTDoc& doc) {
    std::set<fs::path> files;
    if (!doc.GetPathName().empty())
        files.insert(doc.GetPathName());
    for (const auto& [item, path] : SourceItems(doc))
        files.insert(path);
    return {files.begin(), files.end()};
}

} // namespace kestra
