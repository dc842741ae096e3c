#include "operations/source_update.h"

#include "analysis/interface_list.h"
#include "analysis/source_form.h"
#include "generation/component_defaults_edit.h"
#include "generation/entity_header.h"
#include "generation/port_rows.h"
#include "model/design_object.h"
#include "operations/analyze_module.h"
#include "operations/source_stamp.h"
#include "project/hierarchy_item.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"
#include "text/char_class.h"

#include <algorithm>

namespace kestra {

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

namespace {

// A parent the tool did not write keeps its component declarations as written; the defaults of
// the child's generics there follow the child's values, which generation reads from them. (The
// tool's own sources get whole new declarations when the parent is next analysed.)
void UpdateParentComponentDefaults(CKSTDoc& doc, const CHierarchyItem& item, const std::string& name,
                                   const CKSTObject& object) {
    CHierarchyItem* parent = item.Parent();
    if (parent == nullptr || parent->Kind() == HierarchyKind::Root || parent->Object() == nullptr)
        return;
    const std::filesystem::path path = doc.GetModuleFilePath(*parent);
    if (path.empty() || !FileExists(path))
        return;
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text || IsToolFormSource(*text, parent->Text()))
        return;
    const std::string edited = EditComponentDefaults(*text, name, object);
    const bool asLastSeen = IsSourceAsLastSeen(doc, *parent, path, *text);
    if (edited != *text && WriteRewrittenSource(doc.Log(), path, edited) && asLastSeen)
        RememberSource(doc, path, edited);
}

std::vector<std::string> RefusalTexts(const std::string& module, const CVHDLSignal& signals,
                                      const std::vector<RefusedPortRow>& refused) {
    std::vector<std::string> texts;
    for (const RefusedPortRow& row : refused) {
        const std::string name = signals.GetSignalText(row.row, CVHDLSignal::kName);
        std::string text = "Invalid port in row " + std::to_string(row.row + 1) + " of " + module;
        if (!name.empty())
            text += " (\"" + name + "\")";
        if (row.keptPorts.empty()) {
            text += ", left out of the source: ";
        } else if (row.keptPorts.size() == 1) {
            text += ", the source keeps port " + row.keptPorts.front() + " as it was: ";
        } else {
            text += ", the source keeps ports ";
            for (std::size_t i = 0; i < row.keptPorts.size(); ++i)
                text += (i == 0 ? "" : ", ") + row.keptPorts[i];
            text += " as they were: ";
        }
        texts.push_back(text + row.problem);
    }
    return texts;
}

// Why the rewritten source must not be written: a port a row names is not declared there, or
// its header no longer reads; empty when it declares every row.
std::string ClauseLoss(const std::string& rewritten, const std::string& entityName, const CVHDLSignal& rows) {
    const std::optional<EntityInterface> written = ReadEntityInterface(rewritten, entityName);
    if (!written)
        return "the new port clause would make the entity header unreadable.";
    std::vector<std::string> declared;
    if (written->ports) {
        for (const InterfaceDeclaration& declaration : written->ports->declarations)
            declared.insert(declared.end(), declaration.names.begin(), declaration.names.end());
    }
    for (int row = 0; row < rows.GetSignalCount(); ++row) {
        const std::string name = rows.GetSignalText(row, CVHDLSignal::kName);
        const bool found = std::any_of(declared.begin(), declared.end(), [&name](const std::string& port) {
            return SameTextNoCase(port, name);
        });
        if (!found)
            return "the new port clause would lose port " + name + ".";
    }
    return {};
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
    const std::filesystem::path path = doc.ModuleSourcePath(*item);
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return false;
    const std::string rewritten = RewriteEntityHeader(*text, name, *object);
    if (rewritten != *text && !WriteRewrittenSource(doc.Log(), path, rewritten))
        return false;
    RememberSource(doc, path, rewritten);
    if (const auto time = GetLastWriteTime(path))
        object->SetAnalysedTime(static_cast<std::uint32_t>(*time & 0xFFFFFFFFu),
                                static_cast<std::uint32_t>(*time >> 32));
    MarkParentNeedsAnalysis(doc, item);
    doc.SetModifiedFlag();
    UpdateParentComponentDefaults(doc, *item, name, *object);
    return true;
}

PortListUpdate UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context) {
    PortListUpdate update;
    const HierarchyKind kind = item->Kind();
    CVHDLSignal* signals = item->Signals();
    if ((kind != HierarchyKind::Normal && kind != HierarchyKind::Library &&
         kind != HierarchyKind::Predefined) ||
        signals == nullptr)
        return update;
    // The ports the rows are compared with must be the file's: a source changed on disk is read
    // again, and the rows' edits, made on ports it may no longer have, are not written.
    if (RefreshIfChangedOnDisk(doc, item, context) != SourceRefresh::Current) {
        update.refusals.push_back(item->Text() +
                                  "'s port list not updated: its source changed on disk, and " +
                                  "the signal list now shows the ports the file holds.");
        doc.Log().AppendWarning(update.refusals.back());
        return update;
    }
    const std::filesystem::path path = doc.ModuleSourcePath(*item);
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return update;
    const PortClauseRows ports = PortRowsToWrite(*text, item->Text(), *signals);
    update.refusals = RefusalTexts(item->Text(), *signals, ports.refused);
    for (const std::string& refusal : update.refusals)
        doc.Log().AppendWarning(refusal);
    const std::string rewritten = UpdatePortClause(*text, item->Text(), ports.rows);
    if (rewritten == *text)
        return update;
    if (const std::string loss = ClauseLoss(rewritten, item->Text(), ports.rows); !loss.empty()) {
        update.refusals.push_back(item->Text() + "'s port list not updated: " + loss);
        doc.Log().AppendWarning(update.refusals.back());
        return update;
    }
    if (!WriteRewrittenSource(doc.Log(), path, rewritten))
        return update;
    doc.Log().AppendLog("\r\n" + item->Text() + "'s port list updated.");
    update.updated = true;

    const CVHDLSignal entered = *signals;
    AnalyzeModule(doc, item, context);
    MarkParentNeedsAnalysis(doc, item);
    *item->Signals() = entered;
    return update;
}

} // namespace kestra
