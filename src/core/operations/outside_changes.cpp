#include "operations/outside_changes.h"

#include "operations/source_stamp.h"
#include "project/kst_doc.h"
#include "system/file_system.h"
#include "system/path_text.h"

#include <set>

namespace kestra {

namespace fs = std::filesystem;

std::vector<std::pair<CHierarchyItem*, fs::path>> SourceItems(const CKSTDoc& doc) {
    std::vector<std::pair<CHierarchyItem*, fs::path>> items;
    const CHierarchyTree& tree = doc.Tree();
    const fs::path folder = doc.GetModuleFolderPath();
    for (CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        if (item->Kind() == HierarchyKind::Root || item->Object() == nullptr ||
            item->Text() == kNewObjectText)
            continue;
        const std::string fileName = item->Object()->GetEntryValue(0);
        if (!fileName.empty())
            items.emplace_back(item, ResolvePath(folder, fileName)); // as doc.GetModuleFilePath does
    }
    return items;
}

CDiskBaseline::Seen CDiskBaseline::SeenNow(const fs::path& path) {
    const std::optional<FileAttributes> attributes = ReadFileAttributes(path);
    if (!attributes)
        return {};
    return {attributes->modified, attributes->size, true};
}

void CDiskBaseline::Take(const CKSTDoc& doc) {
    m_seen.clear();
    std::set<fs::path> folders;
    if (!doc.GetPathName().empty()) {
        m_seen[doc.GetPathName()] = SeenNow(doc.GetPathName());
        folders.insert(fs::path(doc.GetPathName()).parent_path());
    }
    for (const auto& [item, path] : SourceItems(doc)) {
        if (m_seen.try_emplace(path.string(), SeenNow(path)).second)
            folders.insert(path.parent_path());
    }
    m_folders.assign(folders.begin(), folders.end());
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
    std::set<fs::path> folders{fs::path(doc.GetPathName()).parent_path()};
    for (const auto& [item, path] : SourceItems(doc)) {
        const Seen now = SeenNow(path);
        auto [verdict, fresh] = verdicts.try_emplace(path.string(), false);
        if (fresh) {
            folders.insert(path.parent_path());
            const auto before = m_seen.find(path.string());
            const bool existed = before != m_seen.end() && before->second.exists;
            verdict->second = now.exists ? SourceChanged(doc, path, now) : existed;
            seen[path.string()] = now;
        }
        if (verdict->second)
            (now.exists ? changes.changedSources : changes.removedSources).push_back(item);
    }
    m_seen = std::move(seen);
    m_folders.assign(folders.begin(), folders.end());
    return changes;
}

} // namespace kestra
