#include "analysis/substitution.h"

#include "analysis/scanner.h"
#include "model/design_object.h"

namespace kestra {

std::string ReplaceWholeWord(std::string_view text, std::string_view word, std::string_view replacement,
                             bool skipComments) {
    if (word.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    bool inComment = false;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            inComment = false;
            continue;
        }
        if (inComment)
            continue;
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            inComment = skipComments;
            continue;
        }
        if (i > 0 && IsIdentifierChar(text[i - 1]))
            continue;
        if (text.size() - i < word.size() || !SameTextNoCase(text.substr(i, word.size()), word))
            continue;
        const std::size_t end = i + word.size();
        if (end < text.size() && IsIdentifierChar(text[end]))
            continue;
        result.append(text.substr(copied, i - copied));
        result.append(replacement);
        copied = end;
        i = end - 1;
    }
    result.append(text.substr(copied));
    return result;
}

void RenameUnit(std::string& text, std::string_view oldName, std::string_view newName, bool skipComments) {
    if (oldName.empty())
        return;
    const std::string oldText(oldName);
    const std::string newText(newName);
    text = ReplaceWholeWord(text, oldText, newText, skipComments);
    text = ReplaceWholeWord(text, oldText + "_arch", newText + "_arch", skipComments);
    text = ReplaceWholeWord(text, "U_" + oldText, "U_" + newText, skipComments);
}

void SubstituteTypeParameters(std::string& text, const CKSTObject& object) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        const EntryKind kind = object.GetEntryKind(i);
        if (kind != EntryKind::DataType && kind != EntryKind::Logic)
            continue;
        const std::string name = object.GetEntryName(i);
        const std::string value = object.GetEntryValue(i);
        if (name.empty() || SameTextNoCase(name, value))
            continue;
        text = ReplaceWholeWord(text, name, value, true);
        if (kind == EntryKind::DataType)
            text = ReplaceWholeWord(text, "CONV_" + name, "CONV_" + value, true);
    }
}

} // namespace kestra
