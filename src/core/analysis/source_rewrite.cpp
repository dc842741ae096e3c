#include "analysis/source_rewrite.h"

#include "analysis/analyze_module.h"
#include "analysis/entity_reader.h"
#include "analysis/scanner.h"
#include "analysis/unit_search.h"
#include "hierarchy/analysis_status.h"
#include "hierarchy/kst_doc.h"
#include "hierarchy/message_log.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "system/file_system.h"

namespace kestra {

namespace {

// Skips "generic ( ... )" and the character after it when the next word is "generic". False
// when its parenthesis is not closed.
bool SkipGenericClause(const CScanner& scanner, std::size_t& cursor) {
    std::size_t pos = cursor;
    if (!SameTextNoCase(scanner.ReadIdentifier(pos), "generic"))
        return true;
    if (!SkipParenthesised(scanner, pos))
        return false;
    scanner.ReadChar(pos);
    cursor = pos;
    return true;
}

std::optional<std::string> ReadSourceForRewrite(CMessageLog& log, const std::filesystem::path& path) {
    if (!FileExists(path)) {
        log.AppendError("Cannot open source file (" + path.string() + "). Failed to modify file.");
        return std::nullopt;
    }
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        log.AppendError("Cannot read source file (" + path.string() + "). Failed to modify file.");
    return text;
}

bool WriteRewrittenSource(CMessageLog& log, const std::filesystem::path& path, const std::string& text) {
    if (ReplaceFileSafely(path, text))
        return true;
    log.AppendError("Cannot write source file (" + path.string() + "). Failed to modify file.");
    return false;
}

} // namespace

std::string TypeDeclarationsText(const CKSTObject& object) {
    std::string text;
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        const int kind = object.GetEntryKind(i);
        if (kind != kKindNumeric && kind != kKindDataType && kind != kKindStyle && kind != kKindString)
            continue;
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        if (choices.empty())
            continue;
        const std::string name = object.GetEntryName(i);
        text += "\ttype ENUM_" + name + " is (";
        for (std::size_t c = 0; c < choices.size(); ++c)
            text += (c == 0 ? "" : ", ") + choices[c];
        text += ");\r\n";
        if (kind == kKindStyle)
            text += "\tconstant " + name + ": ENUM_" + name + " := " + object.GetEntryValue(i) + ";\r\n";
    }
    return text;
}

std::string RewriteEntityHeader(const std::string& text, const std::string& entityName,
                                const CKSTObject& object) {
    AnalysisContext context;
    const CScanner scanner(text, &context);
    const auto entity = FindEntityDeclaration(scanner, entityName);
    if (!entity)
        return text;
    std::size_t cursor = entity->afterName;
    scanner.ReadWord(cursor); // "is"
    const std::size_t headerStart = cursor;

    std::string header = WrapGenericLines(
        GenericDeclarationsText(object, kGenericTopModule | kGenericAllKinds), "\r\n\tgeneric (\r\n", "\t);");
    header += "\r\n";
    if (!SkipGenericClause(scanner, cursor))
        return text;

    std::size_t pos = cursor;
    if (SameTextNoCase(scanner.ReadIdentifier(pos), "port")) {
        std::size_t innerStart = 0;
        std::size_t closing = 0;
        if (!SkipParenthesised(scanner, pos, &innerStart, &closing))
            return text;
        std::size_t innerEnd = closing;
        while (innerEnd > innerStart && IsBlank(text[innerEnd - 1]))
            --innerEnd;
        header += "\tport (" + text.substr(innerStart, innerEnd - innerStart) + "\r\n\t);\r\n";
        scanner.ReadChar(pos);
        cursor = pos;
    }
    const auto end = AnalyzeEntityDeclarations(scanner, EntityDeclarationsMode::FindEnd, cursor, nullptr);
    if (!end)
        return text;
    return text.substr(0, headerStart) + header + TypeDeclarationsText(object) + text.substr(*end);
}

bool RewriteSourceFromParameters(CKSTDoc& doc, CHierarchyItem* item) {
    CKSTObject* object = item->Object();
    const int kind = object != nullptr ? object->GetEntryKind(0) : -1;
    if (kind != kKindVhdl && kind != kKindComponent && kind != kKindPredefined)
        return false;
    std::string name = object->GetEntryName(0);
    if (name.starts_with("* "))
        name.erase(0, 2);
    const std::filesystem::path path = doc.GetModuleFolderPath() / (name + ".vhd");
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return false;
    const std::string rewritten = RewriteEntityHeader(*text, name, *object);
    if (rewritten != *text && !WriteRewrittenSource(doc.Log(), path, rewritten))
        return false;
    if (const auto time = GetLastWriteTime(path))
        object->SetAnalysedTime(static_cast<std::uint32_t>(*time & 0xFFFFFFFFu),
                                static_cast<std::uint32_t>(*time >> 32));
    MarkParentNeedsAnalysis(doc, item);
    doc.SetModifiedFlag();
    return true;
}

bool UpdatePortList(CKSTDoc& doc, CHierarchyItem* item, AnalysisContext& context) {
    const int kind = item->Kind();
    CVHDLSignal* signals = item->Signals();
    if ((kind != kItemNormal && kind != kItemLibrary && kind != kItemPredefined) || signals == nullptr)
        return false;
    const std::filesystem::path path = doc.GetModuleFolderPath() / (item->Text() + ".vhd");
    const std::optional<std::string> text = ReadSourceForRewrite(doc.Log(), path);
    if (!text)
        return false;

    AnalysisContext local;
    const CScanner scanner(*text, &local);
    std::string rewritten = *text;
    if (const auto entity = FindEntityDeclaration(scanner, item->Text())) {
        std::size_t cursor = entity->afterName;
        scanner.ReadWord(cursor); // "is"
        bool closed = SkipGenericClause(scanner, cursor);
        const std::size_t start = cursor;
        std::size_t pos = cursor;
        if (closed && SameTextNoCase(scanner.ReadIdentifier(pos), "port")) {
            closed = SkipParenthesised(scanner, pos);
            scanner.ReadChar(pos);
            cursor = pos;
        }
        if (closed)
            rewritten = text->substr(0, start) + signals->FormatSignalList(1) + text->substr(cursor);
    }
    if (!WriteRewrittenSource(doc.Log(), path, rewritten))
        return false;
    doc.Log().AppendLog("\r\n" + item->Text() + "'s port list updated.");

    const CVHDLSignal entered = *signals;
    AnalyzeModule(doc, item, context);
    MarkParentNeedsAnalysis(doc, item);
    *item->Signals() = entered;
    return true;
}

void RenameModuleObject(CKSTObject& object, const std::string& newName) {
    const bool failed = object.GetEntryName(0).starts_with("*");
    object.SetEntryText(0, 0, failed ? "* " + newName : newName);
    object.SetEntryText(0, 1, newName + ".vhd");
    for (int i = 1; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == kKindArchitecture)
            object.SetEntryText(i, 0, newName);
    }
}

} // namespace kestra
