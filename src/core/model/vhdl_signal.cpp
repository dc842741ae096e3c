#include "model/vhdl_signal.h"

#include "model/archive.h"
#include "text/word_reader.h"

#include <unordered_map>

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

namespace {

// What a check finds in a row, with the reason for the user when it is not valid.
struct SignalFinding {
    SignalCheck check = SignalCheck::Valid;
    std::string problem;
};

SignalFinding Refused(SignalCheck check, std::string problem) {
    return {check, std::move(problem)};
}

SignalFinding ExamineName(const std::string& name) {
    const CWordReader scanner(name);
    std::size_t cursor = 0;
    const std::string identifier = scanner.ReadIdentifier(cursor);
    if (!scanner.NothingFollows(cursor))
        return Refused(SignalCheck::Invalid, VhdlNameProblem(name));
    if (identifier.empty())
        return Refused(SignalCheck::EmptyText,
                       IsAllBlank(name) ? "the row has no name." : VhdlNameProblem(name));
    // A port named with a reserved word would spoil the port clause.
    if (IsVhdlReservedWord(identifier))
        return Refused(SignalCheck::Invalid, VhdlNameProblem(identifier));
    return {};
}

SignalFinding ExamineMode(const std::string& mode) {
    const CWordReader scanner(mode);
    std::size_t cursor = 0;
    const std::string identifier = ToLowerAscii(scanner.ReadIdentifier(cursor));
    if (identifier.empty() && IsAllBlank(mode))
        return Refused(SignalCheck::EmptyText, "the row has no mode.");
    if (identifier.empty())
        return Refused(SignalCheck::EmptyText,
                       "\"" + mode + "\" is not a port mode (in, out, inout, buffer or linkage).");
    if (!scanner.NothingFollows(cursor) ||
        (identifier != "in" && identifier != "out" && identifier != "inout" && identifier != "buffer" &&
         identifier != "linkage"))
        return Refused(SignalCheck::Invalid,
                       "\"" + mode + "\" is not a port mode (in, out, inout, buffer or linkage).");
    return {};
}

// A type mark: a name, or a selected name such as WORK.TYPES.WORD.
SignalFinding ExamineDataType(const std::string& dataType, std::string& typeUpper) {
    const CWordReader scanner(dataType);
    std::size_t cursor = 0;
    typeUpper = ToUpperAscii(scanner.ReadIdentifier(cursor));
    bool selected = true;
    while (selected && !typeUpper.empty() && scanner.At(cursor) == '.') {
        ++cursor;
        selected = !scanner.ReadIdentifier(cursor).empty();
    }
    if (!selected || !scanner.NothingFollows(cursor))
        return Refused(SignalCheck::Invalid,
                       "\"" + dataType +
                           "\" is not the name of a data type; a range goes into the Range column.");
    if (typeUpper.empty())
        return Refused(SignalCheck::EmptyText, "the row has no data type.");
    return {};
}

SignalFinding ExamineRange(const std::string& typeUpper, const std::string& range) {
    if (IsScalarType(typeUpper)) {
        if (IsAllBlank(range))
            return {};
        return Refused(SignalCheck::Invalid, "a port of type " + typeUpper + " takes no range.");
    }
    if (IsVectorType(typeUpper) && !range.empty()) {
        const CWordReader scanner(range);
        std::size_t cursor = 0;
        if (!scanner.ReadValueText(cursor) || !scanner.NothingFollows(cursor))
            return Refused(SignalCheck::Invalid,
                           "\"" + range +
                               "\" is not a range: it cannot hold ';', an unpaired ')' or "
                               "a misplaced '\"'.");
    }
    return {};
}

SignalFinding ExamineSignal(const std::string& name, const std::string& mode, const std::string& dataType,
                            const std::string& range) {
    SignalFinding finding = ExamineName(name);
    if (finding.check != SignalCheck::Valid)
        return finding;
    finding = ExamineMode(mode);
    if (finding.check != SignalCheck::Valid)
        return finding;
    std::string typeUpper;
    finding = ExamineDataType(dataType, typeUpper);
    if (finding.check != SignalCheck::Valid)
        return finding;
    return ExamineRange(typeUpper, range);
}

} // namespace

SignalCheck CVHDLSignal::CheckSignal(const std::string& name, const std::string& mode,
                                     const std::string& dataType, const std::string& range) {
    return ExamineSignal(name, mode, dataType, range).check;
}

std::string CVHDLSignal::SignalProblem(const std::string& name, const std::string& mode,
                                       const std::string& dataType, const std::string& range) {
    return ExamineSignal(name, mode, dataType, range).problem;
}

std::vector<std::string> CVHDLSignal::RowProblems() const {
    std::vector<std::string_view> names;
    names.reserve(m_rows.size());
    for (const Row& row : m_rows)
        names.emplace_back(row[kName]);
    const std::vector<int> twins = SameNameRows(names);
    std::vector<std::string> problems(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        problems[i] = SignalProblem(row[kName], row[kMode], row[kDataType], row[kRange]);
        if (problems[i].empty() && twins[i] >= 0)
            problems[i] = SameNameProblem(twins[i]);
    }
    return problems;
}

std::vector<int> SameNameRows(const std::vector<std::string_view>& names) {
    // Names are counted once, so that a module with many ports is checked in linear time.
    std::unordered_map<std::string, std::vector<int>> rowsOfName;
    rowsOfName.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        rowsOfName[ToLowerAscii(names[i])].push_back(static_cast<int>(i));
    std::vector<int> twins(names.size(), -1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::vector<int>& rows = rowsOfName[ToLowerAscii(names[i])];
        if (rows.size() > 1)
            twins[i] = rows[0] != static_cast<int>(i) ? rows[0] : rows[1];
    }
    return twins;
}

std::string SameNameProblem(int otherRow) {
    return "row " + std::to_string(otherRow + 1) + " has the same name (VHDL names ignore letter case).";
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
