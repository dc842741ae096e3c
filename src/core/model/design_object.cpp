#include "model/design_object.h"

#include "model/archive.h"
#include "model/entry_kind_facts.h"
#include "text/word_reader.h"

#include <cassert>

namespace kestra {

const char* EntryKindLabel(EntryKind kind) {
    return FactsOf(kind).label;
}

void CKSTObject::SetEntryCount(int count) {
    m_entries.clear();
    if (count <= 0)
        return;
    m_entries.resize(static_cast<std::size_t>(count));
    m_timeLow = 0;
    m_timeHigh = 0;
}

int CKSTObject::AddEntry() {
    m_entries.emplace_back();
    return GetEntryCount();
}

int CKSTObject::RemoveEntry(int index) {
    if (!IsValid(index))
        return -1;
    m_entries.erase(m_entries.begin() + index);
    return GetEntryCount();
}

bool CKSTObject::SetEntry(int index, EntryKind kind, const std::string& name, const std::string& value) {
    if (!IsValid(index))
        return false;
    Entry& entry = m_entries[static_cast<std::size_t>(index)];
    entry.kind = kind;
    entry.name = name;
    entry.value = value;
    return true;
}

bool CKSTObject::SetEntryKind(int index, EntryKind kind) {
    if (!IsValid(index))
        return false;
    m_entries[static_cast<std::size_t>(index)].kind = kind;
    return true;
}

bool CKSTObject::SetEntryText(int index, EntryField field, const std::string& text) {
    if (!IsValid(index) || (field != EntryField::Name && field != EntryField::Value))
        return false;
    Entry& entry = m_entries[static_cast<std::size_t>(index)];
    (field == EntryField::Name ? entry.name : entry.value) = text;
    return true;
}

bool CKSTObject::SetChoiceList(int index, const std::vector<std::string>* list) {
    if (!IsValid(index))
        return false;
    std::vector<std::string>& choices = m_entries[static_cast<std::size_t>(index)].choices;
    if (list == &choices)
        return true;
    choices.clear();
    if (list != nullptr)
        choices = *list;
    return true;
}

EntryKind CKSTObject::GetEntryKind(int index) const {
    return IsValid(index) ? m_entries[static_cast<std::size_t>(index)].kind : EntryKind::None;
}

std::string CKSTObject::GetEntryName(int index) const {
    return IsValid(index) ? m_entries[static_cast<std::size_t>(index)].name : std::string();
}

std::string CKSTObject::GetEntryValue(int index) const {
    return IsValid(index) ? m_entries[static_cast<std::size_t>(index)].value : std::string();
}

std::vector<std::string>& CKSTObject::GetChoiceList(int index) {
    assert(IsValid(index));
    return m_entries[static_cast<std::size_t>(index)].choices;
}

const std::vector<std::string>& CKSTObject::GetChoiceList(int index) const {
    assert(IsValid(index));
    return m_entries[static_cast<std::size_t>(index)].choices;
}

void CKSTObject::SetAnalysedTime(std::uint32_t low, std::uint32_t high) {
    m_timeLow = low;
    m_timeHigh = high;
}

std::uint64_t CKSTObject::GetAnalysedTime() const {
    return (static_cast<std::uint64_t>(m_timeHigh) << 32) | m_timeLow;
}

int CKSTObject::FindEntry(const std::string& name) const {
    for (int i = 0; i < GetEntryCount(); ++i) {
        if (SameTextNoCase(m_entries[static_cast<std::size_t>(i)].name, name))
            return i;
    }
    return -1;
}

std::string CKSTObject::FormatEntry(int index) const {
    if (!IsValid(index))
        return {};
    const Entry& entry = m_entries[static_cast<std::size_t>(index)];
    std::string line = EntryKindLabel(entry.kind);
    line += '\t';
    line += entry.name;
    line += '\t';
    line += entry.value;
    for (const std::string& choice : entry.choices) {
        line += '\t';
        line += choice;
    }
    return line;
}

bool CKSTObject::ParseEntry(const std::string& text, EntryKind& kind, std::string& name, std::string& value,
                            std::vector<std::string>* choices) {
    const CWordReader scanner(text);
    std::size_t cursor = 0;
    const std::string label = scanner.ReadIdentifier(cursor);
    EntryKind parsedKind = EntryKind::None;
    for (const EntryKindFacts& candidate : kEntryKindFacts) {
        if (candidate.copyable && label == candidate.label)
            parsedKind = candidate.kind;
    }
    if (parsedKind == EntryKind::None || scanner.At(cursor) != '\t')
        return false;

    const std::string parsedName = scanner.ReadIdentifier(cursor);
    if (parsedName.empty() || scanner.At(cursor) != '\t')
        return false;
    ++cursor;

    const std::string_view rest = scanner.Text().substr(cursor);
    const std::size_t tab = rest.find('\t');
    const bool hasChoices = parsedKind == EntryKind::Logic || parsedKind == EntryKind::Style;
    if (tab != std::string_view::npos && !hasChoices)
        return false;
    if (tab != std::string_view::npos && choices != nullptr) {
        std::size_t pieceStart = tab + 1;
        for (;;) {
            const std::size_t next = rest.find('\t', pieceStart);
            choices->emplace_back(rest.substr(pieceStart, next - pieceStart));
            if (next == std::string_view::npos)
                break;
            pieceStart = next + 1;
        }
    }
    kind = parsedKind;
    name = parsedName;
    value = std::string(rest.substr(0, tab));
    return true;
}

bool CKSTObject::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        archive.WriteInt32(GetEntryCount());
        archive.WriteUInt32(m_timeLow);
        archive.WriteUInt32(m_timeHigh);
        for (const Entry& entry : m_entries) {
            archive.WriteInt32(static_cast<std::int32_t>(entry.kind));
            archive.WriteString(entry.name);
            archive.WriteString(entry.value);
            archive.WriteInt32(static_cast<std::int32_t>(entry.choices.size()));
            for (const std::string& choice : entry.choices)
                archive.WriteString(choice);
        }
        return true;
    }

    // An entry takes at least 10 bytes (kind, two empty strings, choice count).
    std::int32_t count = 0;
    if (!archive.ReadInt32(count) || count < 0 || !archive.CanHold(static_cast<std::uint64_t>(count), 10))
        return false;
    SetEntryCount(count);
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!archive.ReadUInt32(low) || !archive.ReadUInt32(high))
        return false;
    if (archive.FileVersion() < 101)
        low = high = 0;
    SetAnalysedTime(low, high);
    for (Entry& entry : m_entries) {
        std::int32_t kind = 0;
        std::int32_t choiceCount = 0;
        if (!archive.ReadInt32(kind) || !archive.ReadString(entry.name) || !archive.ReadString(entry.value) ||
            !archive.ReadInt32(choiceCount) || choiceCount < 0 ||
            !archive.CanHold(static_cast<std::uint64_t>(choiceCount), 1))
            return false;
        // Kinds this program does not know stay as they were read.
        entry.kind = static_cast<EntryKind>(kind);
        entry.choices.resize(static_cast<std::size_t>(choiceCount));
        for (std::string& choice : entry.choices) {
            if (!archive.ReadString(choice))
                return false;
        }
    }
    return true;
}

void RenameModuleObject(CKSTObject& object, const std::string& newName) {
    const bool failed = object.GetEntryName(0).starts_with("*");
    object.SetEntryText(0, EntryField::Name, failed ? "* " + newName : newName);
    object.SetEntryText(0, EntryField::Value, newName + ".vhd");
    for (int i = 1; i < object.GetEntryCount(); ++i) {
        if (object.GetEntryKind(i) == EntryKind::Architecture)
            object.SetEntryText(i, EntryField::Name, newName);
    }
}

} // namespace kestra
