#include "project_printer.h"

#include "model/design_object.h"
#include "model/vhdl_signal.h"
#include "project/kst_doc.h"

#include <ostream>

namespace kestra {

namespace {

constexpr int kItemIndent = 4;
constexpr int kDetailIndent = 2;
constexpr std::size_t kLabelWidth = 8;

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    else
        text += ' ';
    return text;
}

// One line per record: control bytes are shown as escapes so that a value cannot break it.
std::string Visible(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string visible;
    visible.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            visible += "\\n";
        else if (c == '\r')
            visible += "\\r";
        else if (c == '\t')
            visible += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            visible += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0x0F];
        else
            visible += c;
    }
    return visible;
}

void PrintEntries(const CKSTObject& object, const std::string& indent, std::ostream& out) {
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        out << indent << Padded(EntryKindLabel(object.GetEntryKind(i)), kLabelWidth)
            << Visible(object.GetEntryName(i)) << " =";
        const std::string value = object.GetEntryValue(i);
        if (!value.empty())
            out << ' ' << Visible(value);
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        if (!choices.empty()) {
            out << "  {";
            for (std::size_t c = 0; c < choices.size(); ++c)
                out << (c == 0 ? "" : " | ") << Visible(choices[c]);
            out << '}';
        }
        out << '\n';
    }
}

void PrintSignals(const CVHDLSignal& signals, const std::string& indent, std::ostream& out) {
    for (int i = 0; i < signals.GetSignalCount(); ++i) {
        out << indent << Padded("signal", kLabelWidth)
            << Visible(signals.GetSignalText(i, CVHDLSignal::kName)) << " : "
            << Visible(signals.GetSignalText(i, CVHDLSignal::kMode)) << ' '
            << Visible(signals.GetSignalText(i, CVHDLSignal::kDataType));
        const std::string range = signals.GetSignalText(i, CVHDLSignal::kRange);
        if (!range.empty())
            out << " (" << Visible(range) << ')';
        const std::string initial = signals.GetSignalText(i, CVHDLSignal::kInitialValue);
        if (!initial.empty())
            out << " := " << Visible(initial);
        out << '\n';
    }
}

void WriteJsonEntries(const CKSTObject& object, std::ostream& out) {
    out << "\"entries\": [";
    for (int i = 0; i < object.GetEntryCount(); ++i) {
        out << (i == 0 ? "" : ", ") << "{\"kind\": " << static_cast<int>(object.GetEntryKind(i))
            << ", \"label\": " << JsonQuote(EntryKindLabel(object.GetEntryKind(i)))
            << ", \"name\": " << JsonQuote(object.GetEntryName(i))
            << ", \"value\": " << JsonQuote(object.GetEntryValue(i)) << ", \"choices\": [";
        const std::vector<std::string>& choices = object.GetChoiceList(i);
        for (std::size_t c = 0; c < choices.size(); ++c)
            out << (c == 0 ? "" : ", ") << JsonQuote(choices[c]);
        out << "]}";
    }
    out << ']';
}

void WriteJsonSignals(const CVHDLSignal* signals, std::ostream& out) {
    static constexpr const char* kColumnNames[] = {"name", "mode", "dataType", "range", "initialValue"};
    out << "\"signals\": [";
    for (int i = 0; signals != nullptr && i < signals->GetSignalCount(); ++i) {
        out << (i == 0 ? "{" : ", {");
        for (int column = CVHDLSignal::kName; column <= CVHDLSignal::kInitialValue; ++column)
            out << (column == 0 ? "" : ", ") << '"' << kColumnNames[column]
                << "\": " << JsonQuote(signals->GetSignalText(i, column));
        out << '}';
    }
    out << ']';
}

} // namespace

const char* HierarchyKindName(HierarchyKind kind) {
    switch (kind) {
    case HierarchyKind::Normal:
        return "normal";
    case HierarchyKind::Root:
        return "root";
    case HierarchyKind::Library:
        return "library";
    case HierarchyKind::Predefined:
        return "predefined";
    case HierarchyKind::Package:
        return "package";
    }
    return "unknown";
}

const char* AnalysisStatusName(AnalysisStatus status) {
    static constexpr const char* kNames[] = {"none", "source missing", "analysed", "needs analysis",
                                             "new",  "failed"};
    const int code = static_cast<int>(status);
    if (code < 0 || code >= static_cast<int>(std::size(kNames)))
        return "unknown";
    return kNames[code];
}

std::string JsonQuote(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                quoted += "\\u00";
                quoted += kHex[byte >> 4];
                quoted += kHex[byte & 0x0F];
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

void PrintHierarchy(const CKSTDoc& doc, std::ostream& out) {
    const CHierarchyTree& tree = doc.Tree();
    for (const CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        const std::string indent(static_cast<std::size_t>(CHierarchyTree::ItemDepth(item) * kItemIndent),
                                 ' ');
        out << indent << Visible(item->Text()) << " [" << HierarchyKindName(item->Kind()) << ", "
            << AnalysisStatusName(item->Status()) << "]\n";
        const std::string detailIndent = indent + std::string(kDetailIndent, ' ');
        if (const CKSTObject* object = item->Object())
            PrintEntries(*object, detailIndent, out);
        if (const CVHDLSignal* signals = item->Signals())
            PrintSignals(*signals, detailIndent, out);
    }
}

void PrintHierarchyJson(const CKSTDoc& doc, std::ostream& out) {
    static const CKSTObject kNoEntries;
    const CHierarchyTree& tree = doc.Tree();
    out << "{\"project\": " << JsonQuote(doc.GetPathName()) << ", \"items\": [";
    bool first = true;
    for (const CHierarchyItem* item = tree.GetRootItem(); item != nullptr; item = tree.NextItem(item)) {
        out << (first ? "\n" : ",\n") << "  {\"depth\": " << CHierarchyTree::ItemDepth(item)
            << ", \"text\": " << JsonQuote(item->Text())
            << ", \"path\": " << JsonQuote(CHierarchyTree::ItemPath(item)) << ", \"kind\": " << item->Image()
            << ", \"kindName\": " << JsonQuote(HierarchyKindName(item->Kind()))
            << ", \"status\": " << static_cast<int>(item->Status())
            << ", \"statusName\": " << JsonQuote(AnalysisStatusName(item->Status())) << ", ";
        first = false;
        WriteJsonEntries(item->Object() != nullptr ? *item->Object() : kNoEntries, out);
        out << ", ";
        WriteJsonSignals(item->Signals(), out);
        out << '}';
    }
    out << "\n]}\n";
}

} // namespace kestra
