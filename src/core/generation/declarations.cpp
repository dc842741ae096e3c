#include "generation/declarations.h"

#include "analysis/scanner.h"
#include "model/design_object.h"
#include "model/entry_kind_facts.h"

#include <algorithm>

namespace kestra {

namespace {

bool IsPlainDecimal(const std::string& value) {
    std::size_t first = value.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return false;
    std::size_t last = value.find_last_not_of(" \t\r\n");
    return std::all_of(value.begin() + static_cast<std::ptrdiff_t>(first),
                       value.begin() + static_cast<std::ptrdiff_t>(last) + 1, IsDigit);
}

constexpr std::string_view kHandedDownPrefix = "\\P:";

} // namespace

const char* GenericTypeWord(EntryKind kind, int flags) {
    const EntryKindFacts& facts = FactsOf(kind);
    if (!facts.typeWordInEveryClause && (flags & kGenericAllKinds) == 0)
        return nullptr;
    return facts.typeWord;
}

std::string GenericLine(int flags, const CKSTObject& object, int index) {
    const EntryKind kind = object.GetEntryKind(index);
    const char* typeWord = GenericTypeWord(kind, flags);
    if (typeWord == nullptr)
        return {};
    const std::string value = object.GetEntryValue(index);
    std::string line = "\t\t" + object.GetEntryName(index) + ": " + typeWord;
    if ((flags & kGenericTopModule) != 0) {
        if (!value.empty())
            line += " := " + GenericValueText(kind, value);
    } else if (kind == EntryKind::Numeric) {
        if (!IsPlainDecimal(value))
            return line + " := 1; -- Arbitrary value only\r\n";
        line += " := " + value;
    }
    return line + ";\r\n";
}

std::string BuildGenericLines(int flags, const CKSTObject& object) {
    std::string lines;
    for (int i = 0; i < object.GetEntryCount(); ++i)
        lines += GenericLine(flags, object, i);
    return lines;
}

std::string GenericValueText(EntryKind kind, const std::string& value) {
    if (FactsOf(kind).quotedValue)
        return "\"" + value + "\"";
    return value;
}

std::string WrapGenericLines(const std::string& lines, const char* open, const char* close) {
    if (lines.empty())
        return {};
    std::string clause = lines;
    clause[clause.rfind(';')] = ' ';
    return open + clause + close;
}

std::string BuildStyleDeclarations(CKSTObject& object) {
    std::string text;
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) != EntryKind::Style)
            continue;
        const std::string name = object.GetEntryName(i);
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        if (choices.empty() || name.starts_with(kHandedDownPrefix))
            continue;
        text += "\ttype ENUM_" + name + " is (";
        for (std::size_t c = 0; c < choices.size(); ++c)
            text += (c == 0 ? "" : ", ") + choices[c];
        text += ");\r\n";

        std::string value = object.GetEntryValue(i);
        if (std::find(choices.begin(), choices.end(), value) == choices.end()) {
            const int handedDown = object.FindEntry(std::string(kHandedDownPrefix) + value);
            if (handedDown >= 0 && object.GetEntryKind(handedDown) == EntryKind::Style) {
                value = object.GetEntryValue(handedDown);
                object.SetEntryText(i, EntryField::Value, value);
            }
        }
        text += "\tconstant " + name + ": ENUM_" + name + " := " + value + ";\r\n";
    }
    return text;
}

} // namespace kestra
