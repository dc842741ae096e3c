#include "generation/component_refresh.h"

#include "analysis/analysis_errors.h"
#include "analysis/architecture_reader.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "generation/declarations.h"
#include "model/design_object.h"

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

} // namespace

std::string ChildComponentDeclaration(const std::string& childName, const CKSTObject& childObject,
                                      const std::string& childSource, const std::string& libraryName,
                                      AnalysisContext& context, ComponentList& list) {
    std::string declaration = "\tcomponent " + childName + "\r\n";
    declaration += WrapGenericLines(BuildGenericLines(kGenericTopModule | kGenericAllKinds, childObject),
                                    "\tgeneric (\r\n", "\t);\r\n");

    const std::string moduleName = context.moduleName;
    const std::size_t textStart = context.textStart;
    context.moduleName = childName;
    const CScanner childScanner(childSource, &context);
    std::size_t cursor = 0;
    const std::string portClause =
        AnalyzeEntity(childScanner, EntityMode::PortText, cursor, nullptr, nullptr);
    context.moduleName = moduleName;
    context.textStart = textStart;
    if (context.errorCode != 0)
        return {};
    declaration += portClause;
    declaration += "\tend component;\r\n\r\n";
    declaration += BuildComponentBinding(childObject, childName, libraryName);

    std::vector<std::string> ports;
    if (!PortNames(portClause, ports)) {
        context.SetError(AnalysisErrorCode::WrongKeyword);
        return {};
    }
    list.emplace_back(childName, "\r\n\tU_" + childName + ": " + childName + "\r\n\t\tport map (" +
                                     JoinNames(ports) + ");\r\n");
    return declaration;
}

std::optional<std::string> RefreshComponentDeclarations(const std::string& sourceText,
                                                        const std::string& declarations,
                                                        const ComponentList& list, bool instantiate,
                                                        AnalysisContext& context) {
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
            return std::nullopt;
        if (fits == 0)
            continue;
        if (!scanner.FindWordOutsideComments(header.declarationsStart, "begin")) {
            context.SetError(AnalysisErrorCode::ExpectedKeywordNotFound,
                             scanner.LineOfPosition(header.declarationsStart));
            return std::nullopt;
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
                    context.SetError(AnalysisErrorCode::ExpectedKeywordNotFound,
                                     scanner.LineOfPosition(cursor));
                    return std::nullopt;
                }
                cursor = *end + 3;
                if (!SameTextNoCase(scanner.ReadWord(cursor), "component") ||
                    scanner.ReadChar(cursor) != ';') {
                    context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
                    return std::nullopt;
                }
            } else if (word == "for") {
                const auto use = scanner.FindWordOutsideComments(cursor, "use");
                if (!use) {
                    context.SetError(AnalysisErrorCode::MissingKeyword, scanner.LineOfPosition(cursor));
                    return std::nullopt;
                }
                cursor = *use + 3;
                if (!SameTextNoCase(scanner.ReadWord(cursor), "entity")) {
                    context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
                    return std::nullopt;
                }
                const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
                if (!semicolon) {
                    context.SetError(AnalysisErrorCode::WrongKeyword, scanner.LineOfPosition(cursor));
                    return std::nullopt;
                }
                cursor = *semicolon + 1;
            } else {
                const auto semicolon = scanner.FindTextOutsideComments(cursor, ";");
                if (!semicolon) {
                    context.SetError(AnalysisErrorCode::UnexpectedEndOfFile, scanner.LineOfPosition(cursor));
                    return std::nullopt;
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
            return std::nullopt;
        copyPoint = cursor;
        from = cursor;
    }
    output.append(sourceText, copyPoint, std::string::npos);
    return output;
}

} // namespace kestra
