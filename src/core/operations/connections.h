#pragma once

#include "generation/connection_edit.h"
#include "system/outcome.h"

#include <map>
#include <optional>
#include <string>

namespace kestra {

class CHierarchyItem;
class CKSTDoc;
struct AnalysisContext;

enum class ConnectionChange { Connect, Disconnect };

// Makes or removes a connection in the architecture of a normal module's source and analyses
// the module again, so that the source stays the master copy of what the diagram draws. The
// ports of its instances' units are read from the sources of the module's children. A source
// changed by another program is analysed again first, and then nothing is written; a refusal
// changes nothing. The change is logged ("TOP: U_CNT.Q connected to LEDS.").
[[nodiscard]] Outcome ChangeConnection(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context,
                                       ConnectionChange change, const ConnectionEnd& a,
                                       const ConnectionEnd& b);

// The interfaces of the module's children, read from their sources when first asked for.
class CChildInterfaces {
public:
    CChildInterfaces(const CKSTDoc& doc, const CHierarchyItem& item) : m_doc(doc), m_item(item) {}
    const UnitInterface* Find(std::string_view unit);
    UnitLookup Lookup() {
        return [this](std::string_view unit) { return Find(unit); };
    }

private:
    const CKSTDoc& m_doc;
    const CHierarchyItem& m_item;
    // By name in lower case; the nodes stay where they are, so the pointers handed out stay good.
    std::map<std::string, std::optional<UnitInterface>> m_read;
};

} // namespace kestra
