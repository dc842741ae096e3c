#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestra {

class CArchive;

enum EntryKind : int {
    kKindVhdl = 0,
    kKindNumeric = 1,
    kKindDataType = 2,
    kKindArchitecture = 3,
    kKindLibrary = 4,
    kKindComponent = 5,
    kKindPredefined = 6,
    kKindDirectory = 7,
    kKindLink = 8,
    kKindLogic = 9,
    kKindPackage = 10,
    kKindNote = 11,
    kKindStyle = 12,
    kKindString = 13,
};

// "VHDL", "NUM", ... for the kind codes; "UNKNOWN" for 13 and any other code.
const char* EntryKindLabel(int kind);

// A hierarchy item's table of entries (kind, name, value, choices), entry 0 describing the
// item itself, plus the source's last-write time at its last analysis (0 = not analysed).
// Indices are 0-based; every accessor reports an invalid index through its result.
class CKSTObject {
public:
    struct Entry {
        int kind = 0;
        std::string name;
        std::string value;
        std::vector<std::string> choices;
        bool operator==(const Entry&) const = default;
    };

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    void SetEntryCount(int count);
    int AddEntry();
    int RemoveEntry(int index);
    bool SetEntry(int index, int kind, const std::string& name, const std::string& value);
    bool SetEntryKind(int index, int kind);
    bool SetEntryText(int index, int which, const std::string& text);
    bool SetChoiceList(int index, const std::vector<std::string>* list);
    int GetEntryKind(int index) const;
    std::string GetEntryName(int index) const;
    std::string GetEntryValue(int index) const;
    // The entry's own list, read and changed in place; the index must be valid.
    std::vector<std::string>& GetChoiceList(int index);
    const std::vector<std::string>& GetChoiceList(int index) const;

    void SetAnalysedTime(std::uint32_t low, std::uint32_t high);
    std::uint64_t GetAnalysedTime() const;
    std::uint32_t AnalysedTimeLow() const { return m_timeLow; }
    std::uint32_t AnalysedTimeHigh() const { return m_timeHigh; }

    void SetGeneratedName(const std::string& name) { m_generatedName = name; }
    const std::string& GetGeneratedName() const { return m_generatedName; }

    void CopyFrom(const CKSTObject& other) { *this = other; }
    int FindEntry(const std::string& name) const;
    std::string FormatEntry(int index) const;
    static bool ParseEntry(const std::string& text, int& kind, std::string& name, std::string& value,
                           std::vector<std::string>* choices = nullptr);

    // Stores or loads in the project file layout. Loading below file version 101 clears the
    // analysed time. Returns false when the archive failed or holds a damaged record.
    bool Serialize(CArchive& archive);

    bool operator==(const CKSTObject&) const = default;

private:
    bool IsValid(int index) const { return index >= 0 && index < GetEntryCount(); }

    std::vector<Entry> m_entries;
    std::uint32_t m_timeLow = 0;
    std::uint32_t m_timeHigh = 0;
    std::string m_generatedName;
};

// Entry 0 and the architecture entries follow a new module name; a "* " mark stays.
void RenameModuleObject(CKSTObject& object, const std::string& newName);

} // namespace kestra
