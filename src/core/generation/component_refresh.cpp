#include "generation/component_refresh.h"

#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "generation/declarations.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "system/file_system.h"

namespace kestra {

namespace {

// "port (a, b : in bit; c : out bit)" gives a, b, c; false when the text is not a port clause.
bool PortNames(const std::string& portClause, std::vector<std::string>& names) {
    const CScanner scanner(portClause);
    std::size_t cursor = 0;
    if (!SameTextNoCase(scanner.ReadIdentifier(cursor), "port") || scanner.ReadChar(cursor) != '(')
        return false;
    for (;;) {
        std::string name = scanner.ReadIdentifier(cursor);
        if (name.empty())
            return true;
        names.push_back(std::move(name));
        while (scanner.ReadChar(cursor) == ',') {
            name = scanner.ReadIdentifier(cursor);
            if (name.empty())
                break;
            names.push_back(std::move(name));
        }
        const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
        if (!semicolon)
            return true;
        cursor = *semicolon + 1;
    }
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i)
        joined += (i == 0 ? "" : ", ") + names[i];
    return joined;
}

bool HasArchitectureChoice(const CKSTObject& object) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == kKindArchitecture)
            return true;
    }
    return false;
}

} // namespace

std::string BuildComponentDeclarations(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context,
                                       ComponentList& list) {
    std::string declarations;
    list.clear();
    for (int i = 0; i < item->ChildCount(); ++i) {
        CHierarchyItem* child = item->Child(i);
        if (child->Status() != kStatusAnalysed) {
            context.SetError(11, 0);
            return {};
        }
        if (child->Kind() == kItemPackage)
            continue;
        const std::string& name = child->Text();
        const std::optional<std::string> source = ReadWholeFile(doc.GetModuleFolderPath() / (name + ".vhd"));
        if (!source) {
            context.SetError(7, 0);
            return {};
        }
        declarations += "\tcomponent " + name + "\r\n";
        const CKSTObject* childObject = child->Object();
        if (childObject == nullptr) {
            context.SetError(12, 0);
            return {};
        }
        declarations +=
            WrapGenericLines(BuildGenericLines(kGenericTopModule | kGenericAllKinds, *childObject),
                             "\tgeneric (\r\n", "\t);\r\n");

        const std::string moduleName = context.moduleName;
        const std::size_t textStart = context.textStart;
        context.moduleName = name;
        const CScanner childScanner(*source, &context);
        std::size_t cursor = 0;
        const std::string portClause =
            AnalyzeEntity(childScanner, EntityMode::PortText, cursor, nullptr, nullptr);
        context.moduleName = moduleName;
        context.textStart = textStart;
        if (context.errorCode != 0)
            return {};
        declarations += portClause;
        declarations += "\tend component;\r\n\r\n";
        declarations += BuildConfigurationSpec(*childObject, name, doc.GetLibraryName());

        std::vector<std::string> ports;
        if (!PortNames(portClause, ports)) {
            context.SetError(5, 0);
            return {};
        }
        list.emplace_back(name, "\r\n\tU_" + name + ": " + name + "\r\n\t\tport map (" + JoinNames(ports) +
                                    ");\r\n");
    }
    return declarations;
}

void UpdateComponentsInSource(CKSTDoc& doc, const std::string& sourcePath, const std::string& sourceText,
                              CHierarchyItem* item, AnalysisContext& context) {
    ComponentList list;
    const std::string declarations = BuildComponentDeclarations(doc, item, context, list);
    if (context.errorCode != 0)
        return;
    const bool instantiate = item->Object() == nullptr || !HasArchitectureChoice(*item->Object());

    const CScanner scanner(sourceText, &context);
    std::string output;
    std::size_t copyPoint = 0;
    for (std::size_t from = 0;;) {
        const auto keyword = scanner.FindWordOutsideComments(from, "architecture");
        if (!keyword)
            break;
        from = *keyword + 12;
        ArchitectureHeader header;
        const int fits = AnalyzeArchitectureHeader(scanner, *keyword, header);
        if (fits < 0)
            return;
        if (fits == 0)
            continue;
        if (!scanner.FindWordOutsideComments(header.declarationsStart, "begin")) {
            context.SetError(2, scanner.LineOfPosition(header.declarationsStart));
            return;
        }
        output.append(sourceText, copyPoint, header.declarationsStart - copyPoint);

        std::size_t cursor = header.declarationsStart;
        for (;;) {
            const std::size_t itemStart = cursor;
            const std::string word = ToLowerAscii(scanner.ReadIdentifier(cursor));
            if (word == "begin")
                break;
            if (word == "function") {
                SkipFunctionBody(scanner, cursor);
                output.append(sourceText, itemStart, cursor - itemStart);
            } else if (word == "component") {
                const auto end = scanner.FindWordOutsideComments(cursor, "end");
                if (!end) {
                    context.SetError(2, scanner.LineOfPosition(cursor));
                    return;
                }
                cursor = *end + 3;
                if (!SameTextNoCase(scanner.ReadWord(cursor), "component") ||
                    scanner.ReadChar(cursor) != ';') {
                    context.SetError(5, scanner.LineOfPosition(cursor));
                    return;
                }
            } else if (word == "for") {
                const auto use = scanner.FindWordOutsideComments(cursor, "use");
                if (!use) {
                    context.SetError(8, scanner.LineOfPosition(cursor));
                    return;
                }
                cursor = *use + 3;
                if (!SameTextNoCase(scanner.ReadWord(cursor), "entity")) {
                    context.SetError(5, scanner.LineOfPosition(cursor));
                    return;
                }
                const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
                if (!semicolon) {
                    context.SetError(5, scanner.LineOfPosition(cursor));
                    return;
                }
                cursor = *semicolon + 1;
            } else {
                const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
                if (!semicolon) {
                    context.SetError(14, scanner.LineOfPosition(cursor));
                    return;
                }
                cursor = *semicolon + 1;
                output.append(sourceText, itemStart, cursor - itemStart);
            }
        }
        output +=
            declarations.empty() ? "\r\n" : "\r\n\r\n\t-- KESTRA component declarations\r\n" + declarations;
        output += "begin";
        if (instantiate)
            output += BuildInstantiations(scanner, context, cursor, header.name, list);
        if (context.errorCode != 0)
            return;
        copyPoint = cursor;
        from = cursor;
    }
    output.append(sourceText, copyPoint, std::string::npos);
    if (output == sourceText)
        return;
    std::string error;
    if (!ReplaceFileSafely(sourcePath, output, &error)) {
        doc.Log().AppendError("Cannot write source file (" + sourcePath + "). Failed to modify file.");
        context.SetError(7, 0);
    }
}

} // namespace kestra
