// Feeds arbitrary text to the entity and architecture readers in every mode. The first byte
// picks the module name and whether a previous design object carries values.
#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/declaration_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/numeric_expression.h"
#include "analysis/package_names.h"
#include "analysis/scanner.h"
#include "analysis/structure_walker.h"
#include "generation/entity_header.h"
#include "generation/entity_header_edit.h"
#include "generation/port_clause_edit.h"
#include "generation/port_rows.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace kestra;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckOutcome(const AnalysisContext& context) {
    const int code = static_cast<int>(context.errorCode);
    Check(code >= 0 && code <= static_cast<int>(AnalysisErrorCode::UnsupportedGeneric));
    Check(context.errorLine >= 0);
    Check(context.HasError() || context.errorLine == 0);
}

const CKSTObject& PreviousObject() {
    static const CKSTObject previous = [] {
        CKSTObject object;
        object.SetEntryCount(5);
        object.SetEntry(0, EntryKind::Vhdl, "m", "m.vhd");
        object.SetEntry(1, EntryKind::Numeric, "N", "16");
        object.SetEntry(2, EntryKind::DataType, "t", "unsigned");
        object.SetEntry(3, EntryKind::Architecture, "m", "b");
        object.SetEntry(4, EntryKind::Logic, "EN", "'0'");
        return object;
    }();
    return previous;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* const kNames[] = {"m", "M", "lpm_x", "a"};
    const std::uint8_t selector = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string moduleName = kNames[selector % 4];

    // The analysis of a module: entity first, then the architectures.
    AnalysisContext context;
    context.moduleName = moduleName;
    context.previousObject = (selector & 4) != 0 ? &PreviousObject() : nullptr;
    CKSTObject object;
    object.SetEntryCount(1);
    object.SetEntry(0, EntryKind::Vhdl, moduleName, moduleName + ".vhd");
    CVHDLSignal signals;
    const CScanner scanner(text, &context);
    std::size_t cursor = 0;
    AnalyzeEntity(scanner, EntityMode::Analyze, cursor, &object, &signals);
    Check(cursor <= scanner.End());
    if (!context.HasError()) {
        int hookCalls = 0;
        ArchitectureOptions options;
        options.refreshComponents = [&hookCalls](const CScanner&) { ++hookCalls; };
        AnalyzeArchitectures(scanner, &object, options);
        Check(hookCalls == (context.HasError() ? 0 : 1));
    }
    CheckOutcome(context);
    for (int i = 0; i < object.GetEntryCount(); ++i)
        (void)object.FormatEntry(i);
    (void)signals.FormatSignalList(SignalForm::PortDeclaration);

    // The text modes used by generation.
    for (const EntityMode mode : {EntityMode::PortText, EntityMode::ConvertedPortText}) {
        AnalysisContext textContext;
        textContext.moduleName = moduleName;
        const CScanner textScanner(text, &textContext);
        std::size_t textCursor = 0;
        const std::string portText = AnalyzeEntity(textScanner, mode, textCursor, &object, nullptr);
        CheckOutcome(textContext);
        Check(!textContext.HasError() || portText.empty());
    }

    // The shared readers started anywhere in the text.
    const std::size_t start = text.empty() ? 0 : (static_cast<std::size_t>(selector) * 131u) % text.size();
    for (const DeclarationMode mode :
         {DeclarationMode::Ports, DeclarationMode::ArchitectureDeclarations, DeclarationMode::SkipPorts}) {
        AnalysisContext listContext;
        const CScanner listScanner(text, &listContext);
        std::size_t listCursor = start;
        CKSTObject listObject;
        CVHDLSignal listSignals;
        AnalyzeDeclarationList(listScanner, mode, listCursor, &listObject, &listSignals);
        CheckOutcome(listContext);
    }
    for (const EntityDeclarationsMode mode :
         {EntityDeclarationsMode::Analyze, EntityDeclarationsMode::FindEnd, EntityDeclarationsMode::Merge}) {
        AnalysisContext declarationContext;
        const CScanner declarationScanner(text, &declarationContext);
        std::size_t declarationCursor = start;
        const auto end = AnalyzeEntityDeclarations(declarationScanner, mode, declarationCursor, &object);
        CheckOutcome(declarationContext);
        Check(!end || *end < declarationScanner.End());
    }
    AnalysisContext bodyContext;
    const CScanner bodyScanner(text, &bodyContext);
    ArchitectureBody body;
    if (FindArchitectureBody(bodyScanner, start, "a", body))
        Check(body.statementsStart <= body.endKeyword && body.afterSemicolon <= bodyScanner.End());
    CheckOutcome(bodyContext);

    // The structure walks and the interface reader stay inside the text.
    for (const StructureScope scope :
         {StructureScope::Item, StructureScope::Declarations, StructureScope::Statements}) {
        const StructureStop stop = WalkStructure(text, start, scope, {"architecture", "a"});
        Check(stop.position <= text.size() && stop.afterWords <= text.size());
        Check(!stop.semicolon || *stop.semicolon < text.size());
    }
    Check(SkipSubprogram(text, start) <= text.size());
    if (const auto entity = ReadEntityInterface(text, moduleName)) {
        for (const auto* list :
             {entity->generics ? &*entity->generics : nullptr, entity->ports ? &*entity->ports : nullptr}) {
            if (list == nullptr)
                continue;
            Check(list->open < list->close && list->close < list->afterEnd && list->afterEnd <= text.size());
            Check(list->separators.size() + 1 == list->declarations.size() || list->declarations.empty());
            for (const InterfaceDeclaration& declaration : list->declarations)
                Check(declaration.start <= declaration.end && declaration.end <= list->close);
        }
    }
    // Rewrites of the header and the port clause from what analysis read; the rows a clause is
    // written from are the valid rows and at most one source port for each other row.
    const std::string source(text);
    (void)RewriteEntityHeader(source, moduleName, object);
    (void)UpdatePortClause(source, moduleName, signals);
    const PortClauseRows rows = PortRowsToWrite(source, moduleName, signals);
    Check(rows.refused.size() <= static_cast<std::size_t>(signals.GetSignalCount()));
    for (int row = 0; row < rows.rows.GetSignalCount(); ++row)
        Check(!rows.rows.GetSignalText(row, CVHDLSignal::kName).empty());

    // The readers behind the check of a Numeric value.
    (void)ReadPackageConstants(text);
    (void)ReadUseClausesBeforeEntity(text, moduleName);
    (void)CheckNumericExpression(text.substr(start, 64), {"N", "PKG.C"});
    return 0;
}
