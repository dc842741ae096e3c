#include "operations/connections.h"

#include "analysis/interface_list.h"
#include "operations/analyze_module.h"
#include "operations/source_stamp.h"
#include "operations/source_update.h"
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "system/file_system.h"
#include "text/char_class.h"

namespace kestra {

namespace {

std::optional<UnitInterface> ReadUnitInterface(const std::filesystem::path& path, const std::string& name) {
    const Result<std::string> text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    const std::optional<EntityInterface> entity = ReadEntityInterface(*text, name);
    if (!entity)
        return std::nullopt;
    UnitInterface unit;
    if (entity->ports) {
        for (const InterfaceDeclaration& declaration : entity->ports->declarations) {
            for (const std::string& port : declaration.names)
                unit.ports.push_back(
                    {port, declaration.mode.empty() ? "in" : declaration.mode, declaration.TypeText(*text)});
        }
    }
    if (entity->generics) {
        for (const InterfaceDeclaration& declaration : entity->generics->declarations) {
            const std::string value =
                declaration.defaultValue ? ExpressionText(*text, *declaration.defaultValue) : std::string();
            for (const std::string& generic : declaration.names)
                unit.generics.emplace_back(generic, value);
        }
    }
    return unit;
}

} // namespace

const UnitInterface* CChildInterfaces::Find(std::string_view unit) {
    const std::string key = ToLowerAscii(unit);
    if (const auto known = m_read.find(key); known != m_read.end())
        return known->second ? &*known->second : nullptr;
    std::optional<UnitInterface> read;
    for (int i = 0; i < m_item.ChildCount(); ++i) {
        const CHierarchyItem* child = m_item.Child(i);
        if (SameTextNoCase(child->Text(), unit))
            read = ReadUnitInterface(m_doc.ModuleSourcePath(*child), child->Text());
    }
    const auto stored = m_read.emplace(key, std::move(read)).first;
    return stored->second ? &*stored->second : nullptr;
}

Outcome ChangeConnection(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context,
                         ConnectionChange change, const ConnectionEnd& a, const ConnectionEnd& b) {
    if (item == nullptr || item->Kind() != HierarchyKind::Normal)
        return Outcome::Failed("only the architecture of a normal module is written from its diagram");
    // The edit is made on the text of the file as it is now (an architecture that cannot be read
    // is refused below); a file changed on disk is analysed first, so that the module shows it.
    static_cast<void>(RefreshIfChangedOnDisk(doc, item, context));
    const std::filesystem::path path = doc.ModuleSourcePath(*item);
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return Outcome::Failed("the source of " + item->Text() + " cannot be read");
    CChildInterfaces children(doc, *item);
    const Result<std::string> edited = change == ConnectionChange::Connect
                                           ? ConnectInSource(*text, item->Text(), children.Lookup(), a, b)
                                           : DisconnectInSource(*text, item->Text(), children.Lookup(), a, b);
    if (!edited)
        return Outcome::Failed(edited.Reason());
    if (!WriteRewrittenSource(doc.Log(), path, *edited))
        return Outcome::Failed("the source of " + item->Text() + " cannot be written");
    doc.Log().AppendLog("\r\n" + item->Text() + ": " + a.Text() +
                        (change == ConnectionChange::Connect ? " connected to " : " disconnected from ") +
                        b.Text() + ".");
    AnalyzeModule(doc, item, context);
    doc.SetModifiedFlag();
    return Outcome::Ok();
}

} // namespace kestra
