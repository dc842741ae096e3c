#include "operations/edited_source.h"

#include "operations/outside_changes.h"
#include "operations/source_stamp.h"
#include "project/kst_doc.h"
#include "system/file_system.h"

namespace kestra {

namespace fs = std::filesystem;

LineEnds LineEndsOf(std::string_view text) {
    const std::size_t end = text.find('\n');
    return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? LineEnds::CrLf : LineEnds::Lf;
}

Result<EditableSource> ReadSourceForEditing(const fs::path& path) {
    Result<std::string> read = ReadWholeFile(path);
    if (!read)
        return Result<EditableSource>::Failed(read.Reason());
    EditableSource source;
    source.text = std::move(*read);
    source.lineEnds = LineEndsOf(source.text);
    source.readOnly = source.text.find('\0') != std::string::npos;
    return source;
}

Outcome WriteEditedSource(CKSTDoc* doc, const fs::path& path, std::string_view text) {
    Outcome written = ReplaceFileSafely(path, text);
    if (written && doc != nullptr && !ModulesOfSource(*doc, path).empty())
        RememberSource(*doc, path, text);
    return written;
}

std::vector<CHierarchyItem*> ModulesOfSource(const CKSTDoc& doc, const fs::path& path) {
    const fs::path wanted = path.lexically_normal();
    std::vector<CHierarchyItem*> modules;
    for (const auto& [item, source] : SourceItems(doc)) {
        bool matches = source.lexically_normal() == wanted;
        for (const fs::path& architecture : doc.ModuleArchitectureFiles(*item))
            matches = matches || architecture.lexically_normal() == wanted;
        if (matches)
            modules.push_back(item);
    }
    return modules;
}

} // namespace kestra
