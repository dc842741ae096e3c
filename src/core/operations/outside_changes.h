#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;

// What the files of an open project look like on disk (last-write time and size of the project
// file and of every module source), so that a later look can tell which of them another
// program changed. Only the files' attributes are read, never their content, except for a
// file whose attributes moved: its content is compared with the project's stamps, so that the
// tool's own writes are not taken for someone else's.
class CDiskBaseline {
public:
    struct Changes {
        std::vector<CHierarchyItem*> changedSources; // every item of each changed source
        std::vector<CHierarchyItem*> removedSources; // every item of each source that is gone
        bool projectFile = false;                    // the project file changed or went
        bool Any() const { return projectFile || !changedSources.empty() || !removedSources.empty(); }
    };

    // The files as they are now, taken as seen.
    void Take(const CKSTDoc& doc);
    // What changed since the last Take or Look; the files as they are now become the baseline.
    [[nodiscard]] Changes Look(CKSTDoc& doc);
    // The folders that hold the project file and the sources, as the last Take or Look found.
    const std::vector<std::filesystem::path>& Folders() const { return m_folders; }

private:
    struct Seen {
        std::uint64_t modified = 0;
        std::uint64_t size = 0;
        bool exists = false;
        bool operator==(const Seen&) const = default;
    };
    static Seen SeenNow(const std::filesystem::path& path);
    bool SourceChanged(CKSTDoc& doc, const std::filesystem::path& path, const Seen& now) const;

    std::map<std::string, Seen> m_seen;
    std::vector<std::filesystem::path> m_folders;
};

// The module items of the project that have a source file, in pre-order, with their paths.
std::vector<std::pair<CHierarchyItem*, std::filesystem::path>> SourceItems(const CKSTDoc& doc);

} // namespace kestra
