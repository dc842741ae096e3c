#include "model/archive.h"

#include <cassert>

namespace kestra {

CArchive CArchive::ForStoring() {
    return CArchive(true);
}

CArchive CArchive::ForLoading(std::string_view bytes, int fileVersion) {
    CArchive archive(false);
    archive.m_input = bytes;
    archive.m_fileVersion = fileVersion;
    return archive;
}

void CArchive::WriteUInt8(std::uint8_t value) {
    assert(m_storing);
    m_output.push_back(static_cast<char>(value));
}

void CArchive::WriteUInt16(std::uint16_t value) {
    WriteUInt8(static_cast<std::uint8_t>(value & 0xFF));
    WriteUInt8(static_cast<std::uint8_t>(value >> 8));
}

void CArchive::WriteUInt32(std::uint32_t value) {
    WriteUInt16(static_cast<std::uint16_t>(value & 0xFFFF));
    WriteUInt16(static_cast<std::uint16_t>(value >> 16));
}

void CArchive::WriteString(std::string_view text) {
    const std::size_t length = text.size();
    if (length < 255) {
        WriteUInt8(static_cast<std::uint8_t>(length));
    } else if (length <= 65533) {
        WriteUInt8(0xFF);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        assert(length <= 0xFFFFFFFEu);
        WriteUInt8(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    m_output.append(text);
}

bool CArchive::Take(std::size_t count, const char*& bytes) {
    assert(!m_storing);
    if (m_failed || count > Remaining()) {
        m_failed = true;
        return false;
    }
    bytes = m_input.data() + m_pos;
    m_pos += count;
    return true;
}

bool CArchive::ReadUInt8(std::uint8_t& value) {
    const char* bytes = nullptr;
    if (!Take(1, bytes))
        return false;
    value = static_cast<std::uint8_t>(bytes[0]);
    return true;
}

bool CArchive::ReadUInt16(std::uint16_t& value) {
    const char* bytes = nullptr;
    if (!Take(2, bytes))
        return false;
    value = static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[0]) |
                                       (static_cast<std::uint8_t>(bytes[1]) << 8));
    return true;
}

bool CArchive::ReadUInt32(std::uint32_t& value) {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!ReadUInt16(low) || !ReadUInt16(high))
        return false;
    value = static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
    return true;
}

bool CArchive::ReadInt32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadUInt32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool CArchive::ReadString(std::string& text) {
    std::uint8_t shortLength = 0;
    if (!ReadUInt8(shortLength))
        return false;
    std::uint32_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t mediumLength = 0;
        if (!ReadUInt16(mediumLength))
            return false;
        if (mediumLength == 0xFFFE) {
            m_failed = true;
            return false;
        }
        length = mediumLength;
        if (mediumLength == 0xFFFF && !ReadUInt32(length))
            return false;
    }
    const char* bytes = nullptr;
    if (!Take(length, bytes))
        return false;
    text.assign(bytes, length);
    return true;
}

bool CArchive::CanHold(std::uint64_t count, std::size_t minBytesEach) {
    if (m_failed || count > Remaining() / (minBytesEach == 0 ? 1 : minBytesEach)) {
        m_failed = true;
        return false;
    }
    return true;
}

} // namespace kestra
