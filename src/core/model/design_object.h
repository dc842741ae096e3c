#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestra {

class CArchive;

// The kind code of an entry, as stored in the project file.
enum class EntryKind : int {
    None = -1, // no entry: an index outside the object
    Vhdl = 0,
    Numeric = 1,
    DataType = 2,
    Architecture = 3,
    Library = 4,
    Component = 5,
    Predefined = 6,
    Directory = 7,
    Link = 8,
    Logic = 9,
    Package = 10,
    Note = 11,
    Style = 12,
    String = 13,
    // A generic of a type no other kind stands for (boolean, time, a record, a vector): its value
    // is the default expression as written; the declared type stays in the source.
    Generic = 14,
};

// The two texts of an entry that SetEntryText changes.
enum class EntryField { Name = 0, Value = 1 };

// "VHDL", "NUM", ... for the kind codes; "GEN" for 14; "UNKNOWN" for 13 and any other code
// (the labels of the kinds' facts, model/entry_kind_facts.h).
const char* EntryKindLabel(EntryKind kind);

// A hierarchy item's table of entries (kind, name, value, choices), entry 0 describing the
// item itself, plus the source's last-write time at its last analysis (0 = not analysed).
// Indices are 0-based; every accessor reports an invalid index through its result.
class CKSTObject {
public:
    struct Entry {
        EntryKind kind = EntryKind::Vhdl;
        std::string name;
        std::string value;
        std::vector<std::string> choices;
        bool operator==(const Entry&) const = default;
    };

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    void SetEntryCount(int count);
    int AddEntry();
    int RemoveEntry(int index);
    bool SetEntry(int index, EntryKind kind, const std::string& name, const std::string& value);
    bool SetEntryKind(int index, EntryKind kind);
    // False for an invalid index or field.
    bool SetEntryText(int index, EntryField field, const std::string& text);
    bool SetChoiceList(int index, const std::vector<std::string>* list);
    EntryKind GetEntryKind(int index) const;
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
    [[nodiscard]] static bool ParseEntry(const std::string& text, EntryKind& kind, std::string& name,
                                         std::string& value, std::vector<std::string>* choices = nullptr);

    // Stores or loads in the project file layout. Loading from an archive of a file below
    // version 101 clears the analysed time. Returns false when the archive failed or holds a damaged record.
    [[nodiscard]] bool Serialize(CArchive& archive);

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
