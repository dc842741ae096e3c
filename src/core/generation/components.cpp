#include "generation/components.h"

#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "analysis/unit_search.h"
#include "generation/declarations.h"
#include "model/design_object.h"

namespace kestra {

std::string BuildComponentBinding(const CKSTObject& childObject, const std::string& childName,
                                  const std::string& libraryName) {
    for (int i = 0; i < childObject.GetEntryCount(); ++i) {
        if (childObject.GetEntryKind(i) == EntryKind::Architecture &&
            SameTextNoCase(childObject.GetEntryName(i), childName)) {
            return "\tfor all: " + childName + "\r\n\t\tuse entity " + libraryName + "." + childName + "(" +
                   childObject.GetEntryValue(i) + ");\r\n\r\n";
        }
    }
    return {};
}

std::string BuildComponentGenerics(const CScanner& scanner, std::size_t& cursor,
                                   const CKSTObject& parentObject, CKSTObject& copyObject) {
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadIdentifier(pos), "generic"))
        return {};
    cursor = pos;
    const std::size_t clauseStart = cursor;
    // A clause that does not read as declarations is passed over whole, with its ';'.
    auto skipClause = [&]() {
        cursor = clauseStart;
        if (SkipParenthesised(scanner, cursor)) {
            std::size_t after = cursor;
            if (scanner.ReadChar(after) == ';')
                cursor = after;
        }
    };
    if (scanner.ReadChar(cursor) != '(')
        return {};

    std::string lines;
    for (;;) {
        const std::string name = scanner.ReadIdentifier(cursor);
        if (name.empty() || scanner.ReadChar(cursor) != ':') {
            skipClause();
            break;
        }
        const std::string typeWord = scanner.ReadIdentifier(cursor);
        std::string value;
        std::size_t afterType = cursor;
        if (scanner.ReadChar(afterType) == ':' && scanner.At(afterType) == '=') {
            cursor = afterType + 1;
            value = scanner.ReadValue(cursor);
        }
        const EntryKind kind = GenericKind(typeWord, copyObject.GetGeneratedName());
        if (kind != EntryKind::None) {
            if (kind == EntryKind::DataType || kind == EntryKind::Logic) {
                const int parent = parentObject.FindEntry(name);
                if (parent >= 0)
                    value = parentObject.GetEntryValue(parent);
            }
            if (kind == EntryKind::String)
                value = "\"" + value + "\"";
            const int index = copyObject.AddEntry() - 1;
            copyObject.SetEntry(index, kind, name, value);
            if (kind == EntryKind::Numeric || kind == EntryKind::String) {
                lines += "\t\t" + name + ": " + (kind == EntryKind::Numeric ? "integer" : "string");
                if (!value.empty())
                    lines += " := " + value;
                lines += ";\r\n";
            }
        }
        const char next = scanner.ReadChar(cursor);
        if (next == ';')
            continue;
        if (next == ')') {
            std::size_t after = cursor;
            if (scanner.ReadChar(after) == ';')
                cursor = after;
        } else if (next != '\0') {
            skipClause();
        }
        break;
    }
    return WrapGenericLines(lines, "\tgeneric (\r\n", "\t);\r\n");
}

void HandDownStyles(const CKSTObject& parentObject, CKSTObject& copyObject) {
    for (int i = 0; i < parentObject.GetEntryCount(); ++i) {
        if (parentObject.GetEntryKind(i) != EntryKind::Style)
            continue;
        const int index = copyObject.AddEntry() - 1;
        copyObject.SetEntry(index, EntryKind::Style, "\\P:" + parentObject.GetEntryName(i),
                            parentObject.GetEntryValue(i));
    }
}

} // namespace kestra
