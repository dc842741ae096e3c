#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class CArchive;

// How a row of the signal list is written: "\tsignal NAME : TYPE...;" in an architecture, or
// "\t\tNAME : MODE TYPE...;" in a port clause.
enum class SignalForm { SignalDeclaration = 0, PortDeclaration = 1 };

// What CheckSignal finds in a row.
enum class SignalCheck { Valid = 0, Invalid = 1, EmptyText = 2 };

// The signal list of one module: its ports (or, in generated text, signals) as rows of five
// text columns: name, mode, data type, range and initial value.
class CVHDLSignal {
public:
    enum Column { kName = 0, kMode = 1, kDataType = 2, kRange = 3, kInitialValue = 4 };
    using Row = std::array<std::string, 5>;

    int GetSignalCount() const { return static_cast<int>(m_rows.size()); }
    void SetSignalCount(int count);
    int AddSignal();
    int RemoveSignal(int index);
    bool SetSignal(int index, const std::string& name, const std::string& mode, const std::string& dataType);
    bool SetSignalAll(int index, const std::string& name, const std::string& mode,
                      const std::string& dataType, const std::string& range, const std::string& initialValue);
    bool SetSignalText(int index, int column, const std::string& text);
    std::string GetSignalText(int index, int column) const;
    int FindSignal(const std::string& name) const;
    void CopyFrom(const CVHDLSignal& other) { m_rows = other.m_rows; }

    // Valid, Invalid, or EmptyText when a required text (name, mode, data type) is empty.
    [[nodiscard]] static SignalCheck CheckSignal(const std::string& name, const std::string& mode,
                                                 const std::string& dataType, const std::string& range);
    // Why the row cannot be declared, in words for the user (the first problem CheckSignal
    // finds); empty for a valid row.
    static std::string SignalProblem(const std::string& name, const std::string& mode,
                                     const std::string& dataType, const std::string& range);
    // Each row's problem, a name that another row has too included; empty for a row that can be
    // declared.
    std::vector<std::string> RowProblems() const;
    // The row's declaration in the form; empty for an invalid signal.
    std::string FormatSignal(int index, SignalForm form) const;
    // The port declarations give the whole port clause, or the empty text when no signal is
    // valid; the signal declarations follow one another.
    std::string FormatSignalList(SignalForm form) const;

    [[nodiscard]] bool Serialize(CArchive& archive);

    bool operator==(const CVHDLSignal&) const = default;

private:
    bool IsValid(int index) const { return index >= 0 && index < GetSignalCount(); }

    std::vector<Row> m_rows;
};

// For each name, another row with the same name ignoring letter case (the first other one),
// or -1 when the name is unique.
std::vector<int> SameNameRows(const std::vector<std::string_view>& names);
// The problem of a row named like `otherRow`.
std::string SameNameProblem(int otherRow);

} // namespace kestra
