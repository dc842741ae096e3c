#include "generation/entity_declarations_edit.h"

#include "analysis/entity_reader.h"
#include "analysis/interface_list.h"
#include "analysis/scanner.h"
#include "analysis/structure_walker.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"

#include <optional>

namespace kestra {

namespace {

// An enumeration type or a Style constant of the entity's declarative part.
struct EnumerationType {
    std::string name;
    std::vector<std::string> literals;
    std::size_t listStart = 0; // its '('
    std::size_t listEnd = 0;   // after its ')'
    std::size_t start = 0;
    std::size_t end = 0; // after its ';'
};

struct StyleConstant {
    std::string name;
    std::size_t type = 0; // the enumeration it follows
    std::size_t valueStart = 0;
    std::size_t valueEnd = 0;
    std::size_t start = 0;
    std::size_t end = 0;
};

struct DeclarativePart {
    std::vector<EnumerationType> types;
    std::vector<StyleConstant> constants;
    std::size_t insertAt = 0; // where new declarations go: before "begin" or the closing "end"
};

// Reads "type NAME is (a, b);" from the position after "type"; false for another form.
bool ReadEnumeration(const CScanner& scanner, std::size_t cursor, EnumerationType& type) {
    type.name = scanner.ReadIdentifier(cursor);
    if (type.name.empty() || !SameTextNoCase(scanner.ReadWord(cursor), "is"))
        return false;
    scanner.SkipBlanksAndComments(cursor);
    if (scanner.At(cursor) != '(')
        return false;
    type.listStart = cursor++;
    for (;;) {
        std::string literal = scanner.ReadIdentifier(cursor);
        if (literal.empty())
            literal = scanner.ReadDigits(cursor);
        if (literal.empty())
            return false;
        type.literals.push_back(std::move(literal));
        const char next = scanner.ReadChar(cursor);
        if (next == ')') {
            type.listEnd = cursor;
            return true;
        }
        if (next != ',')
            return false;
    }
}

// Reads "constant NAME : TYPE := value;" from the position after "constant".
bool ReadConstant(const CScanner& scanner, std::size_t cursor, const std::string& typeName,
                  StyleConstant& constant) {
    constant.name = scanner.ReadIdentifier(cursor);
    if (constant.name.empty() || scanner.ReadChar(cursor) != ':' ||
        !SameTextNoCase(scanner.ReadIdentifier(cursor), typeName) || scanner.ReadChar(cursor) != ':' ||
        scanner.At(cursor) != '=')
        return false;
    ++cursor;
    scanner.SkipBlanksAndComments(cursor);
    constant.valueStart = cursor;
    if (scanner.ReadIdentifier(cursor).empty())
        return false;
    constant.valueEnd = cursor;
    return true;
}

std::optional<DeclarativePart> ReadDeclarativePart(const std::string& text, const EntityInterface& entity) {
    std::size_t start = entity.afterIs;
    if (entity.generics)
        start = entity.generics->afterEnd;
    if (entity.ports)
        start = entity.ports->afterEnd;
    AnalysisContext context;
    const CScanner scanner(text, &context);
    std::size_t cursor = start;
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end)
        return std::nullopt;
    DeclarativePart part;
    part.insertAt = *end;
    bool afterEnumeration = false;
    for (std::size_t pos = start;;) {
        scanner.SkipBlanksAndComments(pos);
        if (pos >= *end)
            break;
        const std::size_t itemStart = pos;
        const std::string word = ToLowerAscii(scanner.ReadIdentifier(pos));
        if (word == "begin") {
            part.insertAt = itemStart;
            break;
        }
        const StructureStop stop = WalkStructure(text, itemStart, StructureScope::Item);
        if (stop.what != StructureStop::What::Semicolon)
            break;
        const std::size_t itemEnd = stop.position + 1;
        EnumerationType type;
        StyleConstant constant;
        if (word == "type" && ReadEnumeration(scanner, pos, type)) {
            type.start = itemStart;
            type.end = itemEnd;
            part.types.push_back(std::move(type));
            afterEnumeration = true;
        } else {
            if (word == "constant" && afterEnumeration &&
                ReadConstant(scanner, pos, part.types.back().name, constant)) {
                constant.type = part.types.size() - 1;
                constant.start = itemStart;
                constant.end = itemEnd;
                part.constants.push_back(std::move(constant));
            }
            afterEnumeration = false;
        }
        pos = itemEnd;
    }
    return part;
}

std::string LiteralList(const std::vector<std::string>& literals) {
    std::string list = "(";
    for (std::size_t i = 0; i < literals.size(); ++i)
        list += (i == 0 ? "" : ", ") + literals[i];
    return list + ")";
}

// The entry of a Style parameter (style) or of a parameter whose choices make an ENUM_ type
// (otherwise) of that name; -1 when there is none.
int EntryOfKind(const CKSTObject& object, const std::string& name, bool style) {
    for (int i = 1; i < object.GetEntryCount(); ++i) {
        const EntryKind kind = object.GetEntryKind(i);
        if ((style ? kind == EntryKind::Style : FactsOf(kind).choiceType) &&
            SameTextNoCase(object.GetEntryName(i), name))
            return i;
    }
    return -1;
}

// The Style constants brought in line with the object: one the object lacks goes with its ENUM_
// type, a changed value or choice list is replaced. Returns which types belong to a constant.
std::vector<bool> EditStyleConstants(const std::string& text, const DeclarativePart& part,
                                     const CKSTObject& object, std::vector<TextEdit>& edits) {
    std::vector<bool> styleType(part.types.size(), false);
    for (const StyleConstant& constant : part.constants) {
        const EnumerationType& type = part.types[constant.type];
        styleType[constant.type] = true;
        const int entry = EntryOfKind(object, constant.name, true);
        if (entry < 0) {
            edits.push_back(DeletionOf(text, constant.start, constant.end));
            if (SameTextNoCase(type.name, "ENUM_" + constant.name))
                edits.push_back(DeletionOf(text, type.start, type.end));
            continue;
        }
        if (text.compare(constant.valueStart, constant.valueEnd - constant.valueStart,
                         object.GetEntryValue(entry)) != 0)
            edits.push_back({constant.valueStart, constant.valueEnd, object.GetEntryValue(entry)});
        if (type.literals != object.GetChoiceList(entry))
            edits.push_back({type.listStart, type.listEnd, LiteralList(object.GetChoiceList(entry))});
    }
    return styleType;
}

// The ENUM_ types of the parameters with choices brought in line with the object: the type of a
// parameter without choices goes, changed literals are replaced. Returns which entries have a type.
std::vector<bool> EditChoiceTypes(const std::string& text, const DeclarativePart& part,
                                  const CKSTObject& object, const std::vector<bool>& styleType,
                                  std::vector<TextEdit>& edits) {
    std::vector<bool> hasType(static_cast<std::size_t>(object.GetEntryCount()), false);
    for (std::size_t t = 0; t < part.types.size(); ++t) {
        const EnumerationType& type = part.types[t];
        if (styleType[t] || type.name.size() <= 5 || !SameTextNoCase(type.name.substr(0, 5), "ENUM_"))
            continue;
        const int entry = EntryOfKind(object, type.name.substr(5), false);
        if (entry < 0)
            continue;
        hasType[static_cast<std::size_t>(entry)] = true;
        const std::vector<std::string>& choices = object.GetChoiceList(entry);
        if (choices.empty())
            edits.push_back(DeletionOf(text, type.start, type.end));
        else if (choices != type.literals)
            edits.push_back({type.listStart, type.listEnd, LiteralList(choices)});
    }
    return hasType;
}

// The lines of the types and Style constants the object needs and the source lacks, indented
// like the port clause.
std::string MissingDeclarations(const std::string& text, const EntityInterface& entity,
                                const DeclarativePart& part, const CKSTObject& object,
                                const std::vector<bool>& hasType, const std::string& lineEnd) {
    std::string indent = "\t";
    if (entity.ports) {
        const std::size_t lineStart = LineStart(text, entity.ports->keyword);
        if (OnlyBlanks(text, lineStart, entity.ports->keyword))
            indent = text.substr(lineStart, entity.ports->keyword - lineStart);
    }
    std::string lines;
    for (int i = 1; i < object.GetEntryCount(); ++i) {
        const EntryKind kind = object.GetEntryKind(i);
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        const std::string name = object.GetEntryName(i);
        if (choices.empty())
            continue;
        if (FactsOf(kind).choiceType && !hasType[static_cast<std::size_t>(i)]) {
            lines += indent + "type ENUM_" + name + " is " + LiteralList(choices) + ";" + lineEnd;
        } else if (kind == EntryKind::Style && !name.starts_with("\\P:")) {
            bool present = false;
            for (const StyleConstant& constant : part.constants)
                present = present || SameTextNoCase(constant.name, name);
            if (!present)
                lines += indent + "type ENUM_" + name + " is " + LiteralList(choices) + ";" + lineEnd +
                         indent + "constant " + name + ": ENUM_" + name + " := " + object.GetEntryValue(i) +
                         ";" + lineEnd;
        }
    }
    return lines;
}

} // namespace

std::vector<TextEdit> EditEntityDeclarations(const std::string& text, const EntityInterface& entity,
                                             const CKSTObject& object, const std::string& lineEnd) {
    const std::optional<DeclarativePart> part = ReadDeclarativePart(text, entity);
    if (!part)
        return {};
    std::vector<TextEdit> edits;
    const std::vector<bool> styleType = EditStyleConstants(text, *part, object, edits);
    const std::vector<bool> hasType = EditChoiceTypes(text, *part, object, styleType, edits);
    const std::string lines = MissingDeclarations(text, entity, *part, object, hasType, lineEnd);
    if (lines.empty())
        return edits;
    const std::size_t lineStart = LineStart(text, part->insertAt);
    if (OnlyBlanks(text, lineStart, part->insertAt))
        edits.push_back({lineStart, lineStart, lines});
    else
        edits.push_back({part->insertAt, part->insertAt, lineEnd + lines});
    return edits;
}

} // namespace kestra
