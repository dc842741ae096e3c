#include "model/vhdl_signal.h"

#include "model/archive.h"
#include "text/word_reader.h"

namespace kestra {

namespace {

bool IsAllBlank(const std::string& text) {
    for (const char c : text) {
        if (!IsBlank(c))
            return false;
    }
    return true;
}

// The type mark at the start of a data type column, without a trailing comment.
std::string TypeMarkUpper(const std::string& dataType) {
    const CWordReader scanner(dataType);
    std::size_t cursor = 0;
    return ToUpperAscii(scanner.ReadIdentifier(cursor));
}

bool IsScalarType(const std::string& upper) {
    return upper == "STD_LOGIC" || upper == "STD_ULOGIC" || upper == "BIT" || upper == "BOOLEAN" ||
           upper == "CHARACTER";
}

bool IsIntegerType(const std::string& upper) {
    return upper == "INTEGER" || upper == "NATURAL" || upper == "POSITIVE";
}

bool IsVectorType(const std::string& upper) {
    return upper == "STD_LOGIC_VECTOR" || upper == "SIGNED" || upper == "UNSIGNED" || upper == "BIT_VECTOR" ||
           upper == "STRING" || IsIntegerType(upper);
}

} // namespace

void CVHDLSignal::SetSignalCount(int count) {
    m_rows.clear();
    if (count > 0)
        m_rows.resize(static_cast<std::size_t>(count));
}

int CVHDLSignal::AddSignal() {
    m_rows.emplace_back();
    return GetSignalCount();
}

int CVHDLSignal::RemoveSignal(int index) {
    if (!IsValid(index))
        return -1;
    m_rows.erase(m_rows.begin() + index);
    return GetSignalCount();
}

bool CVHDLSignal::SetSignal(int index, const std::string& name, const std::string& mode,
                            const std::string& dataType) {
    return SetSignalAll(index, name, mode, dataType, std::string(), std::string());
}

bool CVHDLSignal::SetSignalAll(int index, const std::string& name, const std::string& mode,
                               const std::string& dataType, const std::string& range,
                               const std::string& initialValue) {
    if (!IsValid(index))
        return false;
    m_rows[static_cast<std::size_t>(index)] = Row{name, mode, dataType, range, initialValue};
    return true;
}

bool CVHDLSignal::SetSignalText(int index, int column, const std::string& text) {
    if (!IsValid(index))
        return false;
    if (column >= 0 && column <= 4)
        m_rows[static_cast<std::size_t>(index)][static_cast<std::size_t>(column)] = text;
    return true;
}

std::string CVHDLSignal::GetSignalText(int index, int column) const {
    if (!IsValid(index) || column < 0 || column > 4)
        return {};
    return m_rows[static_cast<std::size_t>(index)][static_cast<std::size_t>(column)];
}

int CVHDLSignal::FindSignal(const std::string& name) const {
    for (int i = 0; i < GetSignalCount(); ++i) {
        if (SameTextNoCase(m_rows[static_cast<std::size_t>(i)][kName], name))
            return i;
    }
    return -1;
}

SignalCheck CVHDLSignal::CheckSignal(const std::string& name, const std::string& mode,
                                     const std::string& dataType, const std::string& range) {
    {
        const CWordReader scanner(name);
        std::size_t cursor = 0;
        const std::string identifier = scanner.ReadIdentifier(cursor);
        if (!scanner.NothingFollows(cursor))
            return SignalCheck::Invalid;
        if (identifier.empty())
            return SignalCheck::EmptyText;
        // A port named with a reserved word would spoil the port clause.
        if (IsVhdlReservedWord(identifier))
            return SignalCheck::Invalid;
    }
    {
        const CWordReader scanner(mode);
        std::size_t cursor = 0;
        const std::string identifier = ToLowerAscii(scanner.ReadIdentifier(cursor));
        if (identifier.empty())
            return SignalCheck::EmptyText;
        if (!scanner.NothingFollows(cursor))
            return SignalCheck::Invalid;
        if (identifier != "in" && identifier != "out" && identifier != "inout" && identifier != "buffer" &&
            identifier != "linkage")
            return SignalCheck::Invalid;
    }
    std::string typeUpper;
    {
        const CWordReader scanner(dataType);
        std::size_t cursor = 0;
        typeUpper = ToUpperAscii(scanner.ReadIdentifier(cursor));
        if (!scanner.NothingFollows(cursor))
            return SignalCheck::Invalid;
        if (typeUpper.empty())
            return SignalCheck::EmptyText;
    }
    if (IsScalarType(typeUpper))
        return IsAllBlank(range) ? SignalCheck::Valid : SignalCheck::Invalid;
    if (IsVectorType(typeUpper) && !range.empty()) {
        const CWordReader scanner(range);
        std::size_t cursor = 0;
        if (!scanner.ReadValueText(cursor) || !scanner.NothingFollows(cursor))
            return SignalCheck::Invalid;
    }
    return SignalCheck::Valid;
}

std::string CVHDLSignal::FormatSignal(int index, SignalForm form) const {
    if (!IsValid(index))
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index)];
    if (CheckSignal(row[kName], row[kMode], row[kDataType], row[kRange]) != SignalCheck::Valid)
        return {};

    std::string text;
    // A column text may end in a comment; the declaration then goes on below it.
    auto append = [&text](const std::string& column) {
        text += column;
        if (column.find("--") != std::string::npos && column.back() != '\n')
            text += "\r\n\t\t\t";
    };
    if (form == SignalForm::SignalDeclaration) {
        text = "\tsignal ";
        append(row[kName]);
        text += " : ";
        append(row[kDataType]);
    } else if (form == SignalForm::PortDeclaration) {
        text = "\t\t";
        append(row[kName]);
        text += " : ";
        append(row[kMode]);
        text += " ";
        append(row[kDataType]);
    }
    // A range of blanks only counts as none: brackets around nothing are not VHDL.
    if (!IsAllBlank(row[kRange])) {
        if (IsIntegerType(TypeMarkUpper(row[kDataType]))) {
            text += " range ";
            append(row[kRange]);
        } else {
            text += "(";
            append(row[kRange]);
            text += ")";
        }
    }
    if (!row[kInitialValue].empty()) {
        text += " := ";
        append(row[kInitialValue]);
    }
    text += ";\r\n";
    return text;
}

std::string CVHDLSignal::FormatSignalList(SignalForm form) const {
    std::string text;
    for (int i = 0; i < GetSignalCount(); ++i)
        text += FormatSignal(i, form);
    if (form != SignalForm::PortDeclaration)
        return text;
    if (text.empty())
        return {};
    // Every declaration ends in ";\r\n", and a column that ends in a comment is followed by a
    // line break: the last ';' is the last declaration's, never one inside a comment.
    text.erase(text.rfind(';'), 1);
    return "\r\n\tport (\r\n" + text + "\t);";
}

bool CVHDLSignal::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        archive.WriteInt32(GetSignalCount());
        for (const Row& row : m_rows) {
            for (const std::string& text : row)
                archive.WriteString(text);
        }
        return true;
    }
    std::int32_t count = 0;
    if (!archive.ReadInt32(count) || count < 0 || !archive.CanHold(static_cast<std::uint64_t>(count), 5))
        return false;
    SetSignalCount(count);
    for (Row& row : m_rows) {
        for (std::string& text : row) {
            if (!archive.ReadString(text))
                return false;
        }
    }
    return true;
}

} // namespace kestra
