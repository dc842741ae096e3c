#include "operations/source_update.h"

#include "analysis/source_form.h"
#include "generation/component_defaults_edit.h"
#include "generation/entity_header.h"
#include "model/design_object.h"
#include "operations/analyze_module.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"

namespace kestra {

namespace {

std::optional<std::string> ReadSourceForRewrite(CMessageLog& log, const std::filesystem::path& path) {
    if (!FileExists(path)) {
        log.AppendError("Cannot open source file (" + path.string() + "). Failed to modify file.");
        return std::nullopt;
    }
    Result<std::string> text = ReadWholeFile(path);
    if (!text) {
        log.AppendError(WithReason("Cannot read source file (" + path.string() + "). Failed to modify file.",
                                   text.Reason()));
        return std::nullopt;
    }
    return std::move(*text);
}

bool WriteRewrittenSource(CMessageLog& log, const std::filesystem::path& path, const std::string& text) {
    const Outcome written = ReplaceFileSafely(path, text);
    if (written)
        return true;
    log.AppendError(WithReason("Cannot write source file (" + path.string() + "). Failed to modify file.",
                               written.Reason()));
    return false;
}

// A parent the tool did not write keeps its component declarations as written; the defaults of
// the child's generics there follow the child's values, which generation reads from them. (The
// tool's own sources get whole new declarations when the parent is next analysed.)
void UpdateParentComponentDefaults(CKSTDoc& doc, const CHierarchyItem& item, const std::string& name,
                                   const CKSTObject& object) {
    const CHierarchyItem* parent = item.Parent();
    if (parent == nullptr || parent->Kind() == HierarchyKind::Root || parent->Object() == nullptr)
        return;
    const std::filesystem::path path = doc.GetModuleFilePath(*parent);
    if (path.empty() || !FileExists(path))
        return;
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text || IsToolFormSource(*text, parent->Text()))
        return;
    const std::string edited = EditComponentDefaults(*text, name, object);
    if (edited != *text)
        WriteRewrittenSource(doc.Log(), path, edited);
}

} // namespace

bool RewriteSourceFromParameters(CKSTDoc& doc, CHierarchyItem* item) {
    CKSTObject* object = item->Object();
    const EntryKind kind = object != nullptr ? object->GetEntryKind(0) : EntryKind::None;
    if (kind != EntryKind::Vhdl && kind != EntryKind::Component && kind != EntryKind::Predefined)
        return false;
    std::string name = object->GetEntryName(0);
    if (name.starts_with("* "))
        name.erase(0, 2);
    const std::filesystem::path path = doc.GetModuleFolderPath() / (name + ".vhd");
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return false;
    const std::string rewritten = RewriteEntityHeader(*text, name, *object);
    if (rewritten != *text && !WriteRewrittenSource(doc.Log(), path, rewritten))
        return false;
    if (const auto time = GetLastWriteTime(path))
        object->SetAnalysedTime(static_cast<std::uint32_t>(*time & 0xFFFFFFFFu),
                                static_cast<std::uint32_t>(*time >> 32));
    MarkParentNeedsAnalysis(doc, item);
    doc.SetModifiedFlag();
    UpdateParentComponentDefaults(doc, *item, name, *object);
    return true;
}

bool UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context) {
    const HierarchyKind kind = item->Kind();
    CVHDLSignal* signals = item->Signals();
    if ((kind != HierarchyKind::Normal && kind != HierarchyKind::Library &&
         kind != HierarchyKind::Predefined) ||
        signals == nullptr)
        return false;
    const std::filesystem::path path = doc.GetModuleFolderPath() / (item->Text() + ".vhd");
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return false;
    const std::string rewritten = UpdatePortClause(*text, item->Text(), *signals);
    if (!WriteRewrittenSource(doc.Log(), path, rewritten))
        return false;
    doc.Log().AppendLog("\r\n" + item->Text() + "'s port list updated.");

    const CVHDLSignal entered = *signals;
    AnalyzeModule(doc, item, context);
    MarkParentNeedsAnalysis(doc, item);
    *item->Signals() = entered;
    return true;
}

} // namespace kestra
